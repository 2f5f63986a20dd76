#include "app/mainframe.h"

#include "../support/fixturedb.h"
#include "../support/testcontext.h"
#include "app/shortcutbar.h"
#include "biblewindow/bibleframe.h"
#include "platform/bookmarkcommands.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "richtext/childview.h"
#include "searchui/searchdialog.h"
#include "searchui/searchword.h"
#include "study/bookmarkpanel.h"
#include "widgets/childframe.h"
#include "widgets/gridctrl.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QScreen>
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
        frame.show();
    }
    TestContext test;
    CMainFrame frame;
};

} // namespace

// One window per version: command keys and window codes open it, or move the open one.
TEST_F(MainFrameTest, KeysAndCodesOpenTheVersionOrMoveItsOpenWindow) {
    test.context.store->writeString("Last Staus", "VRA", "jhn003016");
    auto* vra = static_cast<CBibleFrame*>(frame.openByCommandKey("BVRA", false));
    ASSERT_NE(vra, nullptr);
    EXPECT_EQ(vra->code(), "VRA");
    EXPECT_EQ(vra->currentKey(), "VRAjhn003016"); // the remembered place
    EXPECT_EQ(frame.openByCommandKey("BVRAgen001002", false), vra);
    EXPECT_EQ(frame.openByCommandKey("BVRA", false), vra);
    EXPECT_EQ(vra->currentKey(), "VRAgen001002"); // not back to the remembered place
    EXPECT_EQ(frame.openByCommandKey("BVRAjhn00301", true), vra);
    EXPECT_EQ(vra->currentKey(), "VRAgen001002");
    EXPECT_EQ(frame.openWindow("VRA", "VRAjhn003016"), vra);
    EXPECT_EQ(vra->currentKey(), "VRAjhn003016");

    // "000" fields are empty: the first chapter and the verse moved to last.
    frame.openByCommandKey("BVRAgen002000", false);
    EXPECT_EQ(vra->currentKey(), "VRAgen002001");
    frame.openByCommandKey("BVRAjhn000000", false);
    EXPECT_EQ(vra->currentChapter(), "3");
    EXPECT_EQ(vra->currentVerse(), "16");

    // Keys and codes of no kind open nothing and keep no place.
    for (const char* key : {"B", "BVR", "BXYZgen001001", "bVRAgen001001", "Xabc", ""}) {
        EXPECT_EQ(frame.openByCommandKey(key, false), nullptr) << key;
        EXPECT_TRUE(frame.pendingPlace().empty());
    }
    for (const char* code : {"TEV", "NOSUCH"}) {
        EXPECT_EQ(frame.openWindow(code, "gen001001"), nullptr) << code;
        EXPECT_TRUE(frame.pendingPlace().empty());
    }
    EXPECT_EQ(frame.frameRegistry().frames().size(), 1u);
    // TEV is the other name of GNB.
    EXPECT_EQ(frame.openByCommandKey("BTEVgen001001", false)->code(), "GNB");
}

TEST_F(MainFrameTest, WindowListRunsFromTheNewestWindowAndActivationKeepsIt) {
    CChildFrame* vra = frame.openBibleVersion("VRA");
    frame.updateCommandStates();
    EXPECT_FALSE(frame.action(cmd::NextWindow)->isEnabled());
    EXPECT_FALSE(frame.action(cmd::PreviousWindow)->isEnabled());
    EXPECT_TRUE(frame.action(cmd::Close)->isEnabled());
    CChildFrame* kjv = frame.openBibleVersion("KJV");
    CChildFrame* vrc = frame.openBibleVersion("VRC");
    const std::vector<CChildFrame*> newestFirst{vrc, kjv, vra};
    EXPECT_EQ(frame.frameRegistry().frames(), newestFirst);
    EXPECT_EQ(frame.mdiArea()->activeSubWindow(), vrc);
    EXPECT_FALSE(frame.action(cmd::NextWindow)->isEnabled());

    // Back to the oldest window and forward again, one step at a time.
    for (CChildFrame* expected : {kjv, vra}) {
        ASSERT_TRUE(frame.action(cmd::PreviousWindow)->isEnabled());
        frame.action(cmd::PreviousWindow)->trigger();
        EXPECT_EQ(frame.mdiArea()->activeSubWindow(), expected);
        EXPECT_TRUE(frame.action(cmd::NextWindow)->isEnabled());
    }
    EXPECT_FALSE(frame.action(cmd::PreviousWindow)->isEnabled());
    for (CChildFrame* expected : {kjv, vrc}) {
        frame.action(cmd::NextWindow)->trigger();
        EXPECT_EQ(frame.mdiArea()->activeSubWindow(), expected);
    }
    // Activating by hand changes nothing either.
    frame.mdiArea()->setActiveSubWindow(vra);
    EXPECT_EQ(frame.frameRegistry().frames(), newestFirst);
    EXPECT_TRUE(frame.action(cmd::NextWindow)->isEnabled());
}

TEST_F(MainFrameTest, F6IsThePaneKeyNotTheWindowKey) {
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    CChildFrame* vra = frame.openBibleVersion("VRA");
    frame.openBibleVersion("KJV");
    EXPECT_EQ(frame.action(cmd::NextPane)->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_EQ(frame.action(cmd::PreviousPane)->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F6));
    EXPECT_TRUE(frame.action(cmd::PreviousWindow)->shortcut().isEmpty());
    for (Qt::KeyboardModifier modifier : {Qt::ShiftModifier, Qt::NoModifier}) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key_F6, modifier);
        EXPECT_NE(frame.mdiArea()->activeSubWindow(), vra);
        EXPECT_EQ(frame.mdiArea()->activeSubWindow()->windowTitle(),
                  QStringLiteral("King James Version"));
    }
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

TEST_F(MainFrameTest, BookmarksNameTheActiveWindowsPlaceAndOpenItAgain) {
    EXPECT_TRUE(frame.bookmarkPlace().first.empty());
    frame.updateCommandStates();
    EXPECT_FALSE(frame.action(cmd::AddBookmark)->isEnabled());
    auto* vra = static_cast<CBibleFrame*>(frame.openByCommandKey("BVRAjhn003016", true));
    ASSERT_NE(vra, nullptr);
    const auto [key, name] = frame.bookmarkPlace();
    EXPECT_EQ(key, "BVRAjhn003016");
    EXPECT_TRUE(name.ends_with(" 3:16") && !name.starts_with("(")) << name;
    frame.updateCommandStates();
    EXPECT_TRUE(frame.action(cmd::AddBookmark)->isEnabled());
    EXPECT_EQ(frame.action(cmd::AddBookmark)->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));

    BookmarkPanel* panel = frame.bookmarkPanel();
    EXPECT_FALSE(panel->isVisible());
    frame.action(cmd::ToggleBookmarkPanel)->trigger();
    EXPECT_TRUE(panel->isVisible());
    panel->add(QStringLiteral("복음서"), QString::fromStdString(name), key);
    frame.openByCommandKey("BVRAgen001001", false);
    const QTreeWidgetItem* folder = panel->tree()->topLevelItem(0);
    ASSERT_EQ(folder->childCount(), 1);
    emit panel->tree()->itemActivated(folder->child(0), 0);
    EXPECT_EQ(vra->currentKey(), "VRAjhn003016");
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
    ASSERT_TRUE(painted.wait(5000));
    EXPECT_TRUE(frame.frameRegistry().frames().empty());
}

TEST_F(MainFrameTest, ShortcutPanelReturnsWhenTheLastWindowCloses) {
    frame.openBibleVersion("KJV");
    frame.openBibleVersion("VRA")->showMaximized();
    EXPECT_FALSE(frame.shortcutBar()->isVisible());
    frame.action(cmd::CloseAll)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.frameRegistry().frames().empty());
    EXPECT_TRUE(frame.shortcutBar()->isVisible());

    // Maximising a new window moves it aside again.
    frame.openBibleVersion("VRA")->showMaximized();
    EXPECT_FALSE(frame.shortcutBar()->isVisible());
    // A panel the reader closed stays closed.
    frame.action(cmd::ToggleShortcutBar)->trigger();
    frame.action(cmd::ToggleShortcutBar)->trigger();
    EXPECT_FALSE(frame.shortcutBar()->isVisible());
    frame.action(cmd::CloseAll)->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(frame.shortcutBar()->isVisible());
}

TEST_F(MainFrameTest, SearchCommandsShowOneDialog) {
    QAction* verse = frame.action(cmd::VerseSearch);
    QAction* word = frame.action(cmd::WordSearch);
    ASSERT_NE(frame.searchDialog(), nullptr);
    EXPECT_FALSE(frame.searchDialog()->isVisible());
    verse->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame.searchDialog()->isVisible(); }));
    EXPECT_TRUE(verse->isChecked());
    word->trigger();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return frame.searchWord()->isVisible() && !frame.searchDialog()->isVisible(); }));
    EXPECT_FALSE(verse->isChecked());
    EXPECT_TRUE(word->isChecked());
}

TEST_F(MainFrameTest, AResultOpensItsVerseInFrontAndTheDialogStepsOffIt) {
    frame.setGeometry(0, 0, 760, 560);
    auto* vra = qobject_cast<CBibleFrame*>(frame.openWindow("VRA", "VRAgen001001"));
    ASSERT_NE(vra, nullptr);
    vra->showMaximized();
    frame.openWindow("TERM", "");
    frame.action(cmd::WordSearch)->trigger();
    CSearchWord* dialog = frame.searchWord();
    CGridCtrl* grid = dialog->grid();
    grid->appendRows({{{utf8ToCp949("창"), "1", "2", "text"}, 0}});
    const QWidget* marker = vra->view()->marker();
    const auto verseLine = [&] {
        return QRect(vra->view()->mapToGlobal(QPoint(0, 0)).x(),
                     marker->mapToGlobal(QPoint(0, 0)).y(), vra->view()->width(), marker->height());
    };
    const QRect screen = dialog->screen()->availableGeometry();
    dialog->resize(300, 140);
    grid->selectRow(1);
    dialog->OpenSelectedResult(); // through the command-key dispatch
    EXPECT_EQ(frame.mdiArea()->activeSubWindow(), vra);
    EXPECT_EQ(vra->currentKey(), "VRAgen001002");
    ASSERT_TRUE(marker->isVisible());
    // Over the verse: the dialog moves off its line, on the screen.
    dialog->move(verseLine().center() - QPoint(150, 70));
    ASSERT_TRUE(dialog->frameGeometry().intersects(verseLine()));
    dialog->OpenSelectedResult();
    EXPECT_FALSE(dialog->isMinimized());
    EXPECT_FALSE(dialog->frameGeometry().intersects(verseLine()));
    EXPECT_TRUE(screen.contains(dialog->frameGeometry()));

    // With no room beside the verse it minimises, and comes back as it was.
    dialog->resize(screen.size());
    dialog->move(screen.topLeft());
    dialog->OpenSelectedResult();
    EXPECT_TRUE(dialog->isMinimized());
    frame.action(cmd::WordSearch)->trigger();
    EXPECT_FALSE(dialog->isMinimized());
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
