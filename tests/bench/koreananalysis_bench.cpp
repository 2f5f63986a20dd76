#include "language/koreanjamo.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "versesearch/queryengine.h"
#include "versesearch/resultfile.h"
#include "versesearch/verseindex.h"
#include "versesearch/verseindexbuilder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Query words judged by reading the verses of the VRA sample. `gold` lists the written forms
// that are the word meant: a form alone counts in every verse, "form@ref@ref" only in those
// verses, "form~ref~ref" in every verse but those (온 "whole" against 온 "came"). `first` is
// the reading a reader means, as the first line of the choice list names it.
struct Judged {
    const char* query;
    int type;
    const char* first;
    const char* gold;
};

const Judged kJudged[] = {
    // Nouns with particles.
    {"하늘", 2, "하늘",
     "하늘 하늘과 하늘로 하늘로부터 하늘에 하늘에서 하늘은 하늘을 하늘의 하늘이 하늘이라"},
    {"이름을", 2, "이름", "이름 이름에 이름으로 이름은 이름을 이름의 이름이"},
    {"마음으로", 2, "마음", "마음 마음과 마음도 마음에 마음으로 마음은 마음을 마음이"},
    {"믿음으로", 2, "믿음", "믿음과 믿음에 믿음으로 믿음을 믿음의 믿음이"},
    {"율법을", 2, "율법",
     "율법 율법만은 율법에 율법에서 율법으로는 율법은 율법을 율법이 율법이나 율법이요"},
    {"하나님께서", 2, "하나님",
     "하나님 하나님과 하나님께 하나님께로 하나님께로부터 하나님께서 하나님께서는 하나님께서도 "
     "하나님에게서 하나님을 하나님의 하나님이 하나님이셨느니라 하나님이시니 하나님이시니라 "
     "하나님이신 하나님이여"},
    {"사랑을", 2, "사랑", "사랑 사랑으로 사랑은 사랑을 사랑의 사랑이 사랑이로다"},
    {"말씀을", 2, "말씀",
     "말씀 말씀대로 말씀도 말씀들을 말씀들이 말씀에 말씀에도 말씀으로 말씀은 말씀을 말씀의 "
     "말씀이 말씀이라 말씀인지"},
    {"성전", 2, "성전", "성전 성전에 성전에서 성전은 성전을 성전의 성전이더라"},
    {"계명을", 2, "계명", "계명 계명들 계명에서 계명으로 계명은 계명을 계명의 계명이"},
    {"영혼이", 2, "영혼", "영혼에까지 영혼을 영혼이"},
    {"땅에", 2, "땅", "땅 땅과 땅에 땅에서 땅은 땅을 땅의 땅이 땅이라 땅이여"},
    {"빛이", 2, "빛",
     "빛 빛과 빛도 빛들로 빛보다 빛으로 빛으로는 빛은 빛을 빛이 빛이로다 빛이로소이다 "
     "빛이었느니라"},
    {"생명을", 2, "생명", "생명으로 생명은 생명을 생명의 생명이"},
    {"구원을", 2, "구원", "구원과 구원에 구원으로 구원은 구원을 구원의 구원이"},
    {"여호와의", 2, "여호와",
     "여호와 여호와가 여호와께 여호와께는 여호와께로부터 여호와께로서 여호와께서 여호와께서는 "
     "여호와는 여호와를 여호와여 여호와와 여호와의"},
    {"길을", 2, "길",
     "길 길과 길들로 길들을 길들이 길로 길에 길에서 길은 길을 길이~고전13:4 길이나"},
    {"손에", 2, "손", "손 손과 손에 손에는 손에서 손으로 손은 손을 손이"},
    {"아버지께서", 2, "아버지",
     "아버지 아버지께 아버지께로 아버지께로부터 아버지께만 아버지께서 아버지께서는 아버지께서도 "
     "아버지라 아버지를 아버지시여 아버지여 아버지와 아버지의"},
    {"제자들이", 2, "제자",
     "제자 제자가 제자는 제자들 제자들과 제자들도 제자들에게 제자들을 제자들의 제자들이 "
     "제자를 제자에게 제자였으나 제자의 제자인"},
    {"죄를", 2, "죄", "죄 죄가 죄도 죄들을 죄라고 죄로부터 죄를"},
    {"그리스도의", 2, "그리스도",
     "그리스도 그리스도가 그리스도까지가 그리스도께로부터 그리스도께서 그리스도냐 그리스도도 "
     "그리스도라 그리스도라면 그리스도로 그리스도를 그리스도시요 그리스도와 그리스도의"},
    {"은혜를", 2, "은혜", "은혜가 은혜를 은혜에 은혜와"},
    {"새와", 2, "새", "새도 새들도 새들은 새들을 새를 새와"},
    {"주의", 2, "주",
     "주 주께 주께서 주께서는 "
     "주는@욘4:2@시119:12@시119:57@시119:114@시119:151 "
     "주라@요13:13 주를 주여 주와 주요 주의"},
    // 본 the example, not 보다's 본 (하나님을 본 자는, 이 일을 본 사람이).
    {"본을", 2, "본", "본을 본으로"},
    {"나는", 2, "나",
     "나 나는~창2:11~마6:26~빌4:8~창3:17 나더러 나도 나라면 나로 나를 나보다 "
     "나에 나에게 나에게서 "
     "나와~삼하2:12~삼하3:26~삼하6:20~요18:16~마27:53 나의 내 내가 내게 "
     "내게는 내게도 내게로 내게서"},
    // Verbs with old endings and irregular verbs.
    {"살리소서", 2, "살리다", "살렸으나 살리셨음이니이다 살리소서 살리시느니라 살리옵소서 살리지"},
    {"지키겠사오니", 2, "지키다",
     "지켜 지켰나이다 지켰사오니 지켰음이니이다 지키게 지키겠다 지키겠다고 지키겠사오니 지키고 "
     "지키기에 지키나이다 지키는 지키니라 지키더라 지키던 지키되 지키라 지키라고 지키려 "
     "지키리이다 지키며 지키므로 지키지 지킬"},
    {"듣고", 2, "듣다",
     "듣게 듣고 듣고는 듣고자 듣는 듣는도다 듣되 들었도다~요13:18 들었사오나 들었으나 "
     "들었으므로 들으니 들으셨나이다 들으시고 들은 들을까"},
    {"오시니", 2, "오다",
     "오게 오기까지는 오나 오나니 오는 오는데 오니 오다가 오던 오라 오려 오리라 오매 오사 "
     "오셨거니와 오셨도다 오셨으나 오시게 오시나니 오시나이까 오시는 오시니라 오시던 오시되 "
     "오시어 오신 오실 오심이로다 오자 오지 "
     "온@요1:14@요1:31@요2:9@눅23:55@마5:17@삼하3:20@삼하3:25@삼하5:13@마26:47@막14:43@마27:57@"
     "시119:47 "
     "올 와 와서 와서는 왔나이다 왔느냐 왔느니라 왔는데 왔다가 왔더니 왔더라 왔으나 왔으니"},
    {"살게", 2, "살다", "사는 사니 살게 살기 살든지 살며 살아 살아서 살았더라 살았을"},
    {"보시니", 2, "보다",
     "보거니와 보거든 보게 보겠느냐 보고 보고는 보고자 보기에 보는 보니 보든지 보듯 보라 "
     "보러 보려 보려고 보리니 보리라 보면서 보셨더니 보셨으니 보소서 보시고 보시기에 보시는 "
     "보시니 보시니라 보시매 보아라 보아서 보았고 보았노라 보았는데 보았다는 보았으므로 "
     "보옵소서 보자 보지 본 볼 볼까"},
    {"지으시니라", 2, "짓다",
     "지어 지었느니라 지었다고 지으셨도다 지으시고 지으시니 지으시니라 지으시되 지으신 지은 "
     "짓고 짓는 짓지"},
    {"도우소서", 2, "돕다", "도우라 도우셨더니 도우소서 돕게 돕는"},
    {"불러", 2, "부르다",
     "부르고 부르기도 부르느니라 부르는 부르는지 부르니라 부르라 부르며 부르시고 부르시는 "
     "부르시니라 부르시매 부르심의 부른 불러 불렀나이다 불렀더라 불렀으니"},
    {"믿는", 2, "믿다",
     "믿게 믿겠노라 믿겠느냐 믿고 믿노라 믿는 믿었나이다 믿었으나 믿으니라 믿으라 믿으리라 "
     "믿으며 믿지"},
    {"주옵소서", 2, "주다",
     "주게 주겠느냐 주겠다고 주고 주고자 주기 주기로 주기를 주노니 주노라 주느니라 "
     "주는@욘3:2@마7:2@시119:14@눅22:19@요2:14@요13:26@요18:39@마27:15@막15:6 "
     "주는도다 주는지 주니 주니라 주더냐 주라~요13:13 주려고 주려느냐 주리니 주리라 "
     "주마 주매 주면 주사 주셨나니 주셨나이다 주셨느니라 주셨으니 주소서 주시고 주시기를 "
     "주시니 주시니라 주시되 주시라 주시리라 주시매 주시며 주시어 주시옵고 주신 주실 "
     "주심이라 주어 주어도 주어야 주었노니 주었느냐 주었더라 주었으나 주었으니 주었은즉 "
     "주옵소서 주지 주지도 준 준다 줄@마7:5 줄지니라"},
    // 이르다 "say" only: 이르다 "reach" (이르러, 에 이르는, 때가 이르니) is another word.
    {"이르시되", 2, "이르다",
     "이르기@막14:69 이르기를 이르노니 이르노라 이르되 이르시기를 일러 일렀노라 일렀다 일렀던 "
     "일렀으되"},
    // 이르다 "reach": 이르 forms after where to or a subject; 이른 아침 is "early".
    {"이르러", 2, "이르다2",
     "이르러 이르러야 이르렀고 이르렀더라 이르렀든지 이르렀으니 이르렀을 이르렀음이라 이르는 "
     "이르게 이르도록 이르기까지 이르매 이르니 이르리니 이르고 이르면 이르지 이른@요13:1 "
     "이르시니 이르며 이르나니 이르려 이르느니라 이르기~막14:69"},
    {"사랑하시어", 2, "사랑하다",
     "사랑하거나 사랑하고 사랑하나이다 사랑하는 사랑하는지 사랑하라 사랑하며 사랑하면 "
     "사랑하시는 사랑하시니라 사랑하시어 사랑하여 사랑하옵는지 사랑한"},
    // Determiners and adverbs.
    {"한", 2, "한",
     "한~요13:18~요18:21~대상10:11~대상11:19~삼상31:11~삼하6:21~창3:13~마26:12~마26:13~마26:54~"
     "마27:6~마27:35~막14:9"},
    {"온", 2, "온",
     "온~요1:14~요1:31~요2:9~눅23:55~마5:17~삼하3:20~삼하3:25~삼하5:13~마26:47~막14:43~마27:57~"
     "시119:47"},
    {"함께", 2, "함께", "함께 함께라면"},
    // Extended: derivations and compounds the lexicon knows.
    {"사랑", 3, "사랑",
     "사랑 사랑받을 사랑으로 사랑은 사랑을 사랑의 사랑이 사랑이로다 사랑하거나 사랑하고 "
     "사랑하나이다 사랑하는 사랑하는지 사랑하라 사랑하며 사랑하면 사랑하시는 사랑하시니라 "
     "사랑하시어 사랑하여 사랑하옵는지 사랑한"},
    {"말씀", 3, "말씀",
     "말씀 말씀대로 말씀도 말씀들을 말씀들이 말씀에 말씀에도 말씀으로 말씀은 말씀을 말씀의 "
     "말씀이 말씀이라 말씀인지 말씀하고 말씀하시는 말씀하시니라 말씀하시되 말씀하시자마자 "
     "말씀하신"},
    {"구원", 3, "구원",
     "구원과 구원에 구원으로 구원은 구원을 구원의 구원이 구원하라 구원하리라 구원하소서 "
     "구원하실 구원하여 구원하였으니 구원하옵소서"},
    {"생명", 3, "생명",
     "생명나무도 생명나무에 생명나무에서도 생명으로 생명은 생명을 생명의 생명이 생명책에"},
    {"듣고", 3, "듣다",
     "듣게 듣고 듣고는 듣고자 듣는 듣는도다 듣되 들었도다~요13:18 들었사오나 들었으나 "
     "들었으므로 들으니 들으셨나이다 들으시고 들은 들을까 알아듣지"},
    {"지키겠사오니", 3, "지키다",
     "지켜 지켰나이다 지켰사오니 지켰음이니이다 지키게 지키겠다 지키겠다고 지키겠사오니 지키고 "
     "지키기에 지키나이다 지키는 지키니라 지키더라 지키던 지키되 지키라 지키라고 지키려 "
     "지키리이다 지키며 지키므로 지키지 지킬"},
    {"살게", 3, "살다", "사는 사니 살게 살기 살든지 살며 살아 살아나신 살아서 살았더라 살았을"},
    {"도우소서", 3, "돕다", "도와주옵소서 도우라 도우셨더니 도우소서 돕게 돕는"},
    {"오시니", 3, "오다",
     "가져와서 가져왔나이다 가져왔으나 걸어온 나아오거늘 나아오나니 나아오는 나아올지어다 "
     "나아와 내려오게 내려오너라 내려오는 내려오라 내려오시고 내려오시는 내려오시어 내려온 "
     "내려와 내려와서 다가올 다녀온 데려오니 데려오시니라 데려오지 데려왔더라 데려왔으므로 "
     "돌아오게 돌아오매 돌아오시니 돌아오시어 돌아온 돌아와 돌아와서 돌아왔으나 들어오는 "
     "들어오지 들어온 들어올 들어와 들어왔건만 들어왔으니 들여와서 밀려오고 불어와 오게 "
     "오기까지는 오나 오나니 오는 오는데 오니 오다가 오던 오라 오려 오리라 오매 오사 "
     "오셨거니와 오셨도다 오셨으나 오시게 오시나니 오시나이까 오시는 오시니라 오시던 오시되 "
     "오시어 오신 오실 오심이로다 오자 오지 "
     "온@요1:14@요1:31@요2:9@눅23:55@마5:17@삼하3:20@삼하3:25@삼하5:13@마26:47@막14:43@마27:57@"
     "시119:47 "
     "올 올라오는 올라오더니 올라오려 올라온 올라왔느니라 올라왔더라 와 와서 와서는 왔나이다 "
     "왔느냐 왔느니라 왔는데 왔다가 왔더니 왔더라 왔으나 왔으니 찾아와 찾아왔던"},
    {"보시니", 3, "보다",
     "눈여겨보라 눈여겨보시고 눈여겨보았더라 돌아보며 돌아보사 돌아보시며 돌아보지 돌아볼지니라 "
     "보거니와 보거든 보게 보겠느냐 보고 보고는 보고자 보기에 보는 보니 보든지 보듯 보라 "
     "보러 보려 보려고 보리니 보리라 보면서 보셨더니 보셨으니 보소서 보시고 보시기에 보시는 "
     "보시니 보시니라 보시매 보아라 보아서 보았고 보았노라 보았는데 보았다는 보았으므로 "
     "보옵소서 보자 보지 본 볼 볼까 살펴보옵소서 알아보고 알아보리라 알아보았으므로 알아보자 "
     "알아보지 지켜보고 지켜보는 지켜보더라 지켜보았노라 지켜보자"},
};

struct Measured {
    std::size_t found = 0, relevant = 0, hits = 0;
    bool firstRight = false;
};

std::string indexFolder() {
    return (std::filesystem::path(QEL_BUILT_CONTENT_DB).parent_path().parent_path() / "DBF")
        .string();
}

// The verses (as references) that the judged forms stand in.
std::set<std::string> goldVerses(const qel::VerseIndex& index, const char* gold) {
    std::set<std::string> out;
    std::istringstream items(qel::utf8ToCp949(gold));
    for (std::string item; items >> item;) {
        std::vector<std::string> parts;
        char mark = 0;
        std::size_t at = item.find_first_of("@~");
        const std::string form = item.substr(0, at);
        if (at != std::string::npos)
            mark = item[at];
        while (at != std::string::npos) {
            const std::size_t next = item.find(mark, at + 1);
            parts.push_back(item.substr(at + 1, next == std::string::npos ? next : next - at - 1));
            at = next;
        }
        const auto& forms = index.data().forms;
        const auto it = std::lower_bound(forms.begin(), forms.end(), qel::cp949ToUtf8(form));
        if (it == forms.end() || *it != qel::cp949ToUtf8(form)) {
            std::fprintf(stderr, "judged form not in the text: %s\n",
                         qel::cp949ToUtf8(form).c_str());
            continue;
        }
        const auto f = static_cast<std::uint32_t>(it - forms.begin());
        const auto& d = index.data();
        for (std::size_t v = 0; v < d.verses.size(); ++v) {
            bool has = false;
            for (std::uint32_t k = 0; k < d.verses[v].wordCount && !has; ++k)
                has = d.words[d.verses[v].firstWord + k] == f;
            if (!has)
                continue;
            const std::string ref(index.referenceText(v));
            const bool listed = std::find(parts.begin(), parts.end(), ref) != parts.end();
            if (mark == 0 || (mark == '@') == listed)
                out.insert(ref);
        }
    }
    return out;
}

// The search a reader gets by pressing Enter in every choice dialog.
Measured run(const Judged& j, const std::string& folder, const std::string& result,
             const std::set<std::string>& gold) {
    Measured m;
    m.relevant = gold.size();
    OpenDic(folder.c_str());
    const std::string query = qel::utf8ToCp949(j.query);
    if (query_EX(query.c_str(), 0, j.type) != 2) {
        CloseDic();
        return m;
    }
    char list[QE_AMBI_LIST_SIZE];
    get_ambi_list(0, 0, list);
    std::istringstream first(qel::cp949ToUtf8(list));
    std::string number, lemma;
    first >> number >> lemma;
    m.firstRight = lemma == j.first;
    int counts[QE_QINDEX_COUNT];
    const int last = get_Qindex(counts);
    for (int w = 0; w <= last; ++w)
        for (int i = 0; i < counts[w]; ++i)
            select_ambi(w, i, 0);
    char final[QE_EXTRACT_SIZE];
    if (extrac_query(final, j.type) &&
        search_query(final, result.c_str(), qel::utf8ToCp949("전체").c_str(), j.type)) {
        std::ifstream in(result, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        std::set<std::string> found;
        for (qel::ResultRecords records(text); records.next();) {
            const std::string& record = records.record();
            char key[QE_KEY_SIZE];
            get_key(record.c_str(), key);
            found.insert(key);
        }
        m.found = found.size();
        for (const std::string& ref : found)
            m.hits += gold.count(ref);
    }
    CloseDic();
    return m;
}

// Precision and recall of the judged queries, as the dialog runs them; the table per word
// goes to stderr once.
void BM_KoreanAnalysisVra(benchmark::State& state) {
    const std::string folder = indexFolder();
    const std::string result = (std::filesystem::temp_directory_path() /
                                ("qel-bench-judged-" + std::to_string(::getpid()) + ".dat"))
                                   .string();
    qel::VerseIndexData data;
    std::string error;
    if (!qel::loadVerseIndex(folder + "/" + qel::kVerseIndexFileName, data, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const qel::VerseIndex index(std::move(data));
    std::vector<std::set<std::string>> gold;
    for (const Judged& j : kJudged)
        gold.push_back(goldVerses(index, j.gold));
    std::vector<Measured> measured(std::size(kJudged));
    for (auto _ : state)
        for (std::size_t k = 0; k < std::size(kJudged); ++k)
            measured[k] = run(kJudged[k], folder, result, gold[k]);
    std::remove(result.c_str());

    static bool printed = false;
    std::size_t found[4] = {}, relevant[4] = {}, hits[4] = {}, firstRight = 0;
    for (std::size_t k = 0; k < std::size(kJudged); ++k) {
        const Judged& j = kJudged[k];
        const Measured& m = measured[k];
        found[j.type] += m.found;
        relevant[j.type] += m.relevant;
        hits[j.type] += m.hits;
        firstRight += m.firstRight;
        if (!printed)
            std::fprintf(stderr, "%-14s type %d  first %-3s  found %3zu  right %3zu  judged %3zu\n",
                         j.query, j.type, m.firstRight ? "ok" : "NO", m.found, m.hits, m.relevant);
    }
    printed = true;
    auto ratio = [](std::size_t a, std::size_t b) { return b ? 100.0 * a / b : 0.0; };
    state.counters["words"] = static_cast<double>(std::size(kJudged));
    state.counters["first_ok_%"] = ratio(firstRight, std::size(kJudged));
    state.counters["t2_precision_%"] = ratio(hits[2], found[2]);
    state.counters["t2_recall_%"] = ratio(hits[2], relevant[2]);
    state.counters["t3_precision_%"] = ratio(hits[3], found[3]);
    state.counters["t3_recall_%"] = ratio(hits[3], relevant[3]);
}
BENCHMARK(BM_KoreanAnalysisVra)->Unit(benchmark::kMillisecond)->Iterations(3);

// What qel-mkdb does for the verse index of VRA: read the rows, the hanja table, hunspell-ko
// and our own list, analyse every form.
void BM_BuildVerseIndexVra(benchmark::State& state) {
    std::vector<qel::VerseSource> verses;
    {
        qel::Database db(QEL_BUILT_CONTENT_DB, qel::Database::Mode::ReadOnly);
        qel::RecordSet rs(db, "select volcode, chap, sec, body from VRA order by sequence");
        for (; !rs.isEOF(); rs.moveNext())
            verses.push_back(
                {rs.field("volcode"), rs.field("chap"), rs.field("sec"), rs.field("body")});
    }
    const std::string own = QEL_SOURCE_DIR "/data/lexicon/bible.txt";
    std::size_t stems = 0;
    for (auto _ : state) {
        const qel::AnalysisSources sources =
            qel::readAnalysisSources(qel::kHanjaTablePath, own, {});
        stems = qel::buildVerseIndexData(verses, sources).stemKeys.size();
    }
    state.counters["verses"] = static_cast<double>(verses.size());
    state.counters["stems"] = static_cast<double>(stems);
}
BENCHMARK(BM_BuildVerseIndexVra)->Unit(benchmark::kMillisecond);

} // namespace
