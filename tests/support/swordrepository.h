#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// A small Korean Bible in the 1961 spelling (our own wording, from the KJV), with section
// headings and a note, for the repository tests.
inline const char* const kTestOsis = R"(<?xml version="1.0" encoding="UTF-8"?>
<osis xmlns="http://www.bibletechnologies.net/2003/OSIS/namespace">
<osisText osisIDWork="KorTest" xml:lang="ko">
<header><work osisWork="KorTest"><title>시험 역본</title></work></header>
<div type="book" osisID="Gen"><chapter osisID="Gen.1">
<title type="section">하늘과 땅을 지으심</title>
<verse osisID="Gen.1.1">맨 처음에 하나님께서 하늘과 땅을 지으셨읍니다.</verse>
<verse osisID="Gen.1.2">땅은 모양이 없고 비어 있었으며 깊은 물 위에 어두움이 덮였고 하나님의 신은 물 위에 움직이고 계셨읍니다.</verse>
<verse osisID="Gen.1.3">하나님께서 말씀하시기를 빛이 생기라 하셨더니 빛이 나타났읍니다<note type="explanatory">옛 사본 몇에는 "빛이 되어라"로 적혀 있음</note>.</verse>
<verse osisID="Gen.1.4">하나님께서 그 빛을 보시매 좋았으므로 빛과 어두움을 갈라 놓으셨읍니다.</verse>
</chapter></div>
<div type="book" osisID="John"><chapter osisID="John.3">
<title type="section">세상을 사랑하심</title>
<verse osisID="John.3.16">하나님께서 세상을 그토록 아끼시어 하나뿐인 아들을 내어 주셨으니 누구든지 그를 믿으면 망하지 아니하고 끝없는 생명을 가지게 되리라.</verse>
<verse osisID="John.3.17">하나님께서 아들을 세상에 보내신 뜻은 세상을 벌하시려는 데 있지 아니하고 그를 힘입어 세상이 건짐을 받게 하시려는 데 있읍니다.</verse>
</chapter></div>
</osisText></osis>
)";

inline const char* const kTestModuleConf = R"([KorTest]
DataPath=./modules/texts/ztext/kortest/
ModDrv=zText
SourceType=OSIS
Encoding=UTF-8
CompressType=ZIP
BlockType=BOOK
Lang=ko
Version=1.2
Description=시험 역본 옛 맞춤법 성경전서
DistributionLicense=Public Domain
About=시험에 쓰려고 만든 작은 성경입니다.
GlobalOptionFilter=OSISHeadings
GlobalOptionFilter=OSISFootnotes
)";

inline void writeTextFile(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// Lays out a repository as the real ones are: mods.d.tar.gz and mods.d/ at the root, the
// module files where DataPath says. Beside the Bible: a dictionary (not a Bible) and a
// Bible whose files are missing. False when osis2mod or tar is not there.
inline bool makeTestRepository(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    // A module made by osis2mod from its OSIS text, which a repository does not hold.
    const auto module = [&](const std::string& name, const std::string& osis) {
        const fs::path data = root / "modules/texts/ztext" / name, xml = root / (name + ".xml");
        fs::create_directories(data);
        writeTextFile(xml, osis);
        const std::string build = "osis2mod '" + data.string() + "/' '" + xml.string() +
                                  "' -z z -v KJV >/dev/null 2>&1 && rm '" + xml.string() + "'";
        return std::system(build.c_str()) == 0;
    };
    writeTextFile(root / "mods.d/kortest.conf", kTestModuleConf);
    writeTextFile(root / "mods.d/kordict.conf",
                  "[KorDict]\nDataPath=./modules/lexdict/rawld/kordict/kordict\nModDrv=RawLD\n"
                  "Lang=ko\nDescription=시험 사전\n");
    writeTextFile(root / "mods.d/korgone.conf",
                  "[KorGone]\nDataPath=./modules/texts/ztext/korgone/\nModDrv=zText\n"
                  "SourceType=OSIS\nLang=ko\nDescription=파일이 없는 성경\n");
    // A Bible in the older spelling with the letter arae-a, which CP949 has no syllable for.
    std::string oldOsis = kTestOsis;
    oldOsis.replace(oldOsis.find("맨 처음에"), std::string("맨 처음에").size(),
                    "\u1112\u119E\u11AB \u1109\u1175\u110C\u1161\u11A8\u110B\u1166");
    writeTextFile(root / "mods.d/korold.conf",
                  "[KorOld]\nDataPath=./modules/texts/ztext/korold/\nModDrv=zText\n"
                  "SourceType=OSIS\nEncoding=UTF-8\nCompressType=ZIP\nBlockType=BOOK\nLang=ko\n"
                  "Description=아래아 성경\n");
    if (!module("kortest", kTestOsis) || !module("korold", oldOsis))
        return false;
    std::uintmax_t size = 0;
    for (const auto& entry : fs::directory_iterator(root / "modules/texts/ztext/kortest"))
        size += entry.file_size();
    std::ofstream(root / "mods.d/kortest.conf", std::ios::app) << "InstallSize=" << size << "\n";
    const std::string pack = "cd '" + root.string() + "' && tar czf mods.d.tar.gz mods.d";
    return std::system(pack.c_str()) == 0;
}
