// Starts the real program, and the one a prefix install puts in place, in a private settings
// and data folder.
#include "../support/files.h"
#include "../support/fixturedb.h"
#include "../support/tempdir.h"
#include "platform/database.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        install = dir.path() / "install";
        database = install / "Data" / "DB" / "Bible.m14";
        std::filesystem::create_directories(database.parent_path());
        std::filesystem::create_directories(dir.path() / "config" / "QEL");
        std::filesystem::create_directories(dir.path() / "runtime");
        std::ofstream(dir.path() / "config" / "QEL" / "QEL CD-ROM 성경.ini")
            << "[Path]\nInstalled To=" << install.string() << "/\nInstall Type=0\n";
    }

    void startProcess(QProcess& process, const QStringList& args,
                      const std::filesystem::path& program = QEL_PROGRAM) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", QString::fromStdString((dir.path() / "config").string()));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString((dir.path() / "runtime").string()));
        env.insert("XDG_DATA_HOME", QString::fromStdString((dir.path() / "data").string()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(QString::fromStdString(program.string()), args);
        ASSERT_TRUE(process.waitForStarted());
    }

    struct Result {
        int exitCode;
        QString stderrText;
    };
    Result run(const QStringList& args, const std::filesystem::path& program = QEL_PROGRAM) {
        QProcess process;
        startProcess(process, args, program);
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "program did not finish";
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardError())};
    }

    void buildDatabase() const {
        qel::mkdb::buildContentDatabase(fixtureSources(), database.string(),
                                        [](const std::string&) {});
    }
    QString shot() const { return QString::fromStdString((dir.path() / "shot.png").string()); }

    TempDir dir;
    std::filesystem::path install;
    std::filesystem::path database;
};

} // namespace

// Missing, garbage, empty, foreign, or a table without a column the reader needs.
TEST_F(StartupTest, ADatabaseTheReaderCannotUseFailsWithTheMessage) {
    const auto alter = [&](const char* change) {
        buildDatabase();
        qel::Database(database.string(), qel::Database::Mode::ReadWrite).execute(change);
    };
    const std::pair<const char*, std::function<void()>> damage[] = {
        {"missing", [] {}},
        {"garbage",
         [&] { std::ofstream(database, std::ios::binary) << std::string(5000, '\x7f'); }},
        {"empty", [&] { std::ofstream(database, std::ios::trunc); }},
        {"foreign",
         [&] {
             qel::Database(database.string(), qel::Database::Mode::Create)
                 .execute("create table unrelated (a TEXT)");
         }},
        {"no body", [&] { alter("alter table VRA drop column body"); }},
        {"no chap", [&] { alter("alter table CHAPTER rename column chap to chapter"); }},
    };
    for (const auto& [name, make] : damage) {
        SCOPED_TRACE(name);
        std::filesystem::remove(database);
        make();
        const Result r = run({"--nologo", "--screenshot", shot()});
        EXPECT_NE(r.exitCode, 0);
        EXPECT_NE(r.exitCode, -1) << "crashed";
        EXPECT_TRUE(
            r.stderrText.contains(QStringLiteral("데이타 파일을 열 수 없습니다...\nCD-ROM "
                                                 "드라이브를 확인하시고 다시 실행시켜 주십시오.")))
            << r.stderrText.toStdString();
        EXPECT_TRUE(r.stderrText.contains(QStringLiteral("데이타베이스 오류")));
        EXPECT_FALSE(QFile::exists(shot()));
    }
}

TEST_F(StartupTest, WindowCodesOpenTheirWindowAndUnknownOnesExitWithTwo) {
    buildDatabase();
    Result r = run({"--nologo", "--screenshot", shot()});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText.toStdString();
    const QImage empty(shot());
    EXPECT_GT(empty.width(), 100);
    r = run({"--nologo", "--screenshot", shot(), "--window", "VRA:VRAjhn003016"});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText.toStdString();
    const QImage withWindow(shot());
    ASSERT_EQ(withWindow.size(), empty.size());
    EXPECT_NE(withWindow, empty);
    QFile::remove(shot());

    r = run({"--window", "NOSUCH"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.stderrText.contains("--window NOSUCH: no window has this code"))
        << r.stderrText.toStdString();

    // The comparison windows open at a passage, the topic windows at a topic or a map.
    for (const char* window : {"COMPARE4:248", "MAP:f1"}) {
        r = run({"--nologo", "--screenshot", shot(), "--window", window});
        EXPECT_EQ(r.exitCode, 0) << r.stderrText.toStdString();
        EXPECT_TRUE(QFile::remove(shot())) << window;
    }

    r = run({"--nologo", "--screenshot", shot(), "Xabc"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.stderrText.contains("the command key Xabc opens no window"));
    EXPECT_FALSE(QFile::exists(shot()));
}

TEST_F(StartupTest, WithoutARecordTheDataBesideTheProgramIsFound) {
    // The program in the build folder, Data/ beside it, and no installation record.
    const auto settings = dir.path() / "config" / "QEL" / "QEL CD-ROM 성경.ini";
    std::filesystem::remove(settings);
    const Result r = run({"--nologo", "--screenshot", shot(), "BKJVjhn003016"});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText.toStdString();
    EXPECT_FALSE(QImage(shot()).isNull());
    // The program writes no record of its own.
    std::ifstream in(settings);
    const std::string written{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(written.find("[Path]"), std::string::npos) << written;
}

TEST_F(StartupTest, DamagedPageIsReportedAndTheProgramGoesOn) {
    for (const char* table : {"VRA", "CHAPTER"}) {
        std::filesystem::remove(database);
        buildDatabase();
        long page = 0, pageSize = 0;
        {
            qel::Database db(database.string(), qel::Database::Mode::ReadOnly);
            page = std::stol(qel::RecordSet(db, "select rootpage from sqlite_master where name=?",
                                            {std::string(table)})
                                 .field("rootpage"));
            pageSize = std::stol(qel::RecordSet(db, "pragma page_size").field("page_size"));
        }
        {
            std::fstream file(database, std::ios::binary | std::ios::in | std::ios::out);
            file.seekp((page - 1) * pageSize);
            file << std::string(static_cast<std::size_t>(pageSize), '\xAB');
        }
        SCOPED_TRACE(table);
        const Result r = run({"--nologo", "--screenshot", shot(), "BVRAjhn003016"});
        EXPECT_EQ(r.exitCode, 0) << r.stderrText.toStdString();
        EXPECT_TRUE(
            r.stderrText.contains(QStringLiteral("데이타 파일을 읽는 중에 오류가 생겼습니다")))
            << r.stderrText.toStdString();
        EXPECT_TRUE(QFile::exists(shot()));
        QFile::remove(shot());
    }
}

TEST_F(StartupTest, SettingsThatCannotBeWrittenAreToldOnceAndTheProgramEndsNormally) {
    // No installation record can be read: the program reads the data beside it.
    const auto ini = dir.path() / "config" / "QEL" / "QEL CD-ROM 성경.ini";
    std::filesystem::remove(ini);
    std::filesystem::create_directory(ini);
    // The window of the command line closes at exit and writes its place.
    const Result r = run({"--nologo", "--screenshot", shot(), "BVRAjhn003016"});
    EXPECT_EQ(r.exitCode, 0) << r.stderrText.toStdString();
    EXPECT_EQ(r.stderrText.count(QStringLiteral("설정 파일을 저장할 수 없습니다")), 1)
        << r.stderrText.toStdString();
    EXPECT_TRUE(r.stderrText.contains(QString::fromStdString(ini.string())));
    EXPECT_TRUE(QFile::exists(shot()));
}

TEST_F(StartupTest, SecondStartShowsTheFirstAndExitsAtOnce) {
    buildDatabase();
    QProcess first;
    startProcess(first, {"--nologo"});
    // Wait for the first instance's socket.
    const auto socket = dir.path() / "runtime" / "QEL_BIBLE_EXE_#1018312";
    QElapsedTimer timer;
    timer.start();
    while (!std::filesystem::exists(socket) && timer.elapsed() < 20000)
        first.waitForFinished(50);
    ASSERT_TRUE(std::filesystem::exists(socket)) << first.readAllStandardError().toStdString();

    timer.restart();
    const Result second = run({"--nologo"});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

TEST_F(StartupTest, APrefixInstallRunsWithAFreshSettingsFolder) {
    const std::filesystem::path prefix = dir.path() / "prefix";
    QProcess install;
    install.start(QEL_CMAKE_COMMAND, {"--install", QEL_BUILD_DIR, "--prefix",
                                      QString::fromStdString(prefix.string())});
    ASSERT_TRUE(install.waitForFinished(120000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();

    for (const char* file : {"bin/qelbible", "bin/qel-mkdb", "bin/qelplan", "bin/qeldiary",
                             "share/qelbible/Data/DB/Bible.m14", "share/qelbible/Data/DBF/VRA.idx",
                             "share/qelbible/Data/M14/4.m14"})
        EXPECT_TRUE(std::filesystem::is_regular_file(prefix / file)) << file;
    EXPECT_FALSE(std::filesystem::exists(prefix / "bin" / "Data"));

    const std::string entry = fileBytes(prefix / "share/applications/qelbible.desktop");
    EXPECT_NE(entry.find("\nExec=qelbible\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nIcon=qelbible\n"), std::string::npos) << entry;
    for (int size : {16, 32, 48, 256}) {
        const auto icon = prefix / "share/icons/hicolor" /
                          (std::to_string(size) + "x" + std::to_string(size)) / "apps" /
                          "qelbible.png";
        const QImage image(QString::fromStdString(icon.string()));
        EXPECT_EQ(image.size(), QSize(size, size)) << icon;
    }

    // No installation record: the installed program finds its data in the prefix.
    std::filesystem::remove(dir.path() / "config" / "QEL" / "QEL CD-ROM 성경.ini");
    Result r = run({"--nologo", "--screenshot", shot(), "BKJVjhn003016"}, prefix / "bin/qelbible");
    EXPECT_EQ(r.exitCode, 0) << r.stderrText.toStdString();
    EXPECT_FALSE(QImage(shot()).isNull());

    // The installed qel-mkdb imports into the reader's own folder, filled from the prefix
    // first, and leaves the prefix as it was.
    const std::filesystem::path installedDb = prefix / "share/qelbible/Data/DB/Bible.m14";
    const std::string before = fileBytes(installedDb);
    const std::filesystem::path osis = dir.path() / "mine.xml";
    std::ofstream(osis) << "<osis><div type=\"book\" osisID=\"Gen\"><chapter osisID=\"Gen.1\">"
                           "<verse osisID=\"Gen.1.1\">처음에</verse></chapter></div></osis>";
    r = run({"--import", QString::fromStdString(osis.string()), "--as", "VRE"},
            prefix / "bin/qel-mkdb");
    EXPECT_EQ(r.exitCode, 0) << r.stderrText.toStdString();
    const std::filesystem::path own = dir.path() / "data/qelbible/Data";
    for (const char* file : {"DB/Bible.m14", "DBF/VRA.idx", "M14/4.m14"})
        EXPECT_TRUE(std::filesystem::is_regular_file(own / file)) << file;
    EXPECT_EQ(fileBytes(installedDb), before);
}
