#include "richtext/textpane.h"

#include "platform/apptitle.h"
#include "platform/commands.h"
#include "richtext/markupnode.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>

namespace qel {

CTextPane::CTextPane(const TextDisplay& display, QWidget* parent)
    : RichTextArea(display, kLeftMargin, parent), documentName_(applicationTitle()),
      footerText_(applicationTitle()) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
}

CTextPane::~CTextPane() {
    layoutEngine().reset();
}

void CTextPane::setList(MarkupNodeList* list) {
    clear();
    setListPointer(list);
    layOut();
}

void CTextPane::clear() {
    setListPointer(nullptr);
    layoutNow();
    scrollTo(0);
    viewport()->update();
}

void CTextPane::layOut() {
    layoutNow();
    scrollTo(0);
    viewport()->update();
}

bool CTextPane::print() {
    return printList(documentName_, &pageTitle_, footerText_ ? &*footerText_ : nullptr);
}

void CTextPane::setPrintTexts(std::string documentName, std::string pageTitle,
                              std::optional<std::string> footerText) {
    documentName_ = std::move(documentName);
    pageTitle_ = std::move(pageTitle);
    footerText_ = std::move(footerText);
}

void CTextPane::openLink(const std::string& target) {
    if (linkHandler_)
        linkHandler_(target);
}

std::unique_ptr<QMenu> CTextPane::createEditMenu(bool withPrint) {
    auto menu = std::make_unique<QMenu>(this);
    const auto add = [this, &menu](const QString& label, int id) {
        QAction* item = menu->addAction(label, this, [this, id] { handleCommand(id); });
        item->setData(id);
        return item;
    };
    add(QStringLiteral("복사"), cmd::Copy)->setEnabled(hasSelection());
    // The menu with Print sets its three items apart.
    if (withPrint)
        menu->addSeparator();
    add(QStringLiteral("모두 선택"), cmd::SelectAll);
    if (withPrint) {
        menu->addSeparator();
        add(QStringLiteral("인쇄"), cmd::Print);
    }
    return menu;
}

void CTextPane::contextMenuEvent(QContextMenuEvent* event) {
    if (contextMenuHandler_)
        contextMenuHandler_(toDocument(event->pos()), event->globalPos());
}

} // namespace qel
