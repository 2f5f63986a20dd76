#include "app/displaysettings.h"
#include "app/fontresolver.h"
#include "bible/biblequeries.h"
#include "platform/appsettings.h"
#include "platform/database.h"
#include "richtext/displaystyle.h"
#include "richtext/highlightmarks.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"
#include "richtext/qtsurface.h"
#include "richtext/richtextpainter.h"
#include "richtext/textlayoutengine.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::string psalm119Kjv() {
    qel::Database db(QEL_BUILT_CONTENT_DB, qel::Database::Mode::ReadOnly);
    return qel::chapterPage(qel::chapterRows(db, "KJV", "psa", "119"), 30000).markup;
}

// 100 highlights over the chapter's 176 verses: whole verses and spans, every colour.
std::vector<qel::HighlightSpan> hundredHighlights() {
    std::vector<qel::HighlightSpan> spans;
    for (int i = 0; i < 100; ++i) {
        const int verse = 1 + i * 176 / 100;
        spans.push_back({std::to_string(verse), i % 2 ? 0 : 5, i % 2 ? qel::kWholeVerseSpan : 30,
                         1 + i % qel::kHighlightColourCount});
    }
    return spans;
}

struct Page {
    explicit Page(int height = 600) : device(800, height, QImage::Format_RGB32), surface(&device) {
        qel::installFontSubstitutions();
        surface.setClientSize(800, 600);
        surface.selectFont(surface.addFont(qel::makeDisplayFont(settings, surface.dpiY())));
    }
    const qel::AppSettings settings; // UnBatang ("바탕체") at 11 points
    QImage device;
    qel::QtSurface surface;
};

// As the chapter layout benchmark, with the highlights placed on the runs as the layout
// finishes them, as the view lays out.
void BM_LayoutPsalm119KjvHighlighted(benchmark::State& state) {
    const std::string markup = psalm119Kjv();
    const std::vector<qel::HighlightSpan> spans = hundredHighlights();
    Page page;
    qel::TextLayoutEngine engine(qel::displayStyleOf(page.settings));
    std::size_t marks = 0;
    qel::VerseMarker marker; // kept from layout to layout, as the view keeps it
    for (auto _ : state) {
        state.PauseTiming();
        qel::MarkupNodeList list;
        qel::MarkupParser::parse(&list, markup);
        state.ResumeTiming();
        marker.start(spans);
        benchmark::DoNotOptimize(engine.ReSize(page.surface, 40, &list, false, &marker));
        marks = marker.marks().size();
        state.PauseTiming();
        engine.reset();
        list.clear();
        state.ResumeTiming();
    }
    state.counters["marks"] = static_cast<double>(marks);
}
BENCHMARK(BM_LayoutPsalm119KjvHighlighted)->Unit(benchmark::kMicrosecond);

// Painting the whole laid-out chapter, without and with the highlights.
void paintPsalm119(benchmark::State& state, bool highlighted) {
    Page page(20000);
    const qel::DisplayStyle style = qel::displayStyleOf(page.settings);
    qel::TextLayoutEngine engine(style);
    qel::MarkupNodeList list;
    qel::MarkupParser::parse(&list, psalm119Kjv());
    const int height = engine.ReSize(page.surface, 40, &list, false);
    const std::vector<qel::HighlightSpan> spans =
        highlighted ? hundredHighlights() : std::vector<qel::HighlightSpan>{};
    QPainter painter(&page.device);
    page.surface.setPainter(&painter);
    for (auto _ : state) {
        const std::vector<qel::NodeMark> marks = qel::markVerses(list, spans);
        qel::PaintParameters parameters;
        parameters.settings = &style;
        parameters.fontSize = engine.fontSize();
        parameters.bandBottom = height;
        parameters.marks = &marks;
        qel::paintMarkup(page.surface, list, parameters);
    }
    page.surface.setPainter(nullptr);
}

void BM_PaintPsalm119Kjv(benchmark::State& state) {
    paintPsalm119(state, false);
}
BENCHMARK(BM_PaintPsalm119Kjv)->Unit(benchmark::kMicrosecond);

void BM_PaintPsalm119KjvHighlighted(benchmark::State& state) {
    paintPsalm119(state, true);
}
BENCHMARK(BM_PaintPsalm119KjvHighlighted)->Unit(benchmark::kMicrosecond);

} // namespace
