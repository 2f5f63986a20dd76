#include "treesearch/topictable.h"

#include "platform/codec.h"
#include "platform/hangulinitials.h"

#include <algorithm>
#include <array>

namespace qel {
namespace {

// Topics whose two-digit group exists only in Korean.
constexpr std::array<std::string_view, 7> kKoreanOnlyGroups = {"06", "07", "09", "13",
                                                               "14", "16", "17"};

// Book sections of the book guides: a book code and a section number from 000.
bool isBookSection(const TopicEntry& entry) {
    return entry.key.size() == 6 && entry.key[3] == '0';
}

} // namespace

TopicTable convertTopics(std::span<const RawTopic> raw) {
    TopicTable table;
    table.reserve(raw.size());
    for (const RawTopic& row : raw)
        table.push_back({row.level, row.key, utf8ToCp949(row.title)});
    return table;
}

const char* firstTabCaption(int mode) {
    static constexpr std::array<const char*, panelmode::Count> captions = {
        "책(권)", "항목",   "용어",   "책(권)", "소제목", "지도",
        "사진",   "소제목", "소제목", "소제목", "항목",   "항목"};
    return mode >= 0 && mode < panelmode::Count ? captions[mode] : "항목";
}

int entryCount(const TopicTable& table) {
    const auto end = std::find_if(table.begin(), table.end(),
                                  [](const TopicEntry& entry) { return entry.level < 0; });
    return static_cast<int>(end - table.begin());
}

bool expandsParent(int mode, const TopicEntry& entry) {
    switch (mode) {
    case panelmode::BookGuide:
        return !isBookSection(entry);
    case panelmode::Map:
        return true;
    case 6:
        return entry.level < 2;
    default:
        return false;
    }
}

int itemImage(int mode, const TopicEntry& entry, bool hasChildren, bool expanded) {
    if (hasChildren)
        return expanded ? 1 : 0;
    if (mode != panelmode::BookGuide)
        return 2;
    if (entry.key.size() >= 4)
        return entry.key[3] == '0' ? 2 : 1;
    return 1;
}

std::vector<int> searchTitles(const TopicTable& table, std::string_view text) {
    std::vector<int> rows;
    if (text.empty())
        return rows;
    // Initial letters (ㅅㄹ) stand for any syllable that begins with them.
    const std::u32string pattern = utf8ToUtf32(cp949ToUtf8(text));
    const bool initials = korean::hasInitialLetter(pattern);
    const int count = entryCount(table);
    for (int row = 0; row < count; ++row) {
        const TopicEntry& entry = table[row];
        if (entry.key.empty())
            continue;
        if (initials ? korean::containsInitials(utf8ToUtf32(cp949ToUtf8(entry.title)), pattern)
                     : entry.title.find(text) != std::string::npos)
            rows.push_back(row);
    }
    return rows;
}

std::optional<std::string> lookupTitle(int mode, const TopicTable& table, std::string key) {
    if (key.empty())
        return std::nullopt;
    if (mode == panelmode::Topics && key.size() > 1)
        key[1] = 'K';
    const int count = entryCount(table);
    for (int row = 0; row < count; ++row) {
        const std::string& own = table[row].key;
        if (own == key || (!own.empty() && std::string_view(own).substr(1) == key))
            return table[row].title;
    }
    return std::nullopt;
}

LanguageKey languageKey(std::string key, bool korean) {
    if (!korean && key.size() > 2)
        key[1] = 'E';
    const bool koreanOnly =
        key.size() >= 4 && std::find(kKoreanOnlyGroups.begin(), kKoreanOnlyGroups.end(),
                                     std::string_view(key).substr(2, 2)) != kKoreanOnlyGroups.end();
    if (koreanOnly && key.size() > 1)
        key[1] = 'K';
    return {std::move(key), !koreanOnly};
}

} // namespace qel
