#include "bible/typedreference.h"

#include "../support/cp949.h"
#include "bible/booktable.h"
#include "platform/codec.h"

#include <cctype>
#include <gtest/gtest.h>

using namespace qel;

namespace {

struct Row {
    const char* typed;
    const char* book;
    int chapter, verse, lastVerse;
};

TEST(TypedReference, WhatReadersTypeReachesThePlace) {
    const Row rows[] = {
        {"요 3:16", "jhn", 3, 16, 0},
        {"요3:16", "jhn", 3, 16, 0},
        {"  요3 16 ", "jhn", 3, 16, 0},
        {"요한복음 3장 16절", "jhn", 3, 16, 0},
        {"요한복음3장16절", "jhn", 3, 16, 0},
        {"요한 3 16", "jhn", 3, 16, 0},
        {"창1:1-5", "gen", 1, 1, 5},
        {"창 1:1 - 5절", "gen", 1, 1, 5},
        {"창 1:3-3", "gen", 1, 3, 0},
        {"시 23", "psa", 23, 0, 0},
        {"시편 119:176", "psa", 119, 176, 0},
        {"Jn 3:16", "jhn", 3, 16, 0},
        {"John 3:16", "jhn", 3, 16, 0},
        {"john 3.16", "jhn", 3, 16, 0},
        {"1co 13", "1co", 13, 0, 0},
        {"1 Corinthians 13:4", "1co", 13, 4, 0},
        {"고전13:4", "1co", 13, 4, 0},
        {"요한1서 1:9", "1jn", 1, 9, 0},
        {"요일 4:8", "1jn", 4, 8, 0},
        {"요한계 22:20", "rev", 22, 20, 0}, // a beginning only one book's names share
        {"창세기", "gen", 0, 0, 0},         // a book alone
        {"요한1서", "1jn", 0, 0, 0},
        {"토비트 1:1", "tob", 1, 1, 0},
        // Initial letters: the name they spell whole, else the one name they begin.
        {"ㅇㅎㅂㅇ 3:16", "jhn", 3, 16, 0},
        {"ㅇㅎㅂㅇ3:16", "jhn", 3, 16, 0},
        {"ㅅㅍ 23", "psa", 23, 0, 0},
        {"ㅊㅅ 1:1", "gen", 1, 1, 0},
        {"ㅇㅎ1ㅅ 1:9", "1jn", 1, 9, 0},
        {"요ㅎㄱ 22:20", "rev", 22, 20, 0},
    };
    for (const Row& row : rows) {
        const TypedReference r = parseTypedReference(cp(row.typed));
        EXPECT_TRUE(r.ok()) << row.typed << ": " << cp949ToUtf8(typedReferenceMessage(r));
        EXPECT_EQ(r.book, row.book) << row.typed;
        EXPECT_EQ(r.chapter, row.chapter) << row.typed;
        EXPECT_EQ(r.verse, row.verse) << row.typed;
        EXPECT_EQ(r.lastVerse, row.lastVerse) << row.typed;
    }
}

TEST(TypedReference, InputItCannotReadIsRefusedWithAMessage) {
    const std::pair<const char*, ReferenceError> rows[] = {
        {"", ReferenceError::Empty},
        {"   ", ReferenceError::Empty},
        {"바룩서복음 3:16", ReferenceError::UnknownBook},
        {"3:16", ReferenceError::UnknownBook},
        {"사무 3:1", ReferenceError::AmbiguousBook}, // 사무엘상, 사무엘하
        {"Jo 3:16", ReferenceError::AmbiguousBook},  // Job, Joel, John, Jonah, Joshua
        {"요 3:", ReferenceError::BadNumbers},
        {"요 0:16", ReferenceError::BadNumbers},
        {"요 3:16-12", ReferenceError::BadNumbers},
        {"요 1000", ReferenceError::BadNumbers},
        {"요 3:16 17 18", ReferenceError::BadNumbers},
        {"요 3x16", ReferenceError::BadNumbers},
        {"ㅇㅎ 3:16", ReferenceError::AmbiguousBook}, // 요한복음, 요한1서 ...
        {"ㅋㅋㅋ 1:1", ReferenceError::UnknownBook},
    };
    for (const auto& [typed, error] : rows) {
        const TypedReference r = parseTypedReference(cp(typed));
        EXPECT_EQ(r.error, error) << typed;
        EXPECT_FALSE(typedReferenceMessage(r).empty()) << typed;
    }
    const TypedReference unknown = parseTypedReference(cp("바룩서복음 3:16"));
    EXPECT_EQ(cp949ToUtf8(typedReferenceMessage(unknown)),
              "\"바룩서복음\"에 해당하는 책이 없습니다.");
    const TypedReference ambiguous = parseTypedReference(cp("사무 3:1"));
    EXPECT_EQ(cp949ToUtf8(typedReferenceMessage(ambiguous)),
              "\"사무\"은(는) 여러 책에 맞습니다: 사무엘상, 사무엘하");
    EXPECT_EQ(cp949ToUtf8(typedReferenceMessage(parseTypedReference(cp("ㅅㅁㅇ 3:1")))),
              "\"ㅅㅁㅇ\"은(는) 여러 책에 맞습니다: 사무엘상, 사무엘하");
}

// Every name a window's book box lists reaches its own book: no two books share a name
// in the tables the reference box reads.
TEST(TypedReference, EveryListedBookNameFindsItsBook) {
    for (const char* version : {"VRA", "VRB", "VRC", "KJV", "GNB"})
        for (const BookRow& row : bookTableOf(version)) {
            const TypedReference byName = parseTypedReference(row.name + " 1:1");
            EXPECT_EQ(byName.book, row.code) << version << " " << cp949ToUtf8(row.name);
            // Codes that end in a digit ("da1") read as a chapter; their names do not.
            if (!std::isdigit(static_cast<unsigned char>(row.code.back()))) {
                EXPECT_EQ(parseTypedReference(row.code + "1:1").book, row.code) << row.code;
            }
            EXPECT_EQ(parseTypedReference(row.name).book, row.code) << cp949ToUtf8(row.name);
        }
}

} // namespace
