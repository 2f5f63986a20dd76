// qel-mkdb: builds the content database from the sample sources and the KJV export, and
// records a build folder as an installation.
#include "mkdb/contentbuilder.h"
#include "mkdb/importer.h"
#include "mkdb/kjvimport.h"
#include "platform/apppaths.h"
#include "platform/database.h"
#include "platform/settingsstore.h"
#include "search/verseindexbuilder.h"
#include "search/wordindexbuilder.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

int usage() {
    std::fprintf(
        stderr,
        "usage: qel-mkdb --data SOURCE_DIR [--kjv KJV.imp] --out DATA_DIR\n"
        "       qel-mkdb --import SOURCE --as CODE [--db Bible.m14 [--seed-from DATA_DIR]]\n"
        "                [--replace]\n"
        "       qel-mkdb --install-record INSTALL_DIR\n");
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

int runImport(qel::mkdb::ImportRequest request, const char* program) {
    // Without --db, where the program beside this qel-mkdb reads and imports its data.
    if (request.dbPath.empty()) {
        const std::string programFile = std::filesystem::absolute(program).string();
        const qel::AppPaths paths = qel::AppPaths::compute(
            qel::SettingsStore(qel::SettingsStore::defaultFilePath()), programFile);
        qel::AppPaths::ImportTarget target = paths.importTarget(programFile);
        request.dbPath = std::move(target.database);
        request.seedFrom = std::move(target.seedFrom);
    }
    request.progress = [](const std::string& message) {
        std::fprintf(stderr, "qel-mkdb: %s\n", message.c_str());
    };
    request.cancel = &cancelImport;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    qel::mkdb::importEdition(request);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string dataDir, kjvFile, outDir, installDir;
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
        else if (!std::strcmp(argv[i], "--as") && hasValue)
            import.code = argv[++i];
        else if (!std::strcmp(argv[i], "--db") && hasValue)
            import.dbPath = argv[++i];
        else if (!std::strcmp(argv[i], "--seed-from") && hasValue)
            import.seedFrom = argv[++i];
        else if (!std::strcmp(argv[i], "--replace"))
            import.replace = true;
        else if (!std::strcmp(argv[i], "--install-record") && hasValue)
            installDir = argv[++i];
        else
            return usage();
    }
    try {
        if (!installDir.empty()) {
            return writeInstallRecord(installDir) ? 0 : 1;
        }
        if (!import.source.empty() || !import.code.empty()) {
            if (import.source.empty() || import.code.empty())
                return usage();
            return runImport(import, argv[0]);
        }
        if (dataDir.empty() || outDir.empty())
            return usage();
        auto progress = [](const std::string& message) {
            std::fprintf(stderr, "qel-mkdb: %s\n", message.c_str());
        };
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
