#include "compare/compare4view.h"

#include "compare/panetiling.h"

namespace qel {

CCompare4View::CCompare4View(AppContext& context, LinkHandler links, QWidget* parent)
    : CCompareView(context, 4, fourGospelTiler(), std::move(links), parent) {}

} // namespace qel
