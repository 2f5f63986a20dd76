// The Bible library against a repository the test serves on 127.0.0.1, and qel-mkdb's
// repository commands.
#include "app/librarydialog.h"

#include "../support/files.h"
#include "../support/httpserver.h"
#include "../support/swordrepository.h"
#include "../support/testcontext.h"
#include "app/mainframe.h"
#include "app/shortcutbar.h"
#include "app/slotwarning.h"
#include "bible/editions.h"
#include "bible/swordsources.h"
#include "bible/versiontitles.h"
#include "biblewindow/bibleframe.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/messagesink.h"

#include <QAction>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace qel;
namespace fs = std::filesystem;

namespace {

mkdb::ContentSources sample() {
    mkdb::ContentSources s;
    s.versions["VRA"] = {{"gen", "1", "1", "견본 첫 구절"}, {"gen", "1", "2", "견본 둘째 구절"}};
    return s;
}

// Cache and settings of the test's own, a repository served over HTTP, a main window.
class LibraryTest : public ::testing::Test {
protected:
    LibraryTest() {
        setenv("XDG_CACHE_HOME", (test.dir.path() / "cache").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (test.dir.path() / "config").c_str(), 1);
        made = makeTestRepository(test.dir.path() / "repo");
        server = std::make_unique<TestHttpServer>(test.dir.path() / "repo");
        setMessageHandler([this](const std::string& text, const std::string&) {
            messages += cp949ToUtf8(text) + "\n";
        });
        frame.setExitConfirmation([] { return true; });
    }
    ~LibraryTest() override {
        setMessageHandler(nullptr);
        setEditionNames({});
        unsetenv("XDG_CACHE_HOME");
        unsetenv("XDG_CONFIG_HOME");
    }
    void SetUp() override {
        if (!made)
            GTEST_SKIP() << "osis2mod (libsword-utils) is not installed";
    }
    std::unique_ptr<CLibraryDialog> openDialog() {
        auto dialog = std::make_unique<CLibraryDialog>(test.context,
                                                       QStringLiteral(QEL_BUILD_DIR "/qel-mkdb"));
        dialog->selectSource(QString::fromStdString(server->address()));
        return dialog;
    }
    std::string db() const { return (test.dir.path() / "Data" / "DB" / "Bible.m14").string(); }
    CBibleFrame* open(const std::string& version, const std::string& place) {
        frame.pendingPlace() = place;
        return static_cast<CBibleFrame*>(frame.openBibleVersion(version));
    }
    static std::string pageText(const CBibleFrame* window) {
        std::string page;
        for (const MarkupNode* n = window->content().head(); n; n = n->next())
            page += n->text;
        return cp949ToUtf8(page);
    }
    // qel-mkdb with the test's cache and settings; its exit code.
    static int mkdb(const QStringList& args) {
        QProcess process;
        process.start(QStringLiteral(QEL_BUILD_DIR "/qel-mkdb"), args);
        process.waitForFinished(120000);
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    TestContext test{sample()};
    bool made = false;
    std::unique_ptr<TestHttpServer> server;
    CMainFrame frame{test.context, ""};
    std::string messages;
};

} // namespace

// The dialogs show qel-mkdb's progress in Korean and take their bar from the same lines.
TEST(MkdbProgress, LinesAreReadForTheBarAndSaidInKorean) {
    const MkdbProgress bytes = readMkdbProgress("KorRV: 1048576 / 2097152 bytes (50%)");
    EXPECT_EQ(bytes.text, QStringLiteral("받는 중: KorRV (1048576 / 2097152 바이트, 50%)"));
    EXPECT_EQ(bytes.percent, 50);
    const MkdbProgress books = readMkdbProgress("VRA: 12 books, 3456 verses, 9000 verses/s");
    EXPECT_EQ(books.text, QStringLiteral("VRA 자리에 넣는 중: 12권, 3456절"));
    EXPECT_EQ(books.books, 12);
    EXPECT_FALSE(books.percent);
    EXPECT_EQ(readMkdbProgress("word index /d/M14/6.m14").text,
              QStringLiteral("단어찾기 색인을 만드는 중: /d/M14/6.m14"));
    const QString reason = QStringLiteral("다른 가져오기가 진행 중입니다");
    EXPECT_EQ(readMkdbProgress(reason).text, reason);
}

TEST_F(LibraryTest, InstallsIntoTheSampleSlotAndEveryWindowNamesTheEdition) {
    setRemoteAccess(*test.context.store, true);
    auto dialog = openDialog();
    EXPECT_TRUE(dialog->statusText().contains(QStringLiteral("아직 받지 않았습니다")));
    dialog->refresh();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->running(); }, 30000));
    // Korean Bibles, by description; the dictionary is not listed.
    EXPECT_EQ(dialog->listedModules(), (QStringList{"KorTest", "KorOld", "KorGone"}));
    dialog->setFilter(QStringLiteral("ko"), QStringLiteral("맞춤법"));
    ASSERT_EQ(dialog->listedModules(), QStringList{"KorTest"});
    EXPECT_TRUE(dialog->detailsText().contains(QStringLiteral("1.2")));
    EXPECT_TRUE(dialog->detailsText().contains(QStringLiteral("Public Domain")));
    EXPECT_TRUE(dialog->detailsText().contains(QStringLiteral("시험에 쓰려고")));
    EXPECT_EQ(dialog->slotCode(), QStringLiteral("VRA"));
    EXPECT_TRUE(dialog->warningText().contains(QStringLiteral("견본 구절 2절")));

    CBibleFrame* vra = open("VRA", "VRAgen001001");
    ASSERT_TRUE(vra->sampleBar());
    EXPECT_TRUE(vra->sampleBar()->isVisibleTo(vra));
    QSignalSpy installed(dialog.get(), &CLibraryDialog::installed);
    QObject::connect(dialog.get(), &CLibraryDialog::installed, &frame,
                     [this](const QString& code) { frame.contentReplaced(code.toStdString()); });
    dialog->startInstall();
    ASSERT_TRUE(installed.wait(120000)) << messages;
    EXPECT_TRUE(dialog->statusText().startsWith(QStringLiteral("설치했습니다: VRA 자리에 6절과")))
        << dialog->statusText().toStdString();

    // The chapter window shows the new text under the edition's own name.
    const QString name = QStringLiteral("시험 역본 옛 맞춤법 성경전서");
    EXPECT_EQ(vra->windowTitle(), name);
    EXPECT_FALSE(vra->sampleBar()->isVisibleTo(vra));
    EXPECT_EQ(frame.action(cmd::OpenVRA)->text(), name);
    EXPECT_EQ(frame.shortcutBar()->tree()->topLevelItem(0)->child(0)->text(0), name);
    // A main window made later names it too, as after a restart.
    EXPECT_EQ(CMainFrame(test.context, "").action(cmd::OpenVRA)->text(), name);
    vra->GoTo("gen", "1", "3", false, true);
    EXPECT_NE(pageText(vra).find("빛이 나타났읍니다"), std::string::npos) << pageText(vra);
    EXPECT_NE(cp949ToUtf8(vra->verseCitation(utf8ToCp949("빛이 나타났읍니다"), "3"))
                  .find("시험 역본 옛 맞춤법"),
              std::string::npos);
}

TEST_F(LibraryTest, AFailedInstallSaysWhyAndChangesNothing) {
    setRemoteAccess(*test.context.store, true);
    auto dialog = openDialog();
    dialog->refresh();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->running(); }, 30000));
    ASSERT_TRUE(dialog->selectModule(QStringLiteral("KorTest")));
    const std::string before = fileBytes(db());
    server->stop();
    messages.clear();
    dialog->startInstall();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->running(); }, 30000));
    EXPECT_NE(messages.find("설치하지 못했습니다. 바뀐 것은 없습니다."), std::string::npos);
    EXPECT_NE(messages.find("에 연결할 수 없습니다"), std::string::npos) << messages;
    EXPECT_EQ(fileBytes(db()), before);
    // The list fetched before is still there.
    EXPECT_EQ(dialog->listedModules().size(), 3);
}

TEST_F(LibraryTest, TheSampleBarCanBeToldNotToAskAgain) {
    CBibleFrame* vra = open("VRA", "VRAgen001001");
    ASSERT_TRUE(vra->sampleBar()->isVisibleTo(vra));
    vra->sampleBar()->findChild<QPushButton*>(QStringLiteral("NeverAsk"))->click();
    EXPECT_FALSE(vra->sampleBar()->isVisibleTo(vra));
    EXPECT_EQ(test.context.store->readInt("Settings", "Sample Bar Off", 0), 1);
    vra->updateTitle();
    EXPECT_FALSE(vra->sampleBar()->isVisibleTo(vra));
}

TEST_F(LibraryTest, TheSampleComesBackInTheWindowUnderItsOwnTitle) {
    CBibleFrame* vra = open("VRA", "VRAgen001001");
    const std::string sample = pageText(vra);
    const QString title = vra->windowTitle();
    ASSERT_EQ(mkdb({"--install", "KorTest", "--from", QString::fromStdString(server->address()),
                    "--as", "VRA", "--db", QString::fromStdString(db()), "--allow-network"}),
              0);
    frame.contentReplaced("VRA");
    ASSERT_NE(pageText(vra), sample);
    ASSERT_FALSE(vra->sampleBar()->isVisibleTo(vra));

    auto dialog = openDialog();
    dialog->selectSlot(QStringLiteral("VRB")); // no sample to return to
    EXPECT_FALSE(dialog->canRestoreSample());
    dialog->selectSlot(QStringLiteral("VRA"));
    ASSERT_TRUE(dialog->canRestoreSample());
    QObject::connect(dialog.get(), &CLibraryDialog::installed, &frame,
                     [this](const QString& code) { frame.contentReplaced(code.toStdString()); });
    QSignalSpy restored(dialog.get(), &CLibraryDialog::installed);
    dialog->startRestore();
    ASSERT_TRUE(restored.wait(60000)) << messages;
    EXPECT_EQ(pageText(vra), sample);
    EXPECT_EQ(vra->windowTitle(), title);
    EXPECT_TRUE(slotHoldsSample(test.context.contentDb, "VRA")); // the sample bar's question
    EXPECT_FALSE(dialog->canRestoreSample());
}
