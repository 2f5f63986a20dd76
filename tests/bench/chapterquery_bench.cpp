#include "bible/biblequeries.h"
#include "platform/database.h"

#include <benchmark/benchmark.h>

namespace {

// The chapter query of a Bible window on the built database, rows read by column name.
void BM_ChapterQueryPsalm119Kjv(benchmark::State& state) {
    qel::Database db(QEL_BUILT_CONTENT_DB, qel::Database::Mode::ReadOnly);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto rows = qel::chapterRows(db, "KJV", "psa", "119");
        bytes += rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["rows"] = static_cast<double>(bytes) / state.iterations();
}
BENCHMARK(BM_ChapterQueryPsalm119Kjv)->Unit(benchmark::kMicrosecond);

} // namespace
