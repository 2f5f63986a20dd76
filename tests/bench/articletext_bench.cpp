#include "platform/codec.h"
#include "platform/database.h"
#include "reference/articletext.h"

#include <benchmark/benchmark.h>

namespace {

// One text search over the articles of all 657 terms in the built content, as the "찾기"
// tab runs it with "본문 포함": a Korean word through the trigram index, an English one,
// and a two-letter word that the index cannot serve and is scanned for.
void BM_ArticleTextSearchAllTerms(benchmark::State& state, const char* utf8) {
    qel::Database db(QEL_BUILT_CONTENT_DB, qel::Database::Mode::ReadOnly);
    const std::string needle = qel::utf8ToCp949(utf8);
    std::size_t hits = 0;
    for (auto _ : state) {
        const auto ids = qel::searchArticleText(db, "TERM", needle);
        hits = ids.size();
        benchmark::DoNotOptimize(ids.data());
    }
    state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK_CAPTURE(BM_ArticleTextSearchAllTerms, Korean, "예루살렘")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ArticleTextSearchAllTerms, English, "James")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ArticleTextSearchAllTerms, TwoSyllables, "하나")
    ->Unit(benchmark::kMicrosecond);

} // namespace
