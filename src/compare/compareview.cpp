#include "compare/compareview.h"

#include "compare/comparepane.h"
#include "compare/panetiling.h"
#include "richtext/markupnode.h"

namespace qel {

CCompareView::CCompareView(const TextDisplay& display, int paneCount, PaneTiler& tiler,
                           LinkHandler links, QWidget* parent)
    : QFrame(parent), tiler_(tiler) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Mid);
    setAutoFillBackground(true);
    for (int i = 0; i < paneCount; ++i) {
        auto* pane = new CComparePane(display, this);
        pane->setLinkHandler(links);
        pane->resize(100, 100);
        pane->hide();
        panes_.push_back(pane);
    }
}

CCompareView::~CCompareView() {
    ClearPanes();
}

void CCompareView::ClearPanes() {
    for (CComparePane* pane : panes_)
        pane->clear();
}

void CCompareView::SetTexts(const std::vector<MarkupNodeList*>& lists) {
    ClearPanes();
    visibleCount_ = 0;
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        CComparePane* pane = panes_[i];
        MarkupNodeList* list = i < lists.size() ? lists[i] : nullptr;
        if (list && list->head()) {
            pane->setList(list);
            pane->show();
            ++visibleCount_;
        } else {
            pane->hide();
        }
    }
    // The first book's pane on top.
    for (auto pane = panes_.rbegin(); pane != panes_.rend(); ++pane)
        (*pane)->raise();
    Tile();
}

void CCompareView::Tile() {
    const QRect area = contentsRect();
    for (CComparePane* pane : panes_) {
        if (pane->isHidden() || pane->isMinimized())
            continue;
        const PaneRect rect = tiler_.next(visibleCount_, area.width(), area.height());
        pane->setGeometry(area.x() + rect.x, area.y() + rect.y, rect.width, rect.height);
        pane->lower();
    }
}

void CCompareView::RedisplayPanes() {
    for (CComparePane* pane : panes_)
        if (pane->list())
            pane->layOut();
}

void CCompareView::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (visibleCount_ > 0)
        Tile();
}

} // namespace qel
