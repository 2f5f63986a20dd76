#include "companion/journalstore.h"
#include "companion/readingplan.h"
#include "companion/ui/planwindow.h"
#include "companion/ui/readerlink.h"

#include "../support/tempdir.h"

#include <QPixmap>
#include <benchmark/benchmark.h>

namespace {

// Opening the plan window on M'Cheyne's plan followed for a whole year, every reading of
// every day ticked off, up to its first paint: reading the marks, the status, the
// readings list and the calendar of the year.
void BM_PlanWindowOpenYear(benchmark::State& state) {
    TempDir dir;
    const std::string file = dir.str() + "/Study.mdb";
    const qel::CivilDate start{2024, 12, 31};
    {
        qel::JournalStore store(file);
        store.startPlan("mcheyne", start);
        store.setDaysRead("mcheyne", *qel::findReadingPlan("mcheyne"), 0, 363, true, start);
    }
    qel::ReaderLink link(QStringLiteral("/nonexistent/qelbible"));
    for (auto _ : state) {
        qel::CPlanWindow window(std::make_shared<qel::JournalStore>(file), &link, {2025, 12, 30});
        window.show();
        const QPixmap painted = window.grab();
        benchmark::DoNotOptimize(painted.cacheKey());
    }
    state.counters["readings"] = 364 * 4;
}
BENCHMARK(BM_PlanWindowOpenYear)->Unit(benchmark::kMillisecond);

} // namespace
