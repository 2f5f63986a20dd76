#include "platform/database.h"
#include "wordsearch/wordindexbuilder.h"
#include "wordsearch/wordvariant.h"

#include "../support/tempdir.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

std::string kjvIndex() {
    return (std::filesystem::path(QEL_BUILT_CONTENT_DB).parent_path().parent_path() / "M14" /
            "4.m14")
        .string();
}

// One search as the word-search dialog runs it: open the index, search, read the block,
// close, release the block.
void runSearch(benchmark::State& state, const char* query) {
    const std::string index = kjvIndex();
    long long hits = 0;
    for (auto _ : state) {
        if (!WordVariantOpen(index.c_str())) {
            state.SkipWithError("no KJV word index");
            return;
        }
        WordVariantBlock* block = WordVariantSearch(query, "all");
        WordVariantClose();
        if (block)
            hits = block->count;
        benchmark::DoNotOptimize(block);
        WordVariantFree(block);
    }
    state.counters["verses"] = static_cast<double>(hits);
}

void BM_WordSearchLoveKjv(benchmark::State& state) {
    runSearch(state, "love&~");
}
BENCHMARK(BM_WordSearchLoveKjv)->Unit(benchmark::kMicrosecond);

void BM_WordSearchFaithAndHopeKjv(benchmark::State& state) {
    runSearch(state, "faith&hope&~");
}
BENCHMARK(BM_WordSearchFaithAndHopeKjv)->Unit(benchmark::kMicrosecond);

void BM_WordSearchPhraseInTheBeginningKjv(benchmark::State& state) {
    runSearch(state, "\"in the beginning\"&~");
}
BENCHMARK(BM_WordSearchPhraseInTheBeginningKjv)->Unit(benchmark::kMicrosecond);

void BM_WordSearchAllFormsLoveKjv(benchmark::State& state) {
    runSearch(state, "love*&~");
}
BENCHMARK(BM_WordSearchAllFormsLoveKjv)->Unit(benchmark::kMicrosecond);

void BM_BuildWordIndexKjv(benchmark::State& state) {
    qel::Database content(QEL_BUILT_CONTENT_DB, qel::Database::Mode::ReadOnly);
    TempDir dir;
    const std::string out = dir.str() + "/4.m14";
    qel::WordIndexStats stats;
    for (auto _ : state)
        qel::buildWordIndex(content, "KJV", out, &stats);
    state.counters["words"] = static_cast<double>(stats.words);
    state.counters["bytes"] = static_cast<double>(stats.bytes);
}
BENCHMARK(BM_BuildWordIndexKjv)->Unit(benchmark::kMillisecond);

} // namespace
