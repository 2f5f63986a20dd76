#include "mkdb/importer.h"

#include "../support/tempdir.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

// The whole World English Bible module into the NIV slot of a copy of the built content
// database: mod2imp export, conversion, CP949, the table with CHAPTER and PARALLEL rows,
// and the word index.
void BM_ImportWebModule(benchmark::State& state) {
    namespace fs = std::filesystem;
    std::unique_ptr<TempDir> dir;
    for (auto _ : state) {
        state.PauseTiming(); // a fresh copy outside the timing
        dir = std::make_unique<TempDir>();
        fs::create_directories(dir->path() / "DB");
        fs::copy_file(QEL_BUILT_CONTENT_DB, dir->path() / "DB" / "Bible.m14");
        qel::mkdb::ImportRequest request;
        request.source = "engWEB2015eb";
        request.code = "NIV";
        request.dbPath = (dir->path() / "DB" / "Bible.m14").string();
        request.replace = true; // a few polytonic Greek letters in the notes
        state.ResumeTiming();
        try {
            state.counters["verses"] =
                static_cast<double>(qel::mkdb::importEdition(request).verses);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            return;
        }
    }
}
BENCHMARK(BM_ImportWebModule)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
