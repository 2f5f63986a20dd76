#include "mkdb/importer.h"

#include "bible/booktable.h"
#include "bible/swordmodules.h"
#include "mkdb/kjvimport.h"
#include "mkdb/letterfit.h"
#include "mkdb/osisfile.h"
#include "mkdb/usfm.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "versesearch/verseindexbuilder.h"
#include "wordsearch/wordindexbuilder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
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
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char day[16];
    std::strftime(day, sizeof day, "%Y-%m-%d", &local);
    return day;
}

// The word-search index number of a version, or -1 (VRD has none).
int wordIndexOf(std::string_view code) {
    for (int i = 0; i < 7; ++i)
        if (wordSearchVersion(i) == code)
            return i;
    return -1;
}

// Copies a Data/ folder's database, verse index and word indexes into `to`; returns what
// it made, outermost first, for removal should the import fail.
std::vector<fs::path> seedDataFolder(const fs::path& from, const fs::path& to) {
    std::vector<fs::path> made;
    // The outermost folder that does not exist yet goes whole.
    fs::path missing;
    for (fs::path p = to; !p.empty() && !fs::exists(p); p = p.parent_path())
        missing = p;
    if (!missing.empty())
        made.push_back(missing);
    try {
        fs::create_directories(to / "DB");
        fs::create_directories(to / "M14");
        for (const fs::path& file : {to / "DB" / "Bible.m14", to / "DBF"})
            if (fs::exists(file))
                throw SourceError(file.string() + ": in the way of the copy");
        made.push_back(to / "DB" / "Bible.m14");
        fs::copy_file(from / "DB" / "Bible.m14", to / "DB" / "Bible.m14");
        if (fs::is_directory(from / "DBF")) {
            made.push_back(to / "DBF");
            fs::copy(from / "DBF", to / "DBF", fs::copy_options::recursive);
        }
        for (int i = 0; i < 7; ++i) {
            const std::string name = std::to_string(i) + ".m14";
            if (fs::is_regular_file(from / "M14" / name) && !fs::exists(to / "M14" / name)) {
                made.push_back(to / "M14" / name);
                fs::copy_file(from / "M14" / name, to / "M14" / name);
            }
        }
    } catch (...) {
        std::error_code ignored;
        for (auto it = made.rbegin(); it != made.rend(); ++it)
            fs::remove_all(*it, ignored);
        throw;
    }
    return made;
}

} // namespace

ImportReport importEdition(const ImportRequest& request) {
    if (!isBibleVersion(request.code) || request.code == "TEV")
        throw SourceError("unknown edition slot \"" + request.code +
                          "\" (VRA VRB VRC VRD VRE KJV NIV GNB)");
    const fs::path dbPath(request.dbPath);
    std::error_code ec;
    const bool seed = !request.seedFrom.empty() && !fs::exists(dbPath, ec);
    const fs::path seedDb = fs::path(request.seedFrom) / "DB" / "Bible.m14";
    if (!fs::is_regular_file(seed ? seedDb : dbPath))
        throw SourceError((seed ? seedDb.string() : request.dbPath) +
                          ": no content database there");
    // Data/DB/Bible.m14 has its indexes in Data/M14/ and Data/DBF/; a database elsewhere
    // has them in its own folder.
    const fs::path dbFolder = fs::absolute(dbPath).parent_path();
    const fs::path dataDir = dbFolder.filename() == "DB" ? dbFolder.parent_path() : dbFolder;

    ImportReport result;
    result.edition.code = request.code;
    result.edition.installed = today();
    const auto started = std::chrono::steady_clock::now();
    report(request, "reading " + request.source);
    ImportedText text = readSource(request, result.edition);
    checkCancel(request);

    // Versification: only the books of the slot's table.
    std::set<std::string> books;
    for (const BookRow& row : bookTableOf(request.code))
        books.insert(row.code);
    LetterFit fitter(request.replace);
    std::vector<SourceVerse> verses;
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
        verses.push_back(std::move(v));
    }
    std::vector<TitleRecord> titles;
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
    checkCancel(request);

    // Everything new goes beside the old files first.
    const std::string code = request.code;
    const fs::path newDb = dbPath.string() + ".import";
    const int wordIndex = wordIndexOf(code);
    const fs::path wordDir = dataDir / "M14";
    const fs::path wordFile = wordDir / (std::to_string(wordIndex) + ".m14");
    const fs::path newWordFile = wordFile.string() + ".import";
    const fs::path verseDir = dataDir / "DBF";
    const fs::path newVerseDir = dataDir / "DBF.import";
    std::vector<fs::path> seeded;
    auto removeNew = [&] {
        std::error_code ignored;
        fs::remove(newDb, ignored);
        fs::remove(newWordFile, ignored);
        fs::remove_all(newVerseDir, ignored);
        for (auto it = seeded.rbegin(); it != seeded.rend(); ++it)
            fs::remove_all(*it, ignored);
        seeded.clear();
    };
    try {
        removeNew();
        if (seed) {
            report(request, "copying the content database and its indexes to " + dataDir.string());
            seeded = seedDataFolder(request.seedFrom, dataDir);
        }
        fs::copy_file(dbPath, newDb);
        {
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
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - started)
                        .count();
                report(request,
                       code + ": " + std::to_string(++booksDone) + " books, " +
                           std::to_string(done) + " verses, " +
                           std::to_string(static_cast<long>(done / std::max(seconds, 1e-3))) +
                           " verses/s");
            });
            insertTitles(db, code, titles);
            recordEdition(db, result.edition);
            db.execute("commit");
        }
        checkCancel(request);
        if (wordIndex >= 0) {
            report(request, "word index " + wordFile.string());
            fs::create_directories(wordDir);
            Database db(newDb.string(), Database::Mode::ReadOnly);
            buildWordIndex(db, code, newWordFile.string());
        }
        checkCancel(request);
        if (code == "VRA") {
            auto warn = [&](const std::string& m) { report(request, m); };
            const fs::path ownLexicon = verseDir / kOwnLexiconFile;
            buildVerseIndex(newDb.string(), newVerseDir.string(),
                            readAnalysisSources(kHanjaTablePath, ownLexicon.string(), warn), warn);
            std::error_code missing;
            fs::copy_file(ownLexicon, newVerseDir / kOwnLexiconFile, missing);
        }
        checkCancel(request);
    } catch (...) {
        removeNew();
        throw;
    }
    // All built: move the new files over the old ones, the database last.
    if (wordIndex >= 0)
        fs::rename(newWordFile, wordFile);
    if (code == "VRA") {
        const fs::path oldVerseDir = dataDir / "DBF.old";
        fs::remove_all(oldVerseDir);
        if (fs::exists(verseDir))
            fs::rename(verseDir, oldVerseDir);
        fs::rename(newVerseDir, verseDir);
        fs::remove_all(oldVerseDir);
    }
    fs::rename(newDb, dbPath);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.1f s", seconds);
    report(request, code + ": imported " + std::to_string(result.verses) + " verses and " +
                        std::to_string(result.titles) + " section titles in " + elapsed);
    return result;
}

} // namespace qel::mkdb
