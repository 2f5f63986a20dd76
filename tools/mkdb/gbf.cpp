#include "mkdb/gbf.h"

namespace qel::mkdb {
namespace {

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
bool isLetter(char c) {
    return isUpper(c) || (c >= 'a' && c <= 'z');
}

// The length of the GBF token at gbf[i] == '<': "<" + a capital + a letter + parameters
// + ">"; 0 when none starts there (the "<" is then text).
std::size_t tokenLength(std::string_view gbf, std::size_t i) {
    if (i + 3 >= gbf.size() || !isUpper(gbf[i + 1]) || !isLetter(gbf[i + 2]))
        return 0;
    const std::size_t end = gbf.find_first_of("<>", i + 3);
    return end == std::string_view::npos || gbf[end] != '>' ? 0 : end - i + 1;
}

void token(OsisConverter& converter, std::string_view name) {
    static const OsisAttributes kAdded = {{"type", "added"}};
    static const OsisAttributes kJesus = {{"who", "Jesus"}};
    static const OsisAttributes kSection = {{"type", "section"}};
    static const OsisAttributes kNone;
    if (name == "TS")
        converter.start("title", kSection);
    else if (name == "Ts")
        converter.end("title");
    else if (name == "RF")
        converter.start("note", kNone);
    else if (name == "Rf")
        converter.end("note");
    else if (name == "FI")
        converter.start("transChange", kAdded);
    else if (name == "Fi")
        converter.end("transChange");
    else if (name == "FR")
        converter.start("q", kJesus);
    else if (name == "Fr")
        converter.end("q");
    else if (name == "CM" || name == "CL")
        converter.start("lb", kNone, true);
}

} // namespace

void feedGbf(OsisConverter& converter, std::string_view gbf, bool titlesOnly) {
    auto text = [&](std::string_view t) {
        if (!t.empty() && (!titlesOnly || converter.inTitle()))
            converter.text(t, true);
    };
    std::size_t start = 0;
    for (std::size_t i = gbf.find('<'); i != std::string_view::npos; i = gbf.find('<', i + 1)) {
        const std::size_t length = tokenLength(gbf, i);
        if (length == 0)
            continue;
        text(gbf.substr(start, i - start));
        token(converter, gbf.substr(i + 1, 2));
        start = i + length;
        i = start - 1;
    }
    text(gbf.substr(start));
}

} // namespace qel::mkdb
