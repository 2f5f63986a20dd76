#pragma once

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qel {

// A Data/ folder's database and indexes are replaced together or not at all. New files are
// written beside the old ones under the name "<name>.import"; a journal naming every move
// is then put in place with one rename, and from that moment the swap counts as done: the
// moves are carried out, and whoever opens the folder next finishes them should the writer
// be stopped half-way. Without a journal the new files are removed again.

struct DataMove {
    std::filesystem::path from, to; // relative to the Data/ folder
};

// For tests: `step` is called with a running number before each change the swap makes to
// the folder, so that a test can stop the process there; `synced` after each file or folder
// was flushed to the disk.
struct DataSwapHooks {
    std::function<void(int step)> step;
    std::function<void(const std::filesystem::path&)> synced;
};

// Moves every `from` over its `to` as one step. The new files and folders, and the folders
// that hold them, are flushed to the disk before the journal is written, and the folders
// that received them after the moves. Throws std::filesystem::filesystem_error before the
// journal is written (nothing changed then); after it the swap is finished by the next
// recovery.
void commitDataSwap(const std::filesystem::path& dataDir, const std::vector<DataMove>& moves,
                    const DataSwapHooks& hooks = {});

enum class DataRecovery { Nothing, Finished, RolledBack, Busy };
// Finishes a swap whose journal was written, or removes the new files of one that never got
// that far. Busy when another process holds the folder's lock (its import is running);
// Nothing when there was nothing to do. Never throws.
DataRecovery recoverDataSwap(const std::filesystem::path& dataDir) noexcept;
// The same for a process that holds the folder's lock already.
DataRecovery recoverLockedDataSwap(const std::filesystem::path& dataDir) noexcept;

// One writer of a Data/ folder at a time: an exclusive lock on the folder, held for the life
// of the object and released by the system when the process ends.
class DataFolderLock {
public:
    struct Busy : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    // Waits up to `waitMs` for the lock; throws Busy ("다른 가져오기가 진행 중입니다") when
    // another process keeps it, std::filesystem::filesystem_error when the lock file cannot
    // be made.
    explicit DataFolderLock(const std::filesystem::path& dataDir, int waitMs = 2000);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

private:
    int fd_ = -1;
};

} // namespace qel
