#include "platform/codec.h"
#include "platform/messagesink.h"
#include "searchui/choicedialog.h"
#include "searchui/searchdialog.h"
#include "searchui/searchforms.h"
#include "searchui/searchword.h"
#include "widgets/gridctrl.h"

#include "../support/builtdata.h"
#include "../support/shownmessages.h"
#include "../support/tempdir.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

using namespace qel;

namespace {

class SearchDialogTest : public ::testing::Test {
protected:
    SearchDialogContext context() {
        return {dir.str() + "/out.dat", builtDataFolder("DBF") + "/", builtDataFolder("M14") + "/",
                [this](const std::string& key) {
                    opened.push_back(key);
                    return QRect();
                }};
    }

    // Presses "찾기" and waits for the worker to end.
    static bool search(SearchDialogBase& dialog, const QString& query) {
        QSignalSpy finished(&dialog, &SearchDialogBase::searchFinished);
        dialog.queryBox()->setCurrentText(query);
        dialog.findButton()->click();
        return finished.wait(20000);
    }

    static std::string statusOf(const SearchDialogBase& dialog) {
        return dialog.statusText().toStdString();
    }
    // Starts a KJV search for "the", long enough to be stopped on its way.
    static void startLongSearch(CSearchWord& dialog) {
        dialog.versionBox()->setCurrentIndex(4);
        dialog.queryBox()->setCurrentText(QStringLiteral("the"));
        dialog.OnFind();
    }

    TempDir dir;
    ShownMessages messages;
    std::vector<std::string> opened;
};

} // namespace

TEST_F(SearchDialogTest, VerseSearchFindsOpensAndCopiesWithCitations) {
    CSearchDialog dialog(context(), nullptr);
    dialog.typeGroup()->button(0)->setChecked(true);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("역본 가 성구찾기"));
    EXPECT_EQ(dialog.rangeBox()->itemText(2), QStringLiteral("신약"));
    EXPECT_EQ(dialog.rangeBox()->itemText(3), QStringLiteral("창세기"));
    ASSERT_TRUE(search(dialog, QStringLiteral("하나님")));
    CGridCtrl* grid = dialog.grid();
    const int rows = grid->GetRowCount() - 1;
    ASSERT_GT(rows, 0);
    EXPECT_EQ(statusOf(dialog), "단어가 포함된 절 수 : " + std::to_string(rows));
    EXPECT_EQ(cp949ToUtf8(grid->GetItemText(0, 3)), "본문");
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(dialog.findButton()->isEnabled());
    EXPECT_FALSE(dialog.cancelButton()->isEnabled());
    EXPECT_EQ(grid->GetItemData(1, 3), 1u);

    // Nothing selected, nothing opens; Enter on a row opens its verse.
    grid->clearSelection();
    dialog.OpenSelectedResult();
    EXPECT_TRUE(opened.empty());
    grid->selectRow(1);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(opened,
              std::vector<std::string>{verseResultCommandKey(
                  grid->GetItemText(1, 0), grid->GetItemText(1, 1), grid->GetItemText(1, 2))});

    // The copied row goes to the clipboard in the form of SearchForms.CopiedLines.
    const std::string line = cp949ToUtf8(dialog.copyRows(false));
    EXPECT_NE(line.find(" (역본 가 "), std::string::npos);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), line);
    const std::string all = dialog.copyRows(true);
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), rows);
}

TEST_F(SearchDialogTest, ChoiceDialogRunsOnTheUserInterfaceThreadWhileTheWorkerWaits) {
    CSearchDialog dialog(context(), nullptr);
    dialog.show();
    QString title;
    int candidates = 0;
    bool onGuiThread = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* choice = qobject_cast<CChoiceDialog*>(QApplication::activeModalWidget())) {
            title = choice->windowTitle();
            candidates = choice->rowCount();
            onGuiThread = choice->thread() == QThread::currentThread() &&
                          QThread::currentThread() == qApp->thread();
            choice->accept();
        }
    });
    poll.start(20);
    ASSERT_TRUE(search(dialog, QStringLiteral("들어")));
    EXPECT_EQ(title, QStringLiteral("낱말 선택"));
    EXPECT_GE(candidates, 2);
    EXPECT_TRUE(onGuiThread);
    EXPECT_NE(statusOf(dialog).find(" ["), std::string::npos) << statusOf(dialog);
}

TEST_F(SearchDialogTest, WordSearchInKjvWithEnglishRangesHighlightsAndCitations) {
    CSearchWord dialog(context(), nullptr);
    dialog.show();
    EXPECT_EQ(dialog.rangeBox()->itemText(0), QStringLiteral("전체"));
    dialog.versionBox()->setCurrentIndex(4);
    EXPECT_EQ(dialog.rangeBox()->itemText(0), QStringLiteral("Bible"));
    EXPECT_EQ(dialog.rangeBox()->itemText(3), QStringLiteral("Genesis"));
    // A phrase takes no type.
    dialog.modeGroup()->button(0)->click();
    EXPECT_FALSE(dialog.typeGroup()->button(0)->isEnabled());
    dialog.modeGroup()->button(1)->click();
    EXPECT_TRUE(dialog.typeGroup()->button(0)->isEnabled());

    ASSERT_TRUE(search(dialog, QStringLiteral("love")));
    CGridCtrl* grid = dialog.grid();
    const int rows = grid->GetRowCount() - 1;
    ASSERT_GT(rows, 100);
    int john316 = 0;
    for (int r = 1; r <= rows; ++r)
        if (grid->GetItemText(r, 0) == "Jn" && grid->GetItemText(r, 1) == "3" &&
            grid->GetItemText(r, 2) == "16")
            john316 = r;
    ASSERT_GT(john316, 0); // "loved", one of all the forms
    grid->selectRow(john316);
    emit grid->rowDoubleClicked(john316);
    EXPECT_EQ(opened, (std::vector<std::string>{"BKJVjhn003016"}));
    const std::string line = dialog.copyRows(false);
    // The grid shows the verse from two words before "loved"; the copy quotes all of it.
    EXPECT_EQ(grid->GetItemText(john316, 3).substr(0, 12), "God so loved");
    EXPECT_NE(line.find("For God so loved the world"), std::string::npos) << line;
    EXPECT_EQ(line.substr(line.size() - 16), " (KJV Jn 3:16)\r\n");

    // An empty query says so and leaves the dialog idle.
    ASSERT_TRUE(search(dialog, QString()));
    EXPECT_EQ(messages, (std::vector<std::string>{"단어를 입력해 주십시오."}));
}

TEST_F(SearchDialogTest, CancelStopsALongSearchAndASecondFindDoesNothing) {
    CSearchWord dialog(context(), nullptr);
    dialog.show();
    QSignalSpy finished(&dialog, &SearchDialogBase::searchFinished);
    startLongSearch(dialog);
    EXPECT_TRUE(dialog.isSearching());
    EXPECT_FALSE(dialog.findButton()->isEnabled());
    dialog.OnFind(); // ignored while running
    dialog.cancelButton()->click();
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_FALSE(finished.wait(50)); // the ignored find started nothing
    EXPECT_FALSE(dialog.isSearching());
    EXPECT_EQ(messages, (std::vector<std::string>{"검색을 중단 합니다."}));
    EXPECT_LT(dialog.grid()->GetRowCount() - 1, 20000);

    // Run to the end: one search's rows, once.
    messages.clear();
    ASSERT_TRUE(search(dialog, QStringLiteral("the")));
    const int rows = dialog.grid()->GetRowCount() - 1;
    EXPECT_GT(rows, 20000);
    EXPECT_EQ(statusOf(dialog), "단어가 포함된 절 수 : " + std::to_string(rows));
}

TEST_F(SearchDialogTest, ClosingDuringASearchStopsItQuietly) {
    CSearchWord dialog(context(), nullptr);
    dialog.show();
    QSignalSpy finished(&dialog, &SearchDialogBase::searchFinished);
    startLongSearch(dialog);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_FALSE(dialog.isSearching());
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(dialog.findButton()->isEnabled());
}

// Destroying waits for the worker: it must let go of a worker that waits for a choice, and
// the choice asked for must never be shown once its dialog is gone.
TEST_F(SearchDialogTest, DestroyingTheDialogDuringASearchOrAChoiceEndsTheWorker) {
    {
        auto dialog = std::make_unique<CSearchWord>(context(), nullptr);
        startLongSearch(*dialog);
        EXPECT_TRUE(dialog->isSearching());
    }
    {
        auto dialog = std::make_unique<CSearchDialog>(context(), nullptr);
        dialog->queryBox()->setCurrentText(QStringLiteral("들어"));
        dialog->OnFind();
        ASSERT_TRUE(dialog->waitForChoiceRequest(20000));
        EXPECT_TRUE(dialog->isSearching());
    }
    QCoreApplication::processEvents(); // the request queued for the dead dialog
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<CChoiceDialog*>(widget), nullptr);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SearchDialogTest, ShowRestoresTheLastStateAndHelpNeedsNoFile) {
    CSearchDialog dialog(context(), nullptr);
    dialog.showAndRestore();
    EXPECT_TRUE(dialog.isVisible());
    for (const bool maximized : {true, false}) {
        maximized ? dialog.showMaximized() : dialog.showNormal();
        dialog.hide();
        dialog.showAndRestore();
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.isMaximized() == maximized; }))
            << maximized;
    }

    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("도움말"))
            button->click();
    ASSERT_NE(dialog.helpPage(), nullptr);
    EXPECT_TRUE(dialog.helpPage()->isVisible());
    EXPECT_TRUE(messages.empty());
}
