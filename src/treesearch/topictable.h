#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

// One row of a built-in tree table: level 0 is a top node and each entry is a child of the
// last entry one level up; level -1 ends the table. An empty key marks a heading. Texts are
// CP949. The row index is the entry's identity in the tree-and-search panel.
struct TopicEntry {
    int level;
    std::string key;
    std::string title;
};
using TopicTable = std::vector<TopicEntry>;

// Literal rows are UTF-8 so the tables stay readable; they are converted once.
struct RawTopic {
    int level;
    const char* key;
    const char* title;
};
TopicTable convertTopics(std::span<const RawTopic> raw);

// The panel's modes: which table it shows and which extra controls it has.
namespace panelmode {
enum : int { BookGuide = 0, Map = 5, Gospels = 7, HistoryBooks = 8, Topics = 9, Count = 12 };
}

// The caption of the panel's first tab (UTF-8); modes out of range get "항목".
const char* firstTabCaption(int mode);

// The rows before the end entry.
int entryCount(const TopicTable& table);

// Whether inserting this entry expands the item it is inserted under, so that the tree
// shows opened there.
bool expandsParent(int mode, const TopicEntry& entry);

// The image of a tree item: 0 a closed node, 1 an open node (and, in mode 0, a book or a
// short key), 2 a leaf.
int itemImage(int mode, const TopicEntry& entry, bool hasChildren, bool expanded);

// Rows with a key whose title holds the text, byte for byte.
std::vector<int> searchTitles(const TopicTable& table, std::string_view text);

// The title of the first entry whose key, or whose key without its first character, equals
// the key. In mode 9 the key's language letter is read as Korean first.
std::optional<std::string> lookupTitle(int mode, const TopicTable& table, std::string key);

// Mode 9: the key to open for the chosen language letter ('K' or 'E'), and whether the
// topic exists in both languages (those that exist only in Korean open in Korean).
struct LanguageKey {
    std::string key;
    bool bilingual;
};
LanguageKey languageKey(std::string key, bool korean);

} // namespace qel
