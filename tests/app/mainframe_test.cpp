#include "app/mainframe.h"

#include "../support/fixturedb.h"
#include "../support/testcontext.h"
#include "app/childframe.h"
#include "app/commands.h"
#include "app/shortcutbar.h"
#include "bible/bibleframe.h"
#include "platform/codec.h"
#include "search/searchdialog.h"
#include "search/searchword.h"
#include "widgets/gridctrl.h"

#include <QAction>
#include <QComboBox>
#include <QMdiArea>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace qel;

namespace {

class MainFrameTest : public ::testing::Test {
protected:
    explicit MainFrameTest(std::string commandLine = "")
        : test(fixtureSources()), frame(test.context, std::move(commandLine)) {
        frame.setExitConfirmation([] { return true; });
    }
    TestContext test;
    CMainFrame frame;
};

} // namespace

TEST_F(MainFrameTest, CommandKeyMovesAnOpenWindowOrReusesIt) {
    frame.show();
    CChildFrame* vra = frame.openByCommandKey("BVRAgen001002", true);
    ASSERT_NE(vra, nullptr);
    EXPECT_EQ(static_cast<CBibleFrame*>(vra)->currentKey(), "VRAgen001002");
    EXPECT_EQ(frame.openByCommandKey("BVRAjhn003016", false), vra);
    EXPECT_EQ(static_cast<CBibleFrame*>(vra)->currentKey(), "VRAjhn003016");
    EXPECT_EQ(frame.openByCommandKey("BVRAgen002001", true), vra);
    EXPECT_EQ(frame.frameRegistry().frames().size(), 1u);
    EXPECT_TRUE(frame.pendingPlace().empty());
}

TEST_F(MainFrameTest, TevOpensTheGnbWindowAndUnknownKeysOpenNothing) {
    CChildFrame* gnb = frame.openByCommandKey("BTEVgen001001", false);
    ASSERT_NE(gnb, nullptr);
    EXPECT_EQ(gnb->code(), "GNB");
    EXPECT_EQ(frame.openByCommandKey("Xabc", false), nullptr);
    EXPECT_TRUE(frame.pendingPlace().empty());
    EXPECT_EQ(frame.openByCommandKey("BXYZgen001001", false), nullptr);
    EXPECT_EQ(frame.frameRegistry().frames().size(), 1u);
}

TEST_F(MainFrameTest, WindowsOpenByTheirCodeAtThePlaceGiven) {
    frame.show();
    CChildFrame* vra = frame.openWindow("VRA", "VRAjhn003016");
    ASSERT_NE(vra, nullptr);
    EXPECT_EQ(vra->code(), "VRA");
    EXPECT_EQ(static_cast<CBibleFrame*>(vra)->currentKey(), "VRAjhn003016");
    EXPECT_TRUE(frame.pendingPlace().empty());
    EXPECT_EQ(frame.openWindow("VRA", "VRAgen001002"), vra);
    EXPECT_EQ(static_cast<CBibleFrame*>(vra)->currentKey(), "VRAgen001002");

    // Kinds without a window, and codes of no kind, open nothing and keep no place.
    EXPECT_TRUE(CMainFrame::opensWindow("VRD"));
    for (const char* code : {"PARALLEL", "TEV", "NOSUCH"}) {
        EXPECT_FALSE(CMainFrame::opensWindow(code)) << code;
        EXPECT_EQ(frame.openWindow(code, "gen001001"), nullptr) << code;
        EXPECT_TRUE(frame.pendingPlace().empty());
    }
    EXPECT_EQ(frame.frameRegistry().frames().size(), 1u);
}

TEST_F(MainFrameTest, CompanionTransfersACommandKeyCharacterByCharacter) {
    const std::string key = "BVRAgen001001";
    frame.handleInstanceMessage("1057", nullptr);
    for (std::size_t i = 0; i < key.size(); ++i)
        frame.handleInstanceMessage(
            "1058 " + QByteArray::number(int(i)) + " " + QByteArray::number(int(key[i])), nullptr);
    frame.handleInstanceMessage("1058 13 0", nullptr);
    EXPECT_TRUE(frame.frameRegistry().frames().empty());
    frame.handleInstanceMessage("1058 14 0", nullptr);
    ASSERT_EQ(frame.frameRegistry().frames().size(), 1u);
    EXPECT_EQ(static_cast<CBibleFrame*>(frame.frameRegistry().frames()[0])->currentKey(),
              "VRAgen001001");
}

TEST_F(MainFrameTest, WindowListCommandsFollowTheRegistry) {
    frame.show();
    frame.openBibleVersion("VRA");
    frame.updateCommandStates();
    EXPECT_FALSE(frame.action(cmd::NextWindow)->isEnabled());
    EXPECT_FALSE(frame.action(cmd::PreviousWindow)->isEnabled());
    EXPECT_TRUE(frame.action(cmd::Close)->isEnabled());
    CChildFrame* kjv = frame.openBibleVersion("KJV");
    EXPECT_EQ(frame.frameRegistry().frames().front(), kjv);
    frame.updateCommandStates();
    EXPECT_TRUE(frame.action(cmd::PreviousWindow)->isEnabled());
    frame.action(cmd::PreviousWindow)->trigger();
    EXPECT_EQ(frame.mdiArea()->activeSubWindow()->windowTitle(),
              QStringLiteral("성경전서 역본 가"));
    EXPECT_EQ(frame.frameRegistry().frames().front()->code(), "VRA");
}

TEST_F(MainFrameTest, ShortcutTreeOpensVersionsAndToggles) {
    QTreeWidget* tree = frame.shortcutBar()->tree();
    ASSERT_EQ(tree->topLevelItemCount(), 4);
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 7);
    EXPECT_TRUE(tree->topLevelItem(3)->isExpanded());
    emit tree->itemDoubleClicked(tree->topLevelItem(0)->child(4), 0); // King James Version
    ASSERT_EQ(frame.frameRegistry().frames().size(), 1u);
    EXPECT_EQ(frame.frameRegistry().frames()[0]->code(), "KJV");
    emit tree->itemDoubleClicked(tree->topLevelItem(0), 0); // a folder opens nothing
    EXPECT_EQ(frame.frameRegistry().frames().size(), 1u);
}

TEST_F(MainFrameTest, ViewModeToggleCyclesAndIsStored) {
    frame.action(cmd::ToggleViewMode)->trigger();
    EXPECT_EQ(test.context.settings.viewMode, 2);
    frame.action(cmd::ToggleViewMode)->trigger();
    EXPECT_EQ(test.context.settings.viewMode, 0);
    EXPECT_EQ(test.context.store->readInt("Settings", "View Mode", -1), 0);
}

class CommandLineTest : public MainFrameTest {
protected:
    CommandLineTest() : MainFrameTest("BVRAgen00100") {}
};

TEST_F(CommandLineTest, KeyOfTwelveCharactersIsIgnored) {
    QSignalSpy painted(&frame, &CMainFrame::firstPainted);
    frame.show();
    ASSERT_TRUE(painted.wait(5000));
    EXPECT_TRUE(frame.frameRegistry().frames().empty());
}

TEST_F(MainFrameTest, SearchCommandsShowOneDialogAndResultsOpenTheirVerse) {
    frame.show();
    QAction* verse = frame.action(cmd::VerseSearch);
    QAction* word = frame.action(cmd::WordSearch);
    ASSERT_TRUE(verse->isEnabled());
    ASSERT_TRUE(word->isEnabled());
    ASSERT_NE(frame.searchDialog(), nullptr);
    EXPECT_FALSE(frame.searchDialog()->isVisible());
    verse->trigger();
    QTest::qWait(10);
    EXPECT_TRUE(frame.searchDialog()->isVisible());
    EXPECT_TRUE(verse->isChecked());
    word->trigger();
    QTest::qWait(10);
    EXPECT_FALSE(frame.searchDialog()->isVisible());
    EXPECT_TRUE(frame.searchWord()->isVisible());
    EXPECT_FALSE(verse->isChecked());
    EXPECT_TRUE(word->isChecked());

    // A result row opens through the command-key dispatch.
    CGridCtrl* grid = frame.searchWord()->grid();
    grid->appendRows({{{utf8ToCp949("창"), "1", "2", "text"}, 0}});
    grid->selectRow(1);
    frame.searchWord()->OpenSelectedResult();
    CChildFrame* vra = frame.frameRegistry().findByCode("VRA");
    ASSERT_NE(vra, nullptr);
    EXPECT_EQ(static_cast<CBibleFrame*>(vra)->currentKey(), "VRAgen001002");
}

TEST(MainFrameSearch, ClosingTheProgramDuringASearchEndsIt) {
    TestContext test(fixtureSources());
    test.context.paths.wordIndexFolder =
        (std::filesystem::path(QEL_BUILT_CONTENT_DB).parent_path().parent_path() / "M14").string() +
        "/";
    auto frame = std::make_unique<CMainFrame>(test.context, "");
    frame->action(cmd::WordSearch)->trigger();
    CSearchWord* word = frame->searchWord();
    word->versionBox()->setCurrentIndex(4);
    word->queryBox()->setCurrentText(QStringLiteral("the"));
    word->OnFind();
    EXPECT_TRUE(word->isSearching());
    frame.reset();
    SUCCEED();
}
