#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qel {

// SWORD modules a reader's Bible software installed, found through their conf files.
struct SwordModule {
    std::string name;                          // "engWEB2015eb"
    std::map<std::string, std::string> values; // first value of each conf key (UTF-8)

    std::string value(const std::string& key) const;
};

// A module conf file: its section name and the first value of each key; none when the file
// cannot be read or has no section.
std::optional<SwordModule> readSwordConf(const std::string& file);
std::optional<SwordModule> parseSwordConf(std::istream& in);

// A Bible text module (zText, RawText and their 4-byte forms).
bool isBibleText(const SwordModule& module);

// The modules of one folder's mods.d/, sorted by name; `all` keeps non-Bible modules.
std::vector<SwordModule> readModuleFolder(const std::string& folder, bool all = false);

// The module folders searched, in order: ~/.sword, /usr/share/sword, $SWORD_PATH.
std::vector<std::string> swordModuleFolders();

// The Bible text modules of every folder (the first of a name wins), sorted by name.
std::vector<SwordModule> findSwordModules();

// The module of that name (its conf file named as written or in lower case), looked for
// first in `firstFolder` when one is given.
std::optional<SwordModule> findSwordModule(const std::string& name,
                                           const std::string& firstFolder = {});

} // namespace qel
