#include "compare/comparehisview.h"

#include "compare/panetiling.h"

namespace qel {

CCompareHisView::CCompareHisView(AppContext& context, LinkHandler links, QWidget* parent)
    : CCompareView(context, 6, historyBooksTiler(), std::move(links), parent) {}

} // namespace qel
