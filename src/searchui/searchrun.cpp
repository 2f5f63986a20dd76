#include "searchui/searchrun.h"

#include "platform/codec.h"
#include "searchui/searchforms.h"
#include "versesearch/queryengine.h"
#include "versesearch/resultfile.h"
#include "versesearch/verseindex.h"
#include "wordsearch/wordvariant.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace qel {
namespace {

std::string cp(const char* utf8) {
    return utf8ToCp949(utf8);
}

const char* const kNothingFound = "아무 것도 찾을 수 없습니다.";
const char* const kShortInitials =
    "초성은 세 자 이상 입력하십시오.\n두 자 이하로는 찾을 단어가 너무 많습니다.";
const char* const kStopped = "검색을 중단 합니다.";

std::string countStatus(int count) {
    // Written once per row found, so the label is converted once.
    static const std::string label = utf8ToCp949("단어가 포함된 절 수 : ");
    return label + std::to_string(count);
}

// Copies into a buffer of N bytes, never cutting a double-byte character.
template <std::size_t N> void copyInto(std::array<char, N>& buffer, std::string_view text) {
    std::size_t n = 0;
    while (n < text.size()) {
        const std::size_t len = isLeadByte(static_cast<unsigned char>(text[n])) ? 2 : 1;
        if (n + len > N - 1)
            break;
        n += len;
    }
    std::memcpy(buffer.data(), text.data(), n);
    buffer[n] = '\0';
}

// The choice passes of the query analysis; they collect the " [choice]" pieces.
class VerseAnalysis {
public:
    explicit VerseAnalysis(SearchSink& sink) : sink_(sink) {}

    // 1 when the query can be searched, 0 when refused or a choice was cancelled.
    int analyse(const char* query, int type, int split) {
        std::array<char, QE_QUERY_OUT_SIZE> scratch{};
        const int r = type == 1 ? query_BASIC(query, scratch.data()) : query_EX(query, split, type);
        if (r == 2) {
            if (type == 1)
                return 1;
            if (chooseWords() == 2 || chooseHomonyms() == 2)
                return 0;
            return 1;
        }
        if (r == 1 && split == 0) {
            std::array<char, QE_QUERY_OUT_SIZE> splitForm{};
            split_check(splitForm.data());
            std::string text(splitForm.data());
            if (!text.empty() && text.back() == ' ')
                text.pop_back();
            return analyse(text.c_str(), type, 1) ? 1 : 0;
        }
        return 0;
    }

    const std::string& choices() const { return choices_; }

private:
    int wordCount(std::array<int, QE_QINDEX_COUNT>& counts) {
        counts.fill(0);
        const int last = get_Qindex(counts.data());
        return std::min(last, QE_QINDEX_COUNT - 1);
    }

    bool choose(const char* title, const std::string& list, int& index) {
        std::string text;
        if (!sink_.choose(cp(title), list, index, text))
            return false;
        choices_ += " [" + text + "]";
        return true;
    }

    int chooseWords() {
        std::array<int, QE_QINDEX_COUNT> counts;
        const int last = wordCount(counts);
        for (int w = 0; w <= last; ++w)
            for (int i = 0; i < counts[w]; ++i) {
                if (chk_ambi(w, i) <= 1) {
                    select_ambi(w, i, 0);
                    continue;
                }
                std::array<char, QE_AMBI_LIST_SIZE> list{};
                std::array<char, QE_RAWQ_SIZE> raw{};
                get_ambi_list(w, i, list.data());
                get_rawQ(w, i, raw.data());
                int chosen = 0;
                if (!choose("낱말 선택", list.data(), chosen))
                    return 2;
                select_ambi(w, i, chosen);
            }
        return 1;
    }

    // The homonym number of a word, or "" when it has no homonyms or the choice means
    // every meaning; nullopt-like false when cancelled.
    bool homonymNumber(const std::string& word, std::string& number) {
        number.clear();
        std::array<char, QE_DONG_LIST_SIZE> list{};
        std::array<char, QE_DONG_WORD_SIZE> input{};
        copyInto(input, word);
        const int r = LookDong(input.data(), list.data());
        if (r != 1 && r != 2)
            return true;
        int chosen = 0;
        if (!choose("동음 이의어 선택", list.data(), chosen))
            return false;
        const std::string text = std::to_string(chosen - r + 2);
        if (text[0] != '0')
            number = text;
        return true;
    }

    int chooseHomonyms() {
        std::array<int, QE_QINDEX_COUNT> counts;
        const int last = wordCount(counts);
        for (int w = 0; w <= last; ++w)
            for (int i = 0; i < counts[w]; ++i) {
                const int k = get_ambi_num(w, i);
                if (!is_noun_tag(w, i, k))
                    continue;
                std::array<char, QE_MORP_SIZE> morp{};
                get_morp(w, i, k, morp.data());
                const std::string morph(morp.data());
                std::string number;
                if (morph.find('/') == std::string::npos) {
                    if (!homonymNumber(morph, number))
                        return 2;
                    if (!number.empty())
                        cat_morp(w, i, k, number.c_str());
                    continue;
                }
                std::size_t start = 0;
                for (bool first = true; start <= morph.size(); first = false) {
                    std::size_t end = morph.find('/', start);
                    if (end == std::string::npos)
                        end = morph.size();
                    std::string part = morph.substr(start, end - start);
                    if (!homonymNumber(part, number))
                        return 2;
                    part += number;
                    if (first) {
                        put_morp(w, i, k, part.c_str());
                        cat_morp(w, i, k, "/");
                    } else {
                        cat_morp(w, i, k, part.c_str());
                    }
                    start = end + 1;
                }
            }
        return 1;
    }

    SearchSink& sink_;
    std::string choices_;
};

// A missing or damaged index is not "nothing found": the reader is told which file and how
// to make it again.
std::string unusableIndex(const char* kind, const std::string& file) {
    const std::string text = std::string(kind) + " 색인이 없거나 손상되어 찾을 수 없습니다.\n" +
                             file +
                             "\nqel-mkdb로 색인을 다시 만들어 주십시오 (자료를 다시 만들거나 "
                             "역본을 다시 가져오면 새로 만들어집니다).";
    return cp(text.c_str());
}

bool isReportedErrno(int e) {
    static constexpr int kListed[] = {ENOENT, E2BIG,  ENOEXEC, EBADF,    ECHILD, EAGAIN,
                                      ENOMEM, EACCES, EEXIST,  EXDEV,    EINVAL, EMFILE,
                                      ENOSPC, EDOM,   ERANGE,  EDEADLOCK};
    return std::find(std::begin(kListed), std::end(kListed), e) != std::end(kListed);
}

} // namespace

int readVerseResults(std::string_view fileText, bool center, int nWords, SearchSink& sink) {
    int count = 0;
    ResultReference previous;
    std::string pendingText, pendingPositions;
    auto writePending = [&] {
        // The whole verse goes along, unshown, for the copies.
        sink.addRow({previous.book, previous.chapter, previous.verse,
                     verseRowCell(pendingText, pendingPositions, center), pendingText},
                    static_cast<std::uint32_t>(nWords));
    };
    for (ResultRecords records(fileText); records.next();) {
        const std::string& record = records.record();
        if (sink.stopRequested()) {
            sink.message(cp(kStopped));
            break;
        }
        std::string positions;
        if (!hitPositionText(record, positions))
            continue;
        std::array<char, QE_KEY_SIZE> key{};
        get_key(record.c_str(), key.data());
        ResultReference current;
        if (!splitResultReference(key.data(), current))
            continue;
        if (count > 0 && current.book == previous.book && current.chapter == previous.chapter &&
            current.verse == previous.verse) {
            pendingPositions += "|" + positions;
            continue;
        }
        std::array<char, QE_CLAUSE_SIZE> clause{};
        get_clause(record.c_str(), clause.data());
        std::string_view shown = clause.data();
        while (!shown.empty() && shown.front() == ' ')
            shown.remove_prefix(1);
        if (!pendingText.empty())
            writePending();
        ++count;
        sink.status(countStatus(count));
        previous = current;
        pendingText = std::string(shown);
        pendingPositions = positions;
    }
    if (!pendingText.empty())
        writePending();
    return count;
}

int runVerseSearch(const VerseSearchJob& job, SearchSink& sink) {
    const int type = verseEngineType(job.searchType);
    const VerseQuery query = verseQuery(job.query, job.mode);
    const std::string normalised = normaliseSearchQuery(job.query);
    if (hasShortInitialsWord(normalised)) {
        sink.message(cp(kShortInitials));
        sink.status(countStatus(0));
        return 0;
    }
    if (!OpenDic(job.indexFolder.c_str())) {
        CloseDic();
        const bool slash = !job.indexFolder.empty() && job.indexFolder.back() == '/';
        sink.message(
            unusableIndex("성구 검색", job.indexFolder + (slash ? "" : "/") + kVerseIndexFileName));
        sink.status(countStatus(0));
        return 0;
    }

    std::array<char, QE_EXTRACT_SIZE> buffer{};
    copyInto(buffer, query.text);
    VerseAnalysis analysis(sink);
    int count = 0;
    auto end = [&] {
        CloseDic();
        if (count == 0)
            sink.message(cp(kNothingFound));
        sink.status(countStatus(count) + analysis.choices());
        return count;
    };
    if (!analysis.analyse(buffer.data(), type, 0))
        return end();

    buffer.fill(0);
    if (type == 1) {
        copyInto(buffer, query.text);
    } else if (!extrac_query(buffer.data(), type)) {
        sink.message(cp("성구 검색용 색인어가 아닙니다.\n다른 단어를 사용해 보십시오."));
        CloseDic();
        return 0;
    }

    const std::string range = verseRangeText(job.rangeIndex, job.rangeItem);
    if (range.empty()) {
        CloseDic();
        return 0;
    }
    errno = 0;
    if (!search_query(buffer.data(), job.resultPath.c_str(), range.c_str(), type)) {
        sink.message(isReportedErrno(errno) ? "Arg list too long" : cp(kNothingFound));
        CloseDic();
        return 0;
    }
    if (sink.stopRequested()) {
        sink.message(cp(kStopped));
        CloseDic();
        return 0;
    }
    std::string text;
    if (!readResultFile(job.resultPath, text)) {
        sink.message(cp("검색 결과를 읽을 수 없습니다."));
        CloseDic();
        return 0;
    }

    sink.resetGrid();
    OpenContDB(job.indexFolder.c_str());
    count = readVerseResults(text, job.center, query.nWords, sink);
    sink.rememberQuery(normalised);
    return end();
}

int runWordSearch(const WordSearchJob& job, SearchSink& sink) {
    if (job.query.empty()) {
        sink.message(cp("단어를 입력해 주십시오."));
        return 0;
    }
    if (job.versionIndex < 0 || job.rangeIndex < 0) {
        sink.message(cp("범위를 선택해 주십시오."));
        return 0;
    }
    const std::string normalised = normaliseSearchQuery(job.query);
    std::array<char, 256> query{};
    copyInto(query, wordQueryText(normalised, job.mode, job.searchType));
    const WordSearchVersionInfo& version = wordSearchVersionInfo(job.versionIndex);
    const std::string range = wordRangeText(job.rangeIndex, job.rangeItem, version.code);

    sink.resetGrid();
    int count = 0;
    sink.status(countStatus(count));
    if (!WordVariantOpen(job.indexPath.c_str())) {
        sink.message(unusableIndex("단어 검색", job.indexPath));
        sink.status(countStatus(count));
        return 0;
    }
    WordVariantBlock* block = WordVariantSearch(query.data(), range.c_str());
    if (!block)
        sink.message(cp("아무것도 찾지 못했습니다."));
    for (int k = 0; block && k < block->count; ++k) {
        if (sink.stopRequested()) {
            sink.message(cp(kStopped));
            break;
        }
        WordVariantEntry& entry = block->entries[k];
        if (!entry.reference || !entry.reference[0])
            continue;
        const std::string reference(entry.reference, strnlen(entry.reference, 99));
        std::free(entry.reference);
        entry.reference = nullptr;
        const WordReference place = splitWordReference(reference);
        const std::string verse(entry.text ? entry.text : "",
                                entry.text ? strnlen(entry.text, 2047) : 0);
        sink.addRow({place.book, place.chapter, place.verse,
                     centredWordText(verse, job.query, job.mode, job.searchType, job.center),
                     verse},
                    0);
        ++count;
        sink.status(countStatus(count));
    }
    WordVariantClose();
    sink.status(countStatus(count));
    WordVariantFree(block);
    return count;
}

} // namespace qel
