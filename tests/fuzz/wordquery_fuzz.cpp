#include "fuzzcheck.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "wordsearch/wordindexbuilder.h"
#include "wordsearch/wordquery.h"
#include "wordsearch/wordvariant.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

using namespace qel;

namespace {

std::string indexPath;

// A small English and Korean index in a temporary folder, built once.
void buildIndex() {
    std::string folder = (std::filesystem::temp_directory_path() / "qel-wordfuzz-XXXXXX").string();
    check(mkdtemp(folder.data()) != nullptr);
    const std::string content = folder + "/Bible.m14";
    {
        Database db(content, Database::Mode::Create);
        db.execute("create table KJV (volcode TEXT, chap TEXT, sec TEXT, body TEXT, "
                   "sequence INTEGER)");
        const char* rows[][4] = {
            {"gen", "1", "1", "In the beginning God created the heaven and the earth."},
            {"jhn", "3", "16", "For God so loved the world{N TEX=\"x\"}*{/N}, that he gave"},
            {"1co", "13", "13", "And now abideth faith, hope, charity, these three;"},
            {"gen", "2", "1", "맨 처음에 하나님께서 하늘과 땅을 지으시니라"},
            {"jhn", "1", "1", "믿음과 소망과 사랑은 항상 있을 것인데 사랑하사 들으시고"}};
        long long sequence = 0;
        for (const auto& r : rows)
            db.execute("insert into KJV values (?, ?, ?, ?, ?)",
                       {std::string(r[0]), std::string(r[1]), std::string(r[2]), utf8ToCp949(r[3]),
                        ++sequence});
    }
    Database db(content, Database::Mode::ReadOnly);
    indexPath = folder + "/4.m14";
    check(buildWordIndex(db, "KJV", indexPath));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    buildIndex();
    check(WordVariantOpen(indexPath.c_str()) != 0);
    return 0;
}

// The first byte picks the range, the rest is the query text as the library receives it
// (CP949 bytes, any of them). The parse and the search must hold together.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    static const char* const kRanges[] = {"all", "old", "new", "gen", "jhn", "xyz", ""};
    const char* range = kRanges[data[0] % std::size(kRanges)];
    const std::string query(reinterpret_cast<const char*>(data + 1), size - 1);

    const WordQuery parsed = parseWordQuery(query);
    for (const auto& group : parsed.anyOf) {
        check(!group.empty());
        for (const QueryTerm& term : group) {
            check(!term.words.empty());
            check(term.phrase == (term.words.size() > 1));
            for (const SearchWord& w : term.words)
                check(!w.text.empty() && w.text.find('*') == std::string::npos);
        }
    }

    // The C call sees the text up to its first zero byte.
    WordVariantBlock* block = WordVariantSearch(query.c_str(), range);
    if (block) {
        check(block->count > 0 && block->count <= 5);
        for (int k = 0; k < block->count; ++k) {
            const std::string_view ref = block->entries[k].reference;
            check(ref.size() > 6 && ref.size() <= 99 && ref.find(':') != std::string_view::npos);
            check(std::string_view(block->entries[k].text).find('{') == std::string_view::npos);
        }
    }
    WordVariantFree(block);
    return 0;
}
