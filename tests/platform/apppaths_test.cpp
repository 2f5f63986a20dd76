#include "platform/apppaths.h"

#include "../support/scopedenv.h"
#include "../support/tempdir.h"
#include "platform/settingsstore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace qel;

namespace {

struct PathsCase {
    TempDir dir;
    SettingsStore store{(dir.path() / "s.ini").string()};
    AppPaths compute() { return AppPaths::compute(store, "/opt/qel/bin/qelbible"); }
};

} // namespace

TEST(AppPaths, WithoutARecordTheDataBesideTheProgramOrOfThePrefixIsUsed) {
    TempDir root;
    SettingsStore store((root.path() / "s.ini").string());
    const std::string prefix = root.str() + "/usr";
    std::filesystem::create_directories(prefix + "/bin");
    std::filesystem::create_directories(prefix + "/share/qelbible/Data");

    // An installed program: <prefix>/bin/qelbible, data in <prefix>/share/qelbible/.
    AppPaths p = AppPaths::compute(store, prefix + "/bin/qelbible");
    EXPECT_EQ(p.installRoot, prefix + "/share/qelbible/");
    EXPECT_EQ(p.dbFolder, prefix + "/share/qelbible/Data/DB/");
    EXPECT_EQ(p.searchIndexFolder, prefix + "/share/qelbible/Data/DBF/");
    EXPECT_EQ(p.wordIndexFolder, prefix + "/share/qelbible/Data/M14/");
    EXPECT_EQ(p.topicFolder, prefix + "/share/qelbible/Data/M14/");
    EXPECT_EQ(p.mapFolder, prefix + "/share/qelbible/Data/MAP/");

    // Data/ beside the program wins (a build folder).
    std::filesystem::create_directories(prefix + "/bin/Data");
    p = AppPaths::compute(store, prefix + "/bin/qelbible");
    EXPECT_EQ(p.installRoot, prefix + "/bin/");
    EXPECT_EQ(p.dbFolder, prefix + "/bin/Data/DB/");
    EXPECT_EQ(p.mapFolder, prefix + "/bin/Data/MAP/");

    // A file named Data is no data folder.
    std::filesystem::remove(prefix + "/bin/Data");
    std::ofstream(prefix + "/bin/Data") << "x";
    EXPECT_EQ(AppPaths::compute(store, prefix + "/bin/qelbible").installRoot,
              prefix + "/share/qelbible/");
    // Any value of a record means the record decides.
    store.writeString("Path", "Installed From", "/media/cdrom");
    EXPECT_EQ(AppPaths::compute(store, prefix + "/bin/qelbible").dbFolder, "/media/cdrom/Data/DB/");
}

TEST(AppPaths, ARecordWithoutInstallTypeStillReadsTheCd) {
    PathsCase c;
    c.store.writeString("Path", "Installed To", "/srv/qel");
    const AppPaths p = c.compute();
    EXPECT_EQ(p.installRoot, "/srv/qel/");
    EXPECT_EQ(p.dbFolder, "D:/Data/DB/");
    EXPECT_EQ(p.searchIndexFolder, "D:/Data/DBF/");
    EXPECT_EQ(p.wordIndexFolder, "D:/Data/M14/");
    EXPECT_EQ(p.topicFolder, "D:/Data/M14/");
    EXPECT_EQ(p.mapFolder, "D:/Data/Map/");
}

TEST(AppPaths, InstallTypesChooseFoldersFromTheCd) {
    PathsCase c;
    c.store.writeString("Path", "Installed To", "/srv/qel");
    c.store.writeString("Path", "Installed From", "/media/cdrom\\");

    c.store.writeInt("Path", "Install Type", 2);
    AppPaths p = c.compute();
    EXPECT_EQ(p.installRoot, "/srv/qel/");
    EXPECT_EQ(p.dbFolder, "/srv/qel/Data/DB/");
    EXPECT_EQ(p.topicFolder, "/srv/qel/Data/M14/");
    EXPECT_EQ(p.searchIndexFolder, "/media/cdrom/Data/DBF/");
    EXPECT_EQ(p.wordIndexFolder, "/media/cdrom/Data/M14/");
    EXPECT_EQ(p.mapFolder, "/media/cdrom/Data/Map/");

    c.store.writeInt("Path", "Install Type", 3);
    p = c.compute();
    EXPECT_EQ(p.searchIndexFolder, "/srv/qel/Data/DBF/");
    EXPECT_EQ(p.mapFolder, "/media/cdrom/Data/Map/");

    for (int type : {0, 4}) {
        c.store.writeInt("Path", "Install Type", type);
        p = c.compute();
        EXPECT_EQ(p.dbFolder, "/srv/qel/Data/DB/");
        EXPECT_EQ(p.mapFolder, "/srv/qel/Data/MAP/");
        EXPECT_EQ(p.installedFrom, "/media/cdrom/"); // the intro video is still sought there
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
    EXPECT_EQ(installed.dbFolder, prefix + "/share/qelbible/Data/DB/");
    AppPaths::ImportTarget target = installed.importTarget(prefix + "/bin/qel-mkdb");
    EXPECT_EQ(target.database, user + "DB/Bible.m14");
    EXPECT_EQ(target.seedFrom, prefix + "/share/qelbible/Data/");

    // Once the reader's folder holds a database, it and its indexes are read and imported
    // into; topics and maps stay with the program.
    std::filesystem::create_directories(user + "DB");
    std::ofstream(user + "DB/Bible.m14") << "x";
    installed = AppPaths::compute(store, prefix + "/bin/qelbible");
    EXPECT_EQ(installed.dbFolder, user + "DB/");
    EXPECT_EQ(installed.searchIndexFolder, user + "DBF/");
    EXPECT_EQ(installed.wordIndexFolder, user + "M14/");
    EXPECT_EQ(installed.topicFolder, prefix + "/share/qelbible/Data/M14/");
    EXPECT_EQ(installed.mapFolder, prefix + "/share/qelbible/Data/MAP/");
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
    EXPECT_NE(AppPaths::userDataHome(), "data/qelbible/");
}
