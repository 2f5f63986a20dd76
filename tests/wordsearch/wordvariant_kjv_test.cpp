// The built KJV word index against a plain scan of the built content database.
#include "wordsearch/wordvariant.h"

#include "platform/codec.h"
#include "platform/database.h"

#include "../support/builtdata.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace qel;

namespace {

std::string builtIndex(int version) {
    return builtDataFolder("M14") + "/" + std::to_string(version) + ".m14";
}

// What grep -iw finds: the word with no letter, digit or "_" on either side, any case. The
// KJV has no letters outside ASCII; its other characters (’ in love’s, ¶) are punctuation.
bool containsWord(const std::string& text, const std::string& lowerWord) {
    std::string lower = text;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    auto isWordByte = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    };
    for (std::size_t at = lower.find(lowerWord); at != std::string::npos;
         at = lower.find(lowerWord, at + 1)) {
        const std::size_t end = at + lowerWord.size();
        if ((at == 0 || !isWordByte(lower[at - 1])) &&
            (end == lower.size() || !isWordByte(lower[end])))
            return true;
    }
    return false;
}

// Markup dropped the simple way: footnote markers with their notes, then every tag.
std::string stripMarkup(const std::string& body) {
    std::string out;
    for (std::size_t i = 0; i < body.size();) {
        if (body.compare(i, 2, "{N") == 0) {
            const std::size_t close = body.find("{/N}", i);
            i = close == std::string::npos ? body.size() : close + 4;
            out += ' ';
        } else if (body[i] == '{') {
            const std::size_t close = body.find('}', i);
            i = close == std::string::npos ? body.size() : close + 1;
            out += ' ';
        } else {
            out += body[i++];
        }
    }
    return out;
}

// The KJV verses as "book chap:verse" and plain UTF-8 text (where, unlike CP949, no byte of
// a non-ASCII character looks like a letter).
const std::vector<std::pair<std::string, std::string>>& kjvVerses() {
    static const auto verses = [] {
        std::vector<std::pair<std::string, std::string>> out;
        Database db(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
        for (RecordSet rs(db, "select volcode, chap, sec, body from KJV"); !rs.isEOF();
             rs.moveNext())
            out.emplace_back(rs.field("volcode") + " " + rs.field("chap") + ":" + rs.field("sec"),
                             stripMarkup(cp949ToUtf8(rs.field("body"))));
        return out;
    }();
    return verses;
}

// Verses that hold any of the words.
std::set<std::string> scan(const std::vector<std::string>& words) {
    std::set<std::string> found;
    for (const auto& [key, text] : kjvVerses())
        for (const std::string& w : words)
            if (containsWord(text, w)) {
                found.insert(key);
                break;
            }
    return found;
}

std::set<std::string> search(const char* query) {
    std::set<std::string> found;
    EXPECT_NE(WordVariantOpen(builtIndex(4).c_str()), 0);
    WordVariantBlock* block = WordVariantSearch(query, "all");
    WordVariantClose();
    for (int k = 0; block && k < block->count; ++k) {
        // "KJVjhnJn 3:16": book code at 3, "chap:verse" after the last blank.
        const std::string ref = block->entries[k].reference;
        found.insert(ref.substr(3, 3) + " " + ref.substr(ref.rfind(' ') + 1));
    }
    WordVariantFree(block);
    return found;
}

} // namespace

TEST(BuiltWordIndex, EveryVersionWithTextHasAnIndex) {
    for (int version : {0, 1, 2, 3, 4})
        EXPECT_TRUE(std::filesystem::exists(builtIndex(version))) << version;
    for (int version : {5, 6}) // NIV and GNB carry no text
        EXPECT_FALSE(std::filesystem::exists(builtIndex(version))) << version;
}

TEST(BuiltWordIndex, KjvLoveIsWhatGrepFinds) {
    const std::set<std::string> expected = scan({"love"});
    EXPECT_GT(expected.size(), 250u);
    EXPECT_EQ(search("love&~"), expected);
    EXPECT_EQ(search("LOVE&~"), expected);
}

TEST(BuiltWordIndex, KjvLoveInAllFormsIsEveryInflection) {
    EXPECT_EQ(search("love*&~"),
              scan({"love", "loves", "loved", "loving", "lovest", "loveth", "lovedst"}));
}
