#include "bible/editions.h"
#include "bible/swordsources.h"
#include "bible/versiontitles.h"
#include "platform/codec.h"
#include "platform/settingsstore.h"

#include "../support/tempdir.h"

#include <gtest/gtest.h>

using namespace qel;

TEST(SwordSources, BuiltInFirstThenTheReadersOwnByNameOrAddress) {
    TempDir dir;
    SettingsStore store((dir.path() / "settings.ini").string());
    ASSERT_EQ(allSources(store).front().address, "https://crosswire.org/ftpmirror/pub/sword/raw");
    // A built-in name cannot be taken; the same name replaces the reader's entry.
    EXPECT_FALSE(addUserSource(store, {"CrossWire", "http://elsewhere", false}));
    EXPECT_TRUE(addUserSource(store, {"우리 교회", "http://example.test/sword", false}));
    EXPECT_TRUE(addUserSource(store, {"우리 교회", "ftp://example.test/sword", false}));
    EXPECT_TRUE(addUserSource(store, {"폴더", dir.str(), false}));
    const SettingsStore reread(store.filePath());
    const std::vector<SwordSource> sources = allSources(reread);
    ASSERT_EQ(sources.size(), builtInSources().size() + 2);
    EXPECT_EQ(sources[builtInSources().size()].address, "ftp://example.test/sword");
    EXPECT_EQ(resolveSource(reread, "우리 교회")->address, "ftp://example.test/sword");
    // An address or a folder is used as it is; an unknown name is nothing.
    EXPECT_EQ(resolveSource(reread, "https://a.test/raw/")->address, "https://a.test/raw");
    EXPECT_EQ(resolveSource(reread, dir.str())->address, dir.str());
    EXPECT_FALSE(resolveSource(reread, "없는 저장소"));
    EXPECT_TRUE(removeUserSource(store, "우리 교회"));
    EXPECT_EQ(allSources(store).size(), builtInSources().size() + 1);
    // Each address has its own cache folder, whatever characters it holds.
    EXPECT_NE(sourceCacheFolder({"a", "http://h/x/y", false}),
              sourceCacheFolder({"a", "http://h/x", false}));
    EXPECT_EQ(sourceCacheFolder({"a", "http://h:8/x y", false}).find(':', 1), std::string::npos);
}

TEST(SwordSources, RemoteAccessIsAskedOnce) {
    TempDir dir;
    SettingsStore store((dir.path() / "settings.ini").string());
    EXPECT_EQ(remoteAccess(store), RemoteAccess::NotAsked);
    setRemoteAccess(store, false);
    EXPECT_EQ(remoteAccess(SettingsStore(store.filePath())), RemoteAccess::Refused);
    setRemoteAccess(store, true);
    EXPECT_EQ(remoteAccess(store), RemoteAccess::Allowed);
}

TEST(SwordSources, ConfTextWithRtfEscapes) {
    EXPECT_EQ(plainConfText("First\\par Second\\par\\qc Third"), "First\nSecond\nThird");
    EXPECT_EQ(plainConfText("\\u54620?\\u44544?"), "한글");
    EXPECT_EQ(plainConfText("a \\\\ b \\{c\\}\\fs20 d"), "a \\ b {c}d");
}

TEST(EditionNames, ImportedEditionsCarryTheirOwnTitles) {
    const auto edition = [](const char* code, const std::string& name, const char* installed) {
        EditionInfo e;
        e.code = code;
        e.name = name;
        e.installed = installed;
        return e;
    };
    EditionInfo web = edition("NIV", "World English Bible", "2026-12-07");
    const EditionInfo korean =
        edition("VRA", utf8ToCp949("시험 역본 옛 맞춤법 성경전서 (1961년판)"), "2026-12-07");
    const EditionInfo built = edition("KJV", "King James Version", "");
    // Shortened at a word within 20 bytes, before any bracket; an abbreviation wins.
    EXPECT_EQ(cp949ToUtf8(editionShortName(korean)), "시험 역본 옛 맞춤법");
    EXPECT_EQ(editionShortName(web), "World English Bible");
    web.abbreviation = "WEB";
    EXPECT_EQ(editionShortName(web), "WEB");

    useEditionNames({web, korean, built});
    EXPECT_EQ(versionFullTitle("NIV"), "World English Bible");
    EXPECT_EQ(versionShortTitle("NIV"), "WEB");
    EXPECT_EQ(editionWindowTitle("NIV"), "World English Bible");
    EXPECT_EQ(cp949ToUtf8(versionShortTitle("VRA")), "시험 역본 옛 맞춤법");
    // The built editions keep the titles of their slots.
    EXPECT_EQ(editionWindowTitle("KJV"), "King James Version");
    EXPECT_EQ(cp949ToUtf8(editionWindowTitle("VRB")), "역본 나 성서");
    EXPECT_EQ(versionFullTitle("GNB"), "Today's English Version");
    setEditionNames({});
    EXPECT_EQ(versionShortTitle("NIV"), "NIV");
}
