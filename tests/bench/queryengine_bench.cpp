#include "platform/codec.h"
#include "versesearch/queryengine.h"
#include "versesearch/resultfile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

// One verse search as the dialog runs it: analysis, candidate and homonym passes, the
// search, then every record of the result file through get_key and get_clause.
void BM_VerseSearchVra(benchmark::State& state) {
    const std::string folder =
        (std::filesystem::path(QEL_BUILT_CONTENT_DB).parent_path().parent_path() / "DBF").string();
    const std::string result = (std::filesystem::temp_directory_path() /
                                ("qel-bench-out-" + std::to_string(::getpid()) + ".dat"))
                                   .string();
    const std::string query = qel::utf8ToCp949("하나님께서");
    const std::string range = qel::utf8ToCp949("전체");
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
            for (int i = 0; i < counts[w]; ++i) {
                select_ambi(w, i, 0);
                const int k = get_ambi_num(w, i);
                if (is_noun_tag(w, i, k)) {
                    char morph[QE_MORP_SIZE], list[QE_DONG_LIST_SIZE];
                    get_morp(w, i, k, morph);
                    LookDong(morph, list);
                }
            }
        char final[QE_EXTRACT_SIZE];
        extrac_query(final, 2);
        if (!search_query(final, result.c_str(), range.c_str(), 2)) {
            state.SkipWithError("search failed");
            break;
        }
        std::ifstream in(result, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
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
BENCHMARK(BM_VerseSearchVra)->Unit(benchmark::kMicrosecond);

} // namespace
