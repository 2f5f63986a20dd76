#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

// The fields after the key of every record of a topic source in data/topics/, by key.
using TopicSourceRows = std::map<std::string, std::vector<std::string>>;

inline TopicSourceRows readTopicSource(const std::string& name) {
    const std::filesystem::path path = std::filesystem::path(QEL_SOURCE_DIR) / "data/topics" / name;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    TopicSourceRows rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            fields.push_back(line.substr(start, tab - start));
        fields.push_back(line.substr(start));
        const std::string key = fields.front();
        fields.erase(fields.begin());
        EXPECT_TRUE(rows.emplace(key, std::move(fields)).second)
            << name << ": two rows for " << key;
    }
    return rows;
}
