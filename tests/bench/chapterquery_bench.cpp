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

// The like shim on the pattern that made a backtracking matcher take 46 s: "*a" ten times
// and "*b" against forty "a".
void BM_JetLikeHostilePattern(benchmark::State& state) {
    std::string pattern;
    for (int i = 0; i < 10; ++i)
        pattern += "*a";
    pattern += "*b";
    const std::string value(40, 'a');
    for (auto _ : state)
        benchmark::DoNotOptimize(qel::jetLike(pattern, value));
}
BENCHMARK(BM_JetLikeHostilePattern)->Unit(benchmark::kNanosecond);

} // namespace
