#include "biblewindow/bibleframe.h"

#include "../richtext/viewtestframe.h"
#include "../support/shownmessages.h"
#include "../support/testcontext.h"
#include "app/mainframe.h"
#include "bible/navigationbar.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/highlightcommands.h"
#include "platform/messagesink.h"
#include "richtext/childview.h"
#include "richtext/highlightmarks.h"
#include "study/study.h"
#include "widgets/gridctrl.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace qel;

namespace {

mkdb::ContentSources bibleSources() {
    mkdb::ContentSources s;
    auto& vra = s.versions["VRA"];
    vra = {{"gen", "1", "1", "맨 처음에"},
           {"gen", "1", "2", "땅은"},
           {"gen", "2", "1", "다 이루니라"}};
    for (int chapter = 1; chapter <= 23; ++chapter)
        vra.push_back({"psa", std::to_string(chapter), "1", "시 " + std::to_string(chapter)});
    for (const char* verse : {"1", "2", "3-5", "6"})
        vra.push_back({"rom", "12", verse, std::string("로마서 12:") + verse});
    for (int verse = 1; verse <= 36; ++verse)
        vra.push_back({"jhn", "3", std::to_string(verse),
                       "요한복음 3장 " + std::to_string(verse) +
                           "절의 본문은 이렇게 길게 이어지고 "
                           "다음 줄까지 넘어가서 창의 너비에 따라 줄 수가 달라진다."});
    s.versions["VRB"] = {{"gen", "1", "1", "한처음에"}, {"tob", "1", "1", "토비트의 이야기"}};
    for (const char* version : {"VRB", "VRC"})
        for (int chapter = 1; chapter <= 4; ++chapter)
            s.versions[version].push_back(
                {"psa", std::to_string(chapter), "1", "시편 " + std::to_string(chapter)});
    s.versions["KJV"] = {
        {"gen", "1", "1", "In the beginning God created the heaven and the earth."},
        {"gen", "1", "2", "And the earth was without form, and void."}};
    return s;
}

class BibleFrameTest : public ::testing::Test {
protected:
    BibleFrameTest() : test(bibleSources()), frame(test.context, "") {
        frame.setExitConfirmation([] { return true; });
        frame.show();
    }

    CBibleFrame* open(const std::string& version, const std::string& place = {}) {
        frame.pendingPlace() = place;
        return static_cast<CBibleFrame*>(frame.openBibleVersion(version));
    }
    static std::string selected(QComboBox* box) { return box->currentText().toStdString(); }
    static std::string place(const CBibleFrame* window) {
        return window->currentBook() + " " + window->currentChapter() + " " +
               window->currentVerse();
    }
    // Whether the window's page holds a UTF-8 text.
    static bool shows(const CBibleFrame* window, const std::string& text) {
        std::string page;
        for (const MarkupNode* n = window->content().head(); n; n = n->next())
            page += n->text;
        return cp949ToUtf8(page).find(text) != std::string::npos;
    }
    void closeAll() {
        frame.mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The characters of the window's page that the view paints on a colour.
    static std::string highlighted(const CBibleFrame* window, int colour) {
        std::string text;
        for (const NodeMark& m : markVerses(window->content(), window->view()->highlights()))
            if (m.colour == colour)
                text += m.node->text.substr(m.byteStart, m.byteEnd - m.byteStart);
        return cp949ToUtf8(text);
    }
    static void choose(QComboBox* box, int row) {
        box->setCurrentIndex(row);
        emit box->activated(row);
    }

    TestContext test;
    CMainFrame frame;
    ShownMessages messages;
};

} // namespace

TEST_F(BibleFrameTest, AVerseInsideARangeSelectsItAndClosingStoresItsFirstNumber) {
    CBibleFrame* vra = open("VRA", "VRArom012004");
    EXPECT_EQ(vra->currentVerse(), "3-5");
    EXPECT_EQ(selected(vra->navigationBar()->verseBox()), "3-5");
    closeAll();
    EXPECT_EQ(test.context.store->readString("Last Staus", "VRA", ""), "rom012003");
    const CBibleFrame* reopened = open("VRA");
    EXPECT_EQ(reopened->currentChapter(), "12");
    EXPECT_EQ(reopened->currentVerse(), "3-5");
}

TEST_F(BibleFrameTest, NextChapterStopsAtTheLastChapterAndTheKeyFollowsEveryMove) {
    CBibleFrame* vra = open("VRA", "VRAgen002001");
    EXPECT_FALSE(vra->canGoNextChapter());
    vra->handleCommand(cmd::NextChapter);
    EXPECT_EQ(vra->currentChapter(), "2");
    vra->handleCommand(cmd::PreviousChapter);
    EXPECT_EQ(vra->currentChapter(), "1");
    vra->GoTo("gen", "1", "2", false, true);
    EXPECT_EQ(vra->currentKey(), "VRAgen001002");
    choose(vra->navigationBar()->verseBox(), 0);
    EXPECT_EQ(vra->currentKey(), "VRAgen001001");
}

TEST_F(BibleFrameTest, SynchronisedMoveToABookOneVersionLacks) {
    CBibleFrame* vra = open("VRA", "VRAgen001002");
    CBibleFrame* vrb = open("VRB");
    vrb->handleCommand(cmd::SyncMove);
    QComboBox* books = vrb->navigationBar()->bookBox();
    choose(books, vrb->navigationBar()->rowOfBookCode("tob"));
    EXPECT_EQ(vrb->currentBook(), "tob");
    EXPECT_EQ(vra->currentBook(), "gen"); // place kept
    EXPECT_EQ(vra->currentVerse(), "2");
    ASSERT_FALSE(vra->content().empty());
    EXPECT_TRUE(shows(vra, "성경전서 역본 가에 없는 본문"));

    const int pages = vra->history().index();
    choose(books, vrb->navigationBar()->rowOfBookCode("gen"));
    EXPECT_EQ(vra->currentVerse(), "1"); // moved along
    // The notice gives way to the chapter, which is not a new page.
    EXPECT_FALSE(shows(vra, "없는 본문"));
    EXPECT_TRUE(shows(vra, "맨 처음에"));
    EXPECT_EQ(vra->history().index(), pages);

    // Also when the reader picks a verse of the chapter the notice covered.
    choose(books, vrb->navigationBar()->rowOfBookCode("tob"));
    ASSERT_TRUE(shows(vra, "없는 본문"));
    vrb->handleCommand(cmd::SyncMove);
    choose(vra->navigationBar()->verseBox(), 1);
    EXPECT_EQ(vra->currentVerse(), "2");
    EXPECT_TRUE(shows(vra, "땅은"));
}

// No stored place or a damaged one opens at Genesis 1:1.
TEST_F(BibleFrameTest, DamagedStoredPlacesOpenAtGenesisOneOne) {
    CBibleFrame* first = open("VRA");
    EXPECT_EQ(first->currentKey(), "VRAgen001001");
    EXPECT_EQ(selected(first->navigationBar()->bookBox()), "창세기");
    EXPECT_EQ(first->placeText(true), utf8ToCp949("역본 가 : 창세기 1 장 1 절"));
    closeAll();
    // The forms a stored key may take are VerseKey.StoredForm's; here that the window asks.
    const std::string damaged[] = {"gen001001" + std::string(991, '1'), "tob001001", ""};
    for (const std::string& value : damaged) {
        test.context.store->writeString("Last Staus", "VRA", value);
        CBibleFrame* vra = open("VRA");
        EXPECT_EQ(vra->currentKey(), "VRAgen001001") << value.substr(0, 12);
        EXPECT_TRUE(shows(vra, "맨 처음에"));
        closeAll();
    }
    // A book is checked against the version's own table.
    test.context.store->writeString("Last Staus", "VRB", "tob001001");
    EXPECT_EQ(open("VRB")->currentKey(), "VRBtob001001");
}

TEST_F(BibleFrameTest, CopyFollowsAMouseSelection) {
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    CBibleFrame* vra = open("VRA", "VRArom012001");
    QWidget* viewport = vra->view()->viewport();
    QAction* copy = frame.action(cmd::Copy);
    EXPECT_FALSE(copy->isEnabled());
    QGuiApplication::clipboard()->clear();

    viewtest::drag(viewport, QPoint(2, 2), QPoint(viewport->width() - 2, viewport->height() - 2));
    ASSERT_TRUE(vra->view()->hasSelection());
    EXPECT_TRUE(copy->isEnabled());
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert}) {
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(vra->view(), key.key(), key.keyboardModifiers());
        EXPECT_NE(QGuiApplication::clipboard()->text().indexOf(QStringLiteral("로마서 12:3-5")),
                  -1);
    }

    // A click drops the selection and Copy with it.
    viewtest::press(viewport, QPoint(2, 2));
    viewtest::release(viewport, QPoint(2, 2));
    EXPECT_FALSE(copy->isEnabled());
}

TEST_F(BibleFrameTest, EditionWithoutTextSaysSo) {
    CBibleFrame* niv = open("NIV");
    EXPECT_TRUE(shows(niv, "본문은 설치되어 있지 않습니다"));
    EXPECT_TRUE(niv->currentKey().empty());
    EXPECT_FALSE(niv->view()->marker()->isVisible()); // no verse to mark
    EXPECT_TRUE(open("VRA")->view()->marker()->isVisible());
}

TEST_F(BibleFrameTest, ResizingKeepsTheCurrentVerse) {
    CBibleFrame* vra = open("VRA", "VRAjhn003016");
    for (const QSize size : {QSize(300, 700), QSize(900, 150), QSize(250, 120), QSize(700, 500)}) {
        vra->resize(size);
        QCoreApplication::processEvents();
        EXPECT_EQ(vra->currentVerse(), "16") << size.width() << "x" << size.height();
    }
}

TEST_F(BibleFrameTest, BackAndForwardStepTheActiveWindowWhileTheOthersFollow) {
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    std::vector<CBibleFrame*> windows;
    for (const std::string version : {"VRA", "VRB", "VRC"})
        windows.push_back(open(version, version + "psa001001"));
    CBibleFrame* reader = windows.front();
    frame.mdiArea()->setActiveSubWindow(reader);
    frame.action(cmd::SyncMove)->trigger();
    ASSERT_TRUE(frame.action(cmd::SyncMove)->isChecked());
    for (int row : {1, 2, 3}) // A, B, C
        choose(reader->navigationBar()->chapterBox(), row);
    std::vector<int> followerPages;
    for (const CBibleFrame* w : windows) {
        EXPECT_EQ(w->currentChapter(), "4") << w->code();
        followerPages.push_back(w->history().index());
    }

    frame.action(cmd::Back)->trigger();
    frame.action(cmd::Back)->trigger();
    for (const CBibleFrame* w : windows)
        EXPECT_EQ(w->currentChapter(), "2") << w->code();
    EXPECT_EQ(frame.mdiArea()->activeSubWindow(), reader);

    // A disabled action would not trigger: the step shows Forward's enabling too.
    frame.action(cmd::Forward)->trigger();
    for (std::size_t i = 0; i < windows.size(); ++i) {
        EXPECT_EQ(windows[i]->currentChapter(), "3") << windows[i]->code();
        // Following a page already seen adds none.
        if (i > 0) {
            EXPECT_EQ(windows[i]->history().index(), followerPages[i]) << windows[i]->code();
        }
    }
    EXPECT_EQ(frame.mdiArea()->activeSubWindow(), reader);
    EXPECT_TRUE(messages.empty());
}

TEST_F(BibleFrameTest, APlaceTheEditionLacksLeavesTheWindowWhereItWasAndSaysSo) {
    CBibleFrame* vra = open("VRA", "VRAjhn003016");
    QComboBox* chapters = vra->navigationBar()->chapterBox();
    QComboBox* verses = vra->navigationBar()->verseBox();

    // A link to a chapter the edition lacks, as a textual note has one.
    EXPECT_EQ(frame.openByCommandKey("BVRAjhn005003", false), vra);
    EXPECT_EQ(place(vra), "jhn 3 16");
    EXPECT_EQ(selected(chapters), "3");
    EXPECT_TRUE(shows(vra, "요한복음 5장은 이 역본에 없습니다."));
    // One it holds opens there, in view and marked as the current verse.
    vra->resize(420, 220);
    QCoreApplication::processEvents();
    frame.openByCommandKey("BVRAjhn003030", false);
    EXPECT_EQ(place(vra), "jhn 3 30");
    EXPECT_FALSE(shows(vra, "없습니다"));
    const MarkupNode* thirty = nullptr;
    for (MarkupNode* n : vra->view()->engine().verseNumbers())
        if (n->text == "30 ")
            thirty = n;
    ASSERT_NE(thirty, nullptr);
    EXPECT_EQ(vra->view()->markerTop(), thirty->top);
    EXPECT_GE(thirty->top, vra->view()->scrollPosition());
    EXPECT_LT(thirty->bottom, vra->view()->scrollPosition() + vra->view()->pageHeight());

    // A verse it lacks: the chapter, and a word in the status line.
    frame.openByCommandKey("BVRAjhn003099", false);
    EXPECT_EQ(vra->currentChapter(), "3");
    EXPECT_EQ(frame.statusBar()->currentMessage().toStdString(),
              "요한복음 3장 99절은 이 역본에 없습니다.");

    // Typed into the boxes: the boxes show the place again, the status line why.
    chapters->setEditText(QStringLiteral("7"));
    emit vra->navigationBar()->enterPressed();
    EXPECT_EQ(chapters->currentText(), QStringLiteral("3"));
    EXPECT_EQ(frame.statusBar()->currentMessage().toStdString(),
              "요한복음 7장은 이 역본에 없습니다.");
    verses->setEditText(QStringLiteral("99"));
    emit vra->navigationBar()->enterPressed();
    EXPECT_EQ(verses->currentText().toStdString(), vra->currentVerse());
    EXPECT_EQ(frame.statusBar()->currentMessage().toStdString(),
              "요한복음 3장 99절은 이 역본에 없습니다.");

    // A new window asked for a chapter its edition lacks shows the book and the notice.
    CBibleFrame* vrc = open("VRC", "VRCpsa009001");
    EXPECT_EQ(vrc->currentBook(), "psa");
    EXPECT_TRUE(shows(vrc, "시편 9장은 이 역본에 없습니다."));
    EXPECT_TRUE(messages.empty());
}

TEST_F(BibleFrameTest, TheReferenceBoxGoesWhereTheReaderTypes) {
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    CBibleFrame* vra = open("VRA", "VRAgen002001");
    CNavigationBar* bar = vra->navigationBar();
    QLineEdit* box = bar->referenceBox();
    const auto go = [&](const char* typed) {
        box->setText(QString::fromUtf8(typed));
        QTest::keyClick(box, Qt::Key_Return);
        return cp949ToUtf8(bar->referenceNote());
    };
    EXPECT_EQ(go("시 23"), "");
    EXPECT_EQ(place(vra), "psa 23 1");
    // A span goes to its first verse and marks it all.
    EXPECT_EQ(go("창1:1-2"), "");
    EXPECT_EQ(place(vra), "gen 1 1");
    ASSERT_TRUE(vra->view()->hasSelection());
    const std::string span = cp949ToUtf8(vra->view()->selectedText());
    EXPECT_NE(span.find("맨 처음에"), std::string::npos) << span;
    EXPECT_NE(span.find("땅은"), std::string::npos) << span;

    // What it cannot take changes nothing and says why under the box.
    EXPECT_EQ(go("요 5:3"), "요한복음 5장은 이 역본에 없습니다.");
    EXPECT_EQ(go("요 3:"), "장과 절을 알아볼 수 없습니다. 예: 요 3:16, 요한복음 3장 16절");
    EXPECT_EQ(place(vra), "gen 1 1");
    const int pages = vra->history().index();
    EXPECT_EQ(go("요 3 30"), "");
    EXPECT_EQ(place(vra), "jhn 3 30");
    EXPECT_EQ(vra->history().index(), pages + 1);

    // Ctrl+L reaches the box from the text.
    vra->view()->setFocus();
    QTest::keyClick(vra->view(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(box->selectedText(), box->text());
    EXPECT_TRUE(messages.empty());
}

TEST_F(BibleFrameTest, SettingsReachOpenWindowsAndASpanHighlightKeepsItsCharacters) {
    CBibleFrame* vra = open("VRA", "VRAjhn003016");
    CBibleFrame* kjv = open("KJV");
    // "요한복음 3장 16절의 본문은 이렇게 길게 …": characters 17 to 23.
    vra->highlight({{"16", 17, 23, 0}}, 2);
    kjv->highlight({{"1", 3, 20, 0}}, 4);
    const auto check = [&](const char* step) {
        EXPECT_EQ(highlighted(vra, 2), "이렇게 길게") << step;
        EXPECT_EQ(highlighted(kjv, 4), "the beginning God") << step;
    };
    check("applied");
    // Changed settings reach the open windows.
    const int height = vra->view()->verticalScrollBar()->maximum();
    test.context.settings.fontSizeText = "20";
    test.context.settings.colorTable[kColorPersonName] = 0x123456;
    frame.settingsChanged();
    EXPECT_GT(vra->view()->verticalScrollBar()->maximum(), height);
    EXPECT_EQ(test.context.displayFont.pixelSize(), 26);
    EXPECT_EQ(vra->view()->engine().settings().fontSize, 20);
    EXPECT_EQ(vra->view()->engine().settings().colorTable[kColorPersonName], 0x123456u);
    check("larger font");
    frame.action(cmd::ToggleViewMode)->trigger();
    EXPECT_EQ(kjv->view()->engine().settings().viewMode, 2);
    check("other view mode");
    closeAll();
    vra = open("VRA", "VRAjhn003016");
    kjv = open("KJV", "KJVgen001001");
    EXPECT_EQ(vra->view()->engine().settings().viewMode, 2); // opened with the settings in force
    check("reopened");
}

TEST_F(BibleFrameTest, TheToolbarColoursTheCurrentVerseAndTheListShowsItByColour) {
    QAction* menu = frame.action(cmd::HighlightMenu);
    frame.updateCommandStates();
    EXPECT_FALSE(menu->isEnabled());
    ASSERT_EQ(menu->menu()->actions().size(), kHighlightColourCount + 2); // and a separator
    CBibleFrame* kjv = open("KJV", "KJVgen001002");
    frame.updateCommandStates();
    EXPECT_TRUE(menu->isEnabled());
    frame.action(cmd::Highlight5)->trigger();
    EXPECT_EQ(highlighted(kjv, 5), "And the earth was without form, and void.");
    kjv->highlight({{"1", 0, 2, 0}}, 1);
    open("VRA", "VRAjhn003016");
    frame.action(cmd::Highlight1)->trigger();

    const auto list = frame.highlightList();
    list->show();
    QCoreApplication::processEvents();
    CGridCtrl* grid = list->grid();
    ASSERT_EQ(grid->GetRowCount(), 4);
    std::vector<std::string> rows;
    for (int row = 1; row < 4; ++row)
        rows.push_back(cp949ToUtf8(grid->GetItemText(row, 0) + "|" + grid->GetItemText(row, 1) +
                                   "|" + grid->GetItemText(row, 4)));
    // Yellow first, in the notes' order of editions; the verse's text without its number.
    EXPECT_EQ(rows,
              (std::vector<std::string>{"노랑|성경전서 역본 가|16", "노랑|King James Version|1",
                                        "주황|King James Version|2"}));
    EXPECT_EQ(cp949ToUtf8(grid->GetItemText(2, 5)),
              "In the beginning God created the heaven and the earth.");
    // Through the model: a modifier key left down by an earlier test would toggle selectRow.
    grid->selectionModel()->select(grid->model()->index(2, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(cp949ToUtf8(grid->copyRows(false)),
              "And the earth was without form, and void. (KJV Gn 1:2)\r\n");
    list->openSelected();
    EXPECT_EQ(frame.mdiArea()->activeSubWindow(), kjv);
    EXPECT_EQ(place(kjv), "gen 1 2");

    frame.action(cmd::HighlightErase)->trigger();
    EXPECT_EQ(highlighted(kjv, 5), "");
    EXPECT_EQ(frame.highlightList()->grid()->GetRowCount(), 3);
}
