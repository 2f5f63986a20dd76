#include "compare/comparehisview.h"

#include "compare/panetiling.h"

namespace qel {

CCompareHisView::CCompareHisView(const TextDisplay& display, LinkHandler links, QWidget* parent)
    : CCompareView(display, 6, historyBooksTiler(), std::move(links), parent) {}

} // namespace qel
