#include "language/koreanjamo.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "versesearch/queryengine.h"
#include "versesearch/resultfile.h"
#include "versesearch/verseindex.h"
#include "versesearch/verseindexbuilder.h"

#include "../support/builtdata.h"
#include "../support/cp949.h"
#include "../support/files.h"
#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

namespace {

struct Hit {
    std::string reference, positions, clause;
};

// Reads a result file the way the search dialog does: records, positions, key and clause.
std::vector<Hit> readHits(const std::string& path) {
    std::vector<Hit> hits;
    OpenContDB(builtDataFolder("DBF").c_str());
    const std::string text = fileBytes(path);
    for (qel::ResultRecords records(text); records.next();) {
        const std::string& record = records.record();
        Hit h;
        if (!qel::hitPositionText(record, h.positions))
            continue;
        char key[QE_KEY_SIZE], clause[QE_CLAUSE_SIZE];
        get_key(record.c_str(), key);
        get_clause(record.c_str(), clause);
        h.reference = u8(key);
        h.clause = u8(clause);
        hits.push_back(h);
    }
    return hits;
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

std::vector<int> positionsOf(const std::string& text) {
    std::vector<int> out;
    std::string n;
    for (char c : text + "#") {
        if (c >= '0' && c <= '9') {
            n.push_back(c);
        } else if (!n.empty()) {
            out.push_back(std::stoi(n));
            n.clear();
        }
    }
    return out;
}

// The words a search marks as hits, without punctuation; a position beyond the clause
// counts as a word of its own, so that no check of the words passes over it.
std::set<std::string> hitWords(const std::vector<Hit>& hits) {
    std::set<std::string> out;
    for (const Hit& h : hits) {
        const std::vector<std::string> w = words(h.clause);
        for (int p : positionsOf(h.positions))
            out.insert(
                p >= 1 && static_cast<std::size_t>(p) <= w.size()
                    ? qel::utf32ToUtf8(qel::korean::normaliseWord(qel::utf8ToUtf32(w[p - 1])))
                    : h.reference + ": position " + std::to_string(p) + " beyond");
    }
    return out;
}

std::set<std::string> referencesOf(const std::vector<Hit>& hits) {
    std::set<std::string> out;
    for (const Hit& h : hits)
        out.insert(h.reference);
    return out;
}

// Standard book abbreviations of the sample books, as the verse search writes them.
std::string searchAbbreviation(const std::string& code) {
    static const std::map<std::string, std::string> table = {
        {"gen", "창"}, {"1sa", "삼상"}, {"2sa", "삼하"}, {"1ch", "대상"},
        {"psa", "시"}, {"jnh", "욘"},   {"mat", "마"},   {"mrk", "막"},
        {"luk", "눅"}, {"jhn", "요"},   {"1co", "고전"}, {"php", "빌"}};
    return table.at(code);
}

// Verses of the built VRA whose raw markup matches `pattern` (UTF-8), as references.
std::set<std::string> rawVersesMatching(const std::string& pattern, const char* book = nullptr) {
    const std::regex re(pattern), note("\\{N .*?\\{/N\\}|\\{D\\}[0-9-]*\\{/D\\}");
    qel::Database db(QEL_BUILT_CONTENT_DB, qel::Database::Mode::ReadOnly);
    std::set<std::string> out;
    for (qel::RecordSet v(db, "select volcode, chap, sec, body from VRA"); !v.isEOF(); v.moveNext())
        if ((!book || v.field("volcode") == book) &&
            std::regex_search(std::regex_replace(u8(v.field("body")), note, ""), re))
            out.insert(searchAbbreviation(v.field("volcode")) + v.field("chap") + ":" +
                       v.field("sec"));
    return out;
}

// Reports only the references on one side.
::testing::AssertionResult sameReferences(const std::set<std::string>& found,
                                          const std::set<std::string>& expected) {
    std::string extra, missing;
    for (const auto& r : found)
        if (!expected.count(r))
            extra += " " + r;
    for (const auto& r : expected)
        if (!found.count(r))
            missing += " " + r;
    if (extra.empty() && missing.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "extra:" << extra << " missing:" << missing;
}

class QueryEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(OpenDic(builtDataFolder("DBF").c_str()), 1) << builtDataFolder("DBF");
        result_ = dir_.str() + "/out.dat";
    }
    void TearDown() override { CloseDic(); }

    std::vector<Hit> search(const char* utf8Query, int type, const char* range = "전체") {
        const std::string q = cp(utf8Query);
        EXPECT_EQ(search_query(q.c_str(), result_.c_str(), cp(range).c_str(), type), 1);
        return readHits(result_);
    }

    // The dialog's passes for types 2 and 3, taking candidate `choice` of every word.
    std::string analyse(const char* utf8Query, int type, int choice = 0) {
        const std::string q = cp(utf8Query);
        EXPECT_EQ(query_EX(q.c_str(), 0, type), 2);
        int counts[QE_QINDEX_COUNT];
        const int last = get_Qindex(counts);
        for (int w = 0; w <= last; ++w)
            for (int i = 0; i < counts[w]; ++i)
                select_ambi(w, i, chk_ambi(w, i) > choice ? choice : 0);
        char out[QE_EXTRACT_SIZE];
        EXPECT_NE(extrac_query(out, type), 0);
        return out;
    }

    TempDir dir_;
    std::string result_;
};

} // namespace

TEST_F(QueryEngineTest, BasicSearchFindsANounWhateverParticleFollows) {
    const auto hits = search("하나님", 1);
    // Every verse where 하나님 begins a word of the raw text (after markup such as {W}).
    EXPECT_TRUE(sameReferences(referencesOf(hits), rawVersesMatching("(^|[ \"“}(])하나님")));
    const std::set<std::string> forms = hitWords(hits);
    for (const std::string& form : forms)
        EXPECT_EQ(form.rfind("하나님", 0), 0u) << form;
    for (const char* form : {"하나님께서", "하나님의", "하나님이", "하나님이시니라"})
        EXPECT_TRUE(forms.count(form)) << form;
    EXPECT_EQ(hits.front().reference, "창1:1");
    EXPECT_EQ(hits.front().positions, "3");
}

TEST_F(QueryEngineTest, InflectedSearchFindsEveryFormOfTheLawInPsalm119) {
    EXPECT_EQ(analyse("율법을", 2), cp("@율법"));
    const auto hits = search("@율법", 2, "시");
    std::set<std::string> psalm119;
    for (const std::string& r : rawVersesMatching("율법", "psa"))
        if (r.rfind("시119:", 0) == 0)
            psalm119.insert(r);
    EXPECT_TRUE(sameReferences(referencesOf(hits), psalm119));
    EXPECT_GE(hits.size(), 20u);
    // "주의 율법" as a phrase: both words marked, side by side.
    const auto phrase = search("주의 율법", 1);
    EXPECT_TRUE(sameReferences(referencesOf(phrase), rawVersesMatching("주의 율법")));
    for (const Hit& h : phrase) {
        const auto p = positionsOf(h.positions);
        ASSERT_GE(p.size(), 2u);
        EXPECT_EQ(p[1], p[0] + 1);
    }
}

TEST_F(QueryEngineTest, QueryFormsOfTheDialog) {
    const auto love = referencesOf(search("사랑", 1));
    const auto faith = referencesOf(search("믿음", 1));
    const auto both = referencesOf(search("사랑 && 믿음", 1));
    const auto either = referencesOf(search("사랑 || 믿음", 1));
    std::set<std::string> expectedBoth, expectedEither = love;
    for (const auto& r : love)
        if (faith.count(r))
            expectedBoth.insert(r);
    expectedEither.insert(faith.begin(), faith.end());
    EXPECT_TRUE(sameReferences(both, expectedBoth));
    EXPECT_TRUE(sameReferences(either, expectedEither));
    EXPECT_TRUE(both.count("고전13:13"));
    // A query typed without its blank is split first and searched as the phrase.
    char out[QE_QUERY_OUT_SIZE];
    EXPECT_EQ(query_BASIC(cp("주의율법").c_str(), out), 1);
    ASSERT_EQ(split_check(out), 1);
    EXPECT_EQ(std::string(out), cp("주의 율법 "));
    EXPECT_EQ(query_BASIC(cp("주의 율법").c_str(), out), 2);
    EXPECT_EQ(referencesOf(search("주의율법", 1)), referencesOf(search("주의 율법", 1)));
    EXPECT_EQ(query_BASIC(cp("사랑 && || 믿음").c_str(), out), 0);
    EXPECT_EQ(query_BASIC("  ", out), 0);
}

TEST_F(QueryEngineTest, RangesLimitTheBooks) {
    const auto all = search("하나님", 1);
    const auto old = search("하나님", 1, "구약");
    const auto neu = search("하나님", 1, "신약");
    EXPECT_EQ(old.size() + neu.size(), all.size());
    const std::set<std::string> oldBooks = {"창", "삼상", "삼하", "대상", "시", "욘"};
    for (const Hit& h : old)
        EXPECT_TRUE(oldBooks.count(h.reference.substr(0, h.reference.find_first_of("0123456789"))))
            << h.reference;
    for (const Hit& h : search("하나님", 1, "요"))
        EXPECT_EQ(h.reference.rfind("요", 0), 0u);
    EXPECT_EQ(search("하나님", 1, "요한복음").size(), search("하나님", 1, "요").size());
    EXPECT_TRUE(search("하나님", 1, "요일").empty()); // 요한1서 has no sample text
    EXPECT_EQ(fileBytes(result_), "*");
    errno = 0;
    EXPECT_EQ(search_query(cp("하나님").c_str(), result_.c_str(), "xyz", 1), 0);
    EXPECT_EQ(errno, EINVAL);
}

TEST_F(QueryEngineTest, AmbiguousWordsOfferCandidatesAndTheChoiceCounts) {
    ASSERT_EQ(query_EX(cp("들어").c_str(), 0, 2), 2);
    int counts[QE_QINDEX_COUNT];
    ASSERT_EQ(get_Qindex(counts), 0);
    ASSERT_EQ(counts[0], 1);
    const int n = chk_ambi(0, 0);
    ASSERT_GE(n, 2);
    char list[QE_AMBI_LIST_SIZE];
    EXPECT_EQ(get_ambi_list(0, 0, list), n);
    const std::string text = u8(list);
    EXPECT_EQ(text.rfind("1 ", 0), 0u);
    EXPECT_NE(text.find("\n2 "), std::string::npos);
    char raw[QE_RAWQ_SIZE];
    get_rawQ(0, 0, raw);
    EXPECT_EQ(std::string(raw), cp("들어"));
    EXPECT_EQ(select_ambi(0, 0, 1), 1);
    EXPECT_EQ(get_ambi_num(0, 0), 1);
    EXPECT_EQ(select_ambi(0, 0, n), 0); // out of range keeps the choice
    EXPECT_EQ(get_ambi_num(0, 0), 1);
    EXPECT_EQ(is_noun_tag(0, 0, 0), 0);
    char q[QE_EXTRACT_SIZE];
    ASSERT_NE(extrac_query(q, 2), 0);
    EXPECT_EQ(u8(q).back(), '-');
    // A nominalised noun keeps its own reading beside the verb.
    ASSERT_EQ(query_EX(cp("믿음").c_str(), 0, 2), 2);
    EXPECT_GE(chk_ambi(0, 0), 2);
    // Determiners alone index nothing.
    ASSERT_EQ(query_EX(cp("그").c_str(), 0, 2), 2);
    ASSERT_EQ(get_Qindex(counts), 0);
    EXPECT_EQ(counts[0], 0);
    EXPECT_EQ(extrac_query(q, 2), 0);
}

TEST_F(QueryEngineTest, HomonymsOfSinoKoreanNouns) {
    char list[QE_DONG_LIST_SIZE];
    ASSERT_EQ(LookDong(cp("성전").c_str(), list), 2);
    const std::string text(list);
    for (const char* hanja : {"聖殿", "聖戰", "聖典"})
        EXPECT_NE(text.find(cp(hanja)), std::string::npos) << hanja;
    EXPECT_EQ(text.rfind("0 ", 0), 0u); // row 0: every meaning
    EXPECT_EQ(LookDong(cp("하나님").c_str(), list), 0);
    EXPECT_EQ(LookDong(cp("주").c_str(), list), 0);
    // The meaning the Bible means comes first; the rest keep the table's order after it.
    for (const auto& [word, first] : {std::pair{"성전", "聖殿"}, std::pair{"계명", "誡命"},
                                      std::pair{"제사", "祭祀"}, std::pair{"주의", "主義"}}) {
        ASSERT_EQ(LookDong(cp(word).c_str(), list), 2) << word;
        const std::string rows = u8(list);
        EXPECT_EQ(rows.substr(rows.find('\n') + 1).rfind(std::string("1 ") + word + " " + first, 0),
                  0u)
            << rows;
    }
    EXPECT_NE(std::string(list).find(cp("酒蟻")), std::string::npos) << "주의 offers 酒蟻 too";

    // The dialog's homonym pass: 聖殿, the first meaning, chosen and its number appended to
    // the morpheme.
    ASSERT_EQ(query_EX(cp("성전에").c_str(), 0, 2), 2);
    select_ambi(0, 0, 0);
    ASSERT_EQ(is_noun_tag(0, 0, 0), 1);
    char morph[QE_MORP_SIZE];
    get_morp(0, 0, 0, morph);
    EXPECT_EQ(std::string(morph), cp("성전"));
    cat_morp(0, 0, 0, "1");
    char q[QE_EXTRACT_SIZE];
    ASSERT_NE(extrac_query(q, 2), 0);
    EXPECT_EQ(std::string(q), cp("@성전1"));
    // A chosen meaning finds every occurrence: the hangul text does not say which it is.
    const auto temple = referencesOf(search("@성전1", 2));
    ASSERT_FALSE(temple.empty());
    EXPECT_TRUE(sameReferences(temple, rawVersesMatching("성전")));
}

// Words of the VRA sample with the reading a reader means (lemma and tag of the first
// line of the choice list, which Enter takes) and readings that are no word of the text.
struct ReadingCase {
    const char* word;
    const char* first; // lemma and tag, as the list writes them
    std::vector<const char*> absent;
};

const ReadingCase kReadingCases[] = {
    {"하늘", "하늘 [명사]", {"하다 [용언]"}},       // 창 1:1 하늘과 땅을
    {"이름을", "이름 [명사]", {"이르다 [용언]"}},   // 시 23:3 그 이름을 위하여
    {"마음으로", "마음 [명사]", {"맛다 [용언]"}},   // 시 119:10 온 마음을 쏟아
    {"믿음으로", "믿음 [명사]", {"믿다 [용언]"}},   // 빌 3:9 그리스도를 믿음으로
    {"나는", "나 [명사]", {}},                      // 요 1:20 나는 그리스도가 아니로라
    {"살리소서", "살리다 [용언]", {"살다 [용언]"}}, // 시 119:88 나를 살리소서
    {"새와", "새 [명사]", {"새다 [용언]"}},         // 창 1:26 하늘의 새와 가축과
    {"온", "온 [수식언]", {"올다 [용언]"}},         // 창 1:29 온 땅 위에
    {"한", "한 [수식언]", {}},                      // 창 1:9 한 곳으로
    {"함께", "함께 [수식언]", {"함 [명사]"}},       // 빌 1:23 그리스도와 함께
    {"그리스도의", "그리스도 [명사]", {"그리스도의 [명사]"}},
    {"이들은", "이 [명사]", {"이듣다 [용언]"}}, // 빌 1:16 저들은 ...
    {"그들은", "그 [명사]", {"그듣다 [용언]"}},
    {"걸어", "걸다 [용언]", {"걸 [명사]"}}, // 마 5:40 법정에 걸어, 6:6 문을 걸어 잠그고
    {"걸어갔더라", "걸어가다 [용언]", {"걸 [명사]"}}, // 삼하 6:4 궤 앞에서 걸어갔더라
    {"보라", "보다 [용언]", {"보 [명사]"}},           // 창 1:29 말씀하시되, 보라
    {"주옵소서", "주다 [용언]", {"주 [명사]"}},       // 시 119:34 깨달음을 주옵소서
    {"지키겠사오니", "지키다 [용언]", {}},            // 시 119:8 율례를 지키겠사오니
    {"하였사오니", "하다 [용언]", {"하 [명사]"}},
    {"말하였사오나", "말하다 [용언]", {}},
    {"보듯", "보다 [용언]", {"보듯 [명사]"}},
    {"해서든지", "하다 [용언]", {"해서든지 [명사]"}},
    {"지으시니라", "짓다 [용언]", {}}, // 창 1:1 지으시니라
    {"함이라", "하다 [용언]", {}},
    {"도우소서", "돕다 [용언]", {}},
    {"이르시되", "이르다 [용언]", {}},
    {"나아오나니", "나아오다 [용언]", {}},            // 요 3:21, a verb of our own list
    {"거룩히", "거룩히 [수식언]", {"거룩히 [명사]"}}, // the adverb of 거룩하다
};

// Lemma and tag of each line of the choice list.
std::vector<std::string> readingsOf(const char* word) {
    std::vector<std::string> out;
    if (query_EX(cp(word).c_str(), 0, 2) != 2)
        return out;
    char list[QE_AMBI_LIST_SIZE];
    get_ambi_list(0, 0, list);
    std::istringstream lines(u8(list));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string number, lemma, tag;
        fields >> number >> lemma >> tag;
        out.push_back(lemma + " " + tag);
    }
    return out;
}

TEST_F(QueryEngineTest, TheFirstReadingIsTheOneMeantAndNoReadingIsInvented) {
    for (const ReadingCase& c : kReadingCases) {
        const std::vector<std::string> readings = readingsOf(c.word);
        ASSERT_FALSE(readings.empty()) << c.word;
        EXPECT_EQ(readings.front(), c.first) << c.word;
        for (const char* absent : c.absent)
            EXPECT_EQ(std::count(readings.begin(), readings.end(), absent), 0)
                << c.word << " offers " << absent;
    }
    // The determiners are ambiguous: the reader may still choose the verb.
    // 들어 is 들다 (욘 1:15 요나를 들어) as well as 듣다; it is no noun 들.
    for (const auto& [word, verb] :
         {std::pair{"한", "하다 [용언]"}, std::pair{"온", "오다 [용언]"},
          std::pair{"들어", "들다 [용언]"}, std::pair{"들어", "듣다 [용언]"}}) {
        const std::vector<std::string> readings = readingsOf(word);
        EXPECT_NE(std::find(readings.begin(), readings.end(), verb), readings.end()) << word;
        EXPECT_EQ(std::count(readings.begin(), readings.end(), "들 [명사]"), 0) << word;
    }
}

TEST_F(QueryEngineTest, StemSearchesTakeInRealFormsOnly) {
    const struct {
        const char* query;
        int type;
        std::vector<const char*> found, never;
    } cases[] = {
        // Compounds the lexicon knows, never a noun + 와 or the humble -사오-.
        {"@오-", 3, {"오시니라", "돌아오시니", "와서"}, {"그리스도와", "있사오니", "새와"}},
        {"@듣-", 3, {"듣고", "들으시고"}, {"이들은", "그들은"}},
        {"@보-", 3, {"보시니", "보듯"}, {"것보다", "빛보다"}},
        {"@돕-", 3, {"도우소서"}, {"그리스도와"}},
        {"@짓-", 3, {"지으시니라"}, {"거짓을"}},
        {"@부르-", 3, {"불러"}, {"신부를"}},
        {"@살-", 2, {"살게", "사는"}, {"살리소서", "살을"}},
        {"@짓-", 2, {"지으시니라", "지으시고", "지으신"}, {}}, // an irregular verb
        // A noun does not take in the verb forms that begin like it.
        {"@주", 2, {"주께서", "주의"}, {"주옵소서", "주시리라", "주사", "주리고"}},
        {"@사랑", 2, {"사랑을", "사랑이로다"}, {"사랑하고", "사랑하사"}},
        {"@새", 2, {"새와"}, {"새로"}},
        // -ㅁ forms of one-syllable verbs before the copula or a particle are the verb's,
        // though 함 is a noun of its own.
        {"@하-", 2, {"함이라", "함이요", "함이니", "함이니라", "함을", "함이로다"}, {}},
        // Derivations come with type 3: 사랑하다, 사랑받다, 구원하다, 생명책.
        {"@사랑", 3, {"사랑을", "사랑하고", "사랑받을"}, {}},
        {"@구원", 3, {"구원을", "구원하소서"}, {}},
        {"@생명", 3, {"생명을", "생명책에", "생명나무에"}, {}},
    };
    for (const auto& c : cases) {
        const std::set<std::string> hit = hitWords(search(c.query, c.type));
        for (const char* w : c.found)
            EXPECT_TRUE(hit.count(w)) << c.query << " type " << c.type << " misses " << w;
        for (const char* w : c.never)
            EXPECT_FALSE(hit.count(w)) << c.query << " type " << c.type << " takes in " << w;
    }
}

TEST_F(QueryEngineTest, OutBuffersAreNeverOverrun) {
    constexpr unsigned char kGuard = 0xAB;
    auto check = [&](std::size_t size, auto call) {
        std::vector<unsigned char> buf(size + 64, kGuard);
        call(reinterpret_cast<char*>(buf.data()));
        for (std::size_t i = size; i < buf.size(); ++i)
            ASSERT_EQ(buf[i], kGuard) << "written beyond " << size;
        const std::size_t len = strnlen(reinterpret_cast<char*>(buf.data()), size);
        ASSERT_LT(len, size);
        // No double-byte character is cut in half.
        std::size_t i = 0;
        while (i < len)
            i += qel::isLeadByte(buf[i]) ? 2 : 1;
        EXPECT_EQ(i, len);
    };
    std::string longWord;
    while (longWord.size() < 98)
        longWord += cp("하나님의");
    std::string longQuery;
    for (int i = 0; i < 30; ++i)
        longQuery += cp("주의 율법 ");
    check(QE_QUERY_OUT_SIZE, [&](char* b) { query_BASIC(longQuery.c_str(), b); });
    check(QE_QUERY_OUT_SIZE, [&](char* b) { split_check(b); });
    ASSERT_EQ(query_EX(longWord.c_str(), 0, 2), 2);
    check(QE_RAWQ_SIZE, [&](char* b) { get_rawQ(0, 0, b); });
    check(QE_AMBI_LIST_SIZE, [&](char* b) { get_ambi_list(0, 0, b); });
    for (int i = 0; i < 40; ++i)
        cat_morp(0, 0, 0, cp("성전").c_str());
    check(QE_MORP_SIZE, [&](char* b) { get_morp(0, 0, 0, b); });
    check(QE_EXTRACT_SIZE, [&](char* b) { extrac_query(b, 2); });
    check(QE_DONG_LIST_SIZE, [&](char* b) { LookDong(longQuery.c_str(), b); });
    check(QE_DONG_LIST_SIZE, [&](char* b) { LookDong(cp("성전").c_str(), b); });
    const std::string longRecord = cp("요3:16") + std::string(700, '#');
    check(QE_KEY_SIZE, [&](char* b) { get_key((std::string(60, 'x') + "1:1#3").c_str(), b); });
    check(QE_CLAUSE_SIZE, [&](char* b) { get_clause(longRecord.c_str(), b); });
    int counts[QE_QINDEX_COUNT + 8];
    std::fill(std::begin(counts), std::end(counts), -7);
    std::string manyWords;
    for (int i = 0; i < 63; ++i)
        manyWords += "a ";
    ASSERT_EQ(query_EX(manyWords.c_str(), 0, 2), 2);
    EXPECT_EQ(get_Qindex(counts), 62);
    for (int i = QE_QINDEX_COUNT; i < QE_QINDEX_COUNT + 8; ++i)
        EXPECT_EQ(counts[i], -7);
    EXPECT_EQ(query_EX((manyWords + "b").c_str(), 0, 2), 0);
}

TEST_F(QueryEngineTest, SearchFailuresSetErrno) {
    errno = 0;
    EXPECT_EQ(search_query(cp("하나님").c_str(), (dir_.str() + "/none/out.dat").c_str(),
                           cp("전체").c_str(), 1),
              0);
    EXPECT_EQ(errno, ENOENT);
    CloseDic();
    errno = 0;
    EXPECT_EQ(search_query(cp("하나님").c_str(), result_.c_str(), cp("전체").c_str(), 1), 0);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(OpenDic((dir_.str() + "/missing").c_str()), 0);
    char out[QE_QUERY_OUT_SIZE];
    EXPECT_EQ(query_BASIC(cp("하나님").c_str(), out), 0);
}

TEST_F(QueryEngineTest, ConcurrentSearchesDoNotCorruptEachOther) {
    const auto expectedGod = fileBytes((search("하나님", 1), result_));
    const auto expectedLaw = fileBytes((search("@율법", 2), result_));
    auto worker = [&](const char* query, int type, const std::string& expected, int id) {
        const std::string path = dir_.str() + "/out" + std::to_string(id) + ".dat";
        for (int i = 0; i < 20; ++i) {
            char buf[QE_QUERY_OUT_SIZE];
            query_BASIC(cp("믿음").c_str(), buf);
            ASSERT_EQ(search_query(cp(query).c_str(), path.c_str(), cp("전체").c_str(), type), 1);
            ASSERT_EQ(fileBytes(path), expected);
        }
    };
    std::thread a(worker, "하나님", 1, expectedGod, 1), b(worker, "@율법", 2, expectedLaw, 2);
    a.join();
    b.join();
}

std::vector<std::string> recordsOf(std::string_view text) {
    std::vector<std::string> out;
    for (qel::ResultRecords records(text); records.next();)
        out.push_back(records.record());
    return out;
}

TEST(ResultFile, RecordGrammarRoundTrip) {
    qel::ResultWriter writer;
    const std::string genesis = "창1:1", psalm = "시119:18", last = "시119:176";
    writer.verse(genesis);
    writer.position(3);
    writer.verse("요3:16"); // no positions: no record
    writer.verse(psalm);
    writer.position(5);
    writer.position(6);
    writer.verse(last);
    std::vector<int> many;
    for (int p = 1; p <= 300; ++p) {
        writer.position(p);
        many.push_back(p);
    }
    const std::string text = writer.finish();
    EXPECT_EQ(text.rfind("창1:1#3\n^시119:18#5#6\n^", 0), 0u);
    EXPECT_EQ(text.back(), '*');
    const auto records = recordsOf(text);
    ASSERT_GE(records.size(), 4u); // the long verse takes several records
    std::vector<int> back;
    for (const std::string& r : records) {
        EXPECT_LE(r.size(), qel::kResultRecordLimit);
        std::string positions;
        ASSERT_TRUE(qel::hitPositionText(r, positions));
        if (r.rfind("시119:176", 0) == 0)
            for (int p : positionsOf(positions))
                back.push_back(p);
    }
    EXPECT_EQ(back, many);
    std::string positions;
    ASSERT_TRUE(qel::hitPositionText(records[1], positions));
    EXPECT_EQ(positions, "5#6"); // the line end is dropped
    EXPECT_FALSE(qel::hitPositionText("no hash", positions));
}

TEST(ResultFile, EndMarksAndCutRecords) {
    EXPECT_TRUE(recordsOf("*").empty());
    EXPECT_TRUE(recordsOf("").empty());
    EXPECT_EQ(recordsOf("a#1\n^b#22\n^*c#3\n^").size(), 2u);
    EXPECT_EQ(recordsOf("a#1\n^bb#2").size(), 2u); // cut, 4 bytes: kept
    EXPECT_EQ(recordsOf("a#1\n^b#2").size(), 1u);  // cut, 3 bytes: dropped
    EXPECT_EQ(recordsOf("^^a#1^*").size(), 1u);
    EXPECT_EQ(recordsOf(std::string(2000, '7') + "^").front().size(), qel::kResultRecordLimit);
    qel::ResultReference ref;
    ASSERT_TRUE(qel::splitResultReference("고전13:4-7", ref));
    EXPECT_EQ(ref.book, "고전");
    EXPECT_EQ(ref.chapter, "13");
    EXPECT_EQ(ref.verse, "4-7");
    EXPECT_FALSE(qel::splitResultReference("창1", ref));
    EXPECT_FALSE(qel::splitResultReference("1:1", ref));
}

// The file is read whole whatever its size against the read's first guess, and a rewrite
// that leaves it shorter is read at its new length.
TEST(ResultFile, ReadsTheWholeFileBack) {
    TempDir dir;
    const std::string path = dir.str() + "/out.dat";
    std::string text;
    errno = 0;
    EXPECT_FALSE(qel::readResultFile(path, text));
    EXPECT_EQ(errno, ENOENT);
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4096},
                                   std::size_t{200000}, std::size_t{10}}) {
        std::string written(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            written[i] = static_cast<char>('0' + i % 37);
        ASSERT_TRUE(qel::writeResultFile(path, written));
        ASSERT_TRUE(qel::readResultFile(path, text));
        EXPECT_EQ(text, written) << size;
    }
}

TEST(QueryParser, DialogFormsAndTheAnalysedForm) {
    qel::ParsedQuery q;
    using qel::QueryJoin;
    ASSERT_EQ(qel::parseQueryText(cp("사랑 && 믿음"), q), qel::QueryParse::Ok);
    ASSERT_EQ(q.words.size(), 2u);
    EXPECT_EQ(q.joins[0], QueryJoin::And);
    ASSERT_EQ(qel::parseQueryText(cp("사랑 || 믿음 소망"), q), qel::QueryParse::Ok);
    EXPECT_EQ(q.joins[0], QueryJoin::Or);
    EXPECT_EQ(q.joins[1], QueryJoin::Phrase);
    EXPECT_EQ(qel::queryGroups(q).size(), 2u);
    EXPECT_EQ(qel::formatQueryText(q), cp("사랑 || 믿음 소망"));
    ASSERT_EQ(qel::parseQueryText(cp("&& 사랑, &&&"), q), qel::QueryParse::Ok);
    EXPECT_EQ(q.words.size(), 1u);
    EXPECT_EQ(qel::parseQueryText(cp("사랑 &&|| 믿음"), q), qel::QueryParse::Malformed);
    EXPECT_EQ(qel::parseQueryText(" , . ", q), qel::QueryParse::Empty);
    ASSERT_EQ(qel::parseQueryText(cp("@짓- =그 성전3|하나님/나라"), q), qel::QueryParse::Ok);
    ASSERT_EQ(q.words.size(), 4u);
    EXPECT_TRUE(q.analysed);
    EXPECT_EQ(q.words[0].kind, qel::QueryWordKind::Predicate);
    EXPECT_EQ(q.words[1].kind, qel::QueryWordKind::Literal);
    EXPECT_EQ(q.words[2].text, U"성전");
    EXPECT_EQ(q.words[3].text, U"하나님나라");
    ASSERT_EQ(qel::parseQueryText(cp("@!함께 있-"), q), qel::QueryParse::Ok);
    EXPECT_EQ(q.words[0].kind, qel::QueryWordKind::Modifier);
    EXPECT_EQ(q.words[0].text, U"함께");
}

// A form that may be either of two words is told by what stands around it: in `verses`,
// `query` finds it and `other`, if any, does not.
TEST_F(QueryEngineTest, WhatStandsAroundAFormDecidesBetweenTwoWords) {
    std::map<std::string, std::set<std::string>> found;
    const auto references = [&](const char* query) -> const std::set<std::string>& {
        if (!found.count(query))
            found[query] = referencesOf(search(query, query[0] == '@' ? 2 : 1));
        return found[query];
    };
    const struct {
        const char* query;
        const char* other;
        std::vector<const char*> verses;
    } rows[] = {
        // 온 땅 (whole); 그가 온 것은, 함께 온 사람들, 허물러 온 줄로 and where one came from
        // (요 1:14 아버지께로부터 온) make the verb. Typed as it is, 온 is found everywhere.
        {"@오-", "@!온", {"삼하3:25", "삼하3:20", "마5:17", "요1:31", "요1:14", "마26:47"}},
        {"@!온", "@오-", {"창1:26", "삼하2:30", "시119:10"}},
        {"온", "", {"창1:26", "삼하3:25"}},
        // What was said (마 26:54 되리라 한, 앞에서 한 것이라) makes the verb; after a closed
        // sentence or a noun 한 stays "one".
        {"@하-", "@!한", {"삼하6:21", "마26:54", "요13:18"}},
        {"@!한", "", {"막14:37", "눅22:29", "삼하2:25"}},
        // 본 is 보다's wherever it stands, the noun 본 (example) only where its place allows:
        // not after an object or a verb (하나님을 본 자는, 듣고 본 그것들을).
        {"@보-", "@본", {"요1:18", "요3:11", "요19:35", "빌4:9"}},
        {"@본", "", {"요13:15", "빌3:17"}},
        // 이르다 "say" and "reach": 이르러 and 일러 by their form, the others by where to or a
        // subject before them (생명나무에 이르는, 날이 이르니, 때가 이른 줄을).
        {"@이르2-", "@이르-", {"욘2:7", "눅22:40", "창3:24", "요13:1", "눅22:7"}},
        {"@이르-", "@이르2-", {"요3:12", "요1:22"}},
    };
    for (const auto& row : rows)
        for (const char* verse : row.verses) {
            EXPECT_TRUE(references(row.query).count(verse)) << row.query << " " << verse;
            EXPECT_FALSE(*row.other && references(row.other).count(verse)) << row.other << verse;
        }
    // Before a dependent noun the verb is offered first; alone, the determiner.
    EXPECT_EQ(readingsOf("온 것은").front(), "오다 [용언]");
    EXPECT_EQ(analyse("온", 2), cp("@!온"));
    EXPECT_EQ(analyse("온", 2, 1), cp("@오-"));
    EXPECT_EQ(analyse("이르러", 2), cp("@이르2-"));
    const std::vector<std::string> either = readingsOf("이르매");
    EXPECT_NE(std::find(either.begin(), either.end(), "이르다2 [용언]"), either.end());
    EXPECT_EQ(either.front(), "이르다 [용언]");
    // 함께 stands alone; 함께하심이라 (시 23:4) is another word.
    EXPECT_EQ(hitWords(search("@!함께", 2)), std::set<std::string>{"함께"});
}

// Initial letters stand for the words of the text that begin so, the most frequent first.
TEST_F(QueryEngineTest, InitialLettersExpandToTheWordsOfTheText) {
    EXPECT_EQ(analyse("ㅎㄴㄴ", 2), cp("@하나님"));
    EXPECT_EQ(readingsOf("ㅎㄴㄴ").front(), "하나님 [명사]");
    // Several words: the list counts verses, in falling order.
    ASSERT_EQ(query_EX(cp("ㅅㄹ").c_str(), 0, 2), 2);
    char list[QE_AMBI_LIST_SIZE];
    get_ambi_list(0, 0, list);
    std::istringstream lines(u8(list));
    std::vector<int> counts;
    for (std::string line; std::getline(lines, line);)
        counts.push_back(std::atoi(line.substr(line.rfind('(') + 1).c_str()));
    ASSERT_GE(counts.size(), 2u);
    EXPECT_TRUE(std::is_sorted(counts.rbegin(), counts.rend()));
    // Mixed with a written word, the phrase still holds.
    EXPECT_EQ(analyse("ㅎㄴㄴ 말씀", 2), cp("@하나님 말씀"));
}

TEST(VerseIndexBuilder, BuildsFromTheContentDatabaseAndRejectsBadFiles) {
    TempDir dir;
    {
        qel::Database db(dir.str() + "/Bible.m14", qel::Database::Mode::Create);
        db.execute("create table VRA (volcode TEXT, chap TEXT, sec TEXT, body TEXT, sequence "
                   "INTEGER)");
        db.execute("insert into VRA values ('jhn', '3', '16', ?, 2)",
                   {cp("하나님께서 세상을 이토록 사랑하시어")});
        db.execute("insert into VRA values ('gen', '1', '1', ?, 1)",
                   {cp("맨 처음에 {W VAL=P}하나님{/W}께서 성전을")});
    }
    std::vector<std::string> messages;
    qel::AnalysisSources sources;
    sources.hanjaTablePath = dir.str() + "/nohanja.txt";
    qel::buildVerseIndex(dir.str() + "/Bible.m14", dir.str() + "/DBF", sources,
                         [&](const std::string& m) { messages.push_back(m); });
    EXPECT_NE(messages.front().find("no hanja table"), std::string::npos);
    const std::string path = dir.str() + "/DBF/" + qel::kVerseIndexFileName;
    qel::VerseIndexData data;
    std::string error;
    ASSERT_TRUE(qel::loadVerseIndex(path, data, error)) << error;
    ASSERT_EQ(data.verses.size(), 2u);
    EXPECT_EQ(data.verses[0].book, 0); // Genesis first, whatever the row order
    EXPECT_EQ(data.verses[0].text, cp("맨 처음에 하나님께서 성전을")); // PlainVerseText's
    EXPECT_TRUE(data.homonymWords.empty());
    const qel::VerseIndex index(data);
    EXPECT_EQ(index.verseOfReference(cp("요3:16")), 1);
    EXPECT_EQ(index.verseOfReference(cp("요3:17")), -1);

    const std::string bytes = fileBytes(path);
    for (std::size_t cut : {std::size_t{0}, std::size_t{5}, bytes.size() / 2, bytes.size() - 1}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes.substr(0, cut);
        EXPECT_FALSE(qel::loadVerseIndex(path, data, error)) << cut;
    }
    std::string corrupt = bytes;
    corrupt[8] = '\xFF'; // verse count far beyond the file
    std::ofstream(path, std::ios::binary | std::ios::trunc) << corrupt;
    EXPECT_FALSE(qel::loadVerseIndex(path, data, error));
}

// An index built before the two senses were told apart has no key for the second: a search
// for it finds the first's forms, not nothing.
TEST(VerseIndexBuilder, AnOlderIndexFindsTheSecondSenseUnderTheFirst) {
    using qel::korean::WordClass;
    qel::VerseIndexData data = qel::buildVerseIndexData(
        {{"gen", "1", "1", cp("그가 이르되")}, {"gen", "1", "2", cp("땅에 이르러")}}, {}, {});
    const auto formsOf = [](const qel::VerseIndexData& d) {
        const qel::VerseIndex index(d);
        std::set<std::string> out;
        for (std::uint32_t f :
             index.stemMatches(WordClass::Predicate, U"이르2", qel::SearchType::Inflected))
            out.insert(d.forms[f]);
        return out;
    };
    EXPECT_EQ(formsOf(data), std::set<std::string>{"이르러"});
    for (std::size_t k = data.stemKeys.size(); k-- > 0;)
        if (data.stemKeys[k].find("V이르2") != std::string::npos) {
            data.stemKeys.erase(data.stemKeys.begin() + static_cast<std::ptrdiff_t>(k));
            data.stemForms.erase(data.stemForms.begin() + static_cast<std::ptrdiff_t>(k));
        }
    EXPECT_EQ(formsOf(data), std::set<std::string>{"이르되"});
}
