#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qel {

class Database;

// The place a section title names at its end, "[3:16]": chapter from the first "[" to the
// first ":" after it, verse from there to the first "]" after that; empty parts when the
// title has none.
struct TitlePlace {
    std::string chapter, verse;
};
TitlePlace titlePlace(std::string_view title);

// A hit of the title search as the list shows it: every "[" becomes "[" + abbreviation + " ".
std::string hitText(std::string_view body, std::string_view abbreviation);

// Back from a hit's text, "... [요 3:16]": the abbreviation up to the first blank after the
// first "[", then chapter and verse as in a title.
struct HitPlace {
    std::string abbreviation, chapter, verse;
};
HitPlace hitPlace(std::string_view hit);

// The titles of one book of a version, in order.
std::vector<std::string> sectionTitlesOf(Database& db, std::string_view version,
                                         std::string_view book);

// The titles of a version holding `text` literally, as hit texts; empty for an empty text.
std::vector<std::string> searchSectionTitles(Database& db, std::string_view version,
                                             std::string_view text);

} // namespace qel
