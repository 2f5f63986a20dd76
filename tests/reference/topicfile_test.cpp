#include "reference/topicfile.h"

#include "../support/tempdir.h"
#include "../support/topicfixture.h"
#include "compare/passagegather.h"
#include "mkdb/contentbuilder.h"
#include "platform/codec.h"
#include "reference/chronologylayout.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace qel;

namespace {

ChronologyRecord entry(std::string track, int from, int to) {
    return {"", std::move(track), from, to, false, "", ""};
}

} // namespace

TEST(ShortTopicMarkup, EveryReferenceGetsItsLinkAndItsVersesOrANotice) {
    TempDir dir;
    mkdb::ContentSources sources;
    sources.versions["VRA"] = {{"1co", "13", "4", "KOREAN-1CO"}, {"3jn", "1", "4", "KOREAN-3JN4"}};
    sources.versions["KJV"] = {{"1co", "13", "4", "Charity suffereth long"}};
    const std::string file = (dir.path() / "Bible.m14").string();
    mkdb::buildContentDatabase(sources, file, [](const std::string&) {});
    Database db(file, Database::Mode::ReadOnly);
    DatabasePassageSource korean(db), english(db, "KJV");
    TopicRecord topic{"SK0100000001", utf8ToCp949("사랑"), "", "1co13:4 3jn1:2,4", ""};
    const std::string markup = shortTopicMarkup(topic, false, korean);
    EXPECT_EQ(markup.find("{H}" + utf8ToCp949("사랑") + "{/H}"), 0u);
    EXPECT_NE(markup.find("{A TAR=BVRA1co013004}" + utf8ToCp949("고린도전서") + " 13:4{/A}"),
              std::string::npos);
    // Two spans under one written reference: one heading, the verse the edition has.
    EXPECT_NE(markup.find("{A TAR=BVRA3jn001002}" + utf8ToCp949("요한3서") + " 1:2,4{/A}"),
              std::string::npos);
    EXPECT_NE(markup.find("KOREAN-1CO"), std::string::npos);
    EXPECT_NE(markup.find("KOREAN-3JN4"), std::string::npos);
    EXPECT_EQ(markup.find(utf8ToCp949("들어 있지 않습니다")), std::string::npos);

    // The English form links the KJV, names the book in English and says what is missing.
    const std::string kjv = shortTopicMarkup(topic, true, english);
    EXPECT_NE(kjv.find("{A TAR=BKJV1co013004}1 Corinthians 13:4{/A}"), std::string::npos) << kjv;
    EXPECT_NE(kjv.find("Charity suffereth long"), std::string::npos);
    EXPECT_NE(kjv.find("not installed"), std::string::npos);
}

TEST(TopicFile, ReadsTopicsAndTheChronologyInSourceOrder) {
    TempDir dir;
    buildFixtureTopics(dir.path(), dir.path() / "M14",
                       [](const std::string& key) { return key == "PHI010000001" ? "PNG" : ""; });
    TopicFile photos;
    ASSERT_TRUE(photos.open((dir.path() / "M14" / "ph.m14").string()));
    const auto drawn = photos.topic("PHI010000001");
    ASSERT_TRUE(drawn);
    EXPECT_EQ(drawn->picture, "PNG");
    EXPECT_NE(drawn->body.find(utf8ToCp949("성막과 뜰의 배치")), std::string::npos);
    EXPECT_EQ(photos.topic("PHI020000001")->picture, "") << "no picture reads as none";
    EXPECT_FALSE(photos.topic("PHI999999999"));

    TopicFile chronology;
    ASSERT_TRUE(chronology.open((dir.path() / "M14" / "hi.m14").string()));
    const auto rows = chronology.chronology();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].key, "2");
    EXPECT_EQ(rows[1].track, "israel");
    EXPECT_EQ(rows[1].from, -1010);
    EXPECT_TRUE(rows[1].circa);
    EXPECT_FALSE(rows[2].circa);
    EXPECT_EQ(rows[2].label, utf8ToCp949("예루살렘 함락"));
}

TEST(ChronologyLayout, TheAxisHasNoYearZeroAndDatesSayWhenTheyAreUncertain) {
    EXPECT_EQ(axisYear(-1) + 1, axisYear(1)) << "1 BC and AD 1 stand side by side";
    EXPECT_EQ(axisEnd(entry("event", 30, 30)) - axisBegin(entry("event", 30, 30)), 1);
    EXPECT_EQ(axisEnd(entry("era", -4, 30)) - axisBegin(entry("era", -4, 30)), 34);
    EXPECT_EQ(yearText(-586, false), "주전 586년");
    EXPECT_EQ(yearText(30, true), "약 주후 30년");
    ChronologyRecord david{"2", "israel", -1010, -970, true, "", ""};
    EXPECT_EQ(datesText(david), "약 주전 1010년 - 약 주전 970년");
    EXPECT_EQ(trackIndex("judah"), 2);
    EXPECT_EQ(trackIndex("nonsense"), trackIndex("church"));
}

TEST(ChronologyLayout, OverlappingEntriesOfABandTakeSeparateLanes) {
    // Saul, David, a prophet overlapping both, and an early entry given last.
    const std::vector<ChronologyRecord> records = {
        entry("israel", -1050, -1010), entry("israel", -1010, -970), entry("prophet", -1060, -1000),
        entry("prophet", -1020, -980), entry("prophet", -1200, -1100)};
    const ChronologyLayout layout = layOutChronology(records, 10);
    ASSERT_EQ(layout.items.size(), records.size());
    // Saul ends where David begins: one lane is enough.
    EXPECT_EQ(layout.items[0].lane, 0);
    EXPECT_EQ(layout.items[1].lane, 0);
    EXPECT_EQ(layout.lanes[trackIndex("israel")], 1);
    // Samuel and Nathan overlap; the early entry, read last, does not push them down.
    EXPECT_EQ(layout.items[4].lane, 0);
    EXPECT_NE(layout.items[2].lane, layout.items[3].lane);
    EXPECT_EQ(layout.lanes[trackIndex("prophet")], 2);
    EXPECT_EQ(layout.firstYear, axisYear(-1200));
    // Short entries still take the least width, so labels do not collide.
    const ChronologyLayout tight =
        layOutChronology({entry("event", -586, -586), entry("event", -580, -580)}, 10);
    EXPECT_EQ(tight.items[1].lane, 1);
}

// Damage that SQLite can still read must not show as garbage or overflow the chart: a file
// with damaged pages is not open (its window shows the notice), an entry with a year beyond
// the chart is left out, and a NULL text shows as nothing.
TEST(TopicFile, DamagedPagesAbsurdYearsAndNullTextsAreKeptFromTheWindow) {
    TempDir dir;
    buildFixtureTopics(dir.path(), dir.path() / "M14", [](const std::string&) { return ""; });
    const std::filesystem::path hi = dir.path() / "M14" / "hi.m14";
    const std::filesystem::path ca = dir.path() / "M14" / "ca.m14";
    std::string someKey;
    {
        Database db(hi.string(), Database::Mode::ReadWrite);
        db.execute("update CHRONO set yfrom = 3000000000 where tkey = '2'");
        db.execute("update CHRONO set yto = -99999999 where tkey = '3'");
        Database topics(ca.string(), Database::Mode::ReadWrite);
        someKey = RecordSet(topics, "select tkey from TOPIC").field("tkey");
        topics.execute("update TOPIC set body = NULL where tkey = ?", {someKey});
    }
    TopicFile chronology;
    ASSERT_TRUE(chronology.open(hi.string()));
    const auto rows = chronology.chronology();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].key, "1");
    EXPECT_EQ(chronologyYear("-4004"), -4004);
    EXPECT_FALSE(chronologyYear("0"));
    EXPECT_FALSE(chronologyYear("12x"));

    TopicFile topics;
    ASSERT_TRUE(topics.open(ca.string()));
    EXPECT_EQ(topics.topic(someKey)->body, "");
    topics.close();

    // Every page after the first overwritten: the schema still reads, the tables do not.
    std::string bytes;
    {
        std::ifstream in(ca, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::size_t page = 4096;
    ASSERT_GT(bytes.size(), 2 * page);
    for (std::size_t i = page; i < bytes.size(); i += 7)
        bytes[i] = static_cast<char>(0xA5);
    std::ofstream(ca, std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_FALSE(topics.open(ca.string()));
}
