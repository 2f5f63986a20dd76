#pragma once

#include <string>
#include <string_view>

namespace qel {

class SettingsStore;

// Data folders, fixed at start-up. Paths are file-system (UTF-8) text using "/" and end
// with "/".
struct AppPaths {
    std::string installRoot;
    std::string dbFolder;
    std::string searchIndexFolder;
    std::string wordIndexFolder;
    std::string topicFolder;
    std::string mapFolder;
    std::string installedFrom; // the CD root, also where the intro video is looked for

    // programFile is the full path of the running program.
    static AppPaths compute(const SettingsStore& settings, std::string_view programFile);
    // The folder that "./" names: the program's own folder when Data/ is beside the
    // program (a build folder or an unpacked copy), else <prefix>/share/qelbible/ of a
    // program installed as <prefix>/bin/qelbible.
    static std::string programHome(std::string_view programFile);
    // A file the program writes: in installRoot, or in $XDG_DATA_HOME/qelbible/ (made when
    // missing) when installRoot cannot be written (a program installed under a read-only
    // prefix).
    std::string writableFile(std::string_view name) const;
    // The reader's notes.
    std::string studyDatabaseFile() const { return writableFile("Study.mdb"); }
    // The verse search's result file.
    std::string searchResultFile() const { return writableFile("out.dat"); }

    // The reader's own data folder, $XDG_DATA_HOME/qelbible/ (~/.local/share/qelbible/),
    // where an installed program keeps the editions the reader imports.
    static std::string userDataHome();
    // Once the user data folder holds a content database, it and the indexes beside it
    // are the ones read.
    void preferUserData();

    // Where an import writes the content database, and the Data/ folder to fill that place
    // from first (empty when the database is there). A program with Data/ beside it (a build
    // folder or an unpacked copy) imports into its own; an installed program, whose prefix
    // is the system's, into the user data folder.
    struct ImportTarget {
        std::string database;
        std::string seedFrom;
    };
    ImportTarget importTarget(std::string_view programFile) const;
};

} // namespace qel
