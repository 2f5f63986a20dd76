#include "../support/fixturedb.h"
#include "../support/tempdir.h"
#include "mkdb/contentbuilder.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "reference/articletext.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"

#include <gtest/gtest.h>

using namespace qel;

namespace {

using Ids = std::vector<std::string>;

// A content database whose articles the builder indexed.
class ArticleText : public ::testing::Test {
protected:
    ArticleText() {
        mkdb::ContentSources sources = fixtureSources();
        sources.articles["TERM"] = {
            {"0", "{H}아브라함{/H}{B}이삭의 아버지. {A TAR=BVRAgen012001}창 12:1{/A}"},
            {"1", "{H}이삭{/H}{B}Abraham begat {F VAL=B}Isaac{/F}; 약속의 아들."},
            {"2", "{H}야곱{/H}{B}이삭의 아들이며 \"이스라엘\"로 불렸다."},
            {"3", "{H}갵{/H}{B}CP949에서 둘째 바이트가 소문자 a인 글자."},
        };
        sources.articles["BOOK"] = {{"gen", "{H}창세기{/H}{B}아브라함 이야기"}};
        sources.articles["CRI"] = {{"gen", "{H}창세기{/H}{S VAL=012}{B}이삭 본문 주"}};
        const std::string file = (dir.path() / "Bible.m14").string();
        mkdb::buildContentDatabase(sources, file, [](const std::string&) {});
        db.open(file, Database::Mode::ReadOnly);
    }

    Ids find(std::string_view table, const char* utf8) {
        return searchArticleText(db, table, utf8ToCp949(utf8));
    }

    TempDir dir;
    Database db;
};

} // namespace

TEST_F(ArticleText, KoreanAndEnglishAreFoundInTheirOwnTableOnly) {
    ASSERT_TRUE(hasArticleTextIndex(db));
    // Three characters and more go through the trigram index, shorter ones through a scan.
    EXPECT_EQ(find("TERM", "아브라함"), (Ids{"0"}));
    EXPECT_EQ(find("TERM", "이삭"), (Ids{"0", "1", "2"}));
    EXPECT_EQ(find("TERM", "약속의 아들"), (Ids{"1"}));
    EXPECT_EQ(find("BOOK", "아브라함"), (Ids{"gen"}));
    EXPECT_EQ(find("CRI", "이삭"), (Ids{"gen"}));
    EXPECT_EQ(find("UNITS", "이삭"), Ids{});
    // English letters without regard to case, and across the tags of a run.
    EXPECT_EQ(find("TERM", "ABRAHAM"), (Ids{"1"}));
    EXPECT_EQ(find("TERM", "begat isaac"), (Ids{"1"}));
    EXPECT_EQ(find("TERM", "iS"), (Ids{"1"}));
    // The text of an entry runs on across its line breaks, not into its heading.
    EXPECT_EQ(find("TERM", "야곱이삭"), Ids{});
}

TEST_F(ArticleText, TagsAndQuotesAreNotQuerySyntax) {
    // Attribute values and tag letters are markup, not text.
    EXPECT_EQ(find("TERM", "BVRAgen"), Ids{});
    EXPECT_EQ(find("TERM", "TAR"), Ids{});
    EXPECT_EQ(find("TERM", "\"이스라엘\""), (Ids{"2"}));
    EXPECT_EQ(find("TERM", "이삭 OR 야곱"), Ids{});
    EXPECT_EQ(find("TERM", "이삭*"), Ids{});
    EXPECT_EQ(find("TERM", ""), Ids{});
    // A Korean letter whose second CP949 byte is "A" is not the one with "a".
    EXPECT_EQ(find("TERM", "갂"), Ids{});
    EXPECT_EQ(find("TERM", "갵"), (Ids{"3"}));
}

TEST(ArticleTextIndex, MissingIndexFindsNothing) {
    TempDir dir;
    Database db((dir.path() / "old.db").string(), Database::Mode::Create);
    db.execute("create table TERM (id text, body text)");
    EXPECT_FALSE(hasArticleTextIndex(db));
    EXPECT_EQ(searchArticleText(db, "TERM", "x"), Ids{});
}

TEST(ArticleTextIndex, PlainTextEndsLinesAtBreaksHeadingsAndCells) {
    EXPECT_EQ(articlePlainText("{H}a{/H}b{B}c{T VAL=2}{R}{C}d{/C}{C}e{/C}{/R}{/T}{I}f{/I}"),
              "a\nb\nc\nd\ne\nf");
    EXPECT_EQ(articlePlainText("{B}{B}x"), "x");
}

TEST(ArticleTextIndex, FirstMatchIsThePieceWhereTheTextBegins) {
    MarkupNodeList list;
    MarkupParser::parse(&list, utf8ToCp949("{H}Title{/H}{B}the Abra{F VAL=B}ham{/F} and 갵 갂"));
    const auto piece = [&](std::string_view text) {
        const MarkupNode* hit = firstTextMatch(list, text);
        return hit ? cp949ToUtf8(hit->text) : "(none)";
    };
    EXPECT_EQ(piece("abraham"), "the Abra");
    EXPECT_EQ(piece("HAM AND"), "ham");
    EXPECT_EQ(piece(utf8ToCp949("갂")), " and 갵 갂");
    EXPECT_EQ(firstTextMatch(list, "isaac"), nullptr);
    EXPECT_EQ(firstTextMatch(list, ""), nullptr);
}
