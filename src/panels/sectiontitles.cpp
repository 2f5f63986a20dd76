#include "panels/sectiontitles.h"

#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "platform/hangulinitials.h"

namespace qel {
namespace {

// Chapter up to the first ":" and verse up to the first "]" after it.
TitlePlace placeIn(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return {std::string(text.substr(0, text.find(']'))), {}};
    const std::string_view rest = text.substr(colon + 1);
    return {std::string(text.substr(0, colon)), std::string(rest.substr(0, rest.find(']')))};
}

// An edition without a title table lists no titles.
bool hasTitleTable(Database& db, std::string_view version) {
    const std::string table = versionTable(version);
    return !table.empty() && db.hasTable("T" + table);
}

} // namespace

TitlePlace titlePlace(std::string_view title) {
    const auto open = title.find('[');
    if (open == std::string_view::npos)
        return {};
    return placeIn(title.substr(open + 1));
}

std::string hitText(std::string_view body, std::string_view abbreviation) {
    std::string out;
    for (char c : body) {
        out.push_back(c);
        if (c == '[')
            out.append(abbreviation).push_back(' ');
    }
    return out;
}

HitPlace hitPlace(std::string_view hit) {
    const auto open = hit.find('[');
    if (open == std::string_view::npos)
        return {};
    const std::string_view rest = hit.substr(open + 1);
    const auto blank = rest.find(' ');
    if (blank == std::string_view::npos)
        return {std::string(rest), {}, {}};
    const TitlePlace place = placeIn(rest.substr(blank + 1));
    return {std::string(rest.substr(0, blank)), place.chapter, place.verse};
}

std::vector<std::string> sectionTitlesOf(Database& db, std::string_view version,
                                         std::string_view book) {
    std::vector<std::string> titles;
    if (!hasTitleTable(db, version))
        return titles;
    for (RecordSet rs(db, sql::sectionTitles(version, book)); !rs.isEOF(); rs.moveNext())
        titles.push_back(rs.text("body"));
    return titles;
}

std::vector<std::string> searchSectionTitles(Database& db, std::string_view version,
                                             std::string_view text) {
    std::vector<std::string> hits;
    if (text.empty() || !hasTitleTable(db, version))
        return hits;
    // Initial letters (ㅅㄹ) are matched here; the database sees every title then.
    const std::u32string pattern = utf8ToUtf32(cp949ToUtf8(text));
    const bool initials = korean::hasInitialLetter(pattern);
    RecordSet rs(db, sql::sectionTitleSearch(version),
                 {sql::sectionTitlePattern(initials ? std::string_view() : text)});
    for (; !rs.isEOF(); rs.moveNext()) {
        const std::string body = rs.text("body");
        if (initials && !korean::containsInitials(utf8ToUtf32(cp949ToUtf8(body)), pattern))
            continue;
        hits.push_back(
            hitText(body, bookAbbrOf(bookNameOf(rs.field("volcode"), version), version)));
    }
    return hits;
}

} // namespace qel
