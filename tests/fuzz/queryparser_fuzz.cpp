// Query texts and result files of the verse search: the parser, the Korean analysis of each
// word, the result-file grammar and the display text of verse markup must take any bytes.
#include "fuzzcheck.h"
#include "language/koreanmorphology.h"
#include "versesearch/queryparser.h"
#include "versesearch/resultfile.h"
#include "versesearch/verseindexbuilder.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qel::ParsedQuery query;
    if (qel::parseQueryText(text, query) == qel::QueryParse::Ok) {
        check(query.joins.size() + 1 == query.words.size());
        std::size_t grouped = 0;
        for (const auto& andGroup : qel::queryGroups(query))
            for (const auto& phrase : andGroup)
                grouped += phrase.size();
        check(grouped == query.words.size());
        qel::formatQueryText(query);
        for (const qel::QueryWord& w : query.words)
            for (const auto& a : qel::korean::analyse(w.text))
                check(!a.stem.empty());
    }
    for (qel::ResultRecords records(text); records.next();) {
        const std::string& record = records.record();
        check(record.size() <= qel::kResultRecordLimit);
        std::string positions;
        qel::hitPositionText(record, positions);
        qel::ResultReference ref;
        qel::splitResultReference(record.substr(0, record.find('#')), ref);
    }
    qel::verseDisplayText(text);
    return 0;
}
