// The data swap puts the new generation on the disk before the journal makes it live.
#include "platform/dataswap.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace fs = std::filesystem;
using namespace qel;

namespace {

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST(DataSwap, NewFilesAreFlushedBeforeTheJournalAndTheirFoldersAfterTheMoves) {
    TempDir dir;
    const fs::path data = dir.path() / "Data";
    writeFile(data / "DB" / "Bible.m14", "old");
    writeFile(data / "DBF" / "index", "old");
    writeFile(data / "DB" / "Bible.m14.import", "new");
    writeFile(data / "DBF.import" / "index", "new");
    writeFile(data / "DBF.import" / "sub" / "list", "new");

    // "step N" before each change, "sync P" after each flush, in order.
    std::vector<std::string> events;
    DataSwapHooks hooks;
    hooks.step = [&](int n) { events.push_back("step " + std::to_string(n)); };
    hooks.synced = [&](const fs::path& p) {
        events.push_back("sync " + p.lexically_relative(data).generic_string());
    };
    commitDataSwap(data, {{"DB/Bible.m14.import", "DB/Bible.m14"}, {"DBF.import", "DBF"}}, hooks);

    auto position = [&](const std::string& event) {
        return std::find(events.begin(), events.end(), event) - events.begin();
    };
    // Step 1 comes before the rename that makes the journal live.
    const auto journal = position("step 1");
    ASSERT_LT(journal, static_cast<long>(events.size()));
    for (const char* flushed : {"DB/Bible.m14.import", "DBF.import", "DBF.import/index",
                                "DBF.import/sub", "DBF.import/sub/list", "DB", "."})
        EXPECT_LT(position(std::string("sync ") + flushed), journal) << flushed;

    // After the last move, the folders that received the new names.
    const auto steps = std::count_if(events.begin(), events.end(),
                                     [](const std::string& e) { return e.starts_with("step"); });
    const auto lastMove = position("step " + std::to_string(steps - 2));
    const std::vector<std::string> after(events.begin() + lastMove, events.end());
    for (const char* folder : {"sync DB", "sync ."})
        EXPECT_NE(std::find(after.begin(), after.end(), folder), after.end()) << folder;

    std::ifstream in(data / "DBF" / "sub" / "list");
    std::string text;
    in >> text;
    EXPECT_EQ(text, "new");
}
