#pragma once

#include "platform/codec.h"
#include "platform/database.h"
#include "wordsearch/wordindexbuilder.h"

#include "../support/tempdir.h"

#include <string>
#include <vector>

// A small content database with English and Korean verses, and its word indexes.
class WordIndexFixture {
public:
    struct Verse {
        const char* version;
        const char* book;
        const char* chap;
        const char* sec;
        const char* body; // UTF-8 markup
    };

    static const std::vector<Verse>& verses() {
        static const std::vector<Verse> list = {
            {"KJV", "gen", "1", "1", "In the beginning God created the heaven and the earth."},
            {"KJV", "gen", "1", "2",
             "And the earth was without form{N TEX=\"form: Heb. love and void\"}*{/N}, and void."},
            {"KJV", "gen", "1", "3", "And God said, Let there be light: and there was light."},
            {"KJV", "gen", "22", "2", "Take now thy son, thine only son Isaac, whom thou lovest,"},
            {"KJV", "psa", "3", "1",
             "{H}A Psalm of David.{/H}LORD, how are they increased that trouble me!"},
            {"KJV", "pro", "8", "17", "I love them that love me;"},
            {"KJV", "sng", "1", "1",
             "The song of songs, lovely as gloves, my be{F VAL=I}loved{/F}."},
            {"KJV", "mat", "5", "44", "But I say unto you, Love your enemies,"},
            {"KJV", "jhn", "3", "16", "For God so loved the world, that he gave his only Son,"},
            {"KJV", "jhn", "14", "15", "If ye love me, keep my commandments."},
            {"KJV", "rom", "5", "2", "by faith into this grace, and rejoice in hope of God."},
            {"KJV", "1co", "13", "13", "And now abideth faith, hope, charity, these three;"},
            {"KJV", "1jn", "4", "8", "He that loveth not knoweth not God; for God is love."},
            {"VRA", "gen", "1", "1", "맨 처음에 {W VAL=P}하나님{/W}께서 하늘과 땅을 지으시니라"},
            {"VRA", "gen", "1", "2", "하나님의 영은 물 위에 움직이시니라"},
            {"VRA", "gen", "2", "21", "그 사람의 갈빗대 하나를 취하시고"},
            {"VRA", "psa", "23", "1", "여호와는 나를 치시는 목자시니 내게 아쉬운 것이 없으리로다"},
            {"VRA", "jhn", "3", "16",
             "하나님께서 세상을 이토록 사랑하시어 그 외아들을 내어 주셨으니, "
             "이는 누구든지 그를 믿는 사람은"},
            {"VRA", "rom", "5", "2", "그로 말미암아 우리가 믿음으로 이 은혜에 나아가 서 있나니"},
            {"VRA", "1co", "13", "13",
             "이제 머무는 것은 믿음, 소망, 사랑, 이 셋이로되 "
             "그 가운데 으뜸은 사랑이라"},
            {"VRB", "tob", "1", "1", "이것은 {W VAL=P}토빗{/W}의 이야기를 적은 책이다."},
            {"VRB", "jhn", "3", "16", "하느님께서는 세상을 이처럼 사랑하셨다."},
        };
        return list;
    }

    WordIndexFixture() {
        contentPath = (dir.path() / "Bible.m14").string();
        qel::Database db(contentPath, qel::Database::Mode::Create);
        for (const char* table : {"VRA", "VRB", "KJV", "NIV"})
            db.execute(std::string("create table ") + table +
                       " (volcode TEXT, chap TEXT, sec TEXT, body TEXT, sequence INTEGER)");
        // Rows stored backwards: the index puts them in reading order (book table, chapter,
        // sequence).
        for (auto it = verses().rbegin(); it != verses().rend(); ++it)
            db.execute(std::string("insert into ") + it->version + " values (?, ?, ?, ?, ?)",
                       {std::string(it->book), std::string(it->chap), std::string(it->sec),
                        qel::utf8ToCp949(it->body), static_cast<long long>(verses().rend() - it)});
        db.close();
        indexFolder = (dir.path() / "M14").string() + "/";
        qel::Database content(contentPath, qel::Database::Mode::ReadOnly);
        written = qel::buildWordIndexes(content, indexFolder);
    }

    std::string indexPath(int versionIndex) const {
        return indexFolder + std::to_string(versionIndex) + ".m14";
    }

    TempDir dir;
    std::string contentPath;
    std::string indexFolder;
    std::vector<std::string> written;
};
