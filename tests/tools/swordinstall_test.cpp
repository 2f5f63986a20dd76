// Module lists and installs from a repository served on 127.0.0.1 by the test itself.
#include "installation.h"
#include "mkdb/swordinstall.h"

#include "platform/codec.h"
#include "platform/settingsstore.h"

#include "../support/ftpserver.h"
#include "../support/httpserver.h"
#include "../support/swordrepository.h"
#include "../support/tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <regex>
#include <sys/wait.h>
#include <thread>

using namespace qel;
using namespace qel::mkdb;
namespace fs = std::filesystem;

namespace {

// A small installation, a repository of test modules served over HTTP, and a cache folder
// of its own.
class SwordInstall : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CACHE_HOME", (dir.path() / "cache").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
        if (!makeTestRepository(repo()))
            GTEST_SKIP() << "osis2mod (libsword-utils) is not installed";
        buildSmallInstallation(dir.path() / "Data");
        server = std::make_unique<TestHttpServer>(repo());
    }
    void TearDown() override {
        unsetenv("XDG_CACHE_HOME");
        unsetenv("XDG_CONFIG_HOME");
    }

    fs::path repo() const { return dir.path() / "repo"; }
    std::string db() const { return (dir.path() / "Data" / "DB" / "Bible.m14").string(); }
    SwordSource http() const { return {"시험 저장소", server->address(), false}; }

    InstallRequest request(const std::string& module, const SwordSource& source) const {
        InstallRequest r;
        r.module = module;
        r.sources = {source};
        r.import.code = "VRA";
        r.import.dbPath = db();
        return r;
    }
    // The failure of an install that must leave the installation and the cache as they were.
    InstallFailure failureOf(const InstallRequest& r, TransferOptions options = {}) {
        const auto before = snapshot(dir.path());
        try {
            installModule(r, options);
        } catch (const InstallError& e) {
            EXPECT_EQ(snapshot(dir.path()), before) << e.what();
            lastMessage = e.what();
            return e.kind;
        }
        ADD_FAILURE() << "installed";
        return InstallFailure::Other;
    }
    // qel-mkdb with the test's cache and settings: its exit code and what it wrote. Past
    // `fileBlocks` blocks of 512 bytes a write fails with EFBIG (SIGXFSZ ignored), as on a
    // full disk.
    struct Run {
        int exitCode = -1;
        std::string output; // stdout and stderr
    };
    static Run mkdb(const std::vector<std::string>& args,
                    const std::string& fileBlocks = "unlimited") {
        std::string command =
            "ulimit -f " + fileBlocks + "; trap '' XFSZ; exec '" QEL_MKDB_PROGRAM "'";
        for (const std::string& arg : args)
            command += " '" + arg + "'";
        Run run;
        FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
        if (!pipe)
            return run;
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            run.output.append(buffer, n);
        const int status = ::pclose(pipe);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }
    static void allowRemoteAccess() {
        SettingsStore store(SettingsStore::defaultFilePath());
        ASSERT_TRUE(setRemoteAccess(store, true));
    }

    std::string column(const std::string& sql) {
        Database content(db(), Database::Mode::ReadOnly);
        RecordSet rs(content, sql);
        return cp949ToUtf8(rs.field("v"));
    }

    TempDir dir;
    std::unique_ptr<TestHttpServer> server;
    std::string lastMessage;
};

} // namespace

TEST_F(SwordInstall, ListsBiblesAndInstallsOneLetterForLetter) {
    EXPECT_EQ(refreshSource(http(), {}), 3u);
    std::vector<std::string> names; // their fields: qel-mkdb --list below
    for (const SwordModule& module : cachedModules(http()))
        names.push_back(module.name);
    EXPECT_EQ(names, (std::vector<std::string>{"KorGone", "KorOld", "KorTest"})); // no dictionary
    EXPECT_EQ(cachedModules(http(), true).size(), 4u);

    const ImportReport report = installModule(request("KorTest", http()), {});
    // The 1961 spelling arrives whole: nothing replaced or simplified.
    EXPECT_EQ(report.verses, 6u);
    EXPECT_EQ(report.replaced + report.simplified, 0u);
    // How its markup becomes ours is the import's (Import.*).
    EXPECT_NE(column("select body as v from VRA where volcode='gen' and chap='1' and sec='3'")
                  .find("빛이 나타났읍니다"),
              std::string::npos);
    EXPECT_EQ(column("select name as v from EDITION where vercode='VRA'"),
              "시험 역본 옛 맞춤법 성경전서");
    // Nothing of the download is left in the cache but the module list.
    for (const auto& entry : fs::directory_iterator(dir.path() / "cache" / "qelbible"))
        EXPECT_TRUE(entry.path().filename() == "sources" ||
                    entry.path().filename() == "install.lock")
            << entry.path();
}

TEST_F(SwordInstall, AFolderSourceAndTheSourcesInOrder) {
    const SwordSource folder{"폴더", repo().string(), false};
    const SwordSource down{"꺼진 서버", "http://127.0.0.1:1", false};
    // The first source is unreachable; the second has the module.
    InstallRequest r = request("KorTest", down);
    r.sources.push_back(folder);
    EXPECT_EQ(installModule(r, {}).verses, 6u);
    EXPECT_FALSE(hasCachedList(down));
}

TEST_F(SwordInstall, EachFailureSaysWhatHappenedAndChangesNothing) {
    ASSERT_EQ(refreshSource(http(), {}), 3u);
    // A module that is not a Bible, and one whose files the server does not have.
    EXPECT_EQ(failureOf(request("KorDict", http())), InstallFailure::NotBible);
    EXPECT_NE(lastMessage.find("성경 본문 모듈이 아닙니다"), std::string::npos);
    EXPECT_EQ(failureOf(request("KorGone", http())), InstallFailure::Http);
    EXPECT_NE(lastMessage.find("오류 404"), std::string::npos) << lastMessage;
    EXPECT_EQ(failureOf(request("NoSuch", http())), InstallFailure::NotFound);
    // A letter the edition cannot store: nothing is installed unless "?" is agreed to.
    EXPECT_EQ(failureOf(request("KorOld", http())), InstallFailure::Unfit);
    EXPECT_NE(lastMessage.find("저장할 수 없는 글자"), std::string::npos) << lastMessage;
    InstallRequest agreed = request("KorOld", http());
    agreed.import.replace = true;
    EXPECT_GT(installModule(agreed, {}).replaced, 0u);
    // A data file cut short while its whole length was announced.
    server->cutAfter("/modules/texts/ztext/kortest/ot.bzz", 100);
    EXPECT_EQ(failureOf(request("KorTest", http())), InstallFailure::Truncated);
    EXPECT_NE(lastMessage.find("끝까지 받지 못했습니다"), std::string::npos);
    // A data file that is short on the server itself: its index points past its end.
    server->cutAfter("", 0);
    fs::resize_file(repo() / "modules/texts/ztext/kortest/nt.bzz", 100);
    EXPECT_EQ(failureOf(request("KorTest", http())), InstallFailure::Damaged);
    // The server gone.
    server->stop();
    EXPECT_EQ(failureOf(request("KorTest", http())), InstallFailure::Unreachable);
    EXPECT_NE(lastMessage.find("127.0.0.1"), std::string::npos);
}

TEST_F(SwordInstall, AFailedRefreshKeepsTheCachedList) {
    ASSERT_EQ(refreshSource(http(), {}), 3u);
    const auto cached = snapshot(sourceCacheFolder(http()));
    const std::string archive = fileBytes(repo() / "mods.d.tar.gz");
    const auto refreshFailure = [&] {
        try {
            refreshSource(http(), {});
        } catch (const InstallError& e) {
            return e.kind;
        }
        return InstallFailure::Other;
    };
    writeTextFile(repo() / "mods.d.tar.gz", archive.substr(0, archive.size() - 30));
    EXPECT_EQ(refreshFailure(), InstallFailure::Damaged);
    // Not an archive at all (an error page served as 200).
    writeTextFile(repo() / "mods.d.tar.gz", "<html>moved</html>");
    EXPECT_EQ(refreshFailure(), InstallFailure::Damaged);
    server->stop();
    EXPECT_EQ(refreshFailure(), InstallFailure::Unreachable);
    EXPECT_EQ(snapshot(sourceCacheFolder(http())), cached);
}

TEST_F(SwordInstall, CancelDuringTheDownloadAndDuringTheImport) {
    ASSERT_EQ(refreshSource(http(), {}), 3u);
    server->holdAfter("/modules/texts/ztext/kortest/ot.bzv", 50000);
    std::atomic<bool> cancel{false};
    TransferOptions options;
    options.cancel = &cancel;
    options.transfer = [&](const std::string&, std::uint64_t done, std::uint64_t) {
        if (done >= 40000) // well inside the held part, whatever curl keeps buffered
            cancel = true;
    };
    EXPECT_EQ(failureOf(request("KorTest", http()), options), InstallFailure::Cancelled);
    EXPECT_EQ(lastMessage, "설치를 취소했습니다. 바뀐 것은 없습니다.");
    server->release();

    std::atomic<bool> cancelImport{false};
    TransferOptions during;
    during.cancel = &cancelImport;
    during.progress = [&](const std::string& m) {
        if (m.find(" books, ") != std::string::npos)
            cancelImport = true;
    };
    EXPECT_EQ(failureOf(request("KorTest", http()), during), InstallFailure::Cancelled);
    EXPECT_TRUE(cancelImport);
}

TEST_F(SwordInstall, ASecondInstallWhileOneRunsIsRefused) {
    ASSERT_EQ(refreshSource(http(), {}), 3u);
    server->holdAfter("/modules/texts/ztext/kortest/ot.bzv", 1000);
    std::optional<ImportReport> first;
    std::thread running([&] { first = installModule(request("KorTest", http()), {}); });
    server->waitUntilHeld();
    // The running install is writing its download, so only the database is compared.
    const std::string database = fileBytes(db());
    try {
        installModule(request("KorTest", http()), {});
        ADD_FAILURE() << "a second install ran";
    } catch (const InstallError& e) {
        EXPECT_EQ(e.kind, InstallFailure::Busy) << e.what();
    }
    EXPECT_EQ(fileBytes(db()), database);
    server->release();
    running.join();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->verses, 6u);
}

TEST_F(SwordInstall, QelMkdbListsAndInstallsOverHttpAndFtpWithClearExitCodes) {
    TestFtpServer ftp(repo());
    // Remote access is asked before the first use; without a terminal it is refused.
    Run run = mkdb({"--list", server->address()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("--allow-network"), std::string::npos) << run.output;
    run = mkdb({"--list", server->address(), "--allow-network"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(std::regex_search(run.output, std::regex("(^|\n)KorTest\tko\t1\\.2\t[0-9]{4,}\t"
                                                         "Public Domain\t시험 역본 옛 맞춤법 "
                                                         "성경전서\n")))
        << run.output;
    // Once allowed, allowed from then on.
    run = mkdb({"--list", ftp.address()});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("\nKorTest\tko\t1.2\t"), std::string::npos) << run.output;
    EXPECT_NE(mkdb({"--sources"}).output.find("CrossWire\thttps://crosswire.org/"),
              std::string::npos);

    EXPECT_EQ(mkdb({"--install", "KorTest", "--from", ftp.address()}).exitCode, 2); // no --as
    run = mkdb({"--install", "NoSuch", "--from", ftp.address(), "--as", "VRB", "--db", db()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("NoSuch 모듈을 찾을 수 없습니다"), std::string::npos) << run.output;
    run = mkdb({"--install", "KorTest", "--from", ftp.address(), "--as", "VRA", "--db", db()});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("bytes (100%)"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("VRA: imported 6 verses"), std::string::npos);
    // FTP's 550 for the folder of a module whose files are not there.
    run = mkdb({"--install", "KorGone", "--from", ftp.address(), "--as", "VRB", "--db", db()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("오류 550"), std::string::npos) << run.output;
}

TEST_F(SwordInstall, RunningOutOfRoomStopsTheDownloadOrTheImportAndChangesNothing) {
    ASSERT_EQ(refreshSource(http(), {}), 3u);
    allowRemoteAccess();
    std::uintmax_t largest = 0;
    for (const auto& entry : fs::directory_iterator(repo() / "modules/texts/ztext/kortest"))
        largest = std::max(largest, entry.file_size());
    {
        // The database outgrows every file of the download.
        Database content(db(), Database::Mode::ReadWrite);
        content.execute("create table PAD (x BLOB)");
        content.execute("insert into PAD values (zeroblob(" + std::to_string(2 * largest) + "))");
    }
    const auto before = snapshot(dir.path());
    const std::vector<std::string> install{"--install", "KorTest", "--from", server->address(),
                                           "--as",      "VRA",     "--db",   db()};
    const std::string tooLarge = "디스크에 쓸 자리가 없습니다: 파일 크기 제한(ulimit -f)";
    // The module's verse index is larger than the limit: the download stops.
    const Run download = mkdb(install, "8");
    EXPECT_EQ(download.exitCode, 1);
    EXPECT_NE(download.output.find(tooLarge), std::string::npos) << download.output;
    EXPECT_NE(download.output.find("/cache/qelbible/install-"), std::string::npos);
    EXPECT_EQ(snapshot(dir.path()), before);
    // Everything downloads; the new copy of the database does not fit.
    const Run import = mkdb(install, std::to_string((largest + 511) / 512));
    EXPECT_EQ(import.exitCode, 1);
    EXPECT_NE(import.output.find(tooLarge), std::string::npos) << import.output;
    EXPECT_NE(import.output.find("(" + (dir.path() / "Data" / "DB").string() + ")"),
              std::string::npos);
    EXPECT_NE(import.output.find("reading KorTest"), std::string::npos);
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST(FullDisk, TheMessageNamesTheWayTheRoomRanOut) {
    const struct {
        const char* error;
        int cause;
        const char* says;
    } cases[] = {
        {"cannot copy file: No space left on device", ENOSPC, "디스크가 가득 찼습니다"},
        {"query failed: database or disk is full", ENOSPC, "디스크가 가득 찼습니다"},
        {"query failed: disk I/O error (Disk quota exceeded)", EDQUOT, "사용 한도(할당량)"},
        {"cannot copy file: File too large", EFBIG, "파일 크기 제한"},
        {"query failed: constraint failed", 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fullDiskCause(c.error), c.cause) << c.error;
        if (c.cause) {
            const std::string message = fullDiskMessage("/data", c.cause);
            EXPECT_NE(message.find(c.says), std::string::npos) << c.error;
            EXPECT_NE(message.find("(/data)"), std::string::npos) << message;
        }
    }
}
