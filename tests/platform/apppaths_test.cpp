#include "platform/apppaths.h"

#include "../support/scopedenv.h"
#include "../support/tempdir.h"
#include "platform/settingsstore.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace qel;

namespace {

// The folders on one line: root, DB, DBF, word indexes, topics, maps; `base` shown as "~".
std::string folders(const AppPaths& p, const std::string& base = "~") {
    std::string line;
    for (std::string f : {p.installRoot, p.dbFolder, p.searchIndexFolder, p.wordIndexFolder,
                          p.topicFolder, p.mapFolder})
        line += (line.empty() ? "" : " ") + (f.starts_with(base) ? "~" + f.substr(base.size()) : f);
    return line;
}

} // namespace

TEST(AppPaths, WithoutARecordTheDataBesideTheProgramOrOfThePrefixIsUsed) {
    TempDir root;
    SettingsStore store((root.path() / "s.ini").string());
    const std::string prefix = root.str() + "/usr", program = prefix + "/bin/qelbible";
    std::filesystem::create_directories(prefix + "/bin");
    std::filesystem::create_directories(prefix + "/share/qelbible/Data");

    // An installed program: <prefix>/bin/qelbible, data in <prefix>/share/qelbible/.
    EXPECT_EQ(folders(AppPaths::compute(store, program), prefix + "/share/qelbible/"),
              "~ ~Data/DB/ ~Data/DBF/ ~Data/M14/ ~Data/M14/ ~Data/MAP/");
    // Data/ beside the program wins (a build folder).
    std::filesystem::create_directories(prefix + "/bin/Data");
    EXPECT_EQ(folders(AppPaths::compute(store, program), prefix + "/bin/"),
              "~ ~Data/DB/ ~Data/DBF/ ~Data/M14/ ~Data/M14/ ~Data/MAP/");
    // A file named Data is no data folder.
    std::filesystem::remove(prefix + "/bin/Data");
    std::ofstream(prefix + "/bin/Data") << "x";
    EXPECT_EQ(AppPaths::compute(store, program).installRoot, prefix + "/share/qelbible/");
    // Any value of a record means the record decides.
    store.writeString("Path", "Installed From", "/media/cdrom");
    EXPECT_EQ(AppPaths::compute(store, program).dbFolder, "/media/cdrom/Data/DB/");
}

TEST(AppPaths, InstallTypesChooseFoldersFromTheCd) {
    TempDir dir;
    SettingsStore store((dir.path() / "s.ini").string());
    const auto paths = [&] { return AppPaths::compute(store, "/opt/qel/bin/qelbible"); };
    store.writeString("Path", "Installed To", "/srv/qel");
    // A record without an install type still reads the CD.
    EXPECT_EQ(folders(paths()), "/srv/qel/ D:/Data/DB/ D:/Data/DBF/ D:/Data/M14/ D:/Data/M14/ "
                                "D:/Data/Map/");

    store.writeString("Path", "Installed From", "/media/cdrom\\");
    store.writeInt("Path", "Install Type", 2);
    EXPECT_EQ(folders(paths(), "/media/cdrom/Data/"),
              "/srv/qel/ /srv/qel/Data/DB/ ~DBF/ ~M14/ /srv/qel/Data/M14/ ~Map/");
    store.writeInt("Path", "Install Type", 3);
    EXPECT_EQ(folders(paths(), "/media/cdrom/Data/"),
              "/srv/qel/ /srv/qel/Data/DB/ /srv/qel/Data/DBF/ /srv/qel/Data/M14/ "
              "/srv/qel/Data/M14/ ~Map/");
    for (int type : {0, 4}) {
        store.writeInt("Path", "Install Type", type);
        EXPECT_EQ(folders(paths(), "/srv/qel/Data/"), "/srv/qel/ ~DB/ ~DBF/ ~M14/ ~M14/ ~MAP/");
        EXPECT_EQ(paths().installedFrom, "/media/cdrom/"); // the intro video is still sought there
    }
}

TEST(AppPaths, DotMeansTheProgramsOwnDataFolder) {
    // The record the build writes ("./", local) also serves a program installed elsewhere.
    TempDir root;
    SettingsStore store((root.path() / "s.ini").string());
    store.writeInt("Path", "Install Type", 0);
    std::filesystem::create_directories(root.path() / "build" / "Data");
    const std::string built = root.str() + "/build/qelbible";
    const std::string installed = root.str() + "/prefix/bin/qelbible";
    for (const char* dot : {"./", ".\\"}) {
        store.writeString("Path", "Installed To", dot);
        EXPECT_EQ(AppPaths::compute(store, built).dbFolder, root.str() + "/build/Data/DB/");
        EXPECT_EQ(AppPaths::compute(store, installed).installRoot,
                  root.str() + "/prefix/share/qelbible/");
    }
}

// The notes and the verse search's result file go where the program may write.
TEST(AppPaths, WrittenFilesLiveInTheInstallationUnlessItCannotBeWritten) {
    TempDir root;
    const ScopedEnv home("XDG_DATA_HOME", root.str() + "/data");
    AppPaths paths;
    paths.installRoot = root.str() + "/";
    EXPECT_EQ(paths.studyDatabaseFile(), root.str() + "/Study.mdb");
    EXPECT_EQ(paths.searchResultFile(), root.str() + "/out.dat");
    EXPECT_FALSE(std::filesystem::exists(root.str() + "/data"));

    paths.installRoot = root.str() + "/missing/";
    EXPECT_EQ(paths.studyDatabaseFile(), root.str() + "/data/qelbible/Study.mdb");
    EXPECT_EQ(paths.searchResultFile(), root.str() + "/data/qelbible/out.dat");
    EXPECT_TRUE(std::filesystem::is_directory(root.str() + "/data/qelbible"))
        << "the folder is there to write into";
}

TEST(AppPaths, AnInstalledProgramImportsIntoTheUserFolderAndThenReadsFromIt) {
    TempDir root;
    const ScopedEnv home("XDG_DATA_HOME", root.str() + "/data");
    SettingsStore store((root.path() / "s.ini").string());
    const std::string prefix = root.str() + "/usr";
    const std::string user = root.str() + "/data/qelbible/Data/";
    std::filesystem::create_directories(prefix + "/bin");
    std::filesystem::create_directories(prefix + "/share/qelbible/Data/DB");
    EXPECT_EQ(AppPaths::userDataHome(), root.str() + "/data/qelbible/");

    AppPaths installed = AppPaths::compute(store, prefix + "/bin/qelbible");
    AppPaths::ImportTarget target = installed.importTarget(prefix + "/bin/qel-mkdb");
    EXPECT_EQ(target.database, user + "DB/Bible.m14");
    EXPECT_EQ(target.seedFrom, prefix + "/share/qelbible/Data/");

    // Once the reader's folder holds a database, it and its indexes are read and imported
    // into; topics and maps stay with the program.
    std::filesystem::create_directories(user + "DB");
    std::ofstream(user + "DB/Bible.m14") << "x";
    installed = AppPaths::compute(store, prefix + "/bin/qelbible");
    EXPECT_EQ(folders(installed, prefix + "/share/qelbible/"),
              "~ " + user + "DB/ " + user + "DBF/ " + user + "M14/ ~Data/M14/ ~Data/MAP/");
    target = installed.importTarget(prefix + "/bin/qel-mkdb");
    EXPECT_EQ(target.database, user + "DB/Bible.m14");
    EXPECT_EQ(target.seedFrom, "");

    // A build folder imports into its own Data/.
    std::filesystem::remove_all(root.str() + "/data");
    std::filesystem::create_directories(prefix + "/bin/Data");
    const AppPaths build = AppPaths::compute(store, prefix + "/bin/qelbible");
    target = build.importTarget(prefix + "/bin/qel-mkdb");
    EXPECT_EQ(target.database, prefix + "/bin/Data/DB/Bible.m14");
    EXPECT_EQ(target.seedFrom, "");

    // A relative XDG_DATA_HOME is not used.
    const ScopedEnv relative("XDG_DATA_HOME", "data");
    EXPECT_EQ(AppPaths::userDataHome().rfind("/", 0), 0u);
}
