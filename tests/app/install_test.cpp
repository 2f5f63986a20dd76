// Installs the build into a temporary prefix and starts the installed program.
#include "../support/files.h"
#include "../support/tempdir.h"

#include <QImage>
#include <QProcess>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

TEST(Install, APrefixInstallRunsWithAFreshSettingsFolder) {
    TempDir dir;
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
    std::filesystem::create_directories(dir.path() / "config");
    std::filesystem::create_directories(dir.path() / "runtime");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((dir.path() / "config").string()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString((dir.path() / "runtime").string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString shot = QString::fromStdString((dir.path() / "shot.png").string());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QString::fromStdString((prefix / "bin/qelbible").string()),
                  {"--nologo", "--screenshot", shot, "BKJVjhn003016"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_FALSE(QImage(shot).isNull());

    // The installed qel-mkdb imports into the reader's own folder, filled from the prefix
    // first, and leaves the prefix as it was.
    const std::filesystem::path installedDb = prefix / "share/qelbible/Data/DB/Bible.m14";
    const std::string before = fileBytes(installedDb);
    const std::filesystem::path osis = dir.path() / "mine.xml";
    std::ofstream(osis) << "<osis><div type=\"book\" osisID=\"Gen\"><chapter osisID=\"Gen.1\">"
                           "<verse osisID=\"Gen.1.1\">처음에</verse></chapter></div></osis>";
    env.insert("XDG_DATA_HOME", QString::fromStdString((dir.path() / "data").string()));
    QProcess import;
    import.setProcessEnvironment(env);
    import.start(QString::fromStdString((prefix / "bin/qel-mkdb").string()),
                 {"--import", QString::fromStdString(osis.string()), "--as", "VRE"});
    ASSERT_TRUE(import.waitForFinished(120000));
    EXPECT_EQ(import.exitCode(), 0) << import.readAllStandardError().toStdString();
    const std::filesystem::path own = dir.path() / "data/qelbible/Data";
    for (const char* file : {"DB/Bible.m14", "DBF/VRA.idx", "M14/4.m14"})
        EXPECT_TRUE(std::filesystem::is_regular_file(own / file)) << file;
    EXPECT_EQ(fileBytes(installedDb), before);
}
