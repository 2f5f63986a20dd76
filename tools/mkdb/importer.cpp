#include "mkdb/importer.h"

#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "bible/editions.h"
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
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

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
    const Edition* edition = findEdition(code);
    return edition ? edition->wordIndex : -1;
}

bool hasVerseIndex(std::string_view code) {
    const Edition* edition = findEdition(code);
    return edition && edition->verseIndex;
}

// Copies the indexes the import does not rebuild from an installation's Data/ folder into a
// reader's folder that has none yet, as new files of the swap.
template <typename AddMove>
void seedIndexes(const fs::path& from, const fs::path& to, const std::string& code, int wordIndex,
                 AddMove addMove) {
    if (!hasVerseIndex(code) && fs::is_directory(from / "DBF"))
        fs::copy(from / "DBF", addMove(to / "DBF"), fs::copy_options::recursive);
    for (const Edition* edition : editionsBy(&Edition::wordIndex)) {
        const int i = edition->wordIndex;
        const std::string name = std::to_string(i) + ".m14";
        if (i != wordIndex && fs::is_regular_file(from / "M14" / name) &&
            !fs::exists(to / "M14" / name))
            copyNewFile(from / "M14" / name, addMove(to / "M14" / name));
    }
}

// Hears the books as they are written: progress, and a cancel after each book.
BookDoneFn bookProgress(const ImportRequest& request,
                        std::chrono::steady_clock::time_point started) {
    return [&request, started, booksDone = std::size_t{0}](std::size_t done) mutable {
        checkCancel(request);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        report(request, request.code + ": " + std::to_string(++booksDone) + " books, " +
                            std::to_string(done) + " verses, " +
                            std::to_string(static_cast<long>(done / std::max(seconds, 1e-3))) +
                            " verses/s");
    };
}

// Writes the slot's new rows into the emptied slot of the new database.
using FillSlot = std::function<void(Database& db)>;

// Rewrites the slot's rows in the new copy of the database, in one transaction.
void writeDatabase(const ImportRequest& request, const fs::path& newDb, const FillSlot& fill) {
    const std::string& code = request.code;
    Database db(newDb.string(), Database::Mode::ReadWrite);
    db.execute("begin");
    db.execute("delete from " + code);
    db.execute("delete from T" + code);
    db.execute("delete from CHAPTER where vercode = ?", {code});
    if (const int index = parallelVersionIndex(code); index >= 0)
        db.execute("delete from PARALLEL where VERCODE = ?", {std::to_string(index)});
    fill(db);
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
                  const FillSlot& fill) {
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
        copyNewFile(seed ? seedData / "DB" / "Bible.m14" : dbPath, newDb);
        writeDatabase(request, newDb, fill);
        checkCancel(request);
        if (wordIndex >= 0) {
            report(request, "word index " + wordFile.string());
            Database db(newDb.string(), Database::Mode::ReadOnly);
            buildWordIndex(db, code, addMove(wordFile).string());
        }
        checkCancel(request);
        if (hasVerseIndex(code)) {
            auto warn = [&](const std::string& m) { report(request, m); };
            const fs::path ownLexicon = (seed ? seedData / "DBF" : verseDir) / kOwnLexiconFile;
            const fs::path newVerseDir = addMove(verseDir);
            buildVerseIndex(newDb.string(), newVerseDir.string(),
                            readAnalysisSources(kHanjaTablePath, ownLexicon.string(), warn), warn);
            // The reader's word list goes with the index it belongs to.
            if (fs::exists(ownLexicon))
                copyNewFile(ownLexicon, newVerseDir / kOwnLexiconFile);
        }
        checkCancel(request);
        commitDataSwap(dataDir, moves, {request.swapStep, {}});
    } catch (...) {
        // Unless the swap's journal was written, every new file goes again.
        recoverLockedDataSwap(dataDir);
        throw;
    }
}

// Runs `work` holding the Data/ folder's lock, once a swap stopped half-way there is
// finished or undone. `work` hears whether the database is to be filled from seedFrom first.
ImportReport inDataFolder(const ImportRequest& request, const fs::path& dataDir,
                          const std::function<ImportReport(bool seed)>& work) {
    std::optional<DataFolderLock> lock;
    try {
        lock.emplace(dataDir);
    } catch (const DataFolderLock::Busy& busy) {
        throw SourceError(busy.what());
    }
    recoverLockedDataSwap(dataDir);
    const fs::path dbPath(request.dbPath);
    std::error_code ec;
    const bool seed = !request.seedFrom.empty() && !fs::exists(dbPath, ec);
    const fs::path seedDb = fs::path(request.seedFrom) / "DB" / "Bible.m14";
    if (!fs::is_regular_file(seed ? seedDb : dbPath))
        throw SourceError((seed ? seedDb.string() : request.dbPath) +
                          ": no content database there");
    return work(seed);
}

std::string elapsedSince(std::chrono::steady_clock::time_point started) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.1f s", seconds);
    return elapsed;
}

ImportReport importInto(const ImportRequest& request, const fs::path& dataDir, bool seed) {
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
    writeAndSwap(request, dataDir, seed, [&](Database& db) {
        insertVersion(db, request.code, verses, bookProgress(request, started));
        insertTitles(db, request.code, titles);
        recordEdition(db, result.edition);
    });
    report(request, request.code + ": imported " + std::to_string(result.verses) + " verses and " +
                        std::to_string(result.titles) + " section titles in " +
                        elapsedSince(started));
    return result;
}

// The slot's rows from the sample copies the database keeps.
ImportReport restoreInto(const ImportRequest& request, const fs::path& dataDir, bool seed) {
    const std::string& code = request.code;
    ImportReport result;
    result.edition = builtEdition(code);
    const auto started = std::chrono::steady_clock::now();
    report(request, code + ": restoring the sample");
    writeAndSwap(request, dataDir, seed, [&](Database& db) {
        std::vector<SourceVerse> verses;
        if (db.hasTable(kSampleVerseTable))
            for (RecordSet rs(db,
                              std::string("select volcode, chap, sec, body from ") +
                                  kSampleVerseTable + " where vercode = ? order by sequence",
                              {code});
                 !rs.isEOF(); rs.moveNext())
                verses.push_back(
                    {rs.field("volcode"), rs.field("chap"), rs.field("sec"), rs.field("body")});
        if (verses.empty())
            throw SourceError(code + "에는 되돌릴 견본이 없습니다 (이 데이터에 견본 사본이 "
                                     "없습니다).");
        insertStoredVersion(db, code, verses, bookProgress(request, started));
        db.execute("insert into T" + code + " (volcode, body, sequence) select volcode, body, " +
                       "sequence from " + kSampleTitleTable +
                       " where vercode = ? order by sequence",
                   {code});
        recordEdition(db, result.edition);
        result.verses = verses.size();
    });
    report(request, code + ": restored the sample, " + std::to_string(result.verses) +
                        " verses, in " + elapsedSince(started));
    return result;
}

// Checks the slot, finds the Data/ folder of the database and runs `work` there; a reader's
// folder made for the first import goes again should that import fail.
using SlotWork = ImportReport (*)(const ImportRequest& request, const fs::path& dataDir, bool seed);
ImportReport inSlot(const ImportRequest& request, SlotWork work) {
    if (!isEditionSlot(request.code))
        throw SourceError("unknown edition slot \"" + request.code +
                          "\" (VRA VRB VRC VRD VRE KJV NIV GNB)");
    const fs::path dbPath(request.dbPath);
    // Data/DB/Bible.m14 has its indexes in Data/M14/ and Data/DBF/; a database elsewhere
    // has them in its own folder.
    const fs::path dbFolder = fs::absolute(dbPath).parent_path();
    const fs::path dataDir = dbFolder.filename() == "DB" ? dbFolder.parent_path() : dbFolder;
    const fs::path made = request.seedFrom.empty() ? fs::path() : firstMissing(dataDir);
    if (!made.empty())
        fs::create_directories(dataDir);
    try {
        return inDataFolder(request, dataDir,
                            [&](bool seed) { return work(request, dataDir, seed); });
    } catch (...) {
        std::error_code ignored;
        if (!made.empty() && !fs::exists(dbPath, ignored))
            fs::remove_all(made, ignored);
        throw;
    }
}

} // namespace

void copyNewFile(const fs::path& from, const fs::path& to) {
    const auto fail = [&](int error) {
        throw fs::filesystem_error("cannot copy file", from, to,
                                   std::error_code(error, std::generic_category()));
    };
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        fail(errno);
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        fail(error);
    }
    int error = 0;
    char buffer[1 << 16];
    for (ssize_t n; !error && (n = ::read(in, buffer, sizeof buffer)) != 0;) {
        if (n < 0) {
            error = errno == EINTR ? 0 : errno;
            continue;
        }
        for (ssize_t done = 0; !error && done < n;) {
            const ssize_t written = ::write(out, buffer + done, static_cast<std::size_t>(n - done));
            if (written < 0)
                error = errno == EINTR ? 0 : errno;
            else
                done += written;
        }
    }
    ::close(in);
    if (::close(out) != 0 && !error)
        error = errno;
    if (error) {
        ::unlink(to.c_str());
        fail(error);
    }
}

ImportReport importEdition(const ImportRequest& request) {
    return inSlot(request, importInto);
}

ImportReport restoreSample(const ImportRequest& request) {
    return inSlot(request, restoreInto);
}

} // namespace qel::mkdb
