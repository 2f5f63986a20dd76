#include "bible/editions.h"

#include "bible/booktable.h"
#include "bible/versiontitles.h"
#include "platform/codec.h"
#include "platform/database.h"

namespace qel {

std::vector<EditionInfo> readEditions(Database& content) {
    std::vector<EditionInfo> editions;
    if (!content.hasTable("EDITION"))
        return editions;
    const bool imports = content.hasColumn("EDITION", "installed");
    for (const VersionInfo& version : bibleVersions()) {
        RecordSet rs(content, "select * from EDITION where vercode = ?", {version.code});
        if (rs.isEOF())
            continue;
        EditionInfo e;
        e.code = version.code;
        e.source = rs.field("source");
        e.name = rs.field("name");
        e.licence = rs.field("licence");
        if (imports) {
            e.module = rs.field("module");
            e.version = rs.field("version");
            e.abbreviation = rs.field("abbreviation");
            e.installed = rs.field("installed");
        }
        editions.push_back(std::move(e));
    }
    return editions;
}

namespace {

// Whole CP949 characters: a lead byte of 0x81 or above takes its trail byte along.
std::size_t characterEnd(const std::string& text, std::size_t at) {
    return static_cast<unsigned char>(text[at]) >= 0x81 && at + 1 < text.size() ? at + 2 : at + 1;
}

} // namespace

std::string editionShortName(const EditionInfo& edition) {
    constexpr std::size_t kLimit = 20;
    if (!edition.abbreviation.empty() && edition.abbreviation.size() <= kLimit)
        return edition.abbreviation;
    std::string name;
    std::size_t lastBlank = std::string::npos;
    for (std::size_t at = 0; at < edition.name.size();) {
        const char c = edition.name[at];
        if (c == '(' || c == ',' || c == ':' || c == '[')
            break;
        const std::size_t end = characterEnd(edition.name, at);
        if (end > kLimit) {
            if (lastBlank != std::string::npos)
                name.resize(lastBlank);
            break;
        }
        if (c == ' ')
            lastBlank = name.size();
        name.append(edition.name, at, end - at);
        at = end;
    }
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name.empty() ? edition.code : name;
}

bool editionIsSample(const EditionInfo& edition) {
    // The build names its sample's source "이 프로그램의 견본 자료 (data/text/CODE)".
    return edition.installed.empty() &&
           edition.source.find(utf8ToCp949("견본")) != std::string::npos;
}

bool slotHasSampleCopy(Database& content, const std::string& code) {
    return content.isOpen() && content.hasTable(kSampleVerseTable) &&
           !RecordSet(content,
                      std::string("select 1 from ") + kSampleVerseTable +
                          " where vercode = ? limit 1",
                      {code})
                .isEOF();
}

bool slotHoldsSample(Database& content, const std::string& code) {
    if (!content.isOpen())
        return false;
    for (const EditionInfo& e : readEditions(content))
        if (e.code == code)
            return editionIsSample(e);
    return false;
}

void useEditionNames(const std::vector<EditionInfo>& editions) {
    std::map<std::string, EditionName, std::less<>> names;
    for (const EditionInfo& e : editions)
        if (!e.installed.empty() && !e.name.empty())
            names[e.code] = {editionShortName(e), e.name};
    setEditionNames(std::move(names));
}

} // namespace qel
