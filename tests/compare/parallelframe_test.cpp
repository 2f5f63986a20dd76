#include "compare/paralleldialog.h"
#include "compare/parallelframe.h"

#include "../richtext/viewtestframe.h"
#include "../support/pdftext.h"
#include "../support/shownmessages.h"
#include "../support/tempdir.h"
#include "../support/testcontext.h"
#include "app/displaysettings.h"
#include "app/mainframe.h"
#include "app/shortcutbar.h"
#include "bible/navigationbar.h"
#include "biblewindow/bibleframe.h"
#include "compare/parallelpage.h"
#include "platform/appcontext.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/messagesink.h"
#include "richtext/textpane.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace qel;
using viewtest::cp;

namespace {

// VRA merges Genesis 1:16-17 where KJV has two verses; only VRC has Exodus.
mkdb::ContentSources parallelSources() {
    mkdb::ContentSources s;
    s.versions["VRA"] = {{"gen", "1", "1", "a1"},        {"gen", "1", "2", "a2"},
                         {"gen", "1", "16-17", "a1617"}, {"gen", "1", "18", "a18"},
                         {"gen", "2", "1", "b1"},        {"jhn", "3", "16", "하나님께서 세상을"}};
    s.versions["KJV"] = {{"gen", "1", "1", "k1"},
                         {"gen", "1", "16", "k16"},
                         {"gen", "1", "17", "k17"},
                         {"jhn", "3", "16", "For God so loved"}};
    s.versions["VRC"] = {{"exo", "1", "1", "c-exo"}};
    return s;
}

class ParallelFrameTest : public ::testing::Test {
protected:
    ParallelFrameTest() : test(parallelSources()) {
        display = textDisplayOf(test.context.settings, test.context.displayFont);
    }

    std::unique_ptr<CParallelFrame> open() {
        auto frame = std::make_unique<CParallelFrame>(
            test.context, display, [this](const std::string& key) { links.push_back(key); });
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        frame->resize(700, 500);
        frame->show();
        return frame;
    }

    static std::string shown(CParallelFrame& frame) {
        frame.pane()->selectAll();
        std::string text = frame.pane()->selectedText();
        frame.pane()->clearFocus();
        return text;
    }

    // Types into the navigation bar's boxes and presses Enter.
    static void enter(CParallelFrame& frame, const char* book, const char* chapter,
                      const char* verse) {
        CNavigationBar* bar = frame.navigationBar();
        bar->bookBox()->setEditText(QString::fromUtf8(book));
        bar->chapterBox()->setEditText(QString::fromUtf8(chapter));
        bar->verseBox()->setEditText(QString::fromUtf8(verse));
        emit bar->enterPressed();
    }

    TestContext test;
    TextDisplay display;
    std::vector<std::string> links;
    ShownMessages messages;
};

TEST_F(ParallelFrameTest, OpensAtTheFirstVerseAndMovesThroughItsHistory) {
    auto frame = open();
    EXPECT_EQ(frame->currentKey(), "gen001001");
    EXPECT_EQ(frame->history().index(), 0);

    frame->GoToVerseKey("jhn003016", true);
    EXPECT_EQ(frame->currentKey(), "jhn003016");
    const std::string page = shown(*frame);
    EXPECT_NE(page.find(cp("하나님께서 세상을")), std::string::npos);
    EXPECT_NE(page.find("For God so loved"), std::string::npos);

    // The steps, their enabling and the message at either end are PageHistory's.
    frame->handleCommand(cmd::Back);
    EXPECT_EQ(frame->currentKey(), "gen001001");
    QAction forward;
    EXPECT_TRUE(frame->updateCommand(cmd::Forward, &forward));
    EXPECT_TRUE(forward.isEnabled());
    frame->handleCommand(cmd::Forward);
    EXPECT_EQ(frame->currentKey(), "jhn003016");
}

TEST_F(ParallelFrameTest, MergedVerseShowsEachLabelOnceAndIsStoredByItsFirstNumber) {
    {
        auto frame = open();
        frame->GoToVerseKey("gen001017", true);
        EXPECT_EQ(frame->currentVerse(), "16-17");
        EXPECT_EQ(frame->currentKey(), "gen00116-17");
        EXPECT_EQ(CNavigationBar::selectedText(frame->navigationBar()->verseBox()), "16-17");
        // Both verses of the editions that split it.
        const std::string page = shown(*frame);
        EXPECT_NE(page.find("a1617"), std::string::npos);
        EXPECT_LT(page.find("k16"), page.find("k17"));
        EXPECT_NE(page.find("k17"), std::string::npos);

        // An empty verse and verse 0 land on the first verse.
        frame->GoToVerseKey("gen001000", true);
        EXPECT_EQ(frame->currentVerse(), "1");
        frame->GoToVerseKey("gen00116-17", true);
    }
    EXPECT_EQ(test.context.store->readString("Last Staus", "PARALLEL", ""), "gen001016");
    // A new window goes back there when it is given no place.
    auto frame = open();
    frame->GoToVerseKey("", true);
    EXPECT_EQ(frame->currentKey(), "gen00116-17");
    EXPECT_EQ(frame->history().index(), 1);
    frame->handleCommand(cmd::Back);
    EXPECT_EQ(frame->currentKey(), "gen001001");
}

TEST_F(ParallelFrameTest, EnterMatchesTheBookAndTheVerseByTheirBeginning) {
    auto frame = open();
    // A new book takes the typed chapter, which opens at its first verse.
    enter(*frame, "요한", "3", "16");
    EXPECT_EQ(frame->currentKey(), "jhn003016");
    enter(*frame, "창세기", "1", "16");
    EXPECT_EQ(frame->currentKey(), "gen001001");
    // Which label a typed verse picks is findVerseLabel's; here that the window asks it.
    enter(*frame, "창세기", "1", "16");
    EXPECT_EQ(frame->currentVerse(), "16-17");
    EXPECT_EQ(frame->history().index(), 3);
    // The same place again is no new page.
    enter(*frame, "창세기", "1", "16-17");
    EXPECT_EQ(frame->history().index(), 3);
}

TEST_F(ParallelFrameTest, BookOfAPartialEditionListsTheChosenVersionsChapters) {
    auto frame = open();
    frame->GoToVerseKey("exo001001", true);
    EXPECT_EQ(frame->navigationBar()->chapterBox()->count(), 1);
    EXPECT_EQ(frame->currentKey(), "exo001001");
    const std::string page = shown(*frame);
    EXPECT_NE(page.find("c-exo"), std::string::npos);

    // With VRC switched off nobody has the book.
    test.context.settings.parallelMask = 1 | 1 << 4;
    frame->GoToVerseKey("exo001001", true);
    EXPECT_EQ(frame->navigationBar()->chapterBox()->count(), 0);
    EXPECT_TRUE(frame->content().empty());
}

TEST_F(ParallelFrameTest, CopyVerseCitesTheVersionUnderThePoint) {
    auto frame = open();
    frame->GoToVerseKey("jhn003016", true);
    const MarkupNode* english = viewtest::pieceWith(frame->content(), "For God");
    ASSERT_TRUE(english);
    const QPoint englishPoint(english->left + 2, english->top + 2);

    std::unique_ptr<QMenu> menu = frame->contextMenu(englishPoint);
    QList<QAction*> items;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            items.push_back(a);
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), QStringLiteral("복사"));
    EXPECT_FALSE(items[0]->isEnabled());
    EXPECT_TRUE(items[1]->isEnabled());
    items[1]->trigger();
    // The verse under a piece and the citation are ParallelPage's and Citation's.
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "For God so loved(KJV Jn 3:16)");

    // With a selection the menu copies it instead.
    frame->pane()->selectAll();
    menu = frame->contextMenu(englishPoint);
    EXPECT_TRUE(menu->actions()[0]->isEnabled());
    EXPECT_FALSE(menu->actions()[1]->isEnabled());
    // Nothing lies far below the text.
    EXPECT_FALSE(frame->copyVerseAt(QPoint(5, 100000)));
}

TEST_F(ParallelFrameTest, PrintsWithTheBookAbbreviationAndPlaceAsHeader) {
    auto frame = open();
    frame->GoToVerseKey("jhn003016", true);
    EXPECT_EQ(frame->printTitle(), cp("요 3:16"));
    const std::string file = test.dir.str() + "/parallel.pdf";
    frame->pane()->setPrintDialog([file](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(file));
        return true;
    });
    EXPECT_TRUE(frame->handleCommand(cmd::Print));
    const std::string text = pdfText(file);
    EXPECT_NE(text.find("요 3:16"), std::string::npos) << text;
    EXPECT_NE(text.find("For God so loved"), std::string::npos);
}

TEST_F(ParallelFrameTest, DialogStoresTheMaskOnlyWhenApplied) {
    AppSettings& settings = test.context.settings;
    settings.parallelMask = 0b0010101;
    int applied = 0;
    {
        CParallelDialog dialog(settings, *test.context.store, [&] { ++applied; });
        for (int i = 0; i < kParallelVersions; ++i)
            EXPECT_EQ(dialog.versionBox(i)->isChecked(), i % 2 == 0 && i < 5) << i;
        dialog.versionBox(0)->setChecked(false);
        dialog.versionBox(6)->setChecked(true);
        dialog.cancelButton()->click();
    }
    EXPECT_EQ(settings.parallelMask, 0b0010101);
    EXPECT_FALSE(test.context.store->contains("Settings", "Parallel"));
    EXPECT_EQ(applied, 0);

    CParallelDialog dialog(settings, *test.context.store, [&] { ++applied; });
    dialog.versionBox(0)->setChecked(false);
    dialog.versionBox(3)->setChecked(true);
    dialog.okButton()->click();
    EXPECT_EQ(settings.parallelMask, 0b0011100);
    EXPECT_EQ(test.context.store->readInt("Settings", "Parallel", -1), 0b0011100);
    EXPECT_EQ(applied, 1);
}

TEST_F(ParallelFrameTest, MainFrameKeepsOneWindowAndRedisplaysItAfterTheDialog) {
    CMainFrame main(test.context, "");
    main.setExitConfirmation([] { return true; });
    main.show();
    emit main.shortcutBar()->itemChosen(117);
    auto* frame = static_cast<CParallelFrame*>(main.frameRegistry().findByCode("PARALLEL"));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(main.openWindow("PARALLEL", "jhn003016"), frame);
    EXPECT_EQ(frame->currentKey(), "jhn003016");
    main.action(cmd::OpenPARALLEL)->trigger();
    EXPECT_EQ(main.frameRegistry().frames().size(), 1u);
    EXPECT_NE(shown(*frame).find("For God"), std::string::npos);

    // The toolbar and the menu reach the dialog; its "적용" shows every window again.
    QAction* dialogAction = main.action(cmd::ParallelDialog);
    bool onToolBar = false;
    for (const QToolBar* bar : main.findChildren<QToolBar*>())
        onToolBar = onToolBar || bar->actions().contains(dialogAction);
    EXPECT_TRUE(onToolBar);
    EXPECT_FALSE(dialogAction->associatedObjects().isEmpty());
    bool answered = false;
    QTimer::singleShot(0, [&answered] {
        auto* dialog = qobject_cast<CParallelDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->versionBox(4)->setChecked(false);
        dialog->okButton()->click();
        answered = true;
    });
    dialogAction->trigger();
    EXPECT_TRUE(answered);
    EXPECT_EQ(test.context.settings.parallelMask, kAllParallelVersions & ~(1 << 4));
    EXPECT_EQ(shown(*frame).find("For God"), std::string::npos);
    EXPECT_NE(shown(*frame).find(cp("하나님께서")), std::string::npos);
    EXPECT_EQ(frame->currentKey(), "jhn003016");

    // Asked from a Bible window, it goes to that window's verse.
    auto* bible = static_cast<CBibleFrame*>(main.openWindow("VRA", "VRAgen001002"));
    main.mdiArea()->setActiveSubWindow(bible);
    main.action(cmd::OpenPARALLEL)->trigger();
    EXPECT_EQ(frame->currentKey(), "gen001002");
}

TEST_F(ParallelFrameTest, TheReferenceBoxGoesToATypedVerse) {
    auto frame = open();
    QLineEdit* box = frame->navigationBar()->referenceBox();
    box->setText(QStringLiteral("요3:16"));
    emit box->returnPressed();
    EXPECT_EQ(frame->currentKey(), "jhn003016");
    EXPECT_NE(shown(*frame).find("For God"), std::string::npos);
    box->setText(QStringLiteral("출 1:1")); // only VRC has Exodus
    emit box->returnPressed();
    EXPECT_EQ(frame->currentKey(), "exo001001");
    box->setText(QStringLiteral("창 40:1"));
    emit box->returnPressed();
    EXPECT_EQ(frame->currentKey(), "exo001001");
    EXPECT_EQ(cp949ToUtf8(frame->navigationBar()->referenceNote()),
              "창세기 40장은 비교할 본문이 없습니다.");
}

} // namespace
