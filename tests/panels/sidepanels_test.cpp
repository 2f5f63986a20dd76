#include "panels/relatedword.h"

#include "../richtext/viewtestframe.h"
#include "../support/shownmessages.h"
#include "../support/tempdir.h"
#include "app/fontresolver.h"
#include "app/mainframe.h"
#include "app/shortcutbar.h"
#include "biblewindow/bibleframe.h"
#include "panels/relatedcontent.h"
#include "panels/sectiontitles.h"
#include "panels/smalltitles.h"
#include "platform/appcontext.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/database.h"
#include "richtext/textdisplay.h"
#include "richtext/textpane.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

using namespace qel;
using namespace viewtest;

namespace {

// The built sample content with settings in a temporary folder; the main frame can be
// closed and made again, as at a restart.
class SidePanelTest : public ::testing::Test {
protected:
    SidePanelTest() {
        installFontSubstitutions();
        context.displayFont = makeDisplayFont(context.settings, 96);
        context.store = std::make_unique<SettingsStore>(settingsFile());
        // The note bars keep their notes here.
        context.paths.installRoot = dir.str() + "/";
        context.contentDb.open(QEL_BUILT_CONTENT_DB, Database::Mode::ReadOnly);
        start();
    }

    std::string settingsFile() const { return (dir.path() / "settings.ini").string(); }

    void start() {
        frame = std::make_unique<CMainFrame>(context, "");
        frame->setExitConfirmation([] { return true; });
        frame->resize(1000, 700);
        frame->show();
        settle();
    }
    // Closes the program, lets `edit` change the settings file, and starts again.
    void restart(const std::function<void(SettingsStore&)>& edit = {}) {
        frame.reset();
        if (edit)
            edit(*context.store);
        context.store = std::make_unique<SettingsStore>(settingsFile());
        start();
    }
    static void settle() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    CBibleFrame* open(const std::string& version, const std::string& place) {
        frame->pendingPlace() = place;
        auto* window = static_cast<CBibleFrame*>(frame->openBibleVersion(version));
        settle();
        return window;
    }
    static std::string shown(CRelatedWord* bar) {
        std::string text;
        for (const MarkupNode* n = bar->content().head(); n; n = n->next())
            text += n->text;
        return cp949ToUtf8(text);
    }

    TempDir dir;
    AppContext context;
    std::unique_ptr<CMainFrame> frame;
    ShownMessages messages;
};

} // namespace

TEST_F(SidePanelTest, EveryVerseShownReplacesTheRelatedContentAndItsLinksOpenTheirVerse) {
    CBibleFrame* vra = open("VRA", "VRAjhn003016");
    CRelatedWord* bar = vra->relatedBar();
    ASSERT_FALSE(bar->isVisible());
    EXPECT_NE(shown(bar).find("요 3:17"), std::string::npos) << shown(bar);
    // Genesis 1:2 has no row: the pane that showed John 3:16 is emptied.
    vra->GoTo("gen", "1", "2", false, true);
    EXPECT_EQ(shown(bar), "");
    EXPECT_TRUE(messages.empty());

    // Back on John 3:16 it fills again; shown, its text copies and a link in it opens its verse.
    vra->GoTo("jhn", "3", "16", false, true);
    vra->handleCommand(cmd::ToggleRelated);
    settle();
    CTextPane* pane = bar->pane();
    ASSERT_TRUE(pane->laidOut());

    pane->setFocus();
    pane->selectAll();
    frame->updateCommandStates();
    EXPECT_TRUE(frame->action(cmd::Copy)->isEnabled());
    frame->action(cmd::Copy)->trigger();
    EXPECT_NE(QGuiApplication::clipboard()->text().toStdString().find("요 3:17"),
              std::string::npos);

    const MarkupNode* link = pieceWith(bar->content(), utf8ToCp949("요 3:17"));
    ASSERT_NE(link, nullptr);
    const QPoint at(link->left + 5, (link->top + link->bottom) / 2 - pane->scrollPosition());
    press(pane->viewport(), at);
    release(pane->viewport(), at);
    settle();
    EXPECT_EQ(vra->currentVerse(), "17");
    // The panel follows to the verse it opened, which names no link to itself.
    EXPECT_EQ(shown(bar).find("요 3:17"), std::string::npos) << shown(bar);
}

TEST_F(SidePanelTest, DockBarSizesSurviveARestartAndStayInBounds) {
    ShortcutBar* bar = frame->shortcutBar();
    EXPECT_EQ(bar->width(), 200);
    frame->resizeDocks({bar}, {260}, Qt::Horizontal);
    settle();
    restart();
    EXPECT_EQ(frame->shortcutBar()->width(), 260);

    // Unreadable and narrow values are the sizes' own rule (DockBarSizes); a bar wider than the
    // window would hide the windows.
    const std::string section = frame->shortcutBar()->section();
    restart([&](SettingsStore& store) { store.writeInt(section, "sizeVertCX", 5000); });
    EXPECT_LE(frame->shortcutBar()->width(), frame->width());
    EXPECT_GT(frame->shortcutBar()->width(), 200);
}

// The related panel belongs to VRA only, the titles panel to all but VRD and KJV; both
// start hidden and are toggled from the main menu.
TEST_F(SidePanelTest, PanelsBelongToTheirEditionsStartHiddenAndToggle) {
    CBibleFrame* kjv = open("KJV", "KJVjhn003016");
    EXPECT_EQ(kjv->titlesBar(), nullptr);
    EXPECT_EQ(kjv->relatedBar(), nullptr);
    EXPECT_EQ(open("VRD", "")->titlesBar(), nullptr);
    frame->updateCommandStates();
    QAction* toggleTitles = frame->action(cmd::ToggleSectionTitles);
    QAction* toggleRelated = frame->action(cmd::ToggleRelated);
    EXPECT_FALSE(toggleTitles->isEnabled());
    EXPECT_FALSE(toggleRelated->isEnabled());
    CBibleFrame* vra = open("VRA", "VRAjhn003016");
    CSmallTitles* titles = vra->titlesBar();
    CRelatedWord* related = vra->relatedBar();
    ASSERT_TRUE(titles && related);
    EXPECT_FALSE(titles->isVisible());
    EXPECT_FALSE(related->isVisible());
    frame->updateCommandStates();
    ASSERT_TRUE(toggleTitles->isEnabled() && toggleRelated->isEnabled());
    EXPECT_FALSE(toggleRelated->isChecked());
    toggleTitles->trigger();
    toggleRelated->trigger();
    settle();
    EXPECT_TRUE(titles->isVisible() && toggleTitles->isChecked());
    EXPECT_TRUE(related->isVisible() && toggleRelated->isChecked());
    auto* inner = qobject_cast<QMainWindow*>(related->parentWidget());
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->dockWidgetArea(related), Qt::BottomDockWidgetArea);
    EXPECT_TRUE(vra->handleCommand(cmd::ToggleRelatedBar));
    EXPECT_FALSE(related->isVisible());

    // Wide enough for both tabs whole and three in four of the first book's titles.
    const QTabBar* bar = titles->tabs()->tabBar();
    for (int i = 0; i < bar->count(); ++i)
        EXPECT_GT(bar->tabRect(i).width(), bar->fontMetrics().horizontalAdvance(bar->tabText(i)))
            << i;
    EXPECT_LE(bar->tabRect(bar->count() - 1).right(), titles->tabs()->width());
    QTreeWidget* tree = titles->tree();
    QTreeWidgetItem* genesis = tree->topLevelItem(0);
    emit tree->itemDoubleClicked(genesis, 0);
    settle();
    ASSERT_GT(genesis->childCount(), 0);
    int whole = 0;
    for (int i = 0; i < genesis->childCount(); ++i) {
        QTreeWidgetItem* title = genesis->child(i);
        tree->scrollToItem(title);
        whole += tree->visualItemRect(title).left() +
                     tree->fontMetrics().horizontalAdvance(title->text(0)) <=
                 tree->viewport()->width();
    }
    EXPECT_GE(whole * 4, genesis->childCount() * 3);
    // The inner edge keeps 100 px from the left and 250 px from the right of the window.
    EXPECT_EQ(titles->minimumWidth(), 100);
    EXPECT_EQ(titles->maximumWidth(), vra->width() - 250);
}

TEST_F(SidePanelTest, ABookLoadsItsTitlesOnceAndATitleMovesTheWindow) {
    CBibleFrame* vra = open("VRA", "VRAgen001001");
    CSmallTitles* titles = vra->titlesBar();
    QTreeWidgetItem* john = nullptr;
    for (int i = 0; i < titles->tree()->topLevelItemCount(); ++i)
        if (titles->tree()->topLevelItem(i)->text(0) == QStringLiteral("요한복음"))
            john = titles->tree()->topLevelItem(i);
    ASSERT_NE(john, nullptr);
    EXPECT_EQ(john->childCount(), 0);
    emit titles->tree()->itemDoubleClicked(john, 0);
    const int loaded = john->childCount();
    ASSERT_GT(loaded, 0);
    EXPECT_TRUE(john->isExpanded());
    emit titles->tree()->itemDoubleClicked(john, 0);
    EXPECT_EQ(john->childCount(), loaded);
    EXPECT_FALSE(john->isExpanded());

    EXPECT_FALSE(vra->history().canGoBack());
    QTreeWidgetItem* first = john->child(0);
    const TitlePlace place = titlePlace(utf8ToCp949(first->text(0).toStdString()));
    emit titles->tree()->itemDoubleClicked(first, 0);
    EXPECT_EQ(vra->currentBook(), "jhn");
    EXPECT_EQ(vra->currentChapter(), place.chapter);
    EXPECT_EQ(vra->currentVerse(), place.verse);
    // Recorded as a page of its own.
    EXPECT_TRUE(vra->history().canGoBack());
    EXPECT_EQ(vra->history().current().substr(0, 6), "VRAjhn");
}

TEST_F(SidePanelTest, TitleSearchListsHitsAndEnterSearches) {
    CBibleFrame* vre = open("VRE", "VREgen001001");
    CSmallTitles* titles = vre->titlesBar();
    vre->handleCommand(cmd::ToggleSectionTitles);
    titles->tabs()->setCurrentIndex(1);
    settle();
    titles->searchBox()->setEditText(QStringLiteral("니고데모"));
    QTest::keyClick(titles->searchBox(), Qt::Key_Return);
    // The hit's text is SectionTitles' own; the window lists it and opens its place.
    ASSERT_EQ(titles->hits()->count(), 1);
    emit titles->hits()->itemDoubleClicked(titles->hits()->item(0));
    EXPECT_EQ(vre->currentBook() + " " + vre->currentChapter(), "jhn 3");

    // An empty search only clears the list and still goes into the history.
    const int history = titles->searchBox()->count();
    titles->searchBox()->setEditText(QString());
    titles->SearchTitles();
    EXPECT_EQ(titles->hits()->count(), 0);
    EXPECT_EQ(titles->searchBox()->count(), history + 1);
    EXPECT_EQ(titles->searchBox()->itemText(0), QString());
}

TEST_F(SidePanelTest, PanelsLeftOpenReopenAfterARestartAtTheirDockedWidth) {
    CBibleFrame* vra = open("VRA", "VRAjhn003016");
    vra->handleCommand(cmd::ToggleSectionTitles);
    vra->handleCommand(cmd::ToggleRelated);
    settle();
    const int docked = vra->titlesBar()->width();
    restart();
    vra = open("VRA", "VRAjhn003016");
    ASSERT_TRUE(vra->titlesBar()->isVisible());
    EXPECT_TRUE(vra->relatedBar()->isVisible());
    // The docked width, whatever room the tree inside would like.
    EXPECT_EQ(vra->titlesBar()->width(), docked);
    EXPECT_LE(docked, 300);
    // Each version keeps its own.
    EXPECT_FALSE(open("VRE", "VREjhn003016")->titlesBar()->isVisible());

    // The panel's close box counts; closing the window with its panels open does not.
    vra->titlesBar()->close();
    frame->mdiArea()->closeAllSubWindows();
    settle();
    restart();
    vra = open("VRA", "VRAjhn003016");
    EXPECT_FALSE(vra->titlesBar()->isVisible());
    EXPECT_TRUE(vra->relatedBar()->isVisible());
}

TEST(RelatedWord, AnOverlongTextOrADamagedTableLeavesThePaneEmpty) {
    TempDir dir;
    const std::string file = (dir.path() / "c.db").string();
    {
        Database db(file, Database::Mode::Create);
        db.execute("create table REF (volcode TEXT, chap TEXT, sec TEXT, body TEXT)");
        db.execute("insert into REF values ('jhn', '3', '16', ?)",
                   {std::string(kRelatedContentLimit + 1, 'a')});
        db.execute("insert into REF values ('jhn', '3', '17', 'short')");
    }
    AppContext context;
    context.contentDb.open(file, Database::Mode::ReadOnly);
    ShownMessages messages;
    QMainWindow window;
    TextDisplay display;
    CRelatedWord bar(display, context, "VRA", &window);
    bar.ShowRelated("jhn", "003", "17");
    EXPECT_NE(bar.content().head(), nullptr);
    bar.ShowRelated("jhn", "3", "16");
    EXPECT_EQ(messages, std::vector<std::string>{"Memory full..."});
    EXPECT_EQ(bar.content().head(), nullptr);

    // A table the query cannot read: the panel shows nothing and the program goes on.
    bar.ShowRelated("jhn", "3", "17");
    context.contentDb.close();
    {
        Database db(file, Database::Mode::ReadWrite);
        db.execute("drop table REF");
    }
    context.contentDb.open(file, Database::Mode::ReadOnly);
    EXPECT_NO_THROW(bar.ShowRelated("jhn", "3", "17"));
    EXPECT_EQ(bar.content().head(), nullptr);
}
