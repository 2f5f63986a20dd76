#pragma once

#include "bible/swordmodules.h"

#include <optional>
#include <string>
#include <vector>

namespace qel {

class SettingsStore;

// A repository of SWORD modules: mods.d.tar.gz (the module conf files) at its root and the
// module files below it where each conf's DataPath says.
struct SwordSource {
    std::string name;    // "CrossWire" (UTF-8)
    std::string address; // "https://…", "http://…", "ftp://…" or a local folder
    bool builtIn = false;
};

// The standard repositories, CrossWire's main one first.
const std::vector<SwordSource>& builtInSources();

// The built-in sources followed by those the reader added (section "Sources").
std::vector<SwordSource> allSources(const SettingsStore& store);
// Adds or, by name, replaces a reader's source; false when the name is a built-in one or
// the settings could not be saved.
bool addUserSource(SettingsStore& store, const SwordSource& source);
bool removeUserSource(SettingsStore& store, const std::string& name);

// A source by its name, or an address used as it is; none for an unknown name.
std::optional<SwordSource> resolveSource(const SettingsStore& store, const std::string& given);

bool isRemoteAddress(const std::string& address);

// Whether the reader allows the program to reach remote repositories: asked once.
enum class RemoteAccess { NotAsked, Allowed, Refused };
RemoteAccess remoteAccess(const SettingsStore& store);
bool setRemoteAccess(SettingsStore& store, bool allowed);

// $XDG_CACHE_HOME/qelbible/ (~/.cache/qelbible/ when unset), with a trailing "/".
std::string userCacheFolder();
// The cached module list of a source: a folder whose mods.d/ holds the conf files.
std::string sourceCacheFolder(const SwordSource& source);

// The Bible text modules of a source's cached list (empty when never refreshed), sorted by
// name; `all` keeps the other kinds of modules too.
std::vector<SwordModule> cachedModules(const SwordSource& source, bool all = false);
bool hasCachedList(const SwordSource& source);

// A conf value written with the RTF escapes of the SWORD confs (About=…\par…) as plain
// text: "\par" a line break, "\uN?" the character N, other control words left out.
std::string plainConfText(const std::string& value);

} // namespace qel
