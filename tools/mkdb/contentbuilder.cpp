#include "mkdb/contentbuilder.h"

#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "bible/editions.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "reference/articletext.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace qel::mkdb {
namespace fs = std::filesystem;
namespace {

void createSchema(Database& db) {
    for (const Edition& version : editionTable()) {
        const std::string code = version.code;
        db.execute("create table " + code +
                   " (volcode TEXT not null, chap TEXT not null, sec TEXT not null, body TEXT, "
                   "sequence INTEGER not null)");
        db.execute("create table T" + code +
                   " (volcode TEXT not null, body TEXT, sequence INTEGER not null)");
    }
    db.execute("create table CHAPTER (vercode TEXT not null, volcode TEXT not null, "
               "chap TEXT not null, sequence INTEGER not null)");
    db.execute("create table PARALLEL (volcode TEXT not null, chap TEXT not null, "
               "sec TEXT not null, VERCODE TEXT not null, body TEXT)");
    db.execute("create table REF (volcode TEXT not null, chap TEXT not null, sec TEXT not null, "
               "body TEXT)");
    for (std::string_view table : kArticleTables)
        db.execute("create table " + std::string(table) +
                   " (id TEXT primary key, body LONGBINARY)");
}

// Indexes after the rows: faster to build, and every listed query is served by one of them
// (the chapter query walks (volcode, chap, sequence) without sorting).
void createIndexes(Database& db) {
    for (const Edition& version : editionTable()) {
        const std::string code = version.code;
        db.execute("create index " + code + "_chapter on " + code + " (volcode, chap, sequence)");
        db.execute("create index " + code + "_verse on " + code + " (volcode, chap, sec)");
        db.execute("create index " + code + "_sequence on " + code + " (volcode, sequence)");
        db.execute("create index T" + code + "_book on T" + code + " (volcode, sequence)");
    }
    db.execute("create index CHAPTER_book on CHAPTER (vercode, volcode, sequence)");
    db.execute("create index PARALLEL_verse on PARALLEL (volcode, chap, sec, VERCODE)");
    db.execute("create index REF_verse on REF (volcode, chap, sec)");
}

// Stored verses carry their number as a D tag, after a heading that opens the verse, and
// end with a blank, so that verses run on in one paragraph stay apart.
std::string storedVerseBody(const std::string& body, const std::string& label) {
    std::size_t at = 0;
    if (body.rfind("{H", 0) == 0)
        if (const auto end = body.find("{/H}"); end != std::string::npos)
            at = end + 4;
    std::string stored = body.substr(0, at) + "{D}" + label + "{/D}" + body.substr(at);
    if (!stored.ends_with(' '))
        stored += ' ';
    return stored;
}

// The KJV of the build is Debian's whole text; the other editions are our sample.
bool isSampleEdition(const std::string& code) {
    return code != "KJV";
}

void keepSampleCopies(Database& db, const ContentSources& sources) {
    db.execute(std::string("create table ") + kSampleVerseTable +
               " (vercode TEXT not null, volcode TEXT not null, chap TEXT not null, "
               "sec TEXT not null, body TEXT, sequence INTEGER not null)");
    db.execute(std::string("create table ") + kSampleTitleTable +
               " (vercode TEXT not null, volcode TEXT not null, body TEXT, "
               "sequence INTEGER not null)");
    for (const auto& [code, verses] : sources.versions) {
        if (!isSampleEdition(code))
            continue;
        db.execute(std::string("insert into ") + kSampleVerseTable +
                       " select ?, volcode, chap, sec, body, sequence from " + code,
                   {code});
        db.execute(std::string("insert into ") + kSampleTitleTable +
                       " select ?, volcode, body, sequence from T" + code,
                   {code});
    }
}

} // namespace

EditionRecord builtEdition(const std::string& code) {
    EditionRecord edition;
    edition.code = code;
    if (!isSampleEdition(code)) {
        edition.source = "Debian sword-text-kjv (engKJV2006eb)";
        edition.name = "King James Version";
        edition.licence = "공개 저작물 (public domain)";
        return edition;
    }
    edition.source = "이 프로그램의 견본 자료 (data/text/" + code + ")";
    edition.name = "공개 저작물인 영어 본문을 이 프로그램을 위해 우리말로 옮긴 견본 구절";
    edition.licence = "이 프로그램을 위해 새로 쓴 글";
    return edition;
}

void insertVersion(Database& db, const std::string& code, const std::vector<SourceVerse>& verses,
                   const BookDoneFn& bookDone) {
    std::vector<SourceVerse> stored;
    stored.reserve(verses.size());
    for (const SourceVerse& v : verses) {
        const std::string markup = storedVerseBody(v.body, v.verse);
        std::string body = utf8ToCp949(markup);
        if (cp949ToUtf8(body) != markup)
            throw SourceError(code + " " + v.book + " " + v.chapter + ":" + v.verse +
                              ": text that CP949 cannot hold");
        stored.push_back({v.book, v.chapter, v.verse, std::move(body)});
    }
    insertStoredVersion(db, code, stored, bookDone);
}

void insertStoredVersion(Database& db, const std::string& code,
                         const std::vector<SourceVerse>& verses, const BookDoneFn& bookDone) {
    const std::string insertVerse =
        "insert into " + code + " (volcode, chap, sec, body, sequence) values (?, ?, ?, ?, ?)";
    std::set<std::pair<std::string, std::string>> chapters;
    long long chapterSequence = 0;
    long long sequence = 0;
    for (std::size_t i = 0; i < verses.size(); ++i) {
        const SourceVerse& v = verses[i];
        if (bookDone && i > 0 && verses[i - 1].book != v.book)
            bookDone(i);
        const std::string& body = v.body;
        db.execute(insertVerse, {v.book, v.chapter, v.verse, body, ++sequence});
        if (chapters.insert({v.book, v.chapter}).second)
            db.execute("insert into CHAPTER (vercode, volcode, chap, sequence) values (?, ?, ?, ?)",
                       {code, v.book, v.chapter, ++chapterSequence});
        if (const int index = parallelVersionIndex(code); index >= 0)
            db.execute("insert into PARALLEL (volcode, chap, sec, VERCODE, body) values "
                       "(?, ?, ?, ?, ?)",
                       {v.book, v.chapter, v.verse, std::to_string(index), body});
    }
    if (bookDone && !verses.empty())
        bookDone(verses.size());
}

void insertTitles(Database& db, const std::string& code, const std::vector<TitleRecord>& titles) {
    long long sequence = 0;
    for (const TitleRecord& t : titles)
        db.execute("insert into T" + code + " (volcode, body, sequence) values (?, ?, ?)",
                   {t.book, utf8ToCp949(t.body), ++sequence});
}

void recordEdition(Database& db, const EditionRecord& edition) {
    db.execute("create table if not exists EDITION (vercode TEXT primary key, source TEXT, "
               "name TEXT, licence TEXT)");
    // Databases built before imports recorded these lack the columns.
    for (const char* column : {"module", "version", "abbreviation", "installed"})
        if (!db.hasColumn("EDITION", column))
            db.execute(std::string("alter table EDITION add column ") + column + " TEXT");
    db.execute("delete from EDITION where vercode = ?", {edition.code});
    db.execute("insert into EDITION (vercode, source, name, licence, module, version, "
               "abbreviation, installed) values (?, ?, ?, ?, ?, ?, ?, ?)",
               {edition.code, utf8ToCp949(edition.source), utf8ToCp949(edition.name),
                utf8ToCp949(edition.licence), edition.module, utf8ToCp949(edition.version),
                utf8ToCp949(edition.abbreviation), edition.installed});
}

void buildContentDatabase(const ContentSources& sources, const std::string& outFile,
                          const ProgressFn& progress) {
    for (const auto& [code, verses] : sources.versions)
        if (!isEditionSlot(code))
            throw SourceError("text/" + code + ": unknown version code");
    for (const auto& [code, titles] : sources.titles)
        if (!isEditionSlot(code))
            throw SourceError("titles/" + code + ".txt: unknown version code");

    const fs::path target(outFile);
    if (target.has_parent_path())
        fs::create_directories(target.parent_path());
    const fs::path temporary = target.string() + ".part";
    fs::remove(temporary);
    {
        Database db(temporary.string(), Database::Mode::Create);
        db.execute("pragma journal_mode = off");
        db.execute("pragma synchronous = off");
        db.execute("begin");
        createSchema(db);
        for (const auto& [code, verses] : sources.versions) {
            progress(code + ": " + std::to_string(verses.size()) + " verses");
            insertVersion(db, code, verses);
        }
        for (const auto& [code, titles] : sources.titles) {
            progress("T" + code + ": " + std::to_string(titles.size()) + " section titles");
            insertTitles(db, code, titles);
        }
        for (const auto& [code, verses] : sources.versions)
            recordEdition(db, builtEdition(code));
        keepSampleCopies(db, sources);
        progress("REF: " + std::to_string(sources.related.size()) + " rows");
        for (const RefRecord& r : sources.related)
            db.execute("insert into REF (volcode, chap, sec, body) values (?, ?, ?, ?)",
                       {r.book, r.chapter, r.verse, utf8ToCp949(r.body)});
        for (const auto& [table, articles] : sources.articles) {
            if (std::find(std::begin(kArticleTables), std::end(kArticleTables), table) ==
                std::end(kArticleTables))
                throw SourceError("articles/" + table + ".txt: unknown article table");
            progress(table + ": " + std::to_string(articles.size()) + " articles");
            for (const ArticleRecord& a : articles)
                db.execute("insert into " + table + " (id, body) values (?, ?)",
                           {utf8ToCp949(a.id), SqlBlob{scrambleLongBinary(utf8ToCp949(a.body))}});
        }
        progress(std::string(kArticleTextTable) + ": full-text index of the articles");
        buildArticleTextIndex(db);
        progress("indexes");
        createIndexes(db);
        db.execute("commit");
        db.execute("analyze");
    }
    fs::rename(temporary, target);
    progress("wrote " + target.string());
}

} // namespace qel::mkdb
