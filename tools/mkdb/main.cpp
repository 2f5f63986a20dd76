// qel-mkdb: builds the content database and the topic files from the sample sources and
// the KJV export, and records a build folder as an installation.
#include "companion/journalfile.h"
#include "mkdb/contentbuilder.h"
#include "mkdb/importer.h"
#include "mkdb/kjvimport.h"
#include "mkdb/mapdrawing.h"
#include "mkdb/mapplaces.h"
#include "mkdb/photodiagrams.h"
#include "mkdb/repositorycommands.h"
#include "mkdb/swordinstall.h"
#include "mkdb/topicbuilder.h"
#include "platform/apppaths.h"
#include "platform/database.h"
#include "platform/settingsstore.h"
#include "study/bookmarkstore.h"
#include "study/highlightstore.h"
#include "study/notecsv.h"
#include "study/notestore.h"
#include "versesearch/verseindexbuilder.h"
#include "wordsearch/wordindexbuilder.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include <QGuiApplication>

namespace {

// Drawing needs Qt's painting and fonts, but no screen.
void useOffscreenScreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int usage() {
    std::fprintf(
        stderr,
        "usage: qel-mkdb --data SOURCE_DIR [--kjv KJV.imp] --out DATA_DIR\n"
        "       qel-mkdb --import SOURCE --as CODE [--db Bible.m14 [--seed-from DATA_DIR]]\n"
        "                [--replace]\n"
        "       qel-mkdb --restore-sample CODE [--db Bible.m14 [--seed-from DATA_DIR]]\n"
        "       qel-mkdb --sources\n"
        "       qel-mkdb --list [SOURCE] [--allow-network]\n"
        "       qel-mkdb --install MODULE [--from SOURCE] --as CODE [--db Bible.m14]\n"
        "                [--replace] [--allow-network]\n"
        "       qel-mkdb --topics TOPIC_SOURCE_DIR --out DATA_DIR\n"
        "       qel-mkdb --maps --data SOURCE_DIR --out DATA_DIR\n"
        "       qel-mkdb --place-table FILE.cpp --data SOURCE_DIR\n"
        "       qel-mkdb --install-record INSTALL_DIR\n"
        "       qel-mkdb --export-notes FILE.csv [--notes Study.mdb]\n"
        "       qel-mkdb --import-notes FILE.csv [--notes Study.mdb]\n"
        "       qel-mkdb --export-journal FILE.tsv [--notes Study.mdb]\n"
        "       qel-mkdb --import-journal FILE.tsv [--notes Study.mdb]\n");
    return 2;
}

// Writes the installation record of a local install, keeping every value already there.
// False when the settings file could not be written (the store has said why).
bool writeInstallRecord(const std::string& installDir) {
    qel::SettingsStore store(qel::SettingsStore::defaultFilePath());
    std::string folder = installDir;
    if (folder.empty() || folder.back() != '/')
        folder.push_back('/');
    bool saved = true;
    if (!store.contains("Path", "Installed To"))
        saved = store.writeString("Path", "Installed To", "./") && saved;
    if (!store.contains("Path", "Installed From"))
        saved = store.writeString("Path", "Installed From", folder) && saved;
    if (!store.contains("Path", "Install Type"))
        saved = store.writeInt("Path", "Install Type", 0) && saved;
    if (saved)
        std::fprintf(stderr, "qel-mkdb: installation record in %s\n", store.filePath().c_str());
    return saved;
}

std::atomic<bool> cancelImport{false};

// An interrupted import stops at its next check and removes what it wrote.
extern "C" void onSignal(int) {
    cancelImport = true;
}

// Without --db, where the program beside this qel-mkdb reads and imports its data.
void defaultTarget(qel::mkdb::ImportRequest& request, const char* program) {
    if (request.dbPath.empty()) {
        const std::string programFile = std::filesystem::absolute(program).string();
        const qel::AppPaths paths = qel::AppPaths::compute(
            qel::SettingsStore(qel::SettingsStore::defaultFilePath()), programFile);
        qel::AppPaths::ImportTarget target = paths.importTarget(programFile);
        request.dbPath = std::move(target.database);
        request.seedFrom = std::move(target.seedFrom);
    }
}

// An import, or the return of a slot's sample, which writes the same way.
int runImport(qel::mkdb::ImportRequest request, const char* program, bool restore) {
    defaultTarget(request, program);
    request.progress = [](const std::string& message) {
        std::fprintf(stderr, "qel-mkdb: %s\n", message.c_str());
    };
    request.cancel = &cancelImport;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    if (restore)
        qel::mkdb::restoreSample(request);
    else
        qel::mkdb::importEdition(request);
    return 0;
}

int runRepository(bool sources, bool list, const std::string& listSource, const std::string& module,
                  const std::string& from, qel::mkdb::RepositoryCommand how,
                  qel::mkdb::ImportRequest import, const char* program) {
    if (sources + list + !module.empty() != 1 || (!module.empty() && import.code.empty()) ||
        (module.empty() && (!import.code.empty() || !from.empty())))
        return usage();
    qel::SettingsStore store(qel::SettingsStore::defaultFilePath());
    how.interactive = isatty(STDIN_FILENO);
    how.cancel = &cancelImport;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    if (sources)
        return qel::mkdb::listSources(store, stdout);
    if (list)
        return qel::mkdb::listModules(store, listSource, how, stdout);
    defaultTarget(import, program);
    return qel::mkdb::installFromSource(store, module, from, import, how);
}

// The topic files into DATA_DIR/M14 (the topic folder of an installation).
void buildTopics(const std::string& sourceDir, const std::string& outDir, int argc, char** argv,
                 const std::function<void(const std::string&)>& progress) {
    // The diagrams need fonts.
    useOffscreenScreen();
    QGuiApplication gui(argc, argv);
    qel::mkdb::buildTopicFiles(sourceDir, std::filesystem::path(outDir) / "M14",
                               qel::mkdb::drawPhotoDiagram, progress);
}

// Without --notes, the notes of the installation this qel-mkdb belongs to.
std::string notesFile(const std::string& given, const char* program) {
    if (!given.empty())
        return given;
    const qel::SettingsStore store(qel::SettingsStore::defaultFilePath());
    return qel::AppPaths::compute(store, std::filesystem::absolute(program).string())
        .studyDatabaseFile();
}

// Writes a file whole, or throws.
template <typename Write> void writeFile(const std::string& file, Write write) {
    std::ofstream out(file, std::ios::binary);
    write(out);
    out.close();
    if (!out)
        throw std::runtime_error(file + ": cannot write");
}

// Notes, highlights and bookmarks, each in its own file.
int exportNotes(const std::string& csvFile, const std::string& notes) {
    if (!std::filesystem::is_regular_file(notes))
        throw std::runtime_error(notes + ": no notes file");
    qel::NoteStore store(notes);
    if (!store.isOpen())
        return 1;
    qel::HighlightStore highlightStore(notes);
    qel::BookmarkStore bookmarkStore(notes);
    const std::vector<qel::Note> all = store.all();
    const std::vector<qel::Highlight> highlights =
        highlightStore.isOpen() ? highlightStore.all() : std::vector<qel::Highlight>{};
    const std::vector<qel::BookmarkEntry> bookmarks =
        bookmarkStore.isOpen() ? bookmarkStore.entries() : std::vector<qel::BookmarkEntry>{};
    const std::string highlightFile = qel::besideNotesCsv(csvFile, "highlights"),
                      bookmarkFile = qel::besideNotesCsv(csvFile, "bookmarks");
    writeFile(csvFile, [&](std::ostream& out) { qel::writeNotesCsv(out, all, qel::noteCitation); });
    writeFile(highlightFile, [&](std::ostream& out) {
        qel::writeHighlightsCsv(out, highlights, qel::noteCitation);
    });
    writeFile(bookmarkFile, [&](std::ostream& out) { qel::writeBookmarksCsv(out, bookmarks); });
    std::fprintf(stderr, "qel-mkdb: %zu notes written to %s\n", all.size(), csvFile.c_str());
    std::fprintf(stderr, "qel-mkdb: %zu highlights written to %s\n", highlights.size(),
                 highlightFile.c_str());
    std::fprintf(stderr, "qel-mkdb: %zu bookmarks and folders written to %s\n", bookmarks.size(),
                 bookmarkFile.c_str());
    return 0;
}

// Reads a file beside the notes' file, if there is one (an older export has none).
template <typename Read>
auto readBeside(const std::string& csvFile, std::string_view kind, Read read) {
    const std::string file = qel::besideNotesCsv(csvFile, kind);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return decltype(read(in)){};
    try {
        return read(in);
    } catch (const qel::NoteCsvError& e) {
        throw qel::NoteCsvError(file + ": " + e.what());
    }
}

int importNotes(const std::string& csvFile, const std::string& notes) {
    std::ifstream in(csvFile, std::ios::binary);
    if (!in)
        throw std::runtime_error(csvFile + ": cannot read");
    // Every file is read and checked before the database is touched.
    const std::vector<qel::Note> read = qel::readNotesCsv(in);
    const auto highlights = readBeside(csvFile, "highlights", qel::readHighlightsCsv);
    const auto bookmarks = readBeside(csvFile, "bookmarks", qel::readBookmarksCsv);
    qel::NoteStore store(notes);
    if (!store.isOpen())
        return 1;
    const int changed = store.merge(read);
    std::fprintf(stderr, "qel-mkdb: %zu notes read, %d added or joined in %s\n", read.size(),
                 changed, notes.c_str());
    if (!highlights.empty() || !bookmarks.empty()) {
        qel::HighlightStore highlightStore(notes);
        qel::BookmarkStore bookmarkStore(notes);
        if (!highlightStore.isOpen() || !bookmarkStore.isOpen())
            return 1;
        std::fprintf(stderr, "qel-mkdb: %zu highlights read, %d added\n", highlights.size(),
                     highlightStore.merge(highlights));
        std::fprintf(stderr, "qel-mkdb: %zu bookmarks and folders read, %d added\n",
                     bookmarks.size(), bookmarkStore.merge(bookmarks));
    }
    return 0;
}

// Reading plans and diary entries, the companions' tables beside the notes.
int exportJournal(const std::string& file, const std::string& notes) {
    if (!std::filesystem::is_regular_file(notes))
        throw std::runtime_error(notes + ": no notes file");
    qel::JournalStore store(notes);
    const qel::JournalData data = store.all();
    std::ofstream out(file, std::ios::binary);
    qel::writeJournalFile(out, data);
    out.close();
    if (!out)
        throw std::runtime_error(file + ": cannot write");
    std::fprintf(stderr,
                 "qel-mkdb: %zu plans, %zu readings ticked off, %zu diary days written to %s\n",
                 data.plans.size(), data.marks.size(), data.entries.size(), file.c_str());
    return 0;
}

int importJournal(const std::string& file, const std::string& notes) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error(file + ": cannot read");
    // The whole file is read and checked before the database is touched.
    const qel::JournalData data = qel::readJournalFile(in);
    qel::JournalStore store(notes);
    const int changed = store.merge(data);
    std::fprintf(stderr, "qel-mkdb: %d rows added or joined in %s\n", changed, notes.c_str());
    return 0;
}

// The maps need Qt's painting and fonts.
int runMaps(int argc, char** argv, const std::string& dataDir, const std::string& outDir) {
    useOffscreenScreen();
    QGuiApplication gui(argc, argv);
    qel::mkdb::drawMaps(dataDir, outDir + "/MAP/", [](const std::string& message) {
        std::fprintf(stderr, "qel-mkdb: %s\n", message.c_str());
    });
    return 0;
}

// Writes the place-name tree's source from the places and the map projections.
int writePlaceTable(const std::string& dataDir, const std::string& target) {
    const std::string places = dataDir + "/maps/places.txt";
    std::ifstream in(places), ntIn(dataDir + "/maps/ntplaces.txt");
    if (!in || !ntIn)
        throw qel::mkdb::SourceError(places + ":0: cannot read the places or ntplaces.txt");
    const auto keys =
        qel::mkdb::placeKeys(qel::mkdb::readPlaces(in, places), qel::mkdb::readNameList(ntIn));
    std::ofstream out(target, std::ios::binary);
    out << qel::mkdb::placeNameTreeSource(keys);
    return out.flush() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    std::string dataDir, kjvFile, outDir, installDir, topicDir, exportFile, importFile, notes,
        placeTable;
    std::string exportJournalFile, importJournalFile;
    bool maps = false, sources = false, list = false, restore = false;
    std::string listSource, installModule, from;
    qel::mkdb::RepositoryCommand repository;
    qel::mkdb::ImportRequest import;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--data") && hasValue)
            dataDir = argv[++i];
        else if (!std::strcmp(argv[i], "--kjv") && hasValue)
            kjvFile = argv[++i];
        else if (!std::strcmp(argv[i], "--out") && hasValue)
            outDir = argv[++i];
        else if (!std::strcmp(argv[i], "--import") && hasValue)
            import.source = argv[++i];
        else if (!std::strcmp(argv[i], "--restore-sample") && hasValue) {
            restore = true;
            import.code = argv[++i];
        } else if (!std::strcmp(argv[i], "--as") && hasValue)
            import.code = argv[++i];
        else if (!std::strcmp(argv[i], "--db") && hasValue)
            import.dbPath = argv[++i];
        else if (!std::strcmp(argv[i], "--seed-from") && hasValue)
            import.seedFrom = argv[++i];
        else if (!std::strcmp(argv[i], "--replace"))
            import.replace = true;
        else if (!std::strcmp(argv[i], "--sources"))
            sources = true;
        else if (!std::strcmp(argv[i], "--list")) {
            list = true;
            if (hasValue && std::strncmp(argv[i + 1], "--", 2) != 0)
                listSource = argv[++i];
        } else if (!std::strcmp(argv[i], "--install") && hasValue)
            installModule = argv[++i];
        else if (!std::strcmp(argv[i], "--from") && hasValue)
            from = argv[++i];
        else if (!std::strcmp(argv[i], "--allow-network"))
            repository.allowNetwork = true;
        else if (!std::strcmp(argv[i], "--topics") && hasValue)
            topicDir = argv[++i];
        else if (!std::strcmp(argv[i], "--maps"))
            maps = true;
        else if (!std::strcmp(argv[i], "--place-table") && hasValue)
            placeTable = argv[++i];
        else if (!std::strcmp(argv[i], "--install-record") && hasValue)
            installDir = argv[++i];
        else if (!std::strcmp(argv[i], "--export-notes") && hasValue)
            exportFile = argv[++i];
        else if (!std::strcmp(argv[i], "--import-notes") && hasValue)
            importFile = argv[++i];
        else if (!std::strcmp(argv[i], "--export-journal") && hasValue)
            exportJournalFile = argv[++i];
        else if (!std::strcmp(argv[i], "--import-journal") && hasValue)
            importJournalFile = argv[++i];
        else if (!std::strcmp(argv[i], "--notes") && hasValue)
            notes = argv[++i];
        else
            return usage();
    }
    try {
        if (!installDir.empty()) {
            return writeInstallRecord(installDir) ? 0 : 1;
        }
        if (sources || list || !installModule.empty())
            return runRepository(sources, list, listSource, installModule, from, repository, import,
                                 argv[0]);
        if (!exportFile.empty() && !importFile.empty())
            return usage();
        if (!exportJournalFile.empty() && !importJournalFile.empty())
            return usage();
        if (!exportJournalFile.empty())
            return exportJournal(exportJournalFile, notesFile(notes, argv[0]));
        if (!importJournalFile.empty())
            return importJournal(importJournalFile, notesFile(notes, argv[0]));
        if (!exportFile.empty())
            return exportNotes(exportFile, notesFile(notes, argv[0]));
        if (!importFile.empty())
            return importNotes(importFile, notesFile(notes, argv[0]));
        if (restore)
            return import.source.empty() && !import.replace ? runImport(import, argv[0], true)
                                                            : usage();
        if (!import.source.empty() || !import.code.empty()) {
            if (import.source.empty() || import.code.empty())
                return usage();
            return runImport(import, argv[0], false);
        }
        if (!placeTable.empty())
            return dataDir.empty() ? usage() : writePlaceTable(dataDir, placeTable);
        if (maps)
            return dataDir.empty() || outDir.empty() ? usage()
                                                     : runMaps(argc, argv, dataDir, outDir);
        auto progress = [](const std::string& message) {
            std::fprintf(stderr, "qel-mkdb: %s\n", message.c_str());
        };
        if (!topicDir.empty() && !outDir.empty() && dataDir.empty()) {
            buildTopics(topicDir, outDir, argc, argv, progress);
            return 0;
        }
        if (dataDir.empty() || outDir.empty())
            return usage();
        progress("reading " + dataDir);
        qel::mkdb::ContentSources sources = qel::mkdb::readDataFolder(dataDir);
        if (!kjvFile.empty()) {
            progress("reading " + kjvFile);
            std::ifstream in(kjvFile, std::ios::binary);
            if (!in)
                throw qel::mkdb::SourceError(kjvFile + ":0: cannot read file");
            sources.versions["KJV"] = qel::mkdb::readKjvImp(in, kjvFile, progress);
        }
        qel::mkdb::buildContentDatabase(sources, outDir + "/DB/Bible.m14", progress);
        buildTopics(dataDir + "/topics", outDir, argc, argv, progress);
        {
            qel::Database content(outDir + "/DB/Bible.m14", qel::Database::Mode::ReadOnly);
            for (const std::string& file : qel::buildWordIndexes(content, outDir + "/M14/"))
                progress("word index " + file);
        }
        const std::filesystem::path ownLexicon =
            std::filesystem::path(outDir) / "DBF" / qel::kOwnLexiconFile;
        std::filesystem::create_directories(ownLexicon.parent_path());
        std::filesystem::copy_file(dataDir + "/lexicon/bible.txt", ownLexicon,
                                   std::filesystem::copy_options::overwrite_existing);
        const qel::AnalysisSources analysis =
            qel::readAnalysisSources(qel::kHanjaTablePath, ownLexicon.string(), progress);
        qel::buildVerseIndex(outDir + "/DB/Bible.m14", outDir + "/DBF", analysis, progress);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qel-mkdb: %s\n", e.what());
        return 1;
    }
    return 0;
}
