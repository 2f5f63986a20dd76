#include "platform/database.h"

#include "../support/tempdir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace qel;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    DatabaseTest() : db((dir.path() / "t.db").string(), Database::Mode::Create) {}
    std::string first(const std::string& sql, const char* column) {
        RecordSet rs(db, sql);
        return rs.field(column);
    }
    TempDir dir;
    Database db;
};

} // namespace

TEST_F(DatabaseTest, FieldsAreTextByDeclaredType) {
    db.execute("create table t (s SMALLINT, i INTEGER, l LONG, r REAL, f FLOAT, b BOOLEAN, "
               "x TEXT, n TEXT)");
    db.execute("insert into t values (-70000, 70000, -5, 1.5, 0.25, 1, 'abc', null)");
    RecordSet rs(db, "select * from t");
    EXPECT_EQ(rs.field("s"), "-4464"); // 16-bit: wraps like %hd
    EXPECT_EQ(rs.field("i"), "70000");
    EXPECT_EQ(rs.field("L"), "-5"); // column names compare without case
    EXPECT_EQ(rs.field("r"), "1.500000e+00");
    EXPECT_EQ(rs.field("f"), "2.500000e-01");
    EXPECT_EQ(rs.field("b"), "TRUE");
    EXPECT_EQ(rs.field("x"), "abc");
    EXPECT_EQ(rs.field("n"), "NULL");
    // Text to show: a NULL body shows as nothing, not as the word.
    EXPECT_EQ(rs.text("n"), "");
    EXPECT_EQ(rs.text("x"), "abc");
    EXPECT_THROW(rs.field("nope"), DatabaseError);
    rs.moveNext();
    EXPECT_TRUE(rs.isEOF());
}

TEST_F(DatabaseTest, LongBinaryOfAnyLengthIsReadWholeAndMalformedIsRefused) {
    db.execute("create table a (id TEXT, body LONGBINARY)");
    const std::string text = "{B}\xC5\xC2\xC3\xCA abc";
    const std::string scrambled = scrambleLongBinary(text);
    EXPECT_NE(scrambled.substr(2), text);
    db.execute("insert into a values ('ok', ?)", {SqlBlob{scrambled}});
    EXPECT_EQ(first("select * from a where id='ok'", "body"), text);

    // Around the old 40,960-byte buffer and the end of the two-byte length.
    for (const std::size_t n : {std::size_t{40959}, std::size_t{40960}, kLongBinaryWideLength - 1,
                                kLongBinaryWideLength, std::size_t{200000}}) {
        SCOPED_TRACE(n);
        std::string body(n, 'x');
        body.back() = 'E';
        db.execute("delete from a where id='long'");
        db.execute("insert into a values ('long', ?)", {SqlBlob{scrambleLongBinary(body)}});
        EXPECT_EQ(first("select * from a where id='long'", "body"), body);
    }

    // A length that claims more bytes than are stored must not read past them.
    std::string truncated = scrambleLongBinary("hello");
    truncated.resize(4);
    db.execute("insert into a values ('cut', ?)", {SqlBlob{truncated}});
    EXPECT_EQ(first("select * from a where id='cut'", "body"), "");
    std::string wide = scrambleLongBinary(std::string(kLongBinaryWideLength, 'w'));
    wide.resize(wide.size() - 1);
    db.execute("insert into a values ('widecut', ?)", {SqlBlob{wide}});
    EXPECT_EQ(first("select * from a where id='widecut'", "body"), "");
    db.execute("insert into a values ('stub', ?)", {SqlBlob{std::string("\xFF\xFF\x01", 3)}});
    EXPECT_EQ(first("select * from a where id='stub'", "body"), "");
}

TEST(JetLike, WildcardsCaseAndDoubleByteCharacters) {
    EXPECT_TRUE(jetLike("*abc*", "xxABCyy"));
    EXPECT_TRUE(jetLike("a?c", "abc"));
    EXPECT_FALSE(jetLike("a?c", "ac"));
    EXPECT_TRUE(jetLike("#:#", "3:7"));
    EXPECT_FALSE(jetLike("#", "x"));
    EXPECT_TRUE(jetLike("*", ""));
    EXPECT_FALSE(jetLike("abc", "abcd"));
    EXPECT_TRUE(jetLike("100%", "100%")); // % and _ are ordinary characters here
    EXPECT_FALSE(jetLike("a_c", "abc"));
    // Escaped wild cards match only themselves.
    EXPECT_TRUE(jetLike("a\\*\\?\\#", "a*?#", '\\'));
    EXPECT_FALSE(jetLike("a\\*", "abc", '\\'));
    EXPECT_FALSE(jetLike("\\?", "x", '\\'));
    EXPECT_TRUE(jetLike("*\\\\*", "a\\b", '\\'));
    EXPECT_TRUE(jetLike("*" + jetLikeLiteral("1*2?", '\\') + "*", "x1*2?y", '\\'));
    EXPECT_FALSE(jetLike("*" + jetLikeLiteral("1*2?", '\\') + "*", "x1a2by", '\\'));
    // "?" takes a whole double-byte character; a lead byte never pairs with the next char.
    EXPECT_TRUE(jetLike("?\xB0\xA1", "\xC5\xC2\xB0\xA1"));
    EXPECT_FALSE(jetLike("??\xB0\xA1", "\xC5\xC2\xB0\xA1"));
    EXPECT_FALSE(jetLike("*\xC2\xB0*", "\xC5\xC2\xB0\xA1")); // trail+lead across characters
}

TEST(JetLike, StarResumesOneWholeCharacterLater) {
    EXPECT_TRUE(jetLike("*aab", "aaab"));
    EXPECT_TRUE(jetLike("a*b*c", "abxbxc"));
    EXPECT_FALSE(jetLike("a*b*c", "abxbx"));
    EXPECT_TRUE(jetLike("*a?", "aXaY"));
    EXPECT_FALSE(jetLike("*?b", "b"));
    EXPECT_TRUE(jetLike("*#", "abc1"));
    EXPECT_TRUE(jetLike("**a**", "bab"));
    // A star never starts a match on the second byte of a double-byte character.
    EXPECT_FALSE(jetLike("*\xB0\xA1", "\xC5\xB0\xA1"));
    EXPECT_TRUE(jetLike("*\xB0\xA1", "\xC5\xC2\xB0\xA1"));
}

// A backtracking matcher takes exponential time on these ("*a" ten times and "*b" against
// forty "a" took 46 s). The matcher counts its steps, so a slow one fails here without a
// clock: never more than (pattern length + 1) × (value length + 1).
TEST(JetLike, HostilePatternsTakeAtMostPatternTimesValueSteps) {
    std::string stars, hangulStars, hangul;
    for (int i = 0; i < 10; ++i) {
        stars += "*a";
        hangulStars += "*\xB0\xA1";
    }
    for (int i = 0; i < 40; ++i)
        hangul += "\xB0\xA1";
    std::string many;
    for (int i = 0; i < 200; ++i)
        many += "*?";
    const std::string as(40, 'a');
    const struct {
        std::string pattern, value;
        bool matches;
    } rows[] = {
        {stars + "*b", as, false},
        {stars + "*b", as + "b", true},
        {stars + "*", as, true},
        {hangulStars + "*\xB3\xAA", hangul, false},
        {hangulStars + "*?", hangul, true},
        {many + "b", std::string(1000, 'a'), false},
        {std::string(3000, '*') + std::string(50, '?') + "#", std::string(4000, 'a'), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pattern.substr(0, 40));
        std::size_t steps = 0;
        EXPECT_EQ(jetLike(row.pattern, row.value, 0, &steps), row.matches);
        EXPECT_GT(steps, 0u);
        EXPECT_LE(steps, (row.pattern.size() + 1) * (row.value.size() + 1));
    }
}

TEST_F(DatabaseTest, JetDialectRunsOnSqlite) {
    db.execute("create table t (name TEXT, sequence INTEGER)");
    db.execute("insert into t values ('Aaron''s rod', 1), ('say \"hi\"', 2), ('x', 3)");
    EXPECT_EQ(first("select * from t where name like '*RON''S*'", "sequence"), "1");
    EXPECT_EQ(first("select * from t where name=\"x\"", "sequence"), "3");
    EXPECT_EQ(first("select * from t where name=\"say \"\"hi\"\"\"", "sequence"), "2");
    EXPECT_EQ(translateJetSql("a=\"it's\" and b='\"q\"'"), "a='it''s' and b='\"q\"'");
    // A reader's own stars reach the shim through the section-title search.
    db.execute("insert into t values (?, 4)", {std::string(40, 'a')});
    EXPECT_EQ(first("select * from t where name like '*a*a*a*a*a*a*a*a*a*a*' order by sequence "
                    "desc",
                    "sequence"),
              "4");
    EXPECT_TRUE(RecordSet(db, "select * from t where name like '*a*a*a*a*a*a*a*a*a*a*b*'").isEOF());
}

TEST(DatabaseOpen, MissingGarbageAndEmptyFiles) {
    TempDir dir;
    EXPECT_THROW(Database((dir.path() / "none.db").string(), Database::Mode::ReadOnly),
                 DatabaseError);
    const auto garbage = dir.path() / "garbage.db";
    std::ofstream(garbage) << std::string(4096, 'z');
    EXPECT_THROW(Database(garbage.string(), Database::Mode::ReadOnly), DatabaseError);
    const auto empty = dir.path() / "empty.db";
    std::ofstream{empty};
    Database db(empty.string(), Database::Mode::ReadOnly); // a valid, empty database
    EXPECT_FALSE(db.hasTable("CHAPTER"));
    EXPECT_THROW(db.execute("create table x (a)"), DatabaseError); // read-only
}

TEST_F(DatabaseTest, ATransactionWithoutCommitLeavesNothingAndTakesTheWriteLockAtOnce) {
    db.execute("create table t (x TEXT)");
    ASSERT_TRUE(db.useWriteAheadLog());
    {
        Transaction transaction(db);
        db.execute("insert into t values (?)", {std::string("gone")});
        // Another connection cannot begin writing while this one holds the lock.
        Database other((dir.path() / "t.db").string(), Database::Mode::ReadWrite);
        sqlite3_busy_timeout(other.handle(), 0);
        EXPECT_THROW(Transaction{other}, DatabaseError);
        // and it still reads the rows as they were.
        EXPECT_TRUE(RecordSet(other, "select x from t").isEOF());
    }
    EXPECT_EQ(first("select count(*) as n from t", "n"), "0");
    {
        Transaction transaction(db);
        db.execute("insert into t values ('kept')");
        transaction.commit();
    }
    EXPECT_EQ(first("select x from t", "x"), "kept");
}
