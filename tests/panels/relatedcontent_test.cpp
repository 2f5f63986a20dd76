#include "panels/relatedcontent.h"

#include "../support/tempdir.h"
#include "platform/database.h"

#include <gtest/gtest.h>

using namespace qel;

namespace {

class RelatedContentTest : public ::testing::Test {
protected:
    RelatedContentTest() : db((dir.path() / "ref.db").string(), Database::Mode::Create) {
        db.execute("create table REF (volcode TEXT, chap TEXT, sec TEXT, body TEXT)");
    }
    void add(const char* book, const char* chap, const char* verse, const std::string& body) {
        db.execute("insert into REF values (?, ?, ?, ?)", {book, chap, verse, body});
    }

    TempDir dir;
    Database db;
};

} // namespace

TEST_F(RelatedContentTest, LooksTheChapterUpWithoutItsLeadingZeros) {
    add("psa", "1", "1", "first");
    add("psa", "100", "1", "hundredth");
    add("psa", "0", "1", "zero");
    add("psa", "10", "1", "tenth");
    EXPECT_EQ(relatedContentOf(db, "psa", "001", "1").body, "first");
    EXPECT_EQ(relatedContentOf(db, "psa", "010", "1").body, "tenth");
    EXPECT_EQ(relatedContentOf(db, "psa", "100", "1").body, "hundredth");
    EXPECT_EQ(relatedContentOf(db, "psa", "000", "1").body, "zero");
    // The verse is used as given.
    EXPECT_EQ(relatedContentOf(db, "psa", "1", "01").body, "");
    EXPECT_FALSE(relatedContentOf(db, "psa", "2", "1").tooLong);
}

TEST_F(RelatedContentTest, TakesThirtyThousandBytesAndRefusesOneMore) {
    add("jhn", "3", "16", std::string(kRelatedContentLimit, 'a'));
    add("jhn", "3", "17", std::string(kRelatedContentLimit + 1, 'b'));
    const RelatedContent full = relatedContentOf(db, "jhn", "3", "16");
    EXPECT_EQ(full.body.size(), 30000u);
    EXPECT_FALSE(full.tooLong);
    const RelatedContent over = relatedContentOf(db, "jhn", "3", "17");
    EXPECT_TRUE(over.body.empty());
    EXPECT_TRUE(over.tooLong);
}

TEST_F(RelatedContentTest, AnApostropheInTheKeyCannotWidenTheQuery) {
    add("jhn", "3", "16", "text");
    EXPECT_EQ(relatedContentOf(db, "jhn' or '1'='1", "3", "16").body, "");
}
