#pragma once

#include "mkdb/topicbuilder.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

// Sources of the six topic kinds, small and in their real forms, and the topic files built
// from them.
inline std::map<std::string, std::string> topicFixtureSources() {
    return {
        {"CAME", "# 머리말\n"
                 "ca0001\t{H}성경이 기록되기까지{/H}{B}처음 말씀은 입으로 전해졌다.\n"
                 "ca0002\t{H}사본{/H}{B}필사자들이 베껴 썼다.\n"},
        {"MAP", "m000000000001\t{H}족장 시대{/H}{B}아브라함이 하란을 떠났다.\n"},
        {"PHOTO", "PHI010000001\t{H}성막과 뜰의 배치{/H}{B}뜰은 길이 100 규빗이다. "
                  "{A TAR=BVRAgen001001}창세기 1:1{/A}\n"
                  "PHI020000001\t{H}올리브 나무{/H}{B}그림 없는 항목.\n"},
        {"SHORT", "SK0100000001\t사랑\tgen1:1 jhn3:16\n"
                  "SE0100000001\tLove\tgen1:1 jhn3:16\n"
                  "SK1300000001\t기도\tjhn3:16\n"},
        {"HIS", "1\tera\t-2000\t-1500\t1\t족장 시대\t{B}아브라함부터 요셉까지.\n"
                "2\tisrael\t-1010\t-970\t1\t다윗\t{B}통일 왕국의 왕.\n"
                "3\tevent\t-586\t-586\t0\t예루살렘 함락\t{B}바벨론이 성전을 불살랐다.\n"
                "4\tchurch\t30\t30\t1\t오순절\t{B}성령이 내리셨다.\n"},
        {"ABOUT", "ad0001\t{H}이 프로그램은{/H}{B}{A TAR=BVRAjhn003016}요한복음 3:16{/A}\n"},
    };
}

inline void writeTopicSources(const std::filesystem::path& dir,
                              const std::map<std::string, std::string>& sources) {
    std::filesystem::create_directories(dir);
    for (const auto& [kind, text] : sources)
        std::ofstream(dir / (kind + ".txt"), std::ios::binary) << text;
}

// Builds the fixture topic files into outDir, with the picture painter given.
inline void buildFixtureTopics(const std::filesystem::path& work,
                               const std::filesystem::path& outDir,
                               const qel::mkdb::TopicPicturePainter& picture = {}) {
    writeTopicSources(work / "topics", topicFixtureSources());
    qel::mkdb::buildTopicFiles(work / "topics", outDir, picture, [](const std::string&) {});
}
