#include "mkdb/sourcerecords.h"

#include <algorithm>

namespace qel::mkdb {

void addSectionTitles(const SourceVerse& verse, const std::vector<std::string>& titles,
                      std::vector<TitleRecord>& out) {
    const std::string first = verse.verse.substr(0, verse.verse.find('-'));
    for (std::string title : titles) {
        // The panel reads the place from the first '['.
        std::replace(title.begin(), title.end(), '[', '(');
        std::replace(title.begin(), title.end(), ']', ')');
        out.push_back({verse.book, title + " [" + verse.chapter + ":" + first + "]"});
    }
}

} // namespace qel::mkdb
