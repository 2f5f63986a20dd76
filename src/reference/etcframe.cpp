#include "reference/etcframe.h"

#include "platform/appcontext.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "reference/articleload.h"
#include "richtext/markupparser.h"
#include "richtext/textpane.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

namespace qel {

const std::string& CETCFrame::prologId() {
    static const std::string id = utf8ToCp949("E일러두기");
    return id;
}

CETCFrame::CETCFrame(AppContext& context, const TextDisplay& display, QWidget* parent)
    : CChildFrame(parent), context_(context), pane_(new CTextPane(display)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("일러두기"));
    setWidget(pane_);
    pane_->setContextMenuHandler([this](const QPoint&, const QPoint& globalPoint) {
        pane_->createEditMenu(true)->exec(globalPoint);
    });
    connect(pane_, &RichTextArea::selectionChanged, this, &CChildFrame::commandStateChanged);
}

CETCFrame::~CETCFrame() {
    disconnect(pane_, nullptr, this, nullptr);
    pane_->clear();
}

void CETCFrame::Load(const std::string& id) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    pane_->clear();
    article_.clear();
    const LoadedArticle loaded = loadArticle(context_.contentDb, "ETC", id);
    if (loaded.found) {
        MarkupParser::parse(&article_, loaded.markup);
        pane_->setList(&article_);
        pane_->viewport()->repaint();
    }
    QApplication::restoreOverrideCursor();
    emit commandStateChanged();
}

void CETCFrame::refreshView() {
    if (pane_->hasContent())
        pane_->layOut();
}

bool CETCFrame::handleCommand(int id) {
    return (id == cmd::Copy || id == cmd::SelectAll || id == cmd::Print) &&
           pane_->handleCommand(id);
}

bool CETCFrame::updateCommand(int id, QAction* action) {
    switch (id) {
    case cmd::Copy:
        action->setEnabled(pane_->hasSelection());
        return true;
    case cmd::SelectAll:
    case cmd::Print:
        action->setEnabled(pane_->hasContent());
        return true;
    default:
        return false;
    }
}

} // namespace qel
