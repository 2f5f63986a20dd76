#include "app/mainframe.h"

#include "../support/fixturedb.h"
#include "../support/testcontext.h"
#include "app/shortcutbar.h"
#include "biblewindow/bibleframe.h"
#include "platform/bookmarkcommands.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/settingsstore.h"
#include "reference/m14frame.h"
#include "richtext/childview.h"
#include "searchui/searchdialog.h"
#include "searchui/searchword.h"
#include "study/bookmarkpanel.h"
#include "widgets/childframe.h"
#include "widgets/dockbarsizes.h"
#include "widgets/gridctrl.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
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
    // Every command item of the menus, in menu order.
    std::vector<QAction*> menuItems() const {
        std::vector<QAction*> items;
        std::function<void(QMenu*)> collect = [&](QMenu* menu) {
            emit menu->aboutToShow();
            for (QAction* action : menu->actions())
                if (action->menu())
                    collect(action->menu());
                else if (action->data().isValid())
                    items.push_back(action);
        };
        for (QAction* top : frame.menuBar()->actions())
            collect(top->menu());
        return items;
    }
    QMenu* menu(int index) const { return frame.menuBar()->actions().at(index)->menu(); }
    bool enabled(int id) {
        frame.updateCommandStates();
        return frame.action(id)->isEnabled();
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

namespace {

TEST_F(MainFrameTest, EveryMenuItemReachesAHandledCommand) {
    // The commands that the main window leaves to its windows are handled by a Bible window.
    CChildFrame* bible = frame.openBibleVersion("VRA");
    ASSERT_NE(bible, nullptr);
    const std::vector<QAction*> items = menuItems();
    EXPECT_GT(items.size(), 50u);
    for (QAction* item : items) {
        const int id = item->data().toInt();
        EXPECT_EQ(frame.action(id), item) << id;
        QAction probe;
        EXPECT_TRUE(frame.runsCommand(id) || bible->updateCommand(id, &probe))
            << item->text().toStdString();
    }
}

TEST_F(MainFrameTest, EnablingFollowsTheActiveWindow) {
    for (int id :
         {cmd::Close, cmd::Print, cmd::ToggleSectionTitles, cmd::SyncMove, cmd::CascadeWindows})
        EXPECT_FALSE(enabled(id)) << id;
    for (int id : {cmd::OpenABOUT, cmd::VerseSearch, cmd::FontDialog, cmd::Help, cmd::About})
        EXPECT_TRUE(enabled(id)) << id;

    CChildFrame* bible = frame.openBibleVersion("VRA");
    for (int id : {cmd::Close, cmd::Print, cmd::ToggleSectionTitles, cmd::CascadeWindows})
        EXPECT_TRUE(enabled(id)) << id;

    // A topic window has no section titles; back on the Bible window they return. The
    // window steps are WindowListRunsFromTheNewestWindow's.
    frame.openWindow("ABOUT", "");
    EXPECT_FALSE(enabled(cmd::ToggleSectionTitles));
    frame.mdiArea()->setActiveSubWindow(bible);
    EXPECT_TRUE(enabled(cmd::ToggleSectionTitles));

    // The window menu lists the open windows with the active one checked.
    QMenu* windows = menu(5);
    emit windows->aboutToShow();
    QStringList checked;
    int listed = 0;
    for (QAction* item : windows->actions())
        if (!item->isSeparator() && !item->data().isValid()) {
            ++listed;
            if (item->isChecked())
                checked << item->text();
        }
    EXPECT_EQ(listed, 2);
    ASSERT_EQ(checked.size(), 1);
    EXPECT_TRUE(checked[0].endsWith(bible->windowTitle()));
}

TEST_F(MainFrameTest, HelpOpensTheIntroductionAtTheEntryOfTheActiveWindow) {
    frame.action(cmd::Help)->trigger();
    auto* about = qobject_cast<CM14Frame*>(frame.frameByCode("ABOUT"));
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->currentKey(), "ad0102");

    frame.openWindow("COMPARE4", "");
    frame.action(cmd::Help)->trigger();
    EXPECT_EQ(about->currentKey(), "ad0303");
    EXPECT_EQ(frame.mdiArea()->activeSubWindow(), about);

    frame.openBibleVersion("KJV");
    frame.action(cmd::Help)->trigger();
    EXPECT_EQ(about->currentKey(), "ad0202");
}

TEST_F(MainFrameTest, ProgramInformationIsWideEnoughForItsWholeTitle) {
    QString title;
    int width = 0;
    int needed = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        width = box->width();
        // A title bar: the icon, the title in its bold font and three buttons.
        QFont bold = QApplication::font("QMdiSubWindowTitleBar");
        bold.setBold(true);
        const int button = box->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        needed = QFontMetrics(bold).horizontalAdvance(title) + 4 * button + 24;
        box->done(0);
    });
    frame.action(cmd::About)->trigger();
    EXPECT_EQ(title, QStringLiteral("프로그램 정보"));
    EXPECT_GE(width, needed);
}

TEST_F(MainFrameTest, AMissingCompanionIsDisabledAndSaysSoFromThePanel) {
    // The daily diary's case is in the companion tests.
    EXPECT_FALSE(enabled(cmd::ReadingPlan));
    frame.statusBar()->clearMessage();
    frame.shortcutBar()->itemChosen(115);
    EXPECT_TRUE(frame.statusBar()->currentMessage().contains(QStringLiteral("qelplan")));
}

class ArrangementTest : public MainFrameTest {
protected:
    ArrangementTest() {
        frame.resize(1024, 720);
        for (const char* code : {"VRA", "COMPARE4", "SHORT", "BOOK", "PARALLEL"})
            windows.push_back(frame.openWindow(code, ""));
    }
    QRect area() const { return frame.mdiArea()->viewport()->rect(); }
    void expectInsideAndAtLeast(QSize least) const {
        for (CChildFrame* window : windows) {
            const QSize minimum = least.expandedTo(window->minimumSizeHint());
            EXPECT_TRUE(area().contains(window->geometry())) << window->code();
            EXPECT_FALSE(window->isMaximized()) << window->code();
            EXPECT_GE(window->width(), minimum.width()) << window->code();
            EXPECT_GE(window->height(), minimum.height()) << window->code();
        }
    }
    std::vector<CChildFrame*> windows;
};

TEST_F(ArrangementTest, NewWindowsCascadeAndTilingKeepEveryWindowUsableInsideTheArea) {
    for (CChildFrame* window : windows)
        ASSERT_NE(window, nullptr);
    expectInsideAndAtLeast(QSize());
    frame.action(cmd::CascadeWindows)->trigger();
    // Not squeezed to a title bar: room for the panes.
    expectInsideAndAtLeast(QSize(400, 260));
    EXPECT_EQ(frame.mdiArea()->activeSubWindow(), windows.back());
    // Also from a maximised window, and the main window keeps its size.
    const QSize frameSize = frame.size();
    for (int id : {cmd::TileVertically, cmd::TileHorizontally}) {
        windows.back()->showMaximized();
        frame.action(id)->trigger();
        EXPECT_EQ(frame.size(), frameSize);
        expectInsideAndAtLeast(QSize());
    }
}

TEST_F(ArrangementTest, AMaximisedDeskStaysMaximised) {
    windows.front()->showMaximized();
    frame.mdiArea()->setActiveSubWindow(windows.front());
    CChildFrame* his = frame.openWindow("COMPAREHIS", "");
    EXPECT_TRUE(his->isMaximized());
    frame.openWindow("VRA", "");
    EXPECT_EQ(frame.mdiArea()->activeSubWindow(), windows.front());
    EXPECT_TRUE(windows.front()->isMaximized());
    frame.openWindow("COMPAREHIS", "");
    EXPECT_TRUE(his->isMaximized());
}

// Terms to open at other than the first.
mkdb::ContentSources deskSources() {
    mkdb::ContentSources s = fixtureSources();
    for (const char* id : {"0", "1", "2"})
        s.articles["TERM"].push_back({id, std::string("{H}용어 ") + id + "{/H}"});
    return s;
}

// A main window of its own on the same settings: the next start of the program.
class DeskTest : public ::testing::Test {
protected:
    DeskTest() : test(deskSources()) {}
    std::unique_ptr<CMainFrame> start(std::string commandKey = "") {
        auto frame = std::make_unique<CMainFrame>(test.context, std::move(commandKey));
        frame->setExitConfirmation([] { return true; });
        frame->resize(1024, 720);
        QSignalSpy painted(frame.get(), &CMainFrame::firstPainted);
        frame->show();
        EXPECT_TRUE(painted.wait(5000));
        QCoreApplication::processEvents(); // the queued opening of the desk
        return frame;
    }
    static std::vector<std::string> codes(const CMainFrame& frame) {
        std::vector<std::string> result;
        for (QMdiSubWindow* window : frame.mdiArea()->subWindowList(QMdiArea::CreationOrder))
            result.push_back(static_cast<CChildFrame*>(window)->code());
        return result;
    }
    TestContext test;
};

TEST_F(DeskTest, ADeskOfFourWindowsSurvivesARestart) {
    const std::vector<std::pair<std::string, std::string>> places = {
        {"VRA", "VRAjhn003016"}, {"TERM", "2"}, {"COMPARE4", "248"}, {"PARALLEL", "gen001002"}};
    // The note bar, unlike the other panels, is remembered by the desk alone.
    const std::map<int, bool> panels = {
        {cmd::ToggleSectionTitles, true}, {cmd::ToggleRelated, false}, {cmd::ToggleNoteBar, true}};
    {
        auto first = start();
        for (const auto& [code, place] : places)
            ASSERT_NE(first->openWindow(code, place), nullptr) << code;
        auto* bible = qobject_cast<CBibleFrame*>(first->frameByCode("VRA"));
        for (const auto& [command, open] : panels)
            bible->setPanelOpen(command, open);
        bible->setGeometry(30, 40, 600, 400);
        first->shortcutBar()->hide();
        first->mdiArea()->setActiveSubWindow(first->frameByCode("TERM"));
        // The per-edition memory of the panels says otherwise; the desk wins.
        ASSERT_TRUE(test.context.store->writeInt(dockBarSection("VRA", cmd::ToggleSectionTitles),
                                                 "Visible", 0));
        first->close();
    }
    auto second = start();
    std::vector<std::string> expectedCodes;
    for (const auto& [code, place] : places) {
        expectedCodes.push_back(code);
        ASSERT_NE(second->frameByCode(code), nullptr) << code;
        EXPECT_EQ(second->frameByCode(code)->placeKey(), place) << code;
    }
    EXPECT_EQ(codes(*second), expectedCodes);
    auto* bible = qobject_cast<CBibleFrame*>(second->frameByCode("VRA"));
    for (const auto& [command, open] : panels)
        EXPECT_EQ(bible->panelOpen(command), open) << command;
    EXPECT_EQ(bible->geometry(), QRect(30, 40, 600, 400));
    EXPECT_EQ(second->mdiArea()->activeSubWindow(), second->frameByCode("TERM"));
    EXPECT_FALSE(second->shortcutBar()->isVisible());

    // A maximised desk comes back maximised.
    second->frameByCode("TERM")->showMaximized();
    second->close();
    second.reset();
    auto third = start();
    EXPECT_TRUE(third->frameByCode("TERM")->isMaximized());
    EXPECT_EQ(third->mdiArea()->activeSubWindow(), third->frameByCode("TERM"));
}

TEST_F(DeskTest, ACommandKeyWinsAndAWindowThatCannotOpenIsSkipped) {
    SettingsStore& store = *test.context.store;
    ASSERT_TRUE(store.writeInt("Desk", "Windows", 3));
    ASSERT_TRUE(store.writeString("Desk", "Window0", "XYZ 0 0 400 300 0"));
    ASSERT_TRUE(store.writeString("Desk", "Window1", "NIV 5000 5000 400 300 0"));
    ASSERT_TRUE(store.writeString("Desk", "Window2", "broken"));
    {
        auto keyed = start("BKJVgen001001");
        EXPECT_EQ(codes(*keyed), std::vector<std::string>{"KJV"});
        keyed->mdiArea()->closeAllSubWindows();
        keyed->close();
        keyed.reset();
        ASSERT_TRUE(store.writeInt("Desk", "Windows", 3));
        ASSERT_TRUE(store.writeString("Desk", "Window1", "NIV 5000 5000 400 300 0"));
    }
    auto frame = start();
    EXPECT_EQ(codes(*frame), std::vector<std::string>{"NIV"});
    // A place beyond the area is brought back inside it.
    EXPECT_TRUE(
        frame->mdiArea()->viewport()->rect().contains(frame->frameByCode("NIV")->geometry()));
}

// The desk opens at the first paint, before the window manager maximises the main window:
// its windows take their places once the area has its size, unless the reader moved them.
TEST_F(DeskTest, TheDeskTakesItsPlacesWhenTheAreaSettles) {
    SettingsStore& store = *test.context.store;
    ASSERT_TRUE(store.writeInt("Desk", "Windows", 2));
    ASSERT_TRUE(store.writeString("Desk", "Window0", "KJV 500 380 420 300 0"));
    ASSERT_TRUE(store.writeString("Desk", "Window1", "NIV 520 400 420 300 0"));
    auto frame = start();
    const auto settle = [&](int width, int height) {
        frame->resize(width, height);
        QCoreApplication::processEvents();
    };
    settle(700, 500);
    QMdiSubWindow* kjv = frame->frameByCode("KJV");
    QMdiSubWindow* niv = frame->frameByCode("NIV");
    EXPECT_TRUE(frame->mdiArea()->viewport()->rect().contains(kjv->geometry()));
    settle(1400, 1000);
    EXPECT_EQ(kjv->geometry(), QRect(500, 380, 420, 300));
    EXPECT_EQ(niv->geometry(), QRect(520, 400, 420, 300));
    niv->setGeometry(10, 10, 420, 300); // moved by the reader: it stays
    settle(700, 500);
    settle(1400, 1000);
    EXPECT_EQ(niv->geometry(), QRect(10, 10, 420, 300));
    EXPECT_EQ(kjv->geometry(), QRect(500, 380, 420, 300));
}

} // namespace
