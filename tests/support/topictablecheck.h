#pragma once

#include "platform/codec.h"
#include "treesearch/topictable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

// A table of the rows given, titles in UTF-8, with its end row.
inline qel::TopicTable topicTable(std::initializer_list<qel::TopicEntry> rows) {
    qel::TopicTable t;
    for (const qel::TopicEntry& row : rows)
        t.push_back({row.level, row.key, qel::utf8ToCp949(row.title)});
    t.push_back({-1, "", ""});
    return t;
}

// Levels start at 0, grow by one step at most, and the table ends with level -1; keys
// that are given are unique.
inline void expectWellFormed(const qel::TopicTable& table, int count, int maxLevel) {
    ASSERT_EQ(qel::entryCount(table), count);
    ASSERT_EQ(table.size(), static_cast<std::size_t>(count) + 1);
    EXPECT_EQ(table.back().level, -1);
    EXPECT_EQ(table.front().level, 0);
    std::set<std::string> keys;
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        const qel::TopicEntry& entry = table[i];
        EXPECT_FALSE(entry.title.empty());
        EXPECT_LE(entry.level, maxLevel);
        if (i > 0) {
            EXPECT_LE(entry.level, table[i - 1].level + 1);
        }
        if (!entry.key.empty()) {
            EXPECT_TRUE(keys.insert(entry.key).second) << entry.key;
        }
    }
}
