#include "app/displaysettings.h"
#include "app/fontresolver.h"
#include "compare/parallelpage.h"
#include "compare/passagegather.h"
#include "compare/passagetable.h"
#include "platform/appsettings.h"
#include "platform/database.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"
#include "richtext/qtsurface.h"
#include "richtext/textlayoutengine.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <array>

namespace {

// What loading the Last Supper costs in the four-gospel window: the verse queries of four
// books, their markup, the parse and the layout of every pane at 1000 pixels.
void BM_Compare4LoadEntry248(benchmark::State& state) {
    qel::Database db(QEL_BUILT_CONTENT_DB, qel::Database::Mode::ReadOnly);
    qel::DatabasePassageSource source(db);
    qel::installFontSubstitutions();
    QImage device(1000, 700, QImage::Format_RGB32);
    qel::QtSurface surface(&device);
    surface.setClientSize(1000, 700);
    const qel::AppSettings settings;
    surface.selectFont(surface.addFont(qel::makeDisplayFont(settings, surface.dpiY())));
    const qel::DisplayStyle style = qel::displayStyleOf(settings);
    std::array<qel::TextLayoutEngine, 4> engines{
        qel::TextLayoutEngine(style), qel::TextLayoutEngine(style), qel::TextLayoutEngine(style),
        qel::TextLayoutEngine(style)};
    const qel::PassageEntry& entry = qel::fourGospelTable().at(248);
    int height = 0;
    for (auto _ : state) {
        std::array<qel::MarkupNodeList, 4> lists;
        const auto panes = qel::loadPaneTexts(qel::fourGospelComparison(), entry, source);
        height = 0;
        for (std::size_t i = 0; i < lists.size(); ++i) {
            qel::MarkupParser::parse(&lists[i], (*panes)[i]);
            height += engines[i].ReSize(surface, 10, &lists[i], false);
        }
        benchmark::DoNotOptimize(height);
        state.PauseTiming();
        for (qel::TextLayoutEngine& engine : engines)
            engine.reset();
        state.ResumeTiming();
    }
    state.counters["height"] = height;
}
BENCHMARK(BM_Compare4LoadEntry248)->Unit(benchmark::kMicrosecond);

// What the parallel window's Display of John 3:16 costs with all seven versions chosen: the
// query, the markup, the parse and the layout at 800 pixels.
void BM_ParallelDisplayJhn003016(benchmark::State& state) {
    qel::Database db(QEL_BUILT_CONTENT_DB, qel::Database::Mode::ReadOnly);
    qel::installFontSubstitutions();
    QImage device(800, 600, QImage::Format_RGB32);
    qel::QtSurface surface(&device);
    surface.setClientSize(800, 600);
    const qel::AppSettings settings;
    surface.selectFont(surface.addFont(qel::makeDisplayFont(settings, surface.dpiY())));
    qel::TextLayoutEngine engine(qel::displayStyleOf(settings));
    int height = 0;
    for (auto _ : state) {
        qel::MarkupNodeList list;
        const qel::ParallelPage page =
            qel::parallelPage(qel::parallelRows(db, "jhn", "3", "16"), qel::kAllParallelVersions);
        qel::MarkupParser::parse(&list, page.markup);
        height = engine.ReSize(surface, 10, &list, false);
        benchmark::DoNotOptimize(height);
        state.PauseTiming();
        engine.reset();
        state.ResumeTiming();
    }
    state.counters["height"] = height;
}
BENCHMARK(BM_ParallelDisplayJhn003016)->Unit(benchmark::kMicrosecond);

} // namespace
