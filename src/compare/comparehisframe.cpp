#include "compare/comparehisframe.h"

#include "compare/comparehisview.h"
#include "compare/passagegather.h"
#include "compare/passagetable.h"

namespace qel {
namespace {

const CompareWindowKind kHistoryBooks{"COMPAREHIS", "역사서 대조", panelmode::HistoryBooks,
                                      historyBooksTable, historyBooksComparison};

} // namespace

CCompareHisFrame::CCompareHisFrame(AppContext& context, const TextDisplay& display,
                                   CCompareView::LinkHandler links, QWidget* parent)
    : CCompareFrame(context, kHistoryBooks, new CCompareHisView(display, std::move(links)),
                    parent) {}

} // namespace qel
