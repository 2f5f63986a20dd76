#include "app/displaysettings.h"
#include "app/fontresolver.h"
#include "bible/biblequeries.h"
#include "platform/appsettings.h"
#include "platform/database.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"
#include "richtext/qtsurface.h"
#include "richtext/textlayoutengine.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <string>

namespace {

// The chapter markup as the chapter window builds it: an S tag per verse, then its body,
// with line ends turned into blanks.
std::string chapterMarkup(const char* version) {
    qel::Database db(QEL_BUILT_CONTENT_DB, qel::Database::Mode::ReadOnly);
    return qel::chapterPage(qel::chapterRows(db, version, "psa", "119"), 30000).markup;
}

void BM_ParsePsalm119Kjv(benchmark::State& state) {
    const std::string markup = chapterMarkup("KJV");
    std::size_t nodes = 0;
    for (auto _ : state) {
        qel::MarkupNodeList list;
        qel::MarkupParser::parse(&list, markup);
        nodes = list.size();
        benchmark::DoNotOptimize(list.head());
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * markup.size()));
}
BENCHMARK(BM_ParsePsalm119Kjv)->Unit(benchmark::kMicrosecond);

// A fresh parse per iteration (not timed): the first layout of a page, with every split.
void layOutPsalm119(benchmark::State& state, const char* version) {
    const std::string markup = chapterMarkup(version);
    qel::installFontSubstitutions();
    QImage device(800, 600, QImage::Format_RGB32);
    qel::QtSurface surface(&device);
    surface.setClientSize(800, 600);
    const qel::AppSettings settings; // UnBatang ("바탕체") at 11 points
    surface.selectFont(surface.addFont(qel::makeDisplayFont(settings, surface.dpiY())));
    qel::TextLayoutEngine engine(qel::displayStyleOf(settings));
    int height = 0;
    for (auto _ : state) {
        state.PauseTiming();
        qel::MarkupNodeList list;
        qel::MarkupParser::parse(&list, markup);
        state.ResumeTiming();
        height = engine.ReSize(surface, 40, &list, false);
        benchmark::DoNotOptimize(height);
        state.PauseTiming();
        engine.reset();
        list.clear();
        state.ResumeTiming();
    }
    state.counters["height"] = height;
}

void BM_LayoutPsalm119Kjv(benchmark::State& state) {
    layOutPsalm119(state, "KJV");
}
BENCHMARK(BM_LayoutPsalm119Kjv)->Unit(benchmark::kMicrosecond);

void BM_LayoutPsalm119Vra(benchmark::State& state) {
    layOutPsalm119(state, "VRA");
}
BENCHMARK(BM_LayoutPsalm119Vra)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {

// One Korean run of 10 KB without tags, broken into some hundred lines.
void BM_LayoutKoreanRun10K(benchmark::State& state) {
    qel::MarkupNodeList chapter;
    qel::MarkupParser::parse(&chapter, chapterMarkup("VRA"));
    std::string run;
    for (const qel::MarkupNode* n = chapter.head(); n && run.size() < 10240; n = n->next())
        if (n->isText())
            run += n->text;
    qel::installFontSubstitutions();
    QImage device(800, 600, QImage::Format_RGB32);
    qel::QtSurface surface(&device);
    surface.setClientSize(800, 600);
    const qel::AppSettings settings;
    surface.selectFont(surface.addFont(qel::makeDisplayFont(settings, surface.dpiY())));
    qel::TextLayoutEngine engine(qel::displayStyleOf(settings));
    std::size_t pieces = 0;
    for (auto _ : state) {
        state.PauseTiming();
        qel::MarkupNodeList list;
        qel::MarkupParser::parse(&list, run);
        state.ResumeTiming();
        benchmark::DoNotOptimize(engine.ReSize(surface, 40, &list, false));
        pieces = list.size();
    }
    state.counters["lines"] = static_cast<double>(pieces);
    state.counters["bytes"] = static_cast<double>(run.size());
}
BENCHMARK(BM_LayoutKoreanRun10K)->Unit(benchmark::kMicrosecond);

} // namespace
