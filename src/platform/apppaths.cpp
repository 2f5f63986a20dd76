#include "platform/apppaths.h"

#include "platform/codec.h"
#include "platform/dataswap.h"
#include "platform/settingsstore.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace qel {
namespace {

std::string withTrailingSlash(std::string path) {
    for (char& c : path)
        if (c == '\\')
            c = '/';
    if (path.empty() || path.back() != '/')
        path.push_back('/');
    return path;
}

std::string folderOf(std::string_view file) {
    const auto slash = file.rfind('/');
    return slash == std::string_view::npos || slash == 0 ? std::string(file)
                                                         : std::string(file.substr(0, slash + 1));
}

// The installer writes all three values; without any of them there is no record.
bool hasInstallRecord(const SettingsStore& settings) {
    for (std::string_view name : {"Installed To", "Installed From", "Install Type"})
        if (settings.contains("Path", name))
            return true;
    return false;
}

std::string pathValue(const SettingsStore& settings, std::string_view name,
                      std::string_view defaultValue) {
    return cp949ToUtf8(settings.readString("Path", name, defaultValue));
}

} // namespace

std::string AppPaths::programHome(std::string_view programFile) {
    const std::string folder = folderOf(programFile);
    std::error_code error;
    if (std::filesystem::is_directory(folder + "Data", error))
        return folder;
    // <prefix>/bin/ -> <prefix>/share/qelbible/
    const std::filesystem::path bin = std::filesystem::path(folder).parent_path();
    return withTrailingSlash((bin.parent_path() / "share" / "qelbible").string());
}

std::string AppPaths::userDataHome() {
    // Relative values are to be ignored.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/')
        return withTrailingSlash(xdg) + "qelbible/";
    const char* home = std::getenv("HOME");
    return withTrailingSlash(home ? home : "") + ".local/share/qelbible/";
}

void AppPaths::preferUserData() {
    const std::string user = userDataHome() + "Data/";
    std::error_code error;
    if (!std::filesystem::is_regular_file(user + "DB/Bible.m14", error))
        return;
    dbFolder = user + "DB/";
    searchIndexFolder = user + "DBF/";
    wordIndexFolder = user + "M14/";
}

AppPaths::ImportTarget AppPaths::importTarget(std::string_view programFile) const {
    const std::string user = userDataHome() + "Data/";
    std::error_code error;
    if (dbFolder == user + "DB/" ||
        std::filesystem::is_directory(folderOf(programFile) + "Data", error))
        return {dbFolder + "Bible.m14", {}};
    // The Data/ folder that holds the database in use.
    const std::string data =
        withTrailingSlash(std::filesystem::path(dbFolder).parent_path().parent_path().string());
    return {user + "DB/Bible.m14", data};
}

AppPaths AppPaths::compute(const SettingsStore& settings, std::string_view programFile) {
    AppPaths paths;
    const std::string installedTo = pathValue(settings, "Installed To", "./");
    paths.installRoot = (installedTo == "./" || installedTo == ".\\")
                            ? programHome(programFile)
                            : withTrailingSlash(installedTo);

    const std::string local = paths.installRoot + "Data/";
    paths.dbFolder = local + "DB/";
    paths.searchIndexFolder = local + "DBF/";
    paths.topicFolder = local + "M14/";
    paths.wordIndexFolder = local + "M14/";
    paths.mapFolder = local + "MAP/";

    paths.installedFrom = withTrailingSlash(pathValue(settings, "Installed From", "D:/"));
    const std::string cd = paths.installedFrom + "Data/";
    // Without a record everything is local: there is no CD to read from.
    const int installType =
        hasInstallRecord(settings) ? settings.readInt("Path", "Install Type", 1) : 0;
    switch (installType) {
    case 1:
        paths.dbFolder = cd + "DB/";
        paths.topicFolder = cd + "M14/";
        [[fallthrough]];
    case 2:
        paths.searchIndexFolder = cd + "DBF/";
        paths.wordIndexFolder = cd + "M14/";
        [[fallthrough]];
    case 3:
        paths.mapFolder = cd + "Map/";
        break;
    default:
        break;
    }
    // An import stopped during its swap is finished (or undone) before anything is read.
    for (const std::string& data : {paths.dbFolder + "../", userDataHome() + "Data/"})
        recoverDataSwap(std::filesystem::path(data).lexically_normal());
    paths.preferUserData();
    return paths;
}

std::string AppPaths::writableFile(std::string_view name) const {
    if (!installRoot.empty() && ::access(installRoot.c_str(), W_OK) == 0)
        return installRoot + std::string(name);
    const std::string folder = userDataHome();
    std::error_code error; // a folder that cannot be made fails where the file is written
    std::filesystem::create_directories(folder, error);
    return folder + std::string(name);
}

} // namespace qel
