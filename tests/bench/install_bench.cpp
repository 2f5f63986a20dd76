#include "mkdb/swordinstall.h"

#include "../support/httpserver.h"
#include "../support/tempdir.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {
namespace fs = std::filesystem;

// The World English Bible of sword-text-web laid out as a repository: mods.d.tar.gz and
// the module files where its DataPath says.
bool layOutWebRepository(const fs::path& root) {
    const fs::path sword = "/usr/share/sword";
    const fs::path data = "modules/texts/ztext/engWEB2015eb";
    std::error_code ec;
    fs::create_directories(root / "mods.d");
    fs::create_directories(root / data.parent_path());
    fs::copy_file(sword / "mods.d" / "engWEB2015eb.conf", root / "mods.d" / "engweb2015eb.conf",
                  ec);
    if (!ec)
        fs::copy(sword / data, root / data, ec);
    const std::string pack = "cd '" + root.string() + "' && tar czf mods.d.tar.gz mods.d";
    return !ec && std::system(pack.c_str()) == 0;
}

// Download from 127.0.0.1, checks, import into a copy of the built content database with
// the slot's indexes: the word index (NIV), and for VRA the verse index as well.
void BM_InstallLocalModule(benchmark::State& state) {
    const std::string code = state.range(0) ? "VRA" : "NIV";
    TempDir repo;
    if (!layOutWebRepository(repo.path())) {
        state.SkipWithError("sword-text-web is not installed");
        return;
    }
    TestHttpServer server(repo.path());
    const qel::SwordSource source{"local", server.address(), false};
    std::unique_ptr<TempDir> dir;
    for (auto _ : state) {
        state.PauseTiming(); // a fresh installation and cache outside the timing
        dir = std::make_unique<TempDir>();
        setenv("XDG_CACHE_HOME", (dir->path() / "cache").c_str(), 1);
        fs::create_directories(dir->path() / "Data" / "DB");
        fs::copy_file(QEL_BUILT_CONTENT_DB, dir->path() / "Data" / "DB" / "Bible.m14");
        qel::mkdb::InstallRequest request;
        request.module = "engWEB2015eb";
        request.sources = {source};
        request.import.code = code;
        request.import.dbPath = (dir->path() / "Data" / "DB" / "Bible.m14").string();
        request.import.replace = true; // a few polytonic Greek letters in the notes
        state.ResumeTiming();
        try {
            state.counters["verses"] =
                static_cast<double>(qel::mkdb::installModule(request, {}).verses);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            return;
        }
    }
    unsetenv("XDG_CACHE_HOME");
}
BENCHMARK(BM_InstallLocalModule)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
