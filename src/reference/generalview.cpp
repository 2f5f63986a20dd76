#include "reference/generalview.h"

#include "reference/articletext.h"

#include "richtext/markupnode.h"
#include <QMenu>

namespace qel {

CGeneralView::CGeneralView(const TextDisplay& display, bool commentary, LinkOpener links,
                           QWidget* parent)
    : CTextPane(display, parent), commentary_(commentary), links_(std::move(links)) {
    setContextMenuHandler([this](const QPoint&, const QPoint& globalPoint) {
        createEditMenu(true)->exec(globalPoint);
    });
}

bool CGeneralView::ScrollToAnchor(const std::string& name) {
    for (const MarkupNode* anchor : engine().anchors()) {
        const std::string* value = anchor->attribute("VAL");
        if (!value || *value != name)
            continue;
        int bottom = anchor->top;
        for (const MarkupNode* next = anchor->next(); next; next = next->next())
            if (next->isText()) {
                bottom = next->bottom;
                break;
            }
        bringIntoView(anchor->top, bottom);
        return true;
    }
    return false;
}

bool CGeneralView::ScrollToText(const std::string& text) {
    const MarkupNode* piece = list() ? firstTextMatch(*list(), text) : nullptr;
    if (!piece)
        return false;
    bringIntoView(piece->top, piece->bottom);
    return true;
}

void CGeneralView::bringIntoView(int top, int bottom) {
    const int position = scrollPosition();
    if (top >= position && bottom <= position + pageHeight())
        return;
    scrollTo(top);
}

void CGeneralView::openLink(const std::string& target) {
    QWidget* opened = links_ ? links_(target) : nullptr;
    if (opened && target.starts_with("BVRA"))
        arrangeSideBySide(this, opened);
}

} // namespace qel
