#include "reference/m14frame.h"

#include "../support/fixturedb.h"
#include "../support/testcontext.h"
#include "../support/topicfixture.h"
#include "app/mainframe.h"
#include "app/shortcutbar.h"
#include "biblewindow/bibleframe.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "reference/chronologyview.h"
#include "reference/m14view.h"
#include "reference/mapframe.h"
#include "reference/mappane.h"
#include "reference/mapview.h"
#include "reference/topiclibrary.h"
#include "reference/topiclink.h"
#include "reference/topictrees.h"
#include "richtext/textpane.h"
#include "treesearch/treeandsearch.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace qel;

namespace {

// A main window over the fixture content, with the fixture topic files in its topic folder.
class TopicWindowTest : public ::testing::Test {
protected:
    explicit TopicWindowTest(bool withTopics = true) : test(fixtureSources()) {
        test.context.paths.topicFolder = test.dir.str() + "/Data/M14/";
        if (withTopics)
            buildFixtureTopics(test.dir.path() / "work", test.context.paths.topicFolder);
        main = std::make_unique<CMainFrame>(test.context, "");
        main->setExitConfirmation([] { return true; });
        main->resize(1200, 800);
        main->show();
    }

    CM14Frame* open(const std::string& code, const std::string& place = "") {
        return static_cast<CM14Frame*>(main->openWindow(code, place));
    }

    // The plain text the library of a kind shows now.
    static std::string shown(TopicLibraryKind kind) {
        CTextPane* pane = TopicLibrary::of(kind).textPane();
        if (!pane)
            return {};
        pane->selectAll();
        return cp949ToUtf8(pane->selectedText());
    }

    static bool contains(const std::string& text, const char* part) {
        return text.find(part) != std::string::npos;
    }

    TestContext test;
    std::unique_ptr<CMainFrame> main;
};

class MissingTopicsTest : public TopicWindowTest {
protected:
    MissingTopicsTest() : TopicWindowTest(false) {}
};

// A mode 9 table for the language switch; which topics stay Korean is the panel's rule.
const TopicTable& shortFixtureTree() {
    static const TopicTable table = convertTopics(
        std::vector<RawTopic>{{0, "", "사랑"}, {1, "SK0100000001", "사랑"}, {-1, "", ""}});
    return table;
}

} // namespace

// Keys with "f" show a map alone; a map topic with its drawn map shows the map above its
// text, and the map buttons work on it; one without shows its text alone.
TEST_F(TopicWindowTest, MapKeysShowTheMapAndAMapTopicItsDrawnMapAboveItsText) {
    test.context.paths.mapFolder = test.dir.str() + "/MAP/";
    std::filesystem::create_directories(test.context.paths.mapFolder);
    // The half-size map is half the large one, as qel-mkdb draws them.
    for (char kind : {'b', 's', 'i'}) {
        QImage picture(kind == 's' ? 200 : 400, kind == 's' ? 150 : 300, QImage::Format_RGB32);
        picture.fill(Qt::yellow);
        ASSERT_TRUE(picture.save(QString::fromStdString(topicMapFileName(
                                     test.context.paths.mapFolder, "m000000000001", kind)),
                                 "BMP"));
    }
    CM14Frame* map = open("MAP", "f1");
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(map->showsMap());
    auto* mapView = dynamic_cast<CMapView*>(map->rightPane());
    ASSERT_NE(mapView, nullptr);
    EXPECT_EQ(mapView->mapNumber(), 1);
    EXPECT_FALSE(map->topicView()->isVisible());

    map->Navigate("m000000000001", true);
    ASSERT_NE(map->topicSplit(), nullptr);
    EXPECT_EQ(map->rightPane(), map->topicSplit());
    ASSERT_EQ(map->mapView()->widget(), mapView);
    EXPECT_TRUE(mapView->loaded());
    EXPECT_TRUE(mapView->isVisible());
    EXPECT_TRUE(map->topicView()->isVisible());
    QApplication::processEvents();
    EXPECT_GT(map->topicSplit()->width(), 100);
    EXPECT_TRUE(contains(shown(TopicLibraryKind::Ma), "아브라함이 하란을 떠났다"));
    // It opens on the whole map; the zoom button shows the large one.
    EXPECT_TRUE(mapView->smallScale());
    EXPECT_FALSE(map->toggleMapZoom());
    EXPECT_FALSE(mapView->smallScale());

    // Both places are pages: Back goes to the map again, which takes the pane alone.
    map->handleCommand(cmd::Back);
    EXPECT_EQ(map->rightPane(), mapView);
    EXPECT_EQ(map->currentKey(), "f1");
    map->Navigate("m000000000001", true);
    EXPECT_EQ(map->rightPane(), map->topicSplit());
    EXPECT_EQ(map->splitter()->count(), 2);
    EXPECT_EQ(map->topicSplit()->count(), 2);
    // Without its drawn map the topic shows its text alone, after its split or a map.
    std::filesystem::remove(topicMapFileName(test.context.paths.mapFolder, "m000000000001", 'b'));
    for (const char* from : {"m000000000001", "f1"}) {
        map->Navigate(from, true);
        map->Navigate("m000000000001", true);
        EXPECT_EQ(map->rightPane(), map->topicView()) << from;
        EXPECT_FALSE(mapView->isVisible()) << from;
        EXPECT_EQ(map->splitter()->count(), 2) << from;
    }
}

TEST_F(TopicWindowTest, AVerseLinkPutsTheTopicLeftAndTheBibleRight) {
    CM14Frame* photo = open("PHOTO", "PHI010000001");
    ASSERT_NE(photo, nullptr);
    ASSERT_TRUE(main->shortcutBar()->isVisible());
    TopicLinkEvent link("BVRAgen001001");
    QApplication::sendEvent(photo->topicView(), &link);

    auto* vra = qobject_cast<CBibleFrame*>(main->frameRegistry().findByCode("VRA"));
    ASSERT_NE(vra, nullptr);
    EXPECT_EQ(vra->currentKey(), "VRAgen001001");
    EXPECT_FALSE(main->shortcutBar()->isVisible());
    const QSize area = main->mdiArea()->viewport()->size();
    EXPECT_EQ(photo->geometry(), QRect(0, 0, area.width() / 2, area.height()));
    EXPECT_EQ(vra->geometry(),
              QRect(area.width() / 2, 0, area.width() - area.width() / 2, area.height()));

    // Links to other places open them without moving the windows.
    vra->setGeometry(10, 10, 300, 200);
    TopicLinkEvent kjv("BKJVgen001001");
    QApplication::sendEvent(photo->topicView(), &kjv);
    EXPECT_NE(main->frameRegistry().findByCode("KJV"), nullptr);
    EXPECT_EQ(vra->geometry(), QRect(10, 10, 300, 200));
}

TEST_F(TopicWindowTest, TheChronologyScrollsToItsEntriesAndNeverRecordsThem) {
    CM14Frame* his = open("HIS", "3");
    ASSERT_NE(his, nullptr);
    his->Navigate("2", true);
    EXPECT_EQ(his->history().index(), -1);
    CChronologyView* chart = TopicLibrary::of(TopicLibraryKind::Hi).chronology();
    ASSERT_NE(chart, nullptr);
    ASSERT_EQ(chart->records().size(), 4u);
    EXPECT_EQ(chart->selected(), 1);
    EXPECT_TRUE(contains(shown(TopicLibraryKind::Hi), "약 주전 1010년"));

    // Scrolling to the entry brings it into view; a click on another shows its body.
    his->Navigate("4", true);
    QRect box = chart->entryRect(3).translated(-chart->horizontalScrollBar()->value(),
                                               -chart->verticalScrollBar()->value());
    EXPECT_TRUE(chart->viewport()->rect().intersects(box));
    chart->horizontalScrollBar()->setValue(0);
    box = chart->entryRect(0).translated(0, -chart->verticalScrollBar()->value());
    QTest::mouseClick(chart->viewport(), Qt::LeftButton, {}, box.center() + QPoint(2, 0));
    EXPECT_EQ(chart->selected(), 0);
    EXPECT_TRUE(contains(shown(TopicLibraryKind::Hi), "아브라함부터 요셉까지"));
    EXPECT_EQ(his->history().index(), -1);

    // Printing prints the whole chart.
    const std::string pdf = test.dir.str() + "/chronology.pdf";
    TopicLibrary::setPrintDialog([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    });
    EXPECT_TRUE(his->handleCommand(cmd::Print));
    TopicLibrary::setPrintDialog({});
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
}

TEST_F(TopicWindowTest, TopicsKeepTheirPagesAndAnswerTheTextCommands) {
    CM14Frame* came = open("CAME", "ca0001");
    ASSERT_NE(came, nullptr);
    // The title names the topic as the tree knows it.
    const std::optional<std::string> name = lookupTitle(4, cameTree(), "ca0001");
    ASSERT_TRUE(name);
    EXPECT_EQ(came->windowTitle(), QStringLiteral("성서가 우리에게 오기까지 - ") +
                                       QString::fromStdString(cp949ToUtf8(*name)));
    came->Navigate("ca0002", true);
    EXPECT_TRUE(contains(shown(TopicLibraryKind::Ca), "필사자들이"));
    came->handleCommand(cmd::Back);
    EXPECT_EQ(came->currentKey(), "ca0001");
    EXPECT_TRUE(contains(shown(TopicLibraryKind::Ca), "처음 말씀은"));

    // Opening the window again keeps its topic, or goes to the one given.
    EXPECT_EQ(open("CAME"), came);
    EXPECT_EQ(came->currentKey(), "ca0001");
    EXPECT_EQ(open("CAME", "ca0002"), came);
    EXPECT_EQ(came->currentKey(), "ca0002");

    QGuiApplication::clipboard()->clear();
    came->handleCommand(cmd::SelectAll);
    came->handleCommand(cmd::Copy);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QStringLiteral("필사자들이")));

    const std::string pdf = test.dir.str() + "/topic.pdf";
    int asked = 0;
    TopicLibrary::of(TopicLibraryKind::Ca)
        .textPane()
        ->setPrintDialog([&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf));
            return ++asked, true;
        });
    EXPECT_TRUE(came->handleCommand(cmd::PartialPrint));
    EXPECT_EQ(asked, 1);
    EXPECT_GT(std::filesystem::file_size(pdf), 0u);

    // The first maximise moves the shortcut panel aside.
    ASSERT_TRUE(main->shortcutBar()->isVisible());
    came->showMaximized();
    EXPECT_FALSE(main->shortcutBar()->isVisible());
}

TEST_F(TopicWindowTest, TheLanguageSwitchReadsTheKjvExceptForKoreanOnlyTopics) {
    CM14Frame* shorts = open("SHORT");
    ASSERT_NE(shorts, nullptr);
    CTreeAndSearch* panel = shorts->panel();
    panel->SetMode(panelmode::Topics, shortFixtureTree());
    EXPECT_EQ(shorts->currentKey(), "SK0100000001");
    EXPECT_EQ(shorts->windowTitle(), QStringLiteral("주제별 단편 성서 - 사랑"));
    std::string text = shown(TopicLibraryKind::Sh);
    EXPECT_TRUE(contains(text, "창세기 1:1")) << text;
    EXPECT_TRUE(contains(text, "맨 처음에"));

    QTest::mouseClick(panel->extraButton(), Qt::LeftButton);
    EXPECT_EQ(shorts->currentKey(), "SE0100000001");
    EXPECT_EQ(shorts->windowTitle(), QStringLiteral("주제별 단편 성서 - 사랑"));
    text = shown(TopicLibraryKind::Sh);
    EXPECT_TRUE(contains(text, "Genesis 1:1")) << text;
    EXPECT_TRUE(contains(text, "In the beginning"));
}

TEST_F(TopicWindowTest, AnUnknownWindowCodeBindsOperationsThatDoNothing) {
    CM14View view;
    view.Bind("NOSUCH", test.context.paths.topicFolder);
    EXPECT_EQ(view.kind(), -1);
    EXPECT_TRUE(view.dataPath().empty());
    EXPECT_EQ(view.ShowTopic("ca0001"), 0);
    EXPECT_EQ(view.binding().attach(&view), 0);
    EXPECT_EQ(view.binding().open(&view, "x"), 0);
    EXPECT_EQ(view.binding().move(), 0);
    EXPECT_EQ(view.binding().print(), 0);
    EXPECT_EQ(view.binding().copy(), 0);
    EXPECT_EQ(view.binding().selectAll(), 0);
    EXPECT_TRUE(view.children().isEmpty()) << "no library put a window into it";
}

TEST_F(TopicWindowTest, TheShortcutTreeMenuAndKeysOpenTopicWindows) {
    main->action(cmd::OpenABOUT)->trigger();
    CChildFrame* about = main->frameRegistry().findByCode("ABOUT");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(main->action(cmd::OpenSHORT)->isEnabled());
    CChildFrame* photo = main->openByCommandKey("PPHI010000001", false);
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(static_cast<CM14Frame*>(photo)->currentKey(), "PHI010000001");
    EXPECT_EQ(main->openByCommandKey("H3", false)->code(), "HIS");
    EXPECT_EQ(main->openByCommandKey("Mf2", false)->code(), "MAP");
    EXPECT_TRUE(static_cast<CM14Frame*>(main->frameRegistry().findByCode("MAP"))->showsMap());
    EXPECT_TRUE(main->pendingPlace().empty());
}

TEST_F(MissingTopicsTest, AMissingOrDamagedFileShowsOneLineAndNothingElse) {
    CM14Frame* came = open("CAME", "ca0001");
    ASSERT_NE(came, nullptr);
    EXPECT_FALSE(TopicLibrary::of(TopicLibraryKind::Ca).fileOpen());
    const std::string text = shown(TopicLibraryKind::Ca);
    EXPECT_TRUE(contains(text, "ca.m14")) << text;
    EXPECT_EQ(text.find('\n'), std::string::npos) << "one line";
    came->handleCommand(cmd::Copy);
    came->handleCommand(cmd::SelectAll);

    std::filesystem::create_directories(test.context.paths.topicFolder);
    std::ofstream(test.context.paths.topicFolder + "hi.m14") << "SQLite format 3 but not really";
    CM14Frame* his = open("HIS", "1");
    ASSERT_NE(his, nullptr);
    EXPECT_TRUE(TopicLibrary::of(TopicLibraryKind::Hi).chronology()->records().empty());
    EXPECT_TRUE(contains(shown(TopicLibraryKind::Hi), "hi.m14"));
    his->handleCommand(cmd::Print);
}
