// The companion programs: their windows, the protocol to the reader, and the reader's side.
#include "app/mainframe.h"
#include "biblewindow/bibleframe.h"
#include "companion/journalstore.h"
#include "companion/ui/diarywindow.h"
#include "companion/ui/planwindow.h"
#include "companion/ui/readerlink.h"
#include "platform/commands.h"
#include "platform/singleinstance.h"

#include "../support/files.h"
#include "../support/fixturedb.h"
#include "../support/scopedenv.h"
#include "../support/testcontext.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace qel;

namespace {

// A private runtime folder, so that the sockets are the test's own.
struct RuntimeFolder {
    TempDir dir;
    ScopedEnv env{"XDG_RUNTIME_DIR", dir.str()};
};

// A stand-in program that writes its arguments to a file.
std::string writeRecorder(const std::filesystem::path& program, const std::string& output) {
    std::ofstream(program) << "#!/bin/sh\necho \"$@\" > '" << output << "'\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    return program.string();
}

// Text as a Korean input method hands it over.
void typeText(QWidget* edit, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(edit, &event);
}

} // namespace

TEST(CompanionProtocol, AKeySentOverTheSocketOpensTheReadersWindowThere) {
    RuntimeFolder runtime;
    TestContext test(fixtureSources());
    CMainFrame frame(test.context, "");
    frame.setExitConfirmation([] { return true; });
    SingleInstance server;
    ASSERT_TRUE(server.claim());
    QObject::connect(&server, &SingleInstance::messageReceived, &frame,
                     &CMainFrame::handleInstanceMessage);

    ReaderLink link(QStringLiteral("/nonexistent/qelbible"));
    QSignalSpy finished(&link, &ReaderLink::finished);
    link.open(QStringLiteral("BVRAgen001001"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 5000));
    EXPECT_EQ(finished[0][0].value<ReaderLink::Outcome>(), ReaderLink::Outcome::Sent);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame.frameRegistry().frames().empty(); }, 5000));
    auto* vra = dynamic_cast<CBibleFrame*>(frame.frameRegistry().frames()[0]);
    ASSERT_NE(vra, nullptr);
    EXPECT_EQ(vra->currentKey(), "VRAgen001001");

    // A second key moves the same window.
    link.open(QStringLiteral("BVRAjhn003016"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return vra->currentKey() == "VRAjhn003016"; }, 5000));
    EXPECT_EQ(frame.frameRegistry().frames().size(), 1u);
    // A shorter key ends at its zero: nothing of "jhn003016" is left behind it.
    link.open(QStringLiteral("BKJV"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.frameRegistry().frames().size() == 2; }, 5000));
    EXPECT_EQ(dynamic_cast<CBibleFrame*>(frame.frameByCode("KJV"))->currentKey(), "KJVgen001001");
}

TEST(CompanionProtocol, WithoutARunningReaderTheReaderStartsWithTheKey) {
    RuntimeFolder runtime;
    const std::string output = runtime.dir.str() + "/arguments";
    ReaderLink link(QString::fromStdString(writeRecorder(runtime.dir.path() / "qelbible", output)));
    QSignalSpy finished(&link, &ReaderLink::finished);
    link.open(QStringLiteral("BKJVmat005003"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 5000));
    EXPECT_EQ(finished[0][0].value<ReaderLink::Outcome>(), ReaderLink::Outcome::Started);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fileBytes(output) == "BKJVmat005003\n"; }, 5000))
        << fileBytes(output);
}

TEST(CompanionPrograms, TheReaderStartsTheOneBesideIt) {
    TestContext test(fixtureSources());
    CMainFrame frame(test.context, "");
    frame.setExitConfirmation([] { return true; });
    const std::string output = test.dir.str() + "/started";
    writeRecorder(test.dir.path() / "qelplan", output);
    frame.updateCommandStates();
    frame.action(cmd::ReadingPlan)->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(output); }, 5000));
}

class CompanionWindowTest : public ::testing::Test {
protected:
    std::shared_ptr<JournalStore> open() {
        return std::make_shared<JournalStore>(dir.str() + "/Study.mdb");
    }
    TempDir dir;
    ReaderLink link{QStringLiteral("/nonexistent/qelbible")};
};

TEST_F(CompanionWindowTest, PlanWindowTicksReadingsCatchesUpAndReopensAsLeft) {
    const CivilDate today{2025, 1, 3};
    {
        CPlanWindow window(open(), &link, today);
        window.startPlan("mcheyne", {2025, 1, 1});
        // Days 1 and 2 behind, then today.
        QTreeWidget* tree = window.readings();
        ASSERT_EQ(tree->topLevelItemCount(), 3);
        EXPECT_TRUE(window.statusLabel()->text().contains(QStringLiteral("3일 밀림")));
        tree->topLevelItem(0)->child(0)->setCheckState(0, Qt::Checked);
        EXPECT_EQ(window.status().chaptersRead, 1);
        window.setDayRead(0, true);
        window.catchUpTo(1);
        EXPECT_EQ(window.status().daysBehind, 1);
        // Nothing behind: today's readings come first.
        EXPECT_EQ(tree->topLevelItem(0)->data(0, Qt::UserRole), 2);
        EXPECT_EQ(window.progress()->value(), 8);
    }
    CPlanWindow window(open(), &link, today);
    window.selectPlan("mcheyne");
    EXPECT_EQ(window.status().daysRead, 2);
    EXPECT_EQ(window.status().chaptersRead, 8);
}

TEST_F(CompanionWindowTest, DiaryKeepsEveryWordAndFindsItsDays) {
    const std::string body = repeated("주의 말씀은 내 발에 등이요 ", 20000);
    {
        auto store = open();
        store->startPlan("mcheyne", {2025, 1, 1});
        CDiaryWindow window(store, &link, {2025, 1, 2});
        typeText(window.titleEdit(), QStringLiteral("둘째 날"));
        window.takePlanPassage("mcheyne");
        EXPECT_EQ(window.passageEdit()->text(),
                  QStringLiteral("창세기 2장, 마태복음 2장, 에스라 2장, 사도행전 2장"));
        window.bodyEdit()->setPlainText(QString::fromStdString(body));
        // Going to another day saves the page first.
        window.showDate({2025, 1, 5});
        EXPECT_TRUE(window.titleEdit()->text().isEmpty());
        typeText(window.prayerEdit(), QStringLiteral("가족"));
        // Closing saves the page being written.
    }
    auto store = open();
    const DiaryEntry second = *store->entry("2025-01-02");
    EXPECT_EQ(second.title, "둘째 날");
    EXPECT_EQ(second.body, body);
    EXPECT_EQ(second.passageKey, "gen:2:1");
    EXPECT_EQ(store->entry("2025-01-05")->prayer, "가족");

    CDiaryWindow window(store, &link, {2025, 1, 2});
    EXPECT_EQ(window.titleEdit()->text(), QStringLiteral("둘째 날"));
    EXPECT_EQ(window.calendar()->dateTextFormat(QDate(2025, 1, 5)).fontWeight(), QFont::Bold);
    EXPECT_NE(window.calendar()->dateTextFormat(QDate(2025, 1, 3)).fontWeight(), QFont::Bold);
    EXPECT_EQ(window.search(QStringLiteral("가족")), QStringList{"2025-01-05"});
    EXPECT_EQ(window.search(QStringLiteral("등이요")), QStringList{"2025-01-02"});
}

TEST(CompanionPrograms, ASecondStartLeavesTheFirstRunningAndEnds) {
    RuntimeFolder runtime;
    const QString notes = QString::fromStdString(runtime.dir.str() + "/Study.mdb");
    QProcess first;
    first.start(QStringLiteral(QEL_BUILD_DIR "/qelplan"), {"--notes", notes});
    ASSERT_TRUE(first.waitForStarted());
    const QString socket = SingleInstance::socketPath(QStringLiteral("QEL_PLAN"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(socket); }, 20000));

    QProcess second;
    second.start(QStringLiteral(QEL_BUILD_DIR "/qelplan"), {"--notes", notes});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}
