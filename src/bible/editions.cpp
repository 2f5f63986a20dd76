#include "bible/editions.h"

#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/database.h"

#include <algorithm>
#include <mutex>

namespace qel {

const std::vector<Edition>& editionTable() {
    using L = EditionLanguage;
    using B = EditionBooks;
    static const std::vector<Edition> table{
        // code, alias, command, shortcut, parallel, note, word, sync, verse index
        {"VRA", "", cmd::OpenVRA, 101, 0, 0, 0, 3, true, L::Korean, B::Standard,
         utf8ToCp949("성경전서 역본 가"), utf8ToCp949("역본 가"), utf8ToCp949("성경전서 역본 가")},
        {"VRB", "", cmd::OpenVRB, 201, 1, 2, 1, 0, false, L::Korean, B::Vrb,
         utf8ToCp949("역본 나 성서"), utf8ToCp949("역본 나"), utf8ToCp949("역본 나 성서")},
        {"VRC", "", cmd::OpenVRC, 301, 2, 1, 2, 7, false, L::Korean, B::Vrc,
         utf8ToCp949("성경전서 역본 다"), utf8ToCp949("역본 다"), utf8ToCp949("성경전서 역본 다")},
        {"VRD", "", cmd::OpenVRD, 501, -1, -1, -1, 4, false, L::Korean, B::Standard,
         utf8ToCp949("해설 라"), utf8ToCp949("해설서 라"), utf8ToCp949("해설 전서 라"), true,
         false},
        {"VRE", "", cmd::OpenVRE, 401, 3, 3, 3, 1, false, L::Korean, B::Standard,
         utf8ToCp949("성경전서 역본 마"), utf8ToCp949("역본 마"), utf8ToCp949("성경전서 역본 마")},
        {"KJV", "", cmd::OpenKJV, 601, 4, 4, 4, 5, false, L::English, B::English,
         "King James Version", "KJV", "King James Version", false, false},
        {"NIV", "", cmd::OpenNIV, 701, 5, 5, 5, 6, false, L::English, B::English,
         "New International Version", "NIV", "New International Version"},
        {"GNB", "TEV", cmd::OpenGNB, 801, 6, 6, 6, 2, false, L::English, B::Gnb,
         "Today's English Version", "TEV", "Today's English Version"},
    };
    return table;
}

bool isCommentaryEdition(std::string_view code) {
    const Edition* edition = findEdition(code);
    return edition && edition->commentary;
}

const Edition* findEdition(std::string_view code) {
    for (const Edition& e : editionTable())
        if (code == e.code || (*e.alias && code == e.alias))
            return &e;
    return nullptr;
}

const Edition* findListedEdition(std::string_view code) {
    for (const Edition& e : editionTable())
        if (code == e.listedCode())
            return &e;
    return nullptr;
}

std::vector<const Edition*> editionsBy(int Edition::*position) {
    std::vector<const Edition*> out;
    for (const Edition& e : editionTable())
        if (e.*position >= 0)
            out.push_back(&e);
    std::sort(out.begin(), out.end(), [position](const Edition* a, const Edition* b) {
        return a->*position < b->*position;
    });
    return out;
}

const Edition* editionAt(int Edition::*position, int index) {
    if (index < 0)
        return nullptr;
    for (const Edition& e : editionTable())
        if (e.*position == index)
            return &e;
    return nullptr;
}

std::string editionSlot(std::string_view code) {
    const Edition* e = findEdition(code);
    return e ? e->code : std::string();
}

bool isEditionSlot(std::string_view code) {
    const Edition* e = findEdition(code);
    return e && code == e->code;
}

std::vector<EditionInfo> readEditions(Database& content) {
    std::vector<EditionInfo> editions;
    if (!content.hasTable("EDITION"))
        return editions;
    const bool imports = content.hasColumn("EDITION", "installed");
    for (const Edition& version : editionTable()) {
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

std::mutex& namesMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<std::string, EditionName, std::less<>>& editionNames() {
    static std::map<std::string, EditionName, std::less<>> names;
    return names;
}

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

void setEditionNames(std::map<std::string, EditionName, std::less<>> names) {
    std::lock_guard lock(namesMutex());
    editionNames() = std::move(names);
}

std::optional<EditionName> ownEditionName(std::string_view code) {
    const Edition* edition = findEdition(code);
    if (!edition)
        return std::nullopt;
    std::lock_guard lock(namesMutex());
    const auto it = editionNames().find(edition->code);
    return it == editionNames().end() ? std::nullopt : std::optional(it->second);
}

void useEditionNames(const std::vector<EditionInfo>& editions) {
    std::map<std::string, EditionName, std::less<>> names;
    for (const EditionInfo& e : editions)
        if (!e.installed.empty() && !e.name.empty())
            names[e.code] = {editionShortName(e), e.name};
    setEditionNames(std::move(names));
}

} // namespace qel
