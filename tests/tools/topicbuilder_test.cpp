#include "mkdb/topicbuilder.h"

#include "../support/tempdir.h"
#include "../support/topicfixture.h"
#include "mkdb/sourcerecords.h"
#include "reference/topicfile.h"
#include "reference/topictrees.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace qel;
namespace fs = std::filesystem;

namespace {

// The message of the SourceError that building these sources throws, or "" when none.
std::string buildError(const fs::path& dir, const std::map<std::string, std::string>& sources) {
    fs::remove_all(dir / "topics");
    writeTopicSources(dir / "topics", sources);
    try {
        mkdb::buildTopicFiles(dir / "topics", dir / "M14", {}, [](const std::string&) {});
    } catch (const mkdb::SourceError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(TopicBuilder, BuildsOneFileForEachSourceAndNoneForAMissingOne) {
    TempDir dir;
    std::vector<std::string> drawn;
    buildFixtureTopics(dir.path(), dir.path() / "M14", [&](const std::string& key) {
        drawn.push_back(key);
        return std::string();
    });
    for (const mkdb::TopicKind& kind : mkdb::topicKinds())
        EXPECT_TRUE(fs::exists(dir.path() / "M14" / kind.file)) << kind.file;
    EXPECT_EQ(drawn, (std::vector<std::string>{"PHI010000001", "PHI020000001"}))
        << "only photo topics are offered to the painter";
    TopicFile came;
    ASSERT_TRUE(came.open((dir.path() / "M14" / "ca.m14").string()));
    EXPECT_EQ(came.keys(), (std::vector<std::string>{"ca0001", "ca0002"}));
    came.close();

    // Without its source a kind has no file, not yesterday's.
    fs::remove(dir.path() / "topics" / "CAME.txt");
    mkdb::buildTopicFiles(dir.path() / "topics", dir.path() / "M14", {}, [](const std::string&) {});
    EXPECT_FALSE(fs::exists(dir.path() / "M14" / "ca.m14"));
    EXPECT_TRUE(fs::exists(dir.path() / "M14" / "hi.m14"));
}

TEST(TopicBuilder, MalformedSourcesNameTheirFileAndLineAndLeaveTheOldFile) {
    TempDir dir;
    ASSERT_EQ(buildError(dir.path(), topicFixtureSources()), "");
    const auto sizeBefore = fs::file_size(dir.path() / "M14" / "hi.m14");
    const std::string his = (dir.path() / "topics" / "HIS.txt").string();
    const std::string shorts = (dir.path() / "topics" / "SHORT.txt").string();
    const std::string came = (dir.path() / "topics" / "CAME.txt").string();
    const std::pair<std::map<std::string, std::string>, std::string> cases[] = {
        {{{"HIS", "1\tera\t0\t10\t0\tx\tbody\n"}}, his + ":1: bad year '0'"},
        {{{"HIS", "1\tera\t-10\t-20\t0\tx\tbody\n"}}, his + ":1: the entry ends before"},
        {{{"HIS", "1\tkings\t-10\t-5\t0\tx\tbody\n"}}, his + ":1: unknown track 'kings'"},
        {{{"HIS", "1\tera\t-10\t-5\t2\tx\tbody\n"}}, his + ":1: circa must be 0 or 1"},
        {{{"HIS", "#\n1\tera\t-10\t-5\t0\tx\n"}}, his + ":2: expected 7 fields"},
        {{{"SHORT", "SK0100000001\t사랑\tlove me\n"}}, shorts + ":1: no verse in the references"},
        {{{"CAME", "ca0001\tone\nca0001\ttwo\n"}}, came + ":2: key 'ca0001' given twice"},
        {{{"CAME", "ca0001\t\xF0\x9F\x99\x82\n"}}, came + ":1: text that CP949 cannot hold"},
    };
    for (const auto& [sources, message] : cases) {
        const std::string error = buildError(dir.path(), sources);
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
    }
    // The failed builds kept the chronology that was built whole.
    EXPECT_EQ(fs::file_size(dir.path() / "M14" / "hi.m14"), sizeBefore);
    EXPECT_FALSE(fs::exists(dir.path() / "M14" / "hi.m14.part"));
}

TEST(BuiltTopics, EveryKeyOfEveryTopicTreeHasItsTopicInTheBuiltFile) {
    // The topic files lie beside the built content database's folder.
    const fs::path folder = fs::path(QEL_BUILT_CONTENT_DB).parent_path().parent_path() / "M14";
    const std::pair<const char*, const TopicTable& (*)()> trees[] = {
        {"ca.m14", cameTree},       {"ma.m14", mapTree},        {"ph.m14", photoTree},
        {"sh.m14", shortTopicTree}, {"hi.m14", chronologyTree}, {"ad.m14", aboutTree}};
    for (const auto& [file, tree] : trees) {
        std::vector<std::string> wanted;
        for (const TopicEntry& e : tree())
            // Map keys "f..." are maps, not topics.
            if (e.level >= 0 && !e.key.empty() &&
                !(std::string(file) == "ma.m14" && e.key[0] == 'f'))
                wanted.push_back(e.key);
        if (wanted.empty())
            continue;
        TopicFile topics;
        ASSERT_TRUE(topics.open((folder / file).string())) << file << " was not built";
        const std::vector<std::string> keys = topics.keys();
        for (const std::string& key : wanted)
            EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end())
                << file << " has no topic " << key;
    }
}
