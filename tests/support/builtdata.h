#pragma once

#include <filesystem>
#include <string>

// A folder of the built data beside the built content database (Data/DBF, Data/M14).
inline std::string builtDataFolder(const char* name) {
    return (std::filesystem::path(QEL_BUILT_CONTENT_DB).parent_path().parent_path() / name)
        .string();
}
