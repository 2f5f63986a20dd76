// Query texts, English inflections, Korean word forms and the verse text the index keeps.
#include "language/englishinflection.h"
#include "language/koreanwordforms.h"
#include "language/wordtext.h"
#include "wordsearch/wordquery.h"

#include "platform/codec.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qel;

namespace {

QueryTerm word(const std::string& utf8, bool allForms = false) {
    return QueryTerm{{SearchWord{utf8ToCp949(utf8), allForms}}, false};
}

QueryTerm phrase(std::initializer_list<const char*> words) {
    QueryTerm t;
    t.phrase = true;
    for (const char* w : words)
        t.words.push_back(SearchWord{utf8ToCp949(w), false});
    return t;
}

std::vector<std::vector<QueryTerm>> parse(const std::string& utf8) {
    return parseWordQuery(utf8ToCp949(utf8)).anyOf;
}

} // namespace

TEST(WordQueryText, FormsTheDialogBuilds) {
    using Groups = std::vector<std::vector<QueryTerm>>;
    // 그리고 with 모두 and with 기본; 또는 with both; 구.
    EXPECT_EQ(parse("믿음*&소망*&~"), (Groups{{word("믿음", true), word("소망", true)}}));
    EXPECT_EQ(parse("믿음&소망&~"), (Groups{{word("믿음"), word("소망")}}));
    EXPECT_EQ(parse("믿음#소망#~"), (Groups{{word("믿음")}, {word("소망")}}));
    EXPECT_EQ(parse("믿음*#소망*#~"), (Groups{{word("믿음", true)}, {word("소망", true)}}));
    EXPECT_EQ(parse("\"in the beginning\"&~"), (Groups{{phrase({"in", "the", "beginning"})}}));
    EXPECT_EQ(parse("\"하나님의 영\"&~"), (Groups{{phrase({"하나님의", "영"})}}));
    // One word: no operator in between.
    EXPECT_EQ(parse("love&~"), (Groups{{word("love")}}));
    EXPECT_EQ(parse("love*#~"), (Groups{{word("love", true)}}));
}

TEST(WordQueryText, OddInputIsReadSafely) {
    using Groups = std::vector<std::vector<QueryTerm>>;
    EXPECT_TRUE(parse("").empty());
    EXPECT_TRUE(parse("~").empty());
    EXPECT_TRUE(parse("&&##~").empty());
    EXPECT_TRUE(parse("*&~").empty());
    EXPECT_TRUE(parse("\"\"&~").empty());
    // "~" ends the query; a missing "~" ends it at the end of the text.
    EXPECT_EQ(parse("a&~b&~"), (Groups{{word("a")}}));
    EXPECT_EQ(parse("a&b"), (Groups{{word("a"), word("b")}}));
    // "&" binds closer than "#".
    EXPECT_EQ(parse("a&b#c&~"), (Groups{{word("a"), word("b")}, {word("c")}}));
    // Blanks inside a term separate words that must all occur; an inner "*" is dropped.
    EXPECT_EQ(parse(" a  b* &~"), (Groups{{word("a"), word("b", true)}}));
    EXPECT_EQ(parse("lo*ve&~"), (Groups{{word("love")}}));
    // An unclosed phrase runs to the end; a one-word phrase is a word.
    EXPECT_EQ(parse("\"in the"), (Groups{{phrase({"in", "the"})}}));
    EXPECT_EQ(parse("\"love\"&~"), (Groups{{word("love")}}));
    EXPECT_EQ(parse("\"a b\"x&c&~"), (Groups{{phrase({"a", "b"}), word("c")}}));
}

TEST(EnglishInflection, RegularIrregularAndOldForms) {
    const struct {
        const char* base;
        bool present;
        std::vector<std::string> forms;
    } rows[] = {
        {"love", true, {"love", "loves", "loved", "loving", "lovest", "loveth", "lovedst"}},
        {"love", false, {"lovely", "lover", "beloved", "glove"}},
        {"loveth", true, {"love", "loved"}},
        {"sin", true, {"sins", "sinned", "sinneth", "sinning"}},
        {"cry", true, {"cries", "cried", "crieth", "crying"}},
        {"die", true, {"died", "dieth", "dying"}},
        {"bless", true, {"blesses", "blessed", "blesseth", "blessing"}},
        {"give", true, {"gave", "given", "giveth", "gavest"}},
        {"is", true, {"be", "was", "were", "art", "been"}},
        {"hath", true, {"have", "had", "hast"}},
        {"men", true, {"man"}},
        {"leaf", true, {"leaves"}},
        // Little words and plurals of words in s keep to themselves.
        {"his", false, {"hiss"}},
        {"see", false, {"seed"}},
        {"first", false, {"firs"}},
    };
    for (const auto& row : rows) {
        const auto all = englishInflections(row.base);
        for (const std::string& form : row.forms)
            EXPECT_EQ(std::find(all.begin(), all.end(), form) != all.end(), row.present)
                << row.base << " " << form;
    }
    EXPECT_EQ(englishInflections("the"), std::vector<std::string>{"the"});
    EXPECT_TRUE(englishInflections("").empty());
}

namespace {

// True when `form` is one of the forms the search looks for.
bool isForm(const std::u32string& form, const std::u32string& query, bool allForms) {
    const std::u32string_view stem = korean::dictionaryStem(query);
    const auto patterns = !allForms      ? korean::basicPatterns(query)
                          : stem.empty() ? korean::allFormPatterns(query, false)
                                         : korean::allFormPatterns(stem, true);
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const korean::FormPattern& p) { return korean::matches(p, form); });
}

} // namespace

TEST(KoreanWordForms, BasicIsTheWordAsWrittenEndingAtABlank) {
    EXPECT_TRUE(isForm(U"하나님", U"하나님", false));
    for (const char32_t* form : {U"하나님이", U"하나님께서", U"하나님의", U"하나님이시니라"})
        EXPECT_FALSE(isForm(form, U"하나님", false)) << utf32ToUtf8(form);
    EXPECT_FALSE(isForm(U"하나님", U"하나", false));
    EXPECT_FALSE(isForm(U"목자시니", U"목자", false));
}

TEST(KoreanWordForms, AllFormsTakeParticlesAndEndingsWithSoundChanges) {
    const struct {
        const char32_t* query;
        std::vector<const char32_t*> forms;
        std::vector<const char32_t*> others;
    } cases[] = {
        // Nouns take particles, each in its form after a vowel or a consonant.
        {U"하나님",
         {U"하나님", U"하나님이", U"하나님께서", U"하나님의", U"하나님께서는", U"하나님이시니라",
          U"하나님께로부터", U"하나님이여"},
         {U"하나님나님", U"하나", U"하나님가", U"하나님를", U"하나님니라"}},
        {U"하나", {U"하나를"}, {U"하나을"}},
        {U"목자", {U"목자시니"}, {}},
        {U"빛", {U"빛이니라"}, {}},
        {U"하늘", {U"하늘로"}, {U"하늘으로"}},
        // Stems take endings with their sound changes.
        {U"믿다",
         {U"믿으니", U"믿었더라", U"믿는", U"믿음으로", U"믿사오니", U"믿지", U"믿겠느냐"},
         {U"믿", U"믿음직"}},
        {U"사랑하다",
         {U"사랑하사", U"사랑한", U"사랑합니다", U"사랑해", U"사랑했다", U"사랑하였으니",
          U"사랑하시나이다", U"사랑할지라도", U"사랑함이라"},
         {U"사랑", U"사랑이", U"사랑스러운"}},
        {U"사랑", {U"사랑", U"사랑의", U"사랑하사", U"사랑한", U"사랑이로다"}, {U"사랑니"}},
        {U"듣다", {U"듣고", U"들으시고", U"들었나이다", U"들은"}, {U"들어가", U"들에게"}},
        {U"돕다", {U"도우소서", U"도와", U"도왔으니", U"돕는"}, {U"도구"}},
        {U"짓다", {U"지으시니라", U"지어", U"짓고"}, {U"지금", U"지팡이"}},
        {U"알다", {U"아시나니", U"아는", U"안다", U"압니다", U"알았음이라"}, {U"안", U"아니"}},
        {U"부르다", {U"부르시고", U"불러", U"불렀나이다"}, {U"불"}},
        {U"보다", {U"보시니", U"봐", U"보았고", U"본"}, {U"보배"}},
        {U"하다",
         {U"하시니라", U"하였더라", U"해", U"했으니", U"함이라"},
         {U"하나님", U"하나를", U"함께", U"해를"}},
        {U"주다", {U"주시니", U"주었노니", U"줄지니라", U"줘"}, {U"주의", U"주께서", U"주"}},
    };
    for (const auto& c : cases) {
        for (const char32_t* form : c.forms)
            EXPECT_TRUE(isForm(form, c.query, true))
                << utf32ToUtf8(c.query) << " " << utf32ToUtf8(form);
        for (const char32_t* form : c.others)
            EXPECT_FALSE(isForm(form, c.query, true))
                << utf32ToUtf8(c.query) << " " << utf32ToUtf8(form);
    }
    EXPECT_FALSE(isForm(U"하나님" + std::u32string(20, U'요'), U"하나님", true));
}

TEST(PlainVerseText, MarkupIsDroppedAndWordsStayApart) {
    auto plain = [](const std::string& utf8) {
        return cp949ToUtf8(wordtext::plainVerseText(utf8ToCp949(utf8)));
    };
    EXPECT_EQ(plain("and void{N TEX=\"Heb. love\"}*{/N}, and"), "and void, and");
    EXPECT_EQ(plain("{N TEX='x}y'}*{/N}a"), "a");
    EXPECT_EQ(plain("my be{F VAL=I}loved{/F}."), "my beloved.");
    EXPECT_EQ(plain("{H}A Psalm.{/H}LORD{B}how"), "A Psalm. LORD how");
    EXPECT_EQ(plain("  {W VAL=P}하나님{/W}께서\r\n하늘 "), "하나님께서 하늘");
    EXPECT_EQ(plain("{S VAL=x}{/S}{D}3{/D}text"), "text");
    EXPECT_EQ(plain("{x}abc"), "}abc"); // not a tag: the brace and its letter go
    EXPECT_EQ(plain("keep {F VAL=\"never closed"), "keep");
    EXPECT_EQ(plain("{T 2}a{/C}b{/T}"), "a b");
    EXPECT_EQ(plain("end{"), "end");
}

TEST(PlainVerseText, WordsAreLowerCasedLettersAndDigitsOfAnyScript) {
    std::vector<std::string> words;
    wordtext::forEachWord("God’s LORD—said: 3장 하나님의,x_y",
                          [&](std::string_view w) { words.emplace_back(w); });
    EXPECT_EQ(words,
              (std::vector<std::string>{"god", "s", "lord", "said", "3장", "하나님의", "x_y"}));
}
