#include "platform/dataswap.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace qel {
namespace fs = std::filesystem;
namespace {

constexpr const char* kJournal = ".swap";
constexpr const char* kJournalPart = ".swap.part";
constexpr const char* kNewSuffix = ".import";
constexpr const char* kOldSuffix = ".old";

// Flushes a file or a folder's entries to the disk, so that what a rename makes live is
// there after a power cut.
void syncPath(const fs::path& path, const DataSwapHooks& hooks) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    if (synced && hooks.synced)
        hooks.synced(path);
}

// A new file, or a new folder with everything in it.
void syncTree(const fs::path& path, const DataSwapHooks& hooks) {
    std::error_code ec;
    if (fs::is_directory(path, ec))
        for (const auto& entry : fs::recursive_directory_iterator(path, ec))
            syncPath(entry.path(), hooks);
    syncPath(path, hooks);
}

// The folders whose entries a move changes.
std::vector<fs::path> parentFolders(const fs::path& dataDir, const std::vector<DataMove>& moves,
                                    bool targets) {
    std::vector<fs::path> folders;
    for (const DataMove& move : moves) {
        const fs::path folder = (dataDir / (targets ? move.to : move.from)).parent_path();
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    return folders;
}

fs::path withSuffix(const fs::path& path, const char* suffix) {
    return path.string() + suffix;
}

std::vector<DataMove> readJournal(const fs::path& file) {
    std::vector<DataMove> moves;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        if (tab != std::string::npos)
            moves.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return moves;
}

// Carries out the moves of a written journal; each step can be repeated after a stop.
void finishMoves(const fs::path& dataDir, const std::vector<DataMove>& moves,
                 const DataSwapHooks& hooks, int& n) {
    auto next = [&] {
        if (hooks.step)
            hooks.step(n++);
    };
    for (const DataMove& move : moves) {
        const fs::path from = dataDir / move.from, to = dataDir / move.to;
        if (!fs::exists(from))
            continue; // moved already
        // A folder cannot be renamed over a full one: the old one steps aside first.
        if (fs::is_directory(to)) {
            const fs::path old = withSuffix(to, kOldSuffix);
            next();
            fs::remove_all(old);
            next();
            fs::rename(to, old);
        }
        next();
        fs::rename(from, to);
    }
    for (const DataMove& move : moves) {
        const fs::path old = withSuffix(dataDir / move.to, kOldSuffix);
        if (fs::exists(old)) {
            next();
            fs::remove_all(old);
        }
    }
    // The moves reach the disk before the journal that would repeat them goes.
    for (const fs::path& folder : parentFolders(dataDir, moves, true))
        syncPath(folder, hooks);
    syncPath(dataDir, hooks);
    next();
    fs::remove(dataDir / kJournal);
}

bool endsWith(const std::string& name, const std::string& suffix) {
    return name.size() > suffix.size() &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The new files of a swap that was never committed, and old folders set aside by a swap
// that lost its journal, in the folder and its subfolders.
std::vector<fs::path> leftovers(const fs::path& dataDir) {
    std::vector<fs::path> found;
    std::error_code ec;
    if (fs::exists(dataDir / kJournalPart, ec))
        found.push_back(dataDir / kJournalPart);
    auto scan = [&](const fs::path& folder) {
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            const std::string name = entry.path().filename().string();
            // "<name>.import.part": a new file its builder had not finished.
            if (endsWith(name, kNewSuffix) || endsWith(name, kOldSuffix) ||
                name.find(std::string(kNewSuffix) + ".") != std::string::npos)
                found.push_back(entry.path());
        }
    };
    scan(dataDir);
    for (const auto& entry : fs::directory_iterator(dataDir, ec))
        if (entry.is_directory(ec))
            scan(entry.path());
    return found;
}

void rollBack(const std::vector<fs::path>& found) {
    for (const fs::path& path : found) {
        const std::string name = path.string();
        if (endsWith(name, kOldSuffix)) {
            // A folder set aside without its replacement in place goes back.
            const fs::path base = name.substr(0, name.size() - std::string(kOldSuffix).size());
            if (!fs::exists(base)) {
                fs::rename(path, base);
                continue;
            }
        }
        fs::remove_all(path);
    }
}

} // namespace

void commitDataSwap(const fs::path& dataDir, const std::vector<DataMove>& moves,
                    const DataSwapHooks& hooks) {
    int n = 0;
    // The new generation is on the disk, contents and names, before anything points at it.
    for (const DataMove& move : moves)
        syncTree(dataDir / move.from, hooks);
    for (const fs::path& folder : parentFolders(dataDir, moves, false))
        syncPath(folder, hooks);
    if (hooks.step)
        hooks.step(n++);
    {
        std::ofstream out(dataDir / kJournalPart, std::ios::binary | std::ios::trunc);
        for (const DataMove& move : moves)
            out << move.from.string() << '\t' << move.to.string() << '\n';
        out.close();
        if (!out)
            throw fs::filesystem_error("cannot write the swap journal", dataDir / kJournalPart,
                                       std::make_error_code(std::errc::io_error));
    }
    syncPath(dataDir / kJournalPart, hooks);
    if (hooks.step)
        hooks.step(n++);
    fs::rename(dataDir / kJournalPart, dataDir / kJournal); // the swap is done from here on
    syncPath(dataDir, hooks);
    finishMoves(dataDir, moves, hooks, n);
}

namespace {

bool needsRecovery(const fs::path& dataDir) {
    std::error_code ec;
    return fs::exists(dataDir / kJournal, ec) || !leftovers(dataDir).empty();
}

} // namespace

DataRecovery recoverLockedDataSwap(const fs::path& dataDir) noexcept {
    try {
        if (!needsRecovery(dataDir))
            return DataRecovery::Nothing;
        if (fs::exists(dataDir / kJournal)) {
            int n = 0;
            finishMoves(dataDir, readJournal(dataDir / kJournal), DataSwapHooks{}, n);
            return DataRecovery::Finished;
        }
        rollBack(leftovers(dataDir));
        return DataRecovery::RolledBack;
    } catch (...) {
        // A folder that cannot be mended now stays for the next start.
        return DataRecovery::Nothing;
    }
}

DataRecovery recoverDataSwap(const fs::path& dataDir) noexcept {
    try {
        if (!needsRecovery(dataDir))
            return DataRecovery::Nothing;
        const DataFolderLock lock(dataDir, 0);
        return recoverLockedDataSwap(dataDir);
    } catch (const DataFolderLock::Busy&) {
        return DataRecovery::Busy;
    } catch (...) {
        return DataRecovery::Nothing;
    }
}

DataFolderLock::DataFolderLock(const fs::path& dataDir, int waitMs) {
    // The folder itself carries the lock: nothing is written for it, and a lock of a
    // process that died goes with it.
    fd_ = ::open(dataDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        throw fs::filesystem_error("cannot open the data folder", dataDir,
                                   std::error_code(errno, std::generic_category()));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd_);
            fd_ = -1;
            throw Busy("다른 가져오기가 진행 중입니다 (" + dataDir.string() + ")");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

DataFolderLock::~DataFolderLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace qel
