#include "compare/compare4view.h"

#include "compare/panetiling.h"

namespace qel {

CCompare4View::CCompare4View(const TextDisplay& display, LinkHandler links, QWidget* parent)
    : CCompareView(display, 4, fourGospelTiler(), std::move(links), parent) {}

} // namespace qel
