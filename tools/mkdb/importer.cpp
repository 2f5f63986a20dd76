#include "mkdb/importer.h"

#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "bible/swordmodules.h"
#include "mkdb/kjvimport.h"
#include "mkdb/letterfit.h"
#include "mkdb/osisfile.h"
#include "mkdb/usfm.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "platform/dataswap.h"
#include "platform/text.h"
#include "versesearch/verseindexbuilder.h"
#include "wordsearch/wordindexbuilder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace qel::mkdb {
namespace fs = std::filesystem;
namespace {

struct Cancelled : SourceError {
    Cancelled() : SourceError("import cancelled; nothing changed") {}
};

void checkCancel(const ImportRequest& request) {
    if (request.cancel && request.cancel->load())
        throw Cancelled();
}

void report(const ImportRequest& request, const std::string& message) {
    if (request.progress)
        request.progress(message);
}

bool isModuleName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
}

ImportedText readModule(const std::string& module, const std::string& swordFolder,
                        const ConvertOptions& options, EditionRecord& edition) {
    const std::optional<SwordModule> conf = findSwordModule(module, swordFolder);
    if (!conf)
        throw SourceError("unknown SWORD module \"" + module +
                          "\" (no such file, folder or module in " + joined(swordModuleFolders()) +
                          ")");
    const auto get = [&](const char* key) { return conf->value(key); };
    const std::string sourceType = get("SourceType");
    SourceMarkup markup = SourceMarkup::Osis;
    if (sourceType == "ThML")
        markup = SourceMarkup::Thml;
    else if (sourceType == "GBF")
        markup = SourceMarkup::Gbf;
    else if (!sourceType.empty() && sourceType != "OSIS")
        throw SourceError("module " + module + ": its markup " + sourceType +
                          " is not read (OSIS, ThML and GBF modules are)");
    edition.source = "SWORD module " + module;
    edition.module = module;
    edition.version = get("Version");
    edition.abbreviation = get("Abbreviation");
    edition.name = get("Description");
    edition.licence = get("DistributionLicense");
    if (edition.licence.empty())
        edition.licence = get("Copyright");
    // SWORD_PATH makes mod2imp read the given folder's module.
    const std::string command =
        (swordFolder.empty() ? "" : "SWORD_PATH='" + swordFolder + "' ") + "mod2imp " + module;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        throw SourceError("cannot run mod2imp");
    std::string imp;
    char buffer[65536];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        imp.append(buffer, n);
    if (pclose(pipe) != 0 || imp.empty())
        throw SourceError("mod2imp could not export module " + module);
    std::istringstream in(std::move(imp));
    return readImp(in, module + ".imp", options, markup);
}

ImportedText readSource(const ImportRequest& request, EditionRecord& edition) {
    const ConvertOptions options{request.wordsOfJesus};
    const fs::path path(request.source);
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        edition.source = "USFM folder " + path.filename().string();
        edition.name = path.filename().string();
        return readUsfmFolder(path, options);
    }
    if (fs::exists(path, ec)) {
        edition.source = "OSIS file " + path.filename().string();
        edition.name = path.stem().string();
        return readOsisFile(path, options);
    }
    if (!isModuleName(request.source))
        throw SourceError(request.source + ": no such file, folder or SWORD module");
    return readModule(request.source, request.swordFolder, options, edition);
}

std::string today() {
    return localTimeText("%Y-%m-%d");
}

// The word-search index number of a version, or -1 (VRD has none).
int wordIndexOf(std::string_view code) {
    for (int i = 0; i < 7; ++i)
        if (wordSearchVersion(i) == code)
            return i;
    return -1;
}

// Copies the indexes the import does not rebuild from an installation's Data/ folder into a
// reader's folder that has none yet, as new files of the swap.
template <typename AddMove>
void seedIndexes(const fs::path& from, const fs::path& to, const std::string& code, int wordIndex,
                 AddMove addMove) {
    if (code != "VRA" && fs::is_directory(from / "DBF"))
        fs::copy(from / "DBF", addMove(to / "DBF"), fs::copy_options::recursive);
    for (int i = 0; i < 7; ++i) {
        const std::string name = std::to_string(i) + ".m14";
        if (i != wordIndex && fs::is_regular_file(from / "M14" / name) &&
            !fs::exists(to / "M14" / name))
            fs::copy_file(from / "M14" / name, addMove(to / "M14" / name));
    }
}

// Rewrites the slot's rows in the new copy of the database, in one transaction.
void writeDatabase(const ImportRequest& request, const fs::path& newDb,
                   const std::vector<SourceVerse>& verses, const std::vector<TitleRecord>& titles,
                   const EditionRecord& edition, std::chrono::steady_clock::time_point started) {
    const std::string& code = request.code;
    Database db(newDb.string(), Database::Mode::ReadWrite);
    db.execute("begin");
    db.execute("delete from " + code);
    db.execute("delete from T" + code);
    db.execute("delete from CHAPTER where vercode = ?", {code});
    if (const int index = parallelVersionIndex(code); index >= 0)
        db.execute("delete from PARALLEL where VERCODE = ?", {std::to_string(index)});
    // Progress and a cancel after each book.
    std::size_t booksDone = 0;
    insertVersion(db, code, verses, [&](std::size_t done) {
        checkCancel(request);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        report(request, code + ": " + std::to_string(++booksDone) + " books, " +
                            std::to_string(done) + " verses, " +
                            std::to_string(static_cast<long>(done / std::max(seconds, 1e-3))) +
                            " verses/s");
    });
    insertTitles(db, code, titles);
    recordEdition(db, edition);
    db.execute("commit");
}

// The outermost folder of `path` that does not exist yet, or nothing.
fs::path firstMissing(const fs::path& path) {
    fs::path missing;
    for (fs::path p = path; !p.empty() && !fs::exists(p); p = p.parent_path())
        missing = p;
    return missing;
}

// A verse read twice (a second file of a book, a repeated record) would show twice; a verse
// longer than the chapter window's buffer could never be shown.
void checkVerse(const SourceVerse& v, const std::string& place,
                std::map<std::string, std::string>& seen) {
    const std::string where = v.origin.empty() ? place : v.origin;
    if (const auto [first, added] = seen.emplace(place, where); !added)
        throw SourceError(where + ": " + place + " appears a second time (first at " +
                          first->second + ")");
    // Room for the verse mark the window puts before it.
    constexpr std::size_t kLongestVerse = kChapterBufferSize - 64;
    if (v.body.size() > kLongestVerse)
        throw SourceError(where + ": " + place + " is " + std::to_string(v.body.size()) +
                          " bytes long; the chapter window shows at most " +
                          std::to_string(kLongestVerse) + " bytes of a verse");
}

// Fits the source to the slot's book table and to CP949.
void fitToSlot(const ImportRequest& request, ImportedText& text, std::vector<SourceVerse>& verses,
               std::vector<TitleRecord>& titles, ImportReport& result) {
    std::set<std::string> books;
    for (const BookRow& row : bookTableOf(request.code))
        books.insert(row.code);
    LetterFit fitter(request.replace);
    std::map<std::string, std::string> seen; // place → where it was read
    verses.reserve(text.verses.size());
    for (SourceVerse& v : text.verses) {
        const std::string place = v.book + " " + v.chapter + ":" + v.verse;
        if (!books.count(v.book)) {
            if (result.skippedExamples.size() < 5)
                result.skippedExamples.push_back(place);
            ++result.skipped;
            continue;
        }
        // A versification's slot that the source leaves empty gets no row.
        if (v.body.empty())
            continue;
        v.body = fitter.fit(v.body, place);
        checkVerse(v, place, seen);
        verses.push_back(std::move(v));
    }
    for (TitleRecord& t : text.titles)
        if (books.count(t.book)) {
            t.body = fitter.fit(t.body, t.book + " title");
            titles.push_back(std::move(t));
        }
    if (result.skipped)
        report(request, std::to_string(result.skipped) + " verses outside the book table of " +
                            request.code + " skipped, e.g. " + joined(result.skippedExamples));
    fitter.report(request.progress);
    fitter.check();
    result.replaced = fitter.unfit().count;
    result.simplified = fitter.simplified().count;
    result.hebrewDropped = fitter.dropped().count;
    if (verses.empty())
        throw SourceError(request.source + ": no verse of the books of " + request.code);
    result.verses = verses.size();
    result.titles = titles.size();
}

// Writes the new database and indexes beside the old ones and swaps them in.
void writeAndSwap(const ImportRequest& request, const fs::path& dataDir, bool seed,
                  const std::vector<SourceVerse>& verses, const std::vector<TitleRecord>& titles,
                  const EditionRecord& edition, std::chrono::steady_clock::time_point started) {
    const std::string& code = request.code;
    const fs::path dbPath(request.dbPath);
    const fs::path seedData(request.seedFrom);
    const int wordIndex = wordIndexOf(code);
    std::vector<DataMove> moves;
    auto addMove = [&](const fs::path& to) {
        const fs::path relative = fs::absolute(to).lexically_relative(dataDir);
        moves.push_back({relative.string() + ".import", relative});
        return dataDir / moves.back().from;
    };
    const fs::path newDb = addMove(dbPath);
    const fs::path wordFile = dataDir / "M14" / (std::to_string(wordIndex) + ".m14");
    const fs::path verseDir = dataDir / "DBF";
    try {
        fs::create_directories(fs::absolute(dbPath).parent_path());
        fs::create_directories(dataDir / "M14");
        if (seed) {
            report(request, "copying the content database and its indexes to " + dataDir.string());
            seedIndexes(seedData, dataDir, code, wordIndex, addMove);
        }
        fs::copy_file(seed ? seedData / "DB" / "Bible.m14" : dbPath, newDb);
        writeDatabase(request, newDb, verses, titles, edition, started);
        checkCancel(request);
        if (wordIndex >= 0) {
            report(request, "word index " + wordFile.string());
            Database db(newDb.string(), Database::Mode::ReadOnly);
            buildWordIndex(db, code, addMove(wordFile).string());
        }
        checkCancel(request);
        if (code == "VRA") {
            auto warn = [&](const std::string& m) { report(request, m); };
            const fs::path ownLexicon = (seed ? seedData / "DBF" : verseDir) / kOwnLexiconFile;
            const fs::path newVerseDir = addMove(verseDir);
            buildVerseIndex(newDb.string(), newVerseDir.string(),
                            readAnalysisSources(kHanjaTablePath, ownLexicon.string(), warn), warn);
            // The reader's word list goes with the index it belongs to.
            if (fs::exists(ownLexicon))
                fs::copy_file(ownLexicon, newVerseDir / kOwnLexiconFile);
        }
        checkCancel(request);
        commitDataSwap(dataDir, moves, {request.swapStep, {}});
    } catch (...) {
        // Unless the swap's journal was written, every new file goes again.
        recoverLockedDataSwap(dataDir);
        throw;
    }
}

ImportReport importLocked(const ImportRequest& request, const fs::path& dataDir) {
    std::optional<DataFolderLock> lock;
    try {
        lock.emplace(dataDir);
    } catch (const DataFolderLock::Busy& busy) {
        throw SourceError(busy.what());
    }
    // An import stopped half-way is finished or undone before this one starts.
    recoverLockedDataSwap(dataDir);
    const fs::path dbPath(request.dbPath);
    std::error_code ec;
    const bool seed = !request.seedFrom.empty() && !fs::exists(dbPath, ec);
    const fs::path seedDb = fs::path(request.seedFrom) / "DB" / "Bible.m14";
    if (!fs::is_regular_file(seed ? seedDb : dbPath))
        throw SourceError((seed ? seedDb.string() : request.dbPath) +
                          ": no content database there");

    ImportReport result;
    result.edition.code = request.code;
    result.edition.installed = today();
    const auto started = std::chrono::steady_clock::now();
    report(request, "reading " + request.source);
    ImportedText text = readSource(request, result.edition);
    checkCancel(request);
    std::vector<SourceVerse> verses;
    std::vector<TitleRecord> titles;
    fitToSlot(request, text, verses, titles, result);
    checkCancel(request);
    writeAndSwap(request, dataDir, seed, verses, titles, result.edition, started);

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.1f s", seconds);
    report(request, request.code + ": imported " + std::to_string(result.verses) + " verses and " +
                        std::to_string(result.titles) + " section titles in " + elapsed);
    return result;
}

} // namespace

ImportReport importEdition(const ImportRequest& request) {
    if (!isBibleVersion(request.code) || request.code == "TEV")
        throw SourceError("unknown edition slot \"" + request.code +
                          "\" (VRA VRB VRC VRD VRE KJV NIV GNB)");
    const fs::path dbPath(request.dbPath);
    // Data/DB/Bible.m14 has its indexes in Data/M14/ and Data/DBF/; a database elsewhere
    // has them in its own folder.
    const fs::path dbFolder = fs::absolute(dbPath).parent_path();
    const fs::path dataDir = dbFolder.filename() == "DB" ? dbFolder.parent_path() : dbFolder;
    // A reader's folder made for the first import goes again should that import fail.
    const fs::path made = request.seedFrom.empty() ? fs::path() : firstMissing(dataDir);
    if (!made.empty())
        fs::create_directories(dataDir);
    try {
        return importLocked(request, dataDir);
    } catch (...) {
        std::error_code ignored;
        if (!made.empty() && !fs::exists(dbPath, ignored))
            fs::remove_all(made, ignored);
        throw;
    }
}

} // namespace qel::mkdb
