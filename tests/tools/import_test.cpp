// Imports of SWORD modules, OSIS files and USFM folders into a temporary content database.
#include "installation.h"
#include "mkdb/importer.h"

#include "bible/editions.h"
#include "bible/swordmodules.h"

#include "platform/codec.h"
#include "platform/database.h"
#include "platform/dataswap.h"
#include "wordsearch/wordvariant.h"

#include "../support/scopedenv.h"
#include "../support/swordrepository.h"
#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

using namespace qel;
using namespace qel::mkdb;
namespace fs = std::filesystem;

namespace {

class Import : public ::testing::Test {
protected:
    void SetUp() override { buildSmallInstallation(data()); }

    fs::path data() const { return dir.path() / "Data"; }
    std::string db() const { return (data() / "DB" / "Bible.m14").string(); }

    ImportReport run(const std::string& source, const std::string& code) {
        ImportRequest request;
        request.source = source;
        request.code = code;
        request.dbPath = db();
        request.progress = [this](const std::string& m) { messages += m + "\n"; };
        return importEdition(request);
    }
    std::string errorOf(const std::string& source, const std::string& code) {
        try {
            run(source, code);
        } catch (const SourceError& e) {
            return e.what();
        }
        return "no error";
    }

    std::map<std::string, std::string> snapshot() const { return ::snapshot(data()); }

    std::vector<std::string> column(const std::string& sql) {
        Database content(db(), Database::Mode::ReadOnly);
        std::vector<std::string> values;
        for (RecordSet rs(content, sql); !rs.isEOF(); rs.moveNext())
            values.push_back(cp949ToUtf8(rs.field("v")));
        return values;
    }

    // Everything a reader sees of the VRA slot: its rows in the order the windows read them,
    // its edition record, and its two indexes.
    std::vector<std::string> slotState() {
        std::vector<std::string> state;
        for (const char* sql :
             {"select volcode||chap||':'||sec||body||sequence as v from VRA order by sequence",
              "select volcode||body||sequence as v from TVRA order by sequence",
              "select volcode||chap||sequence as v from CHAPTER where vercode='VRA' order by "
              "sequence",
              "select volcode||chap||':'||sec||body as v from PARALLEL where VERCODE='0' order by "
              "volcode, chap, sec",
              "select source||name||licence||ifnull(installed,'') as v from EDITION where "
              "vercode='VRA'"})
            for (std::string& row : column(sql))
                state.push_back(std::move(row));
        state.push_back(fileBytes(data() / "M14" / "0.m14"));
        state.push_back(fileBytes(data() / "DBF" / "VRA.idx"));
        return state;
    }

    TempDir dir;
    std::string messages;
    std::atomic<bool> cancel{false};
};

std::string osisDocument(const std::string& body) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<osis xmlns="http://www.bibletechnologies.net/2003/OSIS/namespace"><osisText osisIDWork="T">
<header><work osisWork="T"><title>Test</title></work></header>
<div type="book" osisID="Gen"><chapter osisID="Gen.1">)" +
           body + "</chapter></div></osisText></osis>\n";
}

} // namespace

// The module's markup picks its reader (Thml.*, Gbf.* pin the conversion); its verses and
// section titles reach the slot alike.
TEST_F(Import, ThmlAndGbfModules) {
    const std::pair<const char*, const char*> modules[] = {
        {"ThML", "<div class=\"sechead\">The Creation</div>God <i>made</i><note place=\"foot\">or, "
                 "created</note> all.\n$$$John 3:3\n<font color=\"red\">Verily</font>\n"},
        {"GBF", "<TS>The Creation<Ts>God <FI>made<Fi><RF>or, created<Rf> all.<CM>\n$$$John 3:3\n"
                "<FR>Verily<Fr>\n"}};
    const fs::path sword = dir.path() / "sword";
    const ScopedEnv path("SWORD_PATH", sword.string());
    for (const auto& [markup, imp] : modules) {
        SCOPED_TRACE(markup);
        // A module made by imp2vs from imp text.
        const std::string name = std::string("Test") + markup;
        const fs::path data = sword / "modules/texts/rawtext" / name;
        fs::create_directories(data);
        writeTextFile(sword / (name + ".imp"), std::string("$$$Genesis 1:1\n") + imp);
        if (std::system(("imp2vs '" + (sword / (name + ".imp")).string() + "' -o '" +
                         data.string() + "/' >/dev/null 2>&1")
                            .c_str()) != 0)
            GTEST_SKIP() << "imp2vs (libsword-utils) is not installed";
        writeTextFile(sword / "mods.d" / (name + ".conf"),
                      "[" + name + "]\nDataPath=./modules/texts/rawtext/" + name +
                          "/\nModDrv=RawText\nSourceType=" + markup + "\nEncoding=UTF-8\n");
        EXPECT_EQ(run(name, "VRE").verses, 2u);
        EXPECT_EQ(column("select volcode || ' ' || chap || ':' || sec || ' ' || body as v from "
                         "VRE order by sequence"),
                  (std::vector<std::string>{
                      "gen 1:1 {D}1{/D}God {F VAL=I}made{/F}{N TEX=\"or, created\"}*{/N} all. ",
                      "jhn 3:3 {D}3{/D}{W VAL=J}Verily{/W} "}));
        EXPECT_EQ(column("select body as v from TVRE"),
                  std::vector<std::string>{"The Creation [1:1]"});
    }
}

TEST_F(Import, TheFirstImportOfAnInstalledProgramFillsTheReadersFolder) {
    const fs::path file = dir.path() / "one.xml";
    writeTextFile(file, osisDocument("<verse osisID=\"Gen.1.1\">새 본문</verse>"));
    const auto installed = snapshot();
    const fs::path user = dir.path() / "home" / "qelbible" / "Data";
    ImportRequest request;
    request.source = file.string();
    request.code = "VRA";
    request.dbPath = (user / "DB" / "Bible.m14").string();
    request.seedFrom = data().string();
    // A failure leaves no folder behind.
    request.cancel = &cancel;
    request.progress = [&](const std::string& m) {
        if (m.find(" books, ") != std::string::npos)
            cancel = true;
    };
    EXPECT_THROW(importEdition(request), SourceError);
    EXPECT_FALSE(fs::exists(dir.path() / "home"));

    cancel = false;
    request.progress = {};
    EXPECT_EQ(importEdition(request).verses, 1u);
    EXPECT_EQ(snapshot(), installed);
    // The database with every index beside it.
    for (const auto& [file, bytes] : installed)
        EXPECT_TRUE(fs::is_regular_file(user / fs::relative(file, data()))) << file;
    Database own(request.dbPath, Database::Mode::ReadOnly);
    EXPECT_EQ(cp949ToUtf8(RecordSet(own, "select body from VRA").field("body")),
              "{D}1{/D}새 본문 ");
    // The next import finds the database there and copies nothing.
    request.seedFrom = (dir.path() / "nowhere").string();
    EXPECT_EQ(importEdition(request).verses, 1u);
}

TEST_F(Import, OsisFileReplacesTheSlotAndItsDerivedRows) {
    const fs::path file = dir.path() / "korean.osis.xml";
    writeTextFile(file, osisDocument(
                            R"(<div type="section"><title>천지 창조</title>
<verse osisID="Gen.1.1">맨 처음에 하나님이 <w lemma="strong:H1254" morph="x">하늘과 땅을</w> 지으시니라<note>히브리어로는 하늘들</note></verse>
<verse sID="Gen.1.2" osisID="Gen.1.2"/>땅이 <transChange type="added">텅 비고</transChange> <q who="Jesus">말씀</q><verse eID="Gen.1.2"/>
<verse osisID="Gen.1.3 Gen.1.4 Gen.1.5">빛이 있었고</verse></div>)"));
    const std::string verseIndex = fileBytes(data() / "DBF" / "VRA.idx");
    const ImportReport report = run(file.string(), "VRA");
    EXPECT_EQ(report.verses, 3u);
    EXPECT_EQ(report.titles, 1u);
    EXPECT_EQ(column("select sec as v from VRA order by sequence"),
              (std::vector<std::string>{"1", "2", "3-5"}));
    // Strong's numbers and morphology gone; the note is a marker.
    EXPECT_EQ(
        column("select body as v from VRA where sec='1'").at(0),
        "{D}1{/D}맨 처음에 하나님이 하늘과 땅을 지으시니라{N TEX=\"히브리어로는 하늘들\"}*{/N} ");
    EXPECT_EQ(column("select body as v from VRA where sec='2'").at(0),
              "{D}2{/D}땅이 {F VAL=I}텅 비고{/F} {W VAL=J}말씀{/W} ");
    EXPECT_EQ(column("select body as v from TVRA"), (std::vector<std::string>{"천지 창조 [1:1]"}));
    EXPECT_EQ(column("select chap as v from CHAPTER where vercode='VRA'"),
              (std::vector<std::string>{"1"}));
    EXPECT_EQ(column("select sec as v from PARALLEL where VERCODE='0' order by sec"),
              (std::vector<std::string>{"1", "2", "3-5"}));
    EXPECT_EQ(column("select vercode||'|'||name||'|'||source as v from EDITION"),
              (std::vector<std::string>{"VRA|korean.osis|OSIS file korean.osis.xml"}));
    // The word index now knows the imported text, and the verse index was rebuilt.
    ASSERT_NE(WordVariantOpen((data() / "M14" / "0.m14").c_str()), 0);
    WordVariantBlock* block = WordVariantSearch(utf8ToCp949("빛이&~").c_str(), "all");
    WordVariantClose();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->count, 1);
    WordVariantFree(block);
    EXPECT_FALSE(fs::exists(data() / "DBF.import"));
    const std::string rebuilt = fileBytes(data() / "DBF" / "VRA.idx");
    EXPECT_TRUE(!rebuilt.empty() && rebuilt != verseIndex);
}

TEST_F(Import, RestoringTheSampleGivesBackItsTextRecordAndIndexes) {
    const std::vector<std::string> sample = slotState();
    const fs::path file = dir.path() / "whole.xml";
    writeTextFile(file, osisDocument("<title type=\"section\">새 제목</title>"
                                     "<verse osisID=\"Gen.1.1\">처음에 빛이</verse>"
                                     "<verse osisID=\"Gen.1.2\">땅이</verse>"
                                     "<verse osisID=\"Gen.1.3\">물이</verse>"));
    run(file.string(), "VRA");
    ASSERT_NE(slotState(), sample);
    {
        Database content(db(), Database::Mode::ReadOnly);
        ASSERT_FALSE(slotHoldsSample(content, "VRA"));
    }

    ImportRequest request;
    request.code = "VRA";
    request.dbPath = db();
    request.progress = [this](const std::string& m) { messages += m + "\n"; };
    EXPECT_EQ(restoreSample(request).verses, 2u);
    EXPECT_EQ(slotState(), sample);
    Database content(db(), Database::Mode::ReadOnly);
    EXPECT_TRUE(slotHoldsSample(content, "VRA"));
    EXPECT_NE(messages.find("VRA: 1 books, 2 verses"), std::string::npos) << messages;

    // A slot the build gave no sample keeps what it has.
    run(file.string(), "VRB");
    const auto before = snapshot();
    request.code = "VRB";
    try {
        restoreSample(request);
        ADD_FAILURE() << "restored";
    } catch (const SourceError& e) {
        EXPECT_STREQ(e.what(),
                     "VRB에는 되돌릴 견본이 없습니다 (이 데이터에 견본 사본이 없습니다).");
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(Import, BadInputNamesItsPlaceAndChangesNothing) {
    const auto before = snapshot();
    const fs::path broken = dir.path() / "broken.xml";
    writeTextFile(broken, "<osis>\n<verse osisID=\"Gen.1.1\">a\n</chapter></osis>\n");
    EXPECT_EQ(errorOf(broken.string(), "VRA"), broken.string() + ":3: mismatched tag");
    const fs::path badId = dir.path() / "badid.xml";
    writeTextFile(badId, "<osis>\n<verse osisID=\"Gen.one.1\">a</verse></osis>\n");
    EXPECT_EQ(errorOf(badId.string(), "VRA"), badId.string() + ":2: bad osisID \"Gen.one.1\"");
    EXPECT_EQ(errorOf("noSuchModule", "VRA").rfind("unknown SWORD module \"noSuchModule\"", 0), 0u);
    EXPECT_EQ(errorOf(broken.string(), "XYZ"),
              "unknown edition slot \"XYZ\" (VRA VRB VRC VRD VRE KJV NIV GNB)");
    // A book the slot has no row for is skipped; with nothing else left there is no text.
    const fs::path tobit = dir.path() / "tobit.xml";
    writeTextFile(tobit, "<osis><div type=\"book\" osisID=\"Tob\"><verse osisID=\"Tob.1.1\">a"
                         "</verse><verse osisID=\"Tob.1.2\">b</verse></div></osis>");
    EXPECT_EQ(errorOf(tobit.string(), "VRA"), tobit.string() + ": no verse of the books of VRA");
    EXPECT_NE(messages.find("2 verses outside the book table of VRA skipped, e.g. tob 1:1, "
                            "tob 1:2"),
              std::string::npos);
    EXPECT_EQ(snapshot(), before);
    // VRB has Tobit.
    EXPECT_EQ(run(tobit.string(), "VRB").verses, 2u);
}

TEST_F(Import, UsfmFolder) {
    const fs::path folder = dir.path() / "usfm";
    writeTextFile(folder / "41MATKOR.usfm",
                  "\\id MAT 시험\n\\h 마태복음\n\\mt1 마태복음\n\\c 5\n\\s1 복 있는 사람\n\\p\n"
                  "\\v 1 무리를 보시고\\f + \\fr 5:1 \\ft 또는 군중\\f*\n"
                  "\\v 2-3 \\wj 마음이 \\w 가난한|strong=\"G4434\"\\w* 사람은\\wj* \\add 복을"
                  " 받으리니\\add*\\x - \\xo 5:3 \\xt 눅 6:20\\x*\n");
    writeTextFile(folder / "01GEN.usfm", "\\id GEN\n\\c 1\n\\d 제목 없는\n\\q1\n\\v 1 처음에\n");
    const ImportReport report = run(folder.string(), "VRE");
    EXPECT_EQ(report.verses, 3u);
    EXPECT_EQ(column("select volcode || ' ' || chap || ':' || sec || ' ' || body as v from VRE "
                     "order by sequence"),
              (std::vector<std::string>{
                  "gen 1:1 {H}제목 없는{/H}{D}1{/D}처음에 ",
                  "mat 5:1 {D}1{/D}무리를 보시고{N TEX=\"또는 군중\"}*{/N} ",
                  "mat 5:2-3 {D}2-3{/D}{W VAL=J}마음이 가난한 사람은{/W} {F VAL=I}복을 "
                  "받으리니{/F} "}));
    EXPECT_EQ(column("select volcode || ' ' || body as v from TVRE"),
              (std::vector<std::string>{"mat 복 있는 사람 [5:1]"}));

    writeTextFile(folder / "02EXO.usfm", "\\c 1\n\\v 1 이름\n");
    EXPECT_EQ(errorOf(folder.string(), "VRE"),
              (folder / "02EXO.usfm").string() + ":2: a verse before the \\id line");
}

// Input that would show wrongly is refused with the place it came from: a book given twice
// (its verses would show twice), a verse the chapter window cannot hold, and control
// characters, which the message shows escaped. Old Mac line ends read as lines.
TEST_F(Import, DuplicatesOverlongVersesAndOddBytesAreNamed) {
    const fs::path folder = dir.path() / "usfm";
    writeTextFile(folder / "01GEN.usfm", "\\id GEN\r\\c 1\r\\v 1 처음에\r\\v 2 땅이\r");
    EXPECT_EQ(run(folder.string(), "VRE").verses, 2u);

    writeTextFile(folder / "01GENb.usfm", "\\id GEN\n\\c 1\n\\v 2 다시\n");
    EXPECT_EQ(errorOf(folder.string(), "VRE"), (folder / "01GENb.usfm").string() +
                                                   ":3: gen 1:2 appears a second time (first at " +
                                                   (folder / "01GEN.usfm").string() + ":4)");
    fs::remove(folder / "01GENb.usfm");

    writeTextFile(folder / "02EXO.usfm",
                  "\\id EXO\n\\c 1\n\\v 1 " + std::string(40000, 'a') + "\n");
    EXPECT_EQ(errorOf(folder.string(), "VRE"),
              (folder / "02EXO.usfm").string() +
                  ":3: exo 1:1 is 40000 bytes long; the chapter window shows at most 29936 bytes "
                  "of a verse");

    writeTextFile(folder / "02EXO.usfm", "\\id EXO\n\\c 1\n\\v 1\x1b[2J 이름\n");
    EXPECT_EQ(errorOf(folder.string(), "VRE"),
              (folder / "02EXO.usfm").string() + ":3: bad verse number \"1\\x1B[2J\"");
}

// Every way a swap can be stopped: the process is killed before each change the swap makes,
// and the next start must find one whole generation, old or new, with every file of it.
TEST_F(Import, AnImportKilledAnywhereInTheSwapLeavesOneWholeGeneration) {
    writeTextFile(data() / "DBF" / kOwnLexiconFile, "N 태초\n");
    const fs::path pristine = dir.path() / "pristine";
    fs::copy(data(), pristine, fs::copy_options::recursive);
    const fs::path file = dir.path() / "new.xml";
    writeTextFile(file, osisDocument("<verse osisID=\"Gen.1.1\">새 본문</verse>"));
    const auto before = snapshot();

    std::vector<std::map<std::string, std::string>> stopped;
    std::map<std::string, std::string> after;
    for (int killAt = 0; killAt < 50 && after.empty(); ++killAt) {
        fs::remove_all(data());
        fs::copy(pristine, data(), fs::copy_options::recursive);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ImportRequest request;
            request.source = file.string();
            request.code = "VRA";
            request.dbPath = db();
            request.swapStep = [killAt](int step) {
                if (step == killAt)
                    std::raise(SIGKILL);
            };
            try {
                importEdition(request);
            } catch (...) {
                _exit(1);
            }
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        if (WIFEXITED(status)) {
            ASSERT_EQ(WEXITSTATUS(status), 0);
            after = snapshot();
            break;
        }
        ASSERT_TRUE(WIFSIGNALED(status));
        // The program's next start.
        recoverDataSwap(data());
        stopped.push_back(snapshot());
    }
    ASSERT_FALSE(after.empty());
    ASSERT_NE(after, before);
    EXPECT_GE(stopped.size(), 5u);
    std::size_t old = 0;
    for (std::size_t i = 0; i < stopped.size(); ++i) {
        EXPECT_TRUE(stopped[i] == before || stopped[i] == after) << "stopped at step " << i;
        old += stopped[i] == before;
    }
    // Stopped before the journal the import is undone, after it finished.
    EXPECT_EQ(old, 2u);
    EXPECT_TRUE(after.count((data() / "DBF" / kOwnLexiconFile).string()));
}

// A swap that lost its old folder (set aside and never put back) and the new files of an
// import that never got to its swap are put right at the next start; a second import waits
// for the first.
TEST_F(Import, StrayFilesAreMendedAndOneImportRunsAtATime) {
    writeTextFile(data() / "DBF" / kOwnLexiconFile, "N 태초\n");
    const auto before = snapshot();
    fs::rename(data() / "DBF", data() / "DBF.old");
    writeTextFile(data() / "M14" / "0.m14.import.part", "half");
    writeTextFile(data() / "DB" / "Bible.m14.import", "half");
    EXPECT_EQ(recoverDataSwap(data()), DataRecovery::RolledBack);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(recoverDataSwap(data()), DataRecovery::Nothing);

    const fs::path file = dir.path() / "new.xml";
    writeTextFile(file, osisDocument("<verse osisID=\"Gen.1.1\">새 본문</verse>"));
    {
        const DataFolderLock running(data());
        EXPECT_EQ(errorOf(file.string(), "VRA"),
                  "다른 가져오기가 진행 중입니다 (" + fs::absolute(data()).string() + ")");
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(errorOf(file.string(), "VRA"), "no error");
}

TEST_F(Import, WorldEnglishBibleModule) {
    if (!findSwordModule("engWEB2015eb"))
        GTEST_SKIP() << "sword-text-web is not installed";
    // Without --replace: the polytonic Greek of its notes is kept as plain Greek letters.
    const ImportReport report = run("engWEB2015eb", "NIV");
    EXPECT_EQ(report.replaced, 0u);
    EXPECT_EQ(report.simplified, 41u);
    EXPECT_NE(messages.find("41 letters simplified, e.g. mat 1:20 U+1F30 'ἰ' as 'ι'"),
              std::string::npos)
        << messages;
    EXPECT_EQ(report.verses, 31100u); // four verses the WEB leaves empty get no row
    EXPECT_EQ(column("select licence as v from EDITION where vercode='NIV'").at(0),
              "Public Domain");
    // The English word index now holds the import.
    ASSERT_NE(WordVariantOpen((data() / "M14" / "5.m14").c_str()), 0);
    WordVariantBlock* block = WordVariantSearch("Yahweh&~", "all");
    WordVariantClose();
    ASSERT_NE(block, nullptr);
    EXPECT_GT(block->count, 5000);
    WordVariantFree(block);
}

TEST(SwordModules, InstalledBiblesWithTheirDescriptions) {
    if (!findSwordModule("engKJV2006eb"))
        GTEST_SKIP() << "sword-text-kjv is not installed";
    const std::vector<SwordModule> modules = findSwordModules();
    const auto kjv = std::find_if(modules.begin(), modules.end(),
                                  [](const SwordModule& m) { return m.name == "engKJV2006eb"; });
    ASSERT_NE(kjv, modules.end());
    EXPECT_EQ(kjv->value("Description"), "King James Version");
    // The built database says where its KJV came from.
    Database content(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
    const std::vector<EditionInfo> editions = readEditions(content);
    const auto built = std::find_if(editions.begin(), editions.end(),
                                    [](const EditionInfo& e) { return e.code == "KJV"; });
    ASSERT_NE(built, editions.end());
    EXPECT_EQ(cp949ToUtf8(built->licence), "공개 저작물 (public domain)");
}

TEST_F(Import, KjvThroughTheImportIsTheBuiltKjv) {
    if (!findSwordModule("engKJV2006eb"))
        GTEST_SKIP() << "sword-text-kjv is not installed";
    ImportRequest request;
    request.source = "engKJV2006eb";
    request.code = "KJV";
    request.dbPath = db();
    request.wordsOfJesus = false;
    const ImportReport report = importEdition(request);
    EXPECT_EQ(report.verses, 31102u);
    // The Psalm 119 letters are counted, not silently lost.
    EXPECT_EQ(report.hebrewDropped, 22u);
    const char* rows = "select volcode || ' ' || chap || ':' || sec || ' ' || sequence || ' ' || "
                       "body as v from KJV order by sequence";
    const std::vector<std::string> imported = column(rows);
    std::vector<std::string> built;
    {
        Database content(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
        for (RecordSet rs(content, rows); !rs.isEOF(); rs.moveNext())
            built.push_back(cp949ToUtf8(rs.field("v")));
    }
    // Their count and their markup are BuiltContent's and OsisToMarkup's.
    EXPECT_TRUE(imported == built);

    // With words of Jesus, as other imports have them, only those runs are new.
    request.wordsOfJesus = true;
    importEdition(request);
    EXPECT_EQ(column("select body as v from KJV where volcode='mat' and chap='5' and sec='3'")
                  .at(0)
                  .rfind("{D}3{/D}{W VAL=J}Blessed {F VAL=I}are{/F} the poor", 0),
              0u);
}
