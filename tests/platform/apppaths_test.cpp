#include "platform/apppaths.h"

#include "../support/tempdir.h"
#include "platform/settingsstore.h"

#include <gtest/gtest.h>

using namespace qel;

namespace {

struct PathsCase {
    TempDir dir;
    SettingsStore store{(dir.path() / "s.ini").string()};
    AppPaths compute() { return AppPaths::compute(store, "/opt/qel/bin/qelbible"); }
};

} // namespace

TEST(AppPaths, MissingRecordMeansProgramFolderAndEverythingOnTheCd) {
    PathsCase c;
    const AppPaths p = c.compute();
    EXPECT_EQ(p.installRoot, "/opt/qel/bin/");
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

TEST(AppPaths, DotMeansTheProgramFolder) {
    PathsCase c;
    c.store.writeString("Path", "Installed To", "./");
    c.store.writeInt("Path", "Install Type", 0);
    EXPECT_EQ(c.compute().dbFolder, "/opt/qel/bin/Data/DB/");
    c.store.writeString("Path", "Installed To", ".\\");
    EXPECT_EQ(c.compute().installRoot, "/opt/qel/bin/");
}
