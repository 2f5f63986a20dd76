#include "bible/bibleframe.h"

#include "../support/testcontext.h"
#include "app/mainframe.h"
#include "bible/navigationbar.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/messagesink.h"
#include "richtext/childview.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
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
    s.versions["VRB"] = {{"gen", "1", "1", "한처음에"}, {"tob", "1", "1", "토비트의 이야기"}};
    s.versions["KJV"] = {{"gen", "1", "1", "In the beginning"}};
    return s;
}

class BibleFrameTest : public ::testing::Test {
protected:
    BibleFrameTest() : test(bibleSources()), frame(test.context, "") {
        frame.setExitConfirmation([] { return true; });
        setMessageHandler([this](const std::string& text, const std::string&) {
            messages.push_back(cp949ToUtf8(text));
        });
        frame.show();
    }
    ~BibleFrameTest() override { setMessageHandler(nullptr); }

    CBibleFrame* open(const std::string& version, const std::string& place = {}) {
        frame.pendingPlace() = place;
        return static_cast<CBibleFrame*>(frame.openBibleVersion(version));
    }
    static std::string selected(QComboBox* box) { return box->currentText().toStdString(); }
    static void choose(QComboBox* box, int row) {
        box->setCurrentIndex(row);
        emit box->activated(row);
    }

    TestContext test;
    CMainFrame frame;
    std::vector<std::string> messages;
};

} // namespace

TEST_F(BibleFrameTest, OpensAtGenesisOneOneWithoutAStoredPlace) {
    CBibleFrame* vra = open("VRA");
    EXPECT_EQ(vra->currentKey(), "VRAgen001001");
    EXPECT_EQ(selected(vra->navigationBar()->bookBox()), "창세기");
    EXPECT_EQ(vra->navigationBar()->chapterBox()->count(), 2);
    EXPECT_EQ(vra->placeText(true), utf8ToCp949("역본 가 : 창세기 1 장 1 절"));
}

TEST_F(BibleFrameTest, ZeroPlaceFallsBackToFirstChapterAndLastVerse) {
    CBibleFrame* vra = open("VRA");
    vra->OpenAtKey("VRAgen000000", true);
    EXPECT_EQ(vra->currentChapter(), "1");
    EXPECT_EQ(vra->currentVerse(), "1");
}

TEST_F(BibleFrameTest, VerseNumberInsideARangeSelectsTheRange) {
    CBibleFrame* vra = open("VRA", "VRArom012004");
    EXPECT_EQ(vra->currentVerse(), "3-5");
    EXPECT_EQ(selected(vra->navigationBar()->verseBox()), "3-5");
}

TEST_F(BibleFrameTest, ClosingStoresTheFirstNumberOfARange) {
    open("VRA", "VRArom012003");
    frame.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(test.context.store->readString("Last Staus", "VRA", ""), "rom012003");
    CBibleFrame* reopened = open("VRA");
    EXPECT_EQ(reopened->currentChapter(), "12");
    EXPECT_EQ(reopened->currentVerse(), "3-5");
}

TEST_F(BibleFrameTest, HistoryKeepsTwentyOnePagesAndForwardEndsAtANewPage) {
    CBibleFrame* vra = open("VRA", "VRApsa001001");
    QComboBox* chapters = vra->navigationBar()->chapterBox();
    for (int row = 1; row < 23; ++row) // 22 chapter changes after the first page
        choose(chapters, row);
    EXPECT_EQ(vra->currentChapter(), "23");
    for (int i = 0; i < 20; ++i)
        vra->handleCommand(cmd::Back);
    EXPECT_EQ(vra->currentChapter(), "3");
    EXPECT_TRUE(messages.empty());
    vra->handleCommand(cmd::Back);
    EXPECT_EQ(messages.back(), "되돌아 갈 페이지가 더 이상 없습니다.");

    vra->handleCommand(cmd::Forward);
    vra->handleCommand(cmd::Forward);
    EXPECT_EQ(vra->currentChapter(), "5");
    choose(chapters, 0); // a new page
    vra->handleCommand(cmd::Forward);
    EXPECT_EQ(messages.back(), "페이지가 더 이상 없습니다.");
    EXPECT_EQ(vra->currentChapter(), "1");
}

TEST_F(BibleFrameTest, NextChapterStopsAtTheLastChapter) {
    CBibleFrame* vra = open("VRA", "VRAgen002001");
    EXPECT_FALSE(vra->canGoNextChapter());
    vra->handleCommand(cmd::NextChapter);
    EXPECT_EQ(vra->currentChapter(), "2");
    vra->handleCommand(cmd::PreviousChapter);
    EXPECT_EQ(vra->currentChapter(), "1");
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
    std::string page;
    for (const MarkupNode* n = vra->content().head(); n; n = n->next())
        page += n->text;
    EXPECT_NE(cp949ToUtf8(page).find("성경전서 역본 가에 없는 본문"), std::string::npos);

    choose(books, vrb->navigationBar()->rowOfBookCode("gen"));
    EXPECT_EQ(vra->currentVerse(), "1"); // moved along
}

TEST_F(BibleFrameTest, EditionWithoutTextSaysSo) {
    CBibleFrame* niv = open("NIV");
    std::string page;
    for (const MarkupNode* n = niv->content().head(); n; n = n->next())
        page += n->text;
    EXPECT_NE(cp949ToUtf8(page).find("본문은 설치되어 있지 않습니다"), std::string::npos);
    EXPECT_TRUE(niv->currentKey().empty());
    EXPECT_FALSE(niv->view()->marker()->isVisible()); // no verse to mark
    EXPECT_TRUE(open("VRA")->view()->marker()->isVisible());
}

TEST_F(BibleFrameTest, SettingsChangesReachOpenWindows) {
    CBibleFrame* vra = open("VRA", "VRApsa001001");
    vra->resize(400, 300);
    const int before = vra->view()->documentHeight();
    test.context.settings.fontSizeText = "20";
    test.context.settings.colorTable[kColorPersonName] = 0x123456;
    frame.settingsChanged();
    EXPECT_GT(vra->view()->documentHeight(), before);
    EXPECT_EQ(test.context.displayFont.pixelSize(), 26);
    EXPECT_EQ(vra->view()->engine().settings().fontSize, 20);
    EXPECT_EQ(vra->view()->engine().settings().colorTable[kColorPersonName], 0x123456u);

    frame.action(cmd::ToggleViewMode)->trigger();
    EXPECT_EQ(vra->view()->engine().settings().viewMode, 2);
    // A window opened later starts with the settings in force.
    EXPECT_EQ(open("VRB")->view()->engine().settings().viewMode, 2);
}
