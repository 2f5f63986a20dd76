#include "../support/tempdir.h"
#include "mkdb/contentbuilder.h"
#include "platform/database.h"
#include "reference/articleload.h"
#include "reference/articletrees.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(ArticleLoad, IdsDropLeadingZerosAndNotesSplitOffTheirAnchor) {
    const struct {
        int kind;
        const char* requested;
        const char* id;
        const char* row;
        const char* anchor;
    } cases[] = {
        {articlekind::Term, "007", "7", "7", ""},
        {articlekind::Term, "000", "0", "0", ""},
        {articlekind::Term, "", "0", "0", ""},
        {articlekind::Term, "100", "100", "100", ""},
        {articlekind::Criticism, "gen012", "gen012", "gen", "012"},
        {articlekind::Criticism, "all", "all", "all", ""},
        {articlekind::Criticism, "1jn", "1jn", "1jn", ""},
        // Only the notes keep an anchor in the id.
        {articlekind::Book, "gen012", "gen012", "gen012", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.requested);
        const ArticleAddress address = articleAddress(c.kind, c.requested);
        EXPECT_EQ(address.id, c.id);
        EXPECT_EQ(address.rowId, c.row);
        EXPECT_EQ(address.anchor, c.anchor);
    }
}

TEST(ArticleLoad, AMissingIdGivesAOneLineNotice) {
    Database db(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
    const LoadedArticle missing = loadArticle(db, articlekind::Term, "0999");
    EXPECT_FALSE(missing.found);
    EXPECT_EQ(missing.address.id, "999");
    EXPECT_EQ(missing.markup, missingArticleNotice("0999"));
    // One line: no break after the first, no braces from the id read as tags.
    EXPECT_EQ(missingArticleNotice("{H}x").find("{B}", 1), std::string::npos);
    EXPECT_EQ(missingArticleNotice("{H}x").find("{H}"), std::string::npos);
    EXPECT_FALSE(loadArticle(db, "ETC", "none").found);
}

TEST(ArticleLoad, LongBodiesGrowTheBufferAndAreNeverCut) {
    TempDir dir;
    Database db((dir.path() / "long.db").string(), Database::Mode::Create);
    db.execute("create table TERM (id text, body text)");
    std::string longBody = "{H}long{/H}" + std::string(kArticleBufferSize + 9000, 'a') + "END";
    const std::string edge(kArticleBufferSize - kArticleEndBytes + 1, 'b');
    db.execute("insert into TERM values ('1', ?)", {longBody});
    db.execute("insert into TERM values ('2', ?)", {edge});
    EXPECT_EQ(loadArticle(db, articlekind::Term, "1").markup, longBody);
    EXPECT_EQ(loadArticle(db, articlekind::Term, "2").markup, edge);
    // Stored scrambled by the builder, as the content database keeps articles.
    mkdb::ContentSources sources;
    const std::string stored = "{H}long{/H}" + std::string(kArticleBufferSize + 30000, 'c') + "END";
    sources.articles["TERM"] = {{"5", stored}};
    const std::string file = (dir.path() / "built.db").string();
    mkdb::buildContentDatabase(sources, file, [](const std::string&) {});
    Database built(file, Database::Mode::ReadOnly);
    EXPECT_EQ(loadArticle(built, articlekind::Term, "5").markup, stored);
    // The buffer is a zero-ended text: what follows a zero byte is not read.
    EXPECT_EQ(bufferedBody(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(bufferedBody(""), "");
}
