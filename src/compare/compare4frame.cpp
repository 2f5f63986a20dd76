#include "compare/compare4frame.h"

#include "compare/compare4view.h"
#include "compare/passagegather.h"
#include "compare/passagetable.h"

namespace qel {
namespace {

const CompareWindowKind kFourGospels{"COMPARE4", "4복음서 대조", panelmode::Gospels,
                                     fourGospelTable, fourGospelComparison};

} // namespace

CCompare4Frame::CCompare4Frame(AppContext& context, const TextDisplay& display,
                               CCompareView::LinkHandler links, QWidget* parent)
    : CCompareFrame(context, kFourGospels, new CCompare4View(display, std::move(links)), parent) {}

} // namespace qel
