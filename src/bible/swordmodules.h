#pragma once

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

// The module folders searched, in order: ~/.sword, /usr/share/sword, $SWORD_PATH.
std::vector<std::string> swordModuleFolders();

// The Bible text modules of every folder (the first of a name wins), sorted by name.
std::vector<SwordModule> findSwordModules();

// The module of that name (its conf file named as written or in lower case).
std::optional<SwordModule> findSwordModule(const std::string& name);

} // namespace qel
