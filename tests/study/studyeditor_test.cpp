// The note bar of the Bible windows: notes follow the verse and are never lost quietly.
#include "study/studyeditor.h"

#include "../support/busytimeout.h"
#include "../support/fixturedb.h"
#include "../support/shownmessages.h"
#include "../support/testcontext.h"
#include "app/application.h"
#include "app/mainframe.h"
#include "biblewindow/bibleframe.h"
#include "platform/commands.h"
#include "platform/settingsstore.h"
#include "study/study.h"
#include "widgets/gridctrl.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace qel;

namespace {

// Key presses that carry the characters, as an input method delivers Korean.
void typeInto(QWidget* editor, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(editor, &press);
    }
}

class StudyEditorTest : public ::testing::Test {
protected:
    StudyEditorTest() : test(fixtureSources()), frame(test.context, "") {
        frame.setExitConfirmation([] { return true; });
        frame.resize(900, 700);
        frame.show();
    }

    CBibleFrame* open(const std::string& version, const std::string& place) {
        frame.pendingPlace() = place;
        auto* window = static_cast<CBibleFrame*>(frame.openBibleVersion(version));
        window->noteBar()->show();
        QCoreApplication::processEvents();
        return window;
    }
    static void type(CBibleFrame* window, const QString& text) {
        window->noteBar()->editor()->setFocus();
        typeInto(window->noteBar()->editor(), text);
    }
    static QString shown(CBibleFrame* window) { return window->noteBar()->editor()->toPlainText(); }
    // What another program reading the note file finds.
    std::optional<std::string> stored(const NoteKey& key) {
        return NoteStore(test.dir.str() + "/Study.mdb").load(key);
    }

    TestContext test;
    CMainFrame frame;
    ShownMessages messages;
};

} // namespace

TEST_F(StudyEditorTest, EachBibleWindowButVrdHasAHiddenBarToggledBy117) {
    CBibleFrame* vra = open("VRA", "VRAgen001001");
    vra->noteBar()->hide();
    frame.updateCommandStates();
    QAction* toggle = frame.action(cmd::ToggleNoteBar);
    EXPECT_TRUE(toggle->isEnabled());
    EXPECT_FALSE(toggle->isChecked());
    toggle->trigger();
    EXPECT_TRUE(vra->noteBar()->isVisible());
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_TRUE(frame.action(cmd::NoteList)->isEnabled());

    frame.pendingPlace() = "VRDgen001001";
    auto* vrd = static_cast<CBibleFrame*>(frame.openBibleVersion("VRD"));
    EXPECT_EQ(vrd->noteBar(), nullptr);
    frame.updateCommandStates();
    EXPECT_FALSE(toggle->isEnabled());
    // The note list needs no window at all.
    EXPECT_TRUE(frame.action(cmd::NoteList)->isEnabled());
}

TEST_F(StudyEditorTest, EditThenMoveSavesUnderTheOldVerseClearingDeletesAndTheFlagFollows) {
    CBibleFrame* window = open("VRA", "VRAgen001001");
    EXPECT_FALSE(window->hasNote());
    EXPECT_EQ(window->noteBar()->placeLabel()->text(), QStringLiteral("창세기 1:1"));
    type(window, QStringLiteral("첫 줄"));
    QTest::keyClick(window->noteBar()->editor(), Qt::Key_Return);
    type(window, QStringLiteral("둘째 줄"));
    window->GoTo("gen", "1", "2", false, true);

    EXPECT_EQ(stored({"VRA", "gen", "1", "1"}), "첫 줄\r\n둘째 줄");
    EXPECT_FALSE(stored({"VRA", "gen", "1", "2"}));
    EXPECT_EQ(shown(window), QString());
    EXPECT_FALSE(window->hasNote());
    EXPECT_EQ(window->noteBar()->placeLabel()->text(), QStringLiteral("창세기 1:2"));

    window->GoTo("gen", "1", "1", false, true);
    EXPECT_TRUE(window->hasNote());
    EXPECT_EQ(shown(window), QStringLiteral("첫 줄\n둘째 줄"));
    EXPECT_FALSE(window->noteBar()->isModified());

    // Clearing the text deletes the row.
    window->noteBar()->editor()->selectAll();
    QTest::keyClick(window->noteBar()->editor(), Qt::Key_Delete);
    window->GoTo("gen", "1", "2", false, true);
    EXPECT_TRUE(NoteStore(test.dir.str() + "/Study.mdb").all().empty());
}

TEST_F(StudyEditorTest, IdleAutosaveKeepsTheTextAndMarksTheVerse) {
    CBibleFrame* window = open("VRA", "VRAjhn003016");
    window->noteBar()->setAutosaveDelay(50);
    type(window, QStringLiteral("세상을 사랑하사"));
    EXPECT_FALSE(stored({"VRA", "jhn", "3", "16"}));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return stored({"VRA", "jhn", "3", "16"}) == "세상을 사랑하사";
    }));
    EXPECT_EQ(shown(window), QStringLiteral("세상을 사랑하사"));
    EXPECT_TRUE(window->hasNote());
    EXPECT_FALSE(window->noteBar()->isModified());
}

// Another program (a second instance, qel-mkdb --import-notes) writes the note while the bar
// holds its older text: the next save keeps both texts, as a merge does, and says so.
TEST_F(StudyEditorTest, ANoteChangedElsewhereWhileEditedKeepsBothTexts) {
    CBibleFrame* window = open("VRA", "VRAgen001001");
    type(window, QStringLiteral("내 노트"));
    ASSERT_TRUE(window->noteBar()->saveNow());
    NoteStore(test.dir.str() + "/Study.mdb").save({"VRA", "gen", "1", "1"}, "다른 곳의 노트");

    type(window, QStringLiteral(" 더"));
    ASSERT_TRUE(window->noteBar()->saveNow());
    const std::string both = "다른 곳의 노트\r\n----------\r\n내 노트 더";
    EXPECT_EQ(stored({"VRA", "gen", "1", "1"}), both);
    EXPECT_EQ(shown(window), QString::fromStdString(both).replace("\r\n", "\n"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("두 내용을 모두 남겼습니다"), std::string::npos);

    // From then on the bar writes over what it shows.
    type(window, QStringLiteral("!"));
    ASSERT_TRUE(window->noteBar()->saveNow());
    EXPECT_EQ(stored({"VRA", "gen", "1", "1"}), both + "!");
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(StudyEditorTest, ASaveFailureKeepsTheTextAndTellsTheReader) {
    const ShortBusyTimeout busy;
    CBibleFrame* window = open("VRA", "VRAgen001001");
    type(window, QStringLiteral("잃으면 안 되는 노트"));
    {
        // Another program holds the file longer than the bar waits.
        Database other(test.dir.str() + "/Study.mdb", Database::Mode::ReadWrite);
        other.execute("begin exclusive");
        window->GoTo("gen", "1", "2", false, true);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("사용자 노트를 저장하지 못했습니다."), std::string::npos);
        EXPECT_EQ(shown(window), QStringLiteral("잃으면 안 되는 노트"));
        EXPECT_EQ(window->noteBar()->noteKey(), (NoteKey{"VRA", "gen", "1", "1"}));
        EXPECT_EQ(window->noteBar()->placeLabel()->text(), QStringLiteral("창세기 1:1"));

        // Closing is refused once, with a message; the window and its text stay.
        EXPECT_FALSE(window->close());
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_NE(messages[1].find("창을 닫지 않았습니다"), std::string::npos);
        EXPECT_EQ(shown(window), QStringLiteral("잃으면 안 되는 노트"));
        other.execute("rollback");
    }
    // The next move writes it.
    window->GoTo("gen", "2", "1", false, true);
    EXPECT_EQ(stored({"VRA", "gen", "1", "1"}), "잃으면 안 되는 노트");
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(StudyEditorTest, TheEditorTakesAtMost4096CharactersAndGetsTheEditCommands) {
    CBibleFrame* window = open("VRA", "VRAgen001001");
    QPlainTextEdit* editor = window->noteBar()->editor();
    QApplication::clipboard()->setText(QString(5000, QChar(0xB178))); // 노
    editor->setFocus();
    frame.updateCommandStates();
    ASSERT_TRUE(frame.action(cmd::Paste)->isEnabled());
    frame.action(cmd::Paste)->trigger();
    EXPECT_EQ(editor->toPlainText().size(), CStudyEditor::kTextLimit);
    typeInto(editor, QStringLiteral("더"));
    EXPECT_EQ(editor->toPlainText().size(), CStudyEditor::kTextLimit);

    editor->setPlainText(QStringLiteral("복사할 말"));
    frame.updateCommandStates();
    EXPECT_FALSE(frame.action(cmd::Copy)->isEnabled());
    frame.action(cmd::SelectAll)->trigger();
    frame.updateCommandStates();
    ASSERT_TRUE(frame.action(cmd::Copy)->isEnabled());
    frame.action(cmd::Copy)->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("복사할 말"));
    frame.action(cmd::EditorExtra)->trigger();
    EXPECT_EQ(editor->toPlainText(), QString());
    frame.updateCommandStates();
    ASSERT_TRUE(frame.action(cmd::Undo)->isEnabled());
    frame.action(cmd::Undo)->trigger();
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("복사할 말"));
}

TEST_F(StudyEditorTest, TheListButtonOpensTheModalNoteListWithTheNoteJustTyped) {
    CBibleFrame* window = open("VRA", "VRAgen001001");
    type(window, QStringLiteral("방금 쓴 노트"));
    QString title;
    int rows = 0;
    QTimer::singleShot(0, [&] {
        if (auto* list = qobject_cast<CStudy*>(QApplication::activeModalWidget())) {
            title = list->windowTitle();
            rows = list->grid()->GetRowCount();
            list->close();
        }
    });
    window->noteBar()->listButton()->click();
    EXPECT_EQ(title, QStringLiteral("사용자 노트 목록"));
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(shown(window), QStringLiteral("방금 쓴 노트"));
}

namespace {

// An installation with the fixture content and settings of its own, in `dir`.
std::filesystem::path makeInstallation(const std::filesystem::path& dir) {
    const std::filesystem::path install = dir / "install";
    std::filesystem::create_directories(install / "Data" / "DB");
    mkdb::buildContentDatabase(fixtureSources(), (install / "Data/DB/Bible.m14").string(),
                               [](const std::string&) {});
    std::filesystem::create_directories(dir / "config" / "QEL");
    std::filesystem::create_directories(dir / "runtime");
    std::ofstream(dir / "config" / "QEL" / "QEL CD-ROM 성경.ini")
        << "[Path]\nInstalled To=" << install.string() << "/\nInstall Type=0\n"
        << "[Settings]\nViewIntro=0\n";
    return install;
}

// This test program again, as the program of that installation, running one test.
void startChild(QProcess& child, const std::filesystem::path& dir, const char* test,
                const QString& mode) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QEL_NOTE_EXIT_CHILD", mode);
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((dir / "config").string()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString((dir / "runtime").string()));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=") + QString::fromLatin1(test)});
}

// In the child: the program started, with a note typed in a window of each key.
const char* const kExitKeys[] = {"BVRAgen001001", "BKJVgen001002"};

CMainFrame* startAndType() {
    Application* app = Application::instance();
    if (app->start())
        return nullptr;
    CMainFrame* frame = app->mainFrame();
    frame->setExitConfirmation([] { return true; });
    for (const char* key : kExitKeys) {
        auto* window = static_cast<CBibleFrame*>(frame->openByCommandKey(key, true));
        window->noteBar()->show();
        window->noteBar()->editor()->setFocus();
        typeInto(window->noteBar()->editor(), QStringLiteral("끝나기 전에 ") + key);
    }
    return frame;
}

} // namespace

// How a desktop ends a program: the reader closing the main window, logout and shutdown
// (SIGTERM), a closed terminal or remote session (SIGHUP), Ctrl+C (SIGINT), and a display
// server that went away, where the platform calls exit() from inside the event loop. The
// notes just typed in two windows, well before the idle autosave, are saved each time. The
// child half runs in a process of its own.
TEST(StudyEditorExit, NotesJustTypedSurviveEveryWayTheProgramEnds) {
    const char* test = "StudyEditorExit.NotesJustTypedSurviveEveryWayTheProgramEnds";
    if (qEnvironmentVariableIsSet("QEL_NOTE_EXIT_CHILD")) {
        CMainFrame* frame = startAndType();
        ASSERT_TRUE(frame);
        const QByteArray mode = qgetenv("QEL_NOTE_EXIT_CHILD");
        if (mode == "display")
            std::exit(1);
        if (mode == "quit")
            QTimer::singleShot(0, frame, &QWidget::close);
        std::printf("typed\n");
        std::fflush(stdout);
        QCoreApplication::exec();
        return;
    }
    const std::pair<const char*, int> ends[] = {
        {"quit", 0}, {"SIGTERM", SIGTERM}, {"SIGHUP", SIGHUP}, {"SIGINT", SIGINT}, {"display", 0}};
    for (const auto& [name, signal] : ends) {
        const TempDir dir;
        const std::filesystem::path install = makeInstallation(dir.path());
        QProcess child;
        startChild(child, dir.path(), test, signal ? "signal" : name);
        if (signal) {
            // Sent as soon as the text is in. The test runner writes its own lines first.
            for (bool typed = false; !typed;) {
                while (!child.canReadLine())
                    ASSERT_TRUE(child.waitForReadyRead(60000)) << name;
                typed = child.readLine().trimmed() == "typed";
            }
            ::kill(static_cast<pid_t>(child.processId()), signal);
        }
        ASSERT_TRUE(child.waitForFinished(60000)) << name;
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << name;
        EXPECT_EQ(child.exitCode(), std::string(name) == "display" ? 1 : 0)
            << name << child.readAllStandardError().toStdString();
        NoteStore store((install / "Study.mdb").string());
        EXPECT_EQ(store.load({"VRA", "gen", "1", "1"}), "끝나기 전에 BVRAgen001001") << name;
        EXPECT_EQ(store.load({"KJV", "gen", "1", "2"}), "끝나기 전에 BKJVgen001002") << name;
        // The windows come back at the next start, unless the display took the program down.
        const SettingsStore settings((dir.path() / "config/QEL/QEL CD-ROM 성경.ini").string());
        EXPECT_EQ(settings.readInt("Desk", "Windows", 0), std::string(name) == "display" ? 0 : 2)
            << name;
    }
}
