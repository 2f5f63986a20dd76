#pragma once

#include "mkdb/importer.h"

#include <atomic>
#include <cstdio>
#include <string>

namespace qel {
class SettingsStore;
}
namespace qel::mkdb {

// What the repository commands of qel-mkdb are given.
struct RepositoryCommand {
    bool allowNetwork = false; // the reader allowed remote access now (and from now on)
    bool interactive = false;  // a question may be asked on the terminal
    const std::atomic<bool>* cancel = nullptr;
};

// --sources: "NAME<TAB>ADDRESS<TAB>modules in the cached list, or -" on `out`.
int listSources(SettingsStore& store, std::FILE* out);

// --list [SOURCE]: the Bible modules of a source (refreshed first), or of every source,
// one a line: name, language, version, size, licence, description (and source).
int listModules(SettingsStore& store, const std::string& source, const RepositoryCommand& how,
                std::FILE* out);

// --install MODULE [--from SOURCE]: downloads, checks and imports; progress on stderr.
int installFromSource(SettingsStore& store, const std::string& module, const std::string& from,
                      ImportRequest import, const RepositoryCommand& how);

} // namespace qel::mkdb
