#pragma once

#include "bible/swordsources.h"
#include "mkdb/importer.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qel::mkdb {

// Why an install or a refresh failed; the message says it in Korean with what to try.
enum class InstallFailure {
    Unreachable,
    Http,
    Truncated,
    Damaged,
    DiskFull,
    NotBible,
    NotFound,
    Unfit,
    Busy,
    Cancelled,
    Other
};

struct InstallError : SourceError {
    InstallError(InstallFailure kind, const std::string& message)
        : SourceError(message), kind(kind) {}
    InstallFailure kind;
};

// The message of a write that ran out of room at `where`: it names the cause, ENOSPC (a full
// disk), EDQUOT (a quota) or EFBIG (a file-size limit); 0 when it is not known.
std::string fullDiskMessage(const std::filesystem::path& where, int cause);
// The cause an error text names (the system's words, or SQLite's for a full disk); 0 for
// an error that is not one of running out of room.
int fullDiskCause(std::string_view errorText);

// Bytes of the file being received, and the total when known (else 0).
using TransferFn =
    std::function<void(const std::string& what, std::uint64_t done, std::uint64_t total)>;

struct TransferOptions {
    const std::atomic<bool>* cancel = nullptr; // polled; a cancel stops at once
    TransferFn transfer;
    ProgressFn progress;
    // A slow line may take long, but a transfer that stalls this long is given up.
    int connectSeconds = 60;
    int stallSeconds = 120;
};

// Downloads `relative` of the source (an address or a folder) to `target`. Throws
// InstallError.
void fetchFile(const SwordSource& source, const std::string& relative,
               const std::filesystem::path& target, const TransferOptions& options);

// The conf files of a module-list archive (mods.d.tar.gz) into `folder`/mods.d/; throws
// InstallError(Damaged) for an archive that is truncated or not one.
std::size_t extractModuleList(const std::filesystem::path& archive,
                              const std::filesystem::path& folder);

// Downloads the source's module list and replaces its cached list only when the new one
// was read whole: a failed refresh removes nothing. Returns the number of Bible modules.
std::size_t refreshSource(const SwordSource& source, const TransferOptions& options);

// Checks the files a downloaded module needs: its index and data files are there and
// every index entry points inside its data file. Throws InstallError(Damaged).
void checkModuleFiles(const SwordModule& module, const std::filesystem::path& folder);

struct InstallRequest {
    std::string module;
    std::vector<SwordSource> sources; // searched in order; a source without a list is refreshed
    ImportRequest import;             // the slot, database and letter policy
};

// Downloads the module into a temporary folder of the user cache, checks it and imports it
// through importEdition. A failure or a cancel leaves the installation as it was. Only one
// install runs at a time (InstallError(Busy) for a second one).
ImportReport installModule(const InstallRequest& request, const TransferOptions& options);

} // namespace qel::mkdb
