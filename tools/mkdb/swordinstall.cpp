#include "mkdb/swordinstall.h"

#include "mkdb/letterfit.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace qel::mkdb {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void cancelled() {
    throw InstallError(InstallFailure::Cancelled, "설치를 취소했습니다. 바뀐 것은 없습니다.");
}

bool isFullDisk(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

[[noreturn]] void diskFull(const fs::path& where, int cause) {
    throw InstallError(InstallFailure::DiskFull, fullDiskMessage(where, cause));
}

// What stopped a program that could not write `file`: its size limit when the file reached
// it, a full file system when no block is left, else not known.
int writeFailureCause(const fs::path& file) {
    rlimit limit{};
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && !ec &&
        size >= limit.rlim_cur)
        return EFBIG;
    struct statvfs room {};
    if (::statvfs(file.parent_path().c_str(), &room) == 0 && room.f_bavail == 0)
        return ENOSPC;
    return 0;
}

bool isCancelled(const TransferOptions& options) {
    return options.cancel && options.cancel->load();
}

// A folder removed with everything in it when the install ends, whatever happens.
class ScratchFolder {
public:
    explicit ScratchFolder(const fs::path& parent, const std::string& prefix) {
        fs::create_directories(parent);
        std::string pattern = (parent / (prefix + "XXXXXX")).string();
        if (!mkdtemp(pattern.data()))
            isFullDisk(errno) ? diskFull(parent, errno)
                              : throw InstallError(InstallFailure::Other,
                                                   parent.string() + ": 임시 폴더를 만들 수 "
                                                                     "없습니다.");
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// The exclusive lock of installs, held for the life of the object.
class InstallLock {
public:
    InstallLock() {
        const fs::path file = fs::path(userCacheFolder()) / "install.lock";
        fs::create_directories(file.parent_path());
        fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0 || ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (fd_ >= 0)
                ::close(fd_);
            throw InstallError(InstallFailure::Busy,
                               "다른 역본 설치가 진행 중입니다. 그 설치가 끝난 뒤에 다시 해 "
                               "보십시오.");
        }
    }
    ~InstallLock() { ::close(fd_); }
    InstallLock(const InstallLock&) = delete;
    InstallLock& operator=(const InstallLock&) = delete;

private:
    int fd_ = -1;
};

std::string joinAddress(const std::string& address, const std::string& relative) {
    std::string url = address;
    if (!url.ends_with('/'))
        url += '/';
    return url + (relative.starts_with("./") ? relative.substr(2) : relative);
}

std::string hostOf(const std::string& url) {
    const auto start = url.find("://");
    if (start == std::string::npos)
        return url;
    const auto end = url.find('/', start + 3);
    return url.substr(start + 3, end == std::string::npos ? std::string::npos : end - start - 3);
}

std::uint64_t sizeOf(const fs::path& file) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    return ec ? 0 : size;
}

struct CurlResult {
    int exitCode = 0;
    std::string output; // what -w wrote: the response code
};

// Runs curl, reporting the growing target file, until it ends or the cancel is set.
CurlResult runCurl(const std::vector<std::string>& args, const fs::path& target,
                   const std::string& what, const TransferOptions& options) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        throw InstallError(InstallFailure::Other, "curl을 실행할 수 없습니다.");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "curl", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        throw InstallError(InstallFailure::Other,
                           "curl 프로그램이 없어 내려받을 수 없습니다 (Debian 패키지 curl).");
    }
    int status = 0;
    std::uint64_t reported = ~0ull;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (isCancelled(options)) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, &status, 0);
            ::close(pipeFds[0]);
            cancelled();
        }
        if (const std::uint64_t size = sizeOf(target); options.transfer && size != reported)
            options.transfer(what, reported = size, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (const std::uint64_t size = sizeOf(target); options.transfer && size != reported)
        options.transfer(what, size, 0);
    CurlResult result;
    char buffer[256];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        result.output.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string httpReason(int code) {
    switch (code) {
    case 401:
    case 403:
        return "접근이 막혀 있습니다";
    case 404:
    case 550:
        return "그런 파일이 없습니다";
    default:
        return code >= 500 ? "서버에 문제가 있습니다" : "요청이 받아들여지지 않았습니다";
    }
}

[[noreturn]] void throwCurlFailure(const CurlResult& result, const std::string& url,
                                   const TransferOptions& options) {
    const int code = std::atoi(result.output.c_str());
    switch (result.exitCode) {
    case 5:
    case 6:
    case 7:
        throw InstallError(InstallFailure::Unreachable,
                           hostOf(url) + "에 연결할 수 없습니다. 인터넷 연결을 확인하고 잠시 "
                                         "뒤에 다시 해 보십시오.");
    case 28:
        throw InstallError(InstallFailure::Unreachable,
                           hostOf(url) + "에서 " + std::to_string(options.stallSeconds) +
                               "초 동안 아무것도 오지 않았습니다. 연결이 끊겼거나 아주 "
                               "느립니다. 나중에 다시 해 보십시오.");
    case 18:
    case 56:
        throw InstallError(InstallFailure::Truncated,
                           url + "을(를) 끝까지 받지 못했습니다. 연결이 도중에 끊겼습니다. 다시 "
                                 "해 보십시오.");
    case 22:
    case 9:
    case 78:
        throw InstallError(InstallFailure::Http,
                           url + ": 서버가 오류 " + std::to_string(code) + "을(를) 알렸습니다 (" +
                               httpReason(code) +
                               "). 저장소 주소를 확인하거나 목록을 새로 고친 뒤에 다시 해 "
                               "보십시오.");
    default:
        throw InstallError(InstallFailure::Unreachable,
                           url + "을(를) 받지 못했습니다 (curl " + std::to_string(result.exitCode) +
                               "). 인터넷 연결을 확인하고 다시 해 보십시오.");
    }
}

void copyLocalFile(const fs::path& from, const fs::path& target) {
    std::error_code ec;
    if (!fs::is_regular_file(from, ec))
        throw InstallError(InstallFailure::Http,
                           from.string() + ": 그런 파일이 없습니다. 폴더를 확인해 주십시오.");
    fs::remove(target, ec);
    try {
        copyNewFile(from, target);
    } catch (const fs::filesystem_error& e) {
        if (isFullDisk(e.code().value()))
            diskFull(target.parent_path(), e.code().value());
        throw InstallError(InstallFailure::Other, from.string() + ": " + e.code().message());
    }
}

} // namespace

std::string fullDiskMessage(const fs::path& where, int cause) {
    std::string why;
    switch (cause) {
    case ENOSPC:
        why = "디스크가 가득 찼습니다";
        break;
    case EDQUOT:
        why = "이 계정의 디스크 사용 한도(할당량)를 다 썼습니다";
        break;
    case EFBIG:
        why = "파일 크기 제한(ulimit -f)보다 큰 파일을 써야 합니다";
        break;
    default:
        why = "디스크가 가득 찼거나 사용 한도에 걸렸습니다";
    }
    return "디스크에 쓸 자리가 없습니다: " + why + " (" + where.string() +
           "). 자리를 비우거나 한도를 늘린 뒤에 다시 해 보십시오.";
}

int fullDiskCause(std::string_view text) {
    for (const int error : {ENOSPC, EDQUOT, EFBIG})
        if (text.find(std::strerror(error)) != std::string_view::npos)
            return error;
    return text.find("disk is full") != std::string_view::npos ? ENOSPC : 0;
}

void fetchFile(const SwordSource& source, const std::string& relative, const fs::path& target,
               const TransferOptions& options) {
    if (isCancelled(options))
        cancelled();
    fs::create_directories(target.parent_path());
    if (!isRemoteAddress(source.address)) {
        copyLocalFile(fs::path(source.address) / relative, target);
        if (options.transfer)
            options.transfer(relative, sizeOf(target), sizeOf(target));
        return;
    }
    const std::string url = joinAddress(source.address, relative);
    // No overall time limit: a slow line may need long; only a stall ends a transfer.
    const CurlResult result =
        runCurl({"curl", "--silent", "--fail", "--location", "--connect-timeout",
                 std::to_string(options.connectSeconds), "--speed-limit", "1", "--speed-time",
                 std::to_string(options.stallSeconds), "--output", target.string(), "--write-out",
                 "%{response_code}", url},
                target, relative, options);
    if (result.exitCode != 0) {
        // curl's 23: it could not write what it received.
        const int cause = result.exitCode == 23 ? writeFailureCause(target) : 0;
        std::error_code ignored;
        fs::remove(target, ignored);
        if (result.exitCode == 23)
            diskFull(target.parent_path(), cause);
        throwCurlFailure(result, url, options);
    }
}

namespace {

struct GzFile {
    explicit GzFile(const fs::path& file) : gz(gzopen(file.c_str(), "rb")) {}
    ~GzFile() {
        if (gz)
            gzclose(gz);
    }
    GzFile(const GzFile&) = delete;
    GzFile& operator=(const GzFile&) = delete;
    gzFile gz;
};

[[noreturn]] void damagedArchive(const fs::path& archive) {
    throw InstallError(InstallFailure::Damaged,
                       archive.filename().string() +
                           ": 모듈 목록 압축 파일이 잘렸거나 손상되었습니다. 잠시 뒤에 다시 "
                           "받아 보십시오.");
}

// Reads exactly `size` bytes, or fails as a damaged archive.
void readExactly(GzFile& in, char* data, std::size_t size, const fs::path& archive) {
    if (gzread(in.gz, data, static_cast<unsigned>(size)) != static_cast<int>(size))
        damagedArchive(archive);
}

std::uint64_t octal(const char* field, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width && field[i] >= '0' && field[i] <= '7'; ++i)
        value = value * 8 + static_cast<std::uint64_t>(field[i] - '0');
    return value;
}

// "mods.d/kjv.conf" or "./mods.d/kjv.conf" → "kjv.conf"; other entries are not wanted.
std::optional<std::string> confName(std::string name) {
    if (name.starts_with("./"))
        name.erase(0, 2);
    if (!name.starts_with("mods.d/") || !name.ends_with(".conf"))
        return std::nullopt;
    name.erase(0, 7);
    if (name.empty() || name.find('/') != std::string::npos)
        return std::nullopt;
    return name;
}

void writeWhole(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        diskFull(file.parent_path(), writeFailureCause(file));
}

} // namespace

std::size_t extractModuleList(const fs::path& archive, const fs::path& folder) {
    GzFile in(archive);
    if (!in.gz || gzdirect(in.gz))
        damagedArchive(archive);
    fs::create_directories(folder / "mods.d");
    std::size_t confs = 0;
    std::array<char, 512> header{};
    for (;;) {
        readExactly(in, header.data(), header.size(), archive);
        if (std::all_of(header.begin(), header.end(), [](char c) { return c == 0; }))
            break;
        std::string name(header.data(), strnlen(header.data(), 100));
        if (std::memcmp(header.data() + 257, "ustar", 5) == 0 && header[345])
            name = std::string(header.data() + 345, strnlen(header.data() + 345, 155)) + "/" + name;
        const std::uint64_t size = octal(header.data() + 124, 12);
        std::string body(static_cast<std::size_t>((size + 511) / 512 * 512), '\0');
        if (!body.empty())
            readExactly(in, body.data(), body.size(), archive);
        body.resize(static_cast<std::size_t>(size));
        const char type = header[156];
        if (const auto conf = confName(name); conf && (type == '0' || type == '\0')) {
            writeWhole(folder / "mods.d" / *conf, body);
            ++confs;
        }
    }
    // The rest up to the end, so that zlib checks the archive's length and checksum.
    char rest[4096];
    while (gzread(in.gz, rest, sizeof rest) > 0) {
    }
    int error = Z_OK;
    gzerror(in.gz, &error);
    if (error != Z_OK || !gzeof(in.gz))
        damagedArchive(archive);
    return confs;
}

std::size_t refreshSource(const SwordSource& source, const TransferOptions& options) {
    const fs::path cached(sourceCacheFolder(source));
    const fs::path parent = cached.parent_path().parent_path();
    ScratchFolder scratch(parent, ".refresh-");
    std::error_code ec;
    if (!isRemoteAddress(source.address) &&
        !fs::exists(fs::path(source.address) / "mods.d.tar.gz", ec)) {
        // A local SWORD folder without the archive: its mods.d/ as it is.
        fs::create_directories(scratch.path() / "list");
        fs::copy(fs::path(source.address) / "mods.d", scratch.path() / "list" / "mods.d", ec);
        if (ec)
            throw InstallError(InstallFailure::NotFound,
                               source.address + ": 모듈 목록(mods.d.tar.gz 또는 mods.d)이 "
                                                "없습니다.");
    } else {
        fetchFile(source, "mods.d.tar.gz", scratch.path() / "mods.d.tar.gz", options);
        extractModuleList(scratch.path() / "mods.d.tar.gz", scratch.path() / "list");
    }
    if (isCancelled(options))
        cancelled();
    // Old list aside, new list in, old list gone: a failure before here left the old one.
    const fs::path old = scratch.path() / "old";
    const bool hadList = fs::exists(cached, ec);
    if (hadList)
        fs::rename(cached, old);
    fs::rename(scratch.path() / "list", cached, ec);
    if (ec) {
        if (hadList)
            fs::rename(old, cached);
        throw InstallError(InstallFailure::Other, cached.string() + ": " + ec.message());
    }
    return cachedModules(source).size();
}

namespace {

std::uint32_t le32(const unsigned char* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

[[noreturn]] void damagedModule(const SwordModule& module, const std::string& why) {
    throw InstallError(InstallFailure::Damaged, module.name +
                                                    ": 받은 모듈 파일이 온전하지 않습니다 (" + why +
                                                    "). 다시 설치해 보십시오.");
}

// The data files of one testament ("ot", "nt"), by driver; empty names for a missing one.
std::vector<std::string> testamentFiles(const std::string& driver, const std::string& t) {
    if (driver == "zText" || driver == "zText4")
        return {t + ".bzs", t + ".bzv", t + ".bzz"};
    return {t, t + ".vss"};
}

// Every index entry (offset, size) must lie inside its data file.
void checkEntries(const SwordModule& module, const fs::path& index, std::size_t entrySize,
                  std::size_t sizeWidth, std::uint64_t dataSize) {
    const std::string bytes = readAll(index);
    if (bytes.size() % entrySize)
        damagedModule(module, index.filename().string() + "의 길이");
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t at = 0; at + entrySize <= bytes.size(); at += entrySize) {
        const std::uint64_t offset = le32(p + at);
        const std::uint64_t size = sizeWidth == 2 ? (p[at + 4] | p[at + 5] << 8) : le32(p + at + 4);
        if (size && offset + size > dataSize)
            damagedModule(module, index.filename().string() + "이 가리키는 곳이 파일 밖");
    }
}

void checkTestament(const SwordModule& module, const fs::path& folder, const std::string& t) {
    const std::string driver = module.value("ModDrv");
    if (driver == "zText" || driver == "zText4")
        checkEntries(module, folder / (t + ".bzs"), 12, 4, sizeOf(folder / (t + ".bzz")));
    else
        checkEntries(module, folder / (t + ".vss"), driver == "RawText4" ? 8 : 6,
                     driver == "RawText4" ? 4 : 2, sizeOf(folder / t));
}

// DataPath relative to the module folder, refusing one that leaves it.
std::string dataPathOf(const SwordModule& module) {
    std::string path = module.value("DataPath");
    if (path.starts_with("./"))
        path.erase(0, 2);
    if (path.empty() || path.starts_with('/') || path.find("..") != std::string::npos)
        damagedModule(module, "DataPath " + module.value("DataPath"));
    if (!path.ends_with('/'))
        path += '/';
    return path;
}

} // namespace

void checkModuleFiles(const SwordModule& module, const fs::path& folder) {
    const fs::path data = folder / dataPathOf(module);
    int testaments = 0;
    for (const std::string t : {"ot", "nt"}) {
        const std::vector<std::string> files = testamentFiles(module.value("ModDrv"), t);
        const auto present = std::count_if(files.begin(), files.end(), [&](const std::string& f) {
            return fs::is_regular_file(data / f);
        });
        if (present == 0)
            continue;
        if (present != static_cast<long>(files.size()))
            damagedModule(module, t + " 파일 가운데 일부가 없음");
        checkTestament(module, data, t);
        ++testaments;
    }
    if (!testaments)
        damagedModule(module, "본문 파일이 없음");
}

namespace {

std::optional<fs::path> confFileOf(const SwordSource& source, const std::string& name) {
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(sourceCacheFolder(source)) / "mods.d", ec), end;
         !ec && it != end; it.increment(ec))
        if (auto conf = readSwordConf(it->path().string()); conf && conf->name == name)
            return it->path();
    return std::nullopt;
}

struct Found {
    SwordSource source;
    SwordModule module;
    fs::path conf;
};

Found findModule(const InstallRequest& request, const TransferOptions& options) {
    std::string tried;
    std::optional<InstallError> unreadable;
    for (const SwordSource& source : request.sources) {
        try {
            if (!hasCachedList(source))
                refreshSource(source, options);
        } catch (const InstallError& e) {
            // The next source may have it.
            if (e.kind == InstallFailure::Cancelled || request.sources.size() == 1)
                throw;
            if (options.progress)
                options.progress(source.name + ": " + e.what());
            if (!unreadable)
                unreadable = e;
            continue;
        }
        if (auto conf = confFileOf(source, request.module))
            return {source, *readSwordConf(conf->string()), *conf};
        tried += (tried.empty() ? "" : ", ") + source.name;
    }
    if (tried.empty() && unreadable)
        throw *unreadable;
    throw InstallError(InstallFailure::NotFound,
                       request.module + " 모듈을 찾을 수 없습니다 (" + tried +
                           "). 모듈 이름을 확인하거나 목록을 새로 고쳐 보십시오.");
}

// The module's files into `folder`, as the source lays them out.
void download(const Found& found, const fs::path& folder, const TransferOptions& options) {
    fs::create_directories(folder / "mods.d");
    copyNewFile(found.conf, folder / "mods.d" / found.conf.filename());
    const std::string dataPath = dataPathOf(found.module);
    std::uint64_t total = std::strtoull(found.module.value("InstallSize").c_str(), nullptr, 10);
    std::uint64_t before = 0;
    TransferOptions each = options;
    each.transfer = [&](const std::string&, std::uint64_t done, std::uint64_t) {
        if (options.transfer)
            options.transfer(found.module.name, before + done,
                             total ? std::max(total, before + done) : 0);
    };
    std::optional<InstallError> missing;
    for (const std::string t : {"ot", "nt"})
        for (const std::string& file : testamentFiles(found.module.value("ModDrv"), t)) {
            try {
                fetchFile(found.source, dataPath + file, folder / dataPath / file, each);
            } catch (const InstallError& e) {
                // A module of one testament has no files of the other.
                if (e.kind != InstallFailure::Http)
                    throw;
                missing = e;
                break;
            }
            before += sizeOf(folder / dataPath / file);
        }
    if (before == 0 && missing)
        throw *missing;
}

ImportReport importDownloaded(const InstallRequest& request, const Found& found,
                              const fs::path& folder) {
    ImportRequest import = request.import;
    import.source = found.module.name;
    import.swordFolder = folder.string();
    try {
        return importEdition(import);
    } catch (const UnfitLetters& e) {
        throw InstallError(InstallFailure::Unfit, found.module.name +
                                                      "의 본문에는 이 역본에 저장할 수 없는 글자가 "
                                                      "있습니다. 설치하지 않았습니다 (" +
                                                      e.what() + ").");
    } catch (const InstallError&) {
        throw;
    } catch (const std::exception& e) {
        if (import.cancel && import.cancel->load())
            cancelled();
        if (const int cause = fullDiskCause(e.what()))
            diskFull(fs::path(import.dbPath).parent_path(), cause);
        throw InstallError(InstallFailure::Other,
                           found.module.name +
                               "을(를) 받았으나 가져오지 못했습니다. 바뀐 것은 "
                               "없습니다 (" +
                               e.what() + ").");
    }
}

} // namespace

ImportReport installModule(const InstallRequest& request, const TransferOptions& options) {
    InstallLock lock;
    const Found found = findModule(request, options);
    if (!isBibleText(found.module))
        throw InstallError(InstallFailure::NotBible, found.module.name +
                                                         "은(는) 성경 본문 모듈이 아닙니다 (" +
                                                         found.module.value("ModDrv") +
                                                         "). 성경 본문 모듈만 설치할 수 있습니다.");
    ScratchFolder folder(fs::path(userCacheFolder()), "install-");
    if (options.progress)
        options.progress(found.module.name + ": " + found.source.name + "에서 받는 중");
    try {
        download(found, folder.path(), options);
    } catch (const fs::filesystem_error& e) {
        if (isFullDisk(e.code().value()))
            diskFull(folder.path(), e.code().value());
        throw;
    }
    checkModuleFiles(found.module, folder.path());
    if (isCancelled(options))
        cancelled();
    InstallRequest withCancel = request;
    if (!withCancel.import.cancel)
        withCancel.import.cancel = options.cancel;
    if (!withCancel.import.progress)
        withCancel.import.progress = options.progress;
    return importDownloaded(withCancel, found, folder.path());
}

} // namespace qel::mkdb
