#include "platform/codec.h"
#include "platform/database.h"
#include "versesearch/queryengine.h"
#include "versesearch/resultfile.h"
#include "versesearch/verseindex.h"
#include "versesearch/verseindexbuilder.h"
#include "wordsearch/wordindexbuilder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <iterator>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The Korean sample text spread over the whole versification (the references of the KJV
// table), so that the index has the size and the hit counts of a whole Bible.
const std::vector<qel::VerseSource>& wholeBibleSources() {
    static const std::vector<qel::VerseSource> out = [] {
        std::vector<qel::VerseSource> sample, all;
        qel::Database db(QEL_BUILT_CONTENT_DB, qel::Database::Mode::ReadOnly);
        {
            qel::RecordSet rs(db, "select volcode, chap, sec, body from VRA order by sequence");
            for (; !rs.isEOF(); rs.moveNext())
                sample.push_back({{}, {}, {}, rs.field("body")});
        }
        qel::RecordSet rs(db, "select volcode, chap, sec from KJV order by sequence");
        for (std::size_t k = 0; !rs.isEOF(); rs.moveNext(), ++k)
            all.push_back({rs.field("volcode"), rs.field("chap"), rs.field("sec"),
                           sample[k % sample.size()].body});
        return all;
    }();
    return out;
}

std::string wholeBibleFolder() {
    static const std::string folder = [] {
        const auto dir = std::filesystem::temp_directory_path() /
                         ("qel-bench-whole-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        const qel::AnalysisSources sources = qel::readAnalysisSources(
            qel::kHanjaTablePath, QEL_SOURCE_DIR "/data/lexicon/bible.txt", {});
        qel::saveVerseIndex(qel::buildVerseIndexData(wholeBibleSources(), sources),
                            (dir / qel::kVerseIndexFileName).string());
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                            ("qel-bench-whole-" + std::to_string(::getpid())),
                                        ec);
        });
        return dir.string();
    }();
    return folder;
}

const char* const kWholeBibleQueries[] = {"하나님",   "이르시되",       "사랑",
                                          "믿음으로", "하나님 && 말씀", "ㅎㄴㄴ"};

// One verse search as the dialog runs it, on the whole-Bible index: analysis, first
// candidates, search, and every record through get_key and get_clause.
void BM_VerseSearchWholeBible(benchmark::State& state) {
    const std::string folder = wholeBibleFolder();
    const std::string result = (std::filesystem::temp_directory_path() /
                                ("qel-bench-whole-out-" + std::to_string(::getpid()) + ".dat"))
                                   .string();
    const std::string query = qel::utf8ToCp949(kWholeBibleQueries[state.range(0)]);
    const std::string range = qel::utf8ToCp949("전체");
    state.SetLabel(kWholeBibleQueries[state.range(0)]);
    std::size_t verses = 0;
    for (auto _ : state) {
        OpenDic(folder.c_str());
        if (query_EX(query.c_str(), 0, 2) != 2) {
            state.SkipWithError("query refused");
            break;
        }
        int counts[QE_QINDEX_COUNT];
        const int last = get_Qindex(counts);
        for (int w = 0; w <= last; ++w)
            for (int i = 0; i < counts[w]; ++i)
                select_ambi(w, i, 0);
        char final[QE_EXTRACT_SIZE];
        if (!extrac_query(final, 2) || !search_query(final, result.c_str(), range.c_str(), 2)) {
            state.SkipWithError("search failed");
            break;
        }
        std::string text; // as the search run reads it
        if (!qel::readResultFile(result, text)) {
            state.SkipWithError("no result file");
            break;
        }
        OpenContDB(folder.c_str());
        verses = 0;
        for (qel::ResultRecords records(text); records.next();) {
            const std::string& record = records.record();
            char key[QE_KEY_SIZE], clause[QE_CLAUSE_SIZE];
            get_key(record.c_str(), key);
            get_clause(record.c_str(), clause);
            benchmark::DoNotOptimize(clause);
            ++verses;
        }
        CloseDic();
    }
    std::remove(result.c_str());
    state.counters["verses"] = static_cast<double>(verses);
}
BENCHMARK(BM_VerseSearchWholeBible)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

void BM_BuildVerseIndexWholeBible(benchmark::State& state) {
    const auto& verses = wholeBibleSources();
    const qel::AnalysisSources sources = qel::readAnalysisSources(
        qel::kHanjaTablePath, QEL_SOURCE_DIR "/data/lexicon/bible.txt", {});
    std::size_t words = 0;
    for (auto _ : state)
        words = qel::buildVerseIndexData(verses, sources).words.size();
    state.counters["verses"] = static_cast<double>(verses.size());
    state.counters["words"] = static_cast<double>(words);
}
BENCHMARK(BM_BuildVerseIndexWholeBible)->Unit(benchmark::kMillisecond);

// A copy of the built content database whose VRA holds a whole Bible of Korean verses, as
// after the install of a whole Korean Bible, in a Data/ folder of its own.
std::filesystem::path wholeKoreanData() {
    static const std::filesystem::path data = [] {
        const auto dir = std::filesystem::path(wholeBibleFolder()) / "Data";
        std::filesystem::create_directories(dir / "DB");
        std::filesystem::create_directories(dir / "M14");
        std::filesystem::copy_file(QEL_BUILT_CONTENT_DB, dir / "DB" / "Bible.m14");
        qel::Database db((dir / "DB" / "Bible.m14").string(), qel::Database::Mode::ReadWrite);
        db.execute("begin");
        db.execute("delete from VRA");
        long long sequence = 0;
        for (const qel::VerseSource& v : wholeBibleSources())
            db.execute(
                "insert into VRA (volcode, chap, sec, body, sequence) values (?, ?, ?, ?, ?)",
                {v.book, v.chapter, v.verse, v.body, ++sequence});
        db.execute("commit");
        return dir;
    }();
    return data;
}

// The index step of an install into VRA: the word index of the slot, then the verse index
// with the analysis sources read as the import reads them.
void BM_IndexWholeKoreanBibleInVra(benchmark::State& state) {
    const std::filesystem::path data = wholeKoreanData();
    const std::string db = (data / "DB" / "Bible.m14").string();
    qel::WordIndexStats stats;
    for (auto _ : state) {
        {
            qel::Database content(db, qel::Database::Mode::ReadOnly);
            qel::buildWordIndex(content, "VRA", (data / "M14" / "0.m14").string(), &stats);
        }
        const qel::AnalysisSources sources = qel::readAnalysisSources(
            qel::kHanjaTablePath, QEL_SOURCE_DIR "/data/lexicon/bible.txt", {});
        qel::buildVerseIndex(db, (data / "DBF").string(), sources, {});
    }
    state.counters["verses"] = static_cast<double>(stats.verses);
    state.counters["words"] = static_cast<double>(stats.words);
}
BENCHMARK(BM_IndexWholeKoreanBibleInVra)->Unit(benchmark::kMillisecond);

// Bytes in use on the heap: mimalloc's count where the program links it, the C library's
// otherwise.
extern "C" {
struct mi_heap_s;
struct mi_heap_area_s;
mi_heap_s* mi_heap_get_default() __attribute__((weak));
bool mi_heap_visit_blocks(const mi_heap_s*, bool,
                          bool (*)(const mi_heap_s*, const mi_heap_area_s*, void*, size_t, void*),
                          void*) __attribute__((weak));
}

double heapInUse() {
    if (!mi_heap_get_default || !mi_heap_visit_blocks)
        return static_cast<double>(::mallinfo2().uordblks);
    double used = 0;
    mi_heap_visit_blocks(
        mi_heap_get_default(), true,
        [](const mi_heap_s*, const mi_heap_area_s*, void* block, size_t size, void* sum) {
            if (block)
                *static_cast<double*>(sum) += static_cast<double>(size);
            return true;
        },
        &used);
    return used;
}

// The heap an opened index holds: the file read and the search tables built from it.
void BM_OpenVerseIndexWholeBible(benchmark::State& state) {
    const std::string path = wholeBibleFolder() + "/" + qel::kVerseIndexFileName;
    double bytes = 0;
    for (auto _ : state) {
        const double before = heapInUse();
        qel::VerseIndexData data;
        std::string error;
        if (!qel::loadVerseIndex(path, data, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        const qel::VerseIndex index(std::move(data));
        bytes = heapInUse() - before;
        benchmark::DoNotOptimize(index);
    }
    state.counters["heap_MB"] = bytes / (1024.0 * 1024.0);
}
BENCHMARK(BM_OpenVerseIndexWholeBible)->Unit(benchmark::kMillisecond);

} // namespace
