#include "mkdb/sourcerecords.h"

#include <algorithm>
#include <cstdio>

namespace qel::mkdb {

std::string quotedInput(std::string_view text) {
    constexpr std::size_t kLimit = 60;
    std::string out = "\"";
    for (unsigned char c : text.substr(0, kLimit)) {
        if (c < 0x20 || c == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + (text.size() > kLimit ? "\"…" : "\"");
}

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
