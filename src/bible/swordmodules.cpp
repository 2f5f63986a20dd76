#include "bible/swordmodules.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace qel {
namespace fs = std::filesystem;

std::optional<SwordModule> parseSwordConf(std::istream& in) {
    SwordModule module;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with('[') && line.ends_with(']') && module.name.empty()) {
            module.name = line.substr(1, line.size() - 2);
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos || line.starts_with('#'))
            continue;
        module.values.emplace(line.substr(0, eq), line.substr(eq + 1));
    }
    if (module.name.empty())
        return std::nullopt;
    return module;
}

std::optional<SwordModule> readSwordConf(const std::string& file) {
    std::ifstream in(file);
    if (!in)
        return std::nullopt;
    return parseSwordConf(in);
}

bool isBibleText(const SwordModule& module) {
    const std::string driver = module.value("ModDrv");
    return driver == "zText" || driver == "RawText" || driver == "zText4" || driver == "RawText4";
}

std::string SwordModule::value(const std::string& key) const {
    const auto it = values.find(key);
    return it == values.end() ? std::string() : it->second;
}

std::vector<std::string> swordModuleFolders() {
    std::vector<std::string> folders;
    if (const char* home = std::getenv("HOME"); home && *home)
        folders.push_back(std::string(home) + "/.sword");
    folders.push_back("/usr/share/sword");
    if (const char* path = std::getenv("SWORD_PATH"); path && *path)
        folders.push_back(path);
    return folders;
}

std::vector<SwordModule> readModuleFolder(const std::string& folder, bool all) {
    std::error_code ec;
    std::vector<fs::path> confs;
    for (fs::directory_iterator it(fs::path(folder) / "mods.d", ec), end; !ec && it != end;
         it.increment(ec))
        if (it->path().extension() == ".conf")
            confs.push_back(it->path());
    std::sort(confs.begin(), confs.end());
    std::vector<SwordModule> modules;
    for (const fs::path& conf : confs)
        if (auto module = readSwordConf(conf.string()); module && (all || isBibleText(*module)))
            modules.push_back(std::move(*module));
    std::sort(modules.begin(), modules.end(),
              [](const SwordModule& a, const SwordModule& b) { return a.name < b.name; });
    return modules;
}

std::vector<SwordModule> findSwordModules() {
    std::vector<SwordModule> modules;
    std::set<std::string> seen;
    for (const std::string& folder : swordModuleFolders())
        for (SwordModule& module : readModuleFolder(folder))
            if (seen.insert(module.name).second)
                modules.push_back(std::move(module));
    std::sort(modules.begin(), modules.end(),
              [](const SwordModule& a, const SwordModule& b) { return a.name < b.name; });
    return modules;
}

std::optional<SwordModule> findSwordModule(const std::string& name,
                                           const std::string& firstFolder) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::vector<std::string> folders = swordModuleFolders();
    if (!firstFolder.empty())
        folders.insert(folders.begin(), firstFolder);
    for (const std::string& folder : folders)
        for (const std::string& file : {name, lower})
            if (auto module =
                    readSwordConf((fs::path(folder) / "mods.d" / (file + ".conf")).string()))
                return module;
    return std::nullopt;
}

} // namespace qel
