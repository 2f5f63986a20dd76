#include "mkdb/importer.h"

#include "bible/booktable.h"
#include "bible/swordmodules.h"
#include "mkdb/kjvimport.h"
#include "mkdb/osisfile.h"
#include "mkdb/usfm.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "search/verseindexbuilder.h"
#include "search/wordindexbuilder.h"

#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
}

// NFC through ICU: Korean text often arrives as decomposed jamo, which CP949 cannot hold.
std::string toNfc(const std::string& utf8) {
    if (isAscii(utf8))
        return utf8;
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
    std::u16string in(utf8.size() + 1, u'\0');
    int32_t inLength = 0;
    u_strFromUTF8(in.data(), static_cast<int32_t>(in.size()), &inLength, utf8.data(),
                  static_cast<int32_t>(utf8.size()), &status);
    std::u16string out(inLength * 3 + 1, u'\0');
    const int32_t outLength = unorm2_normalize(nfc, in.data(), inLength, out.data(),
                                               static_cast<int32_t>(out.size()), &status);
    std::string result(outLength * 3 + 1, '\0');
    int32_t resultLength = 0;
    u_strToUTF8(result.data(), static_cast<int32_t>(result.size()), &resultLength, out.data(),
                outLength, &status);
    if (U_FAILURE(status))
        throw SourceError("text that is not valid UTF-8");
    result.resize(resultLength);
    return result;
}

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

std::string codePointName(std::string_view character) {
    const std::u32string decoded = utf8ToUtf32(character);
    const char32_t cp = decoded.empty() ? 0 : decoded.front();
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
    return name;
}

// Collects the characters CP949 cannot hold; with `replace` they become "?".
struct Cp949Fitter {
    bool replace = false;
    std::size_t count = 0;
    std::vector<std::string> examples;

    std::string fit(const std::string& utf8, const std::string& place) {
        std::string text = toNfc(utf8);
        if (isAscii(text) || cp949ToUtf8(utf8ToCp949(text)) == text)
            return text;
        std::string out;
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t n =
                std::min(sequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
            const std::string character = text.substr(i, n);
            i += n;
            if (n == 1 || cp949ToUtf8(utf8ToCp949(character)) == character) {
                out += character;
                continue;
            }
            ++count;
            if (examples.size() < 5)
                examples.push_back(place + " " + codePointName(character) + " '" + character + "'");
            out += '?';
        }
        return out;
    }
};

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items)
        out += (out.empty() ? "" : ", ") + item;
    return out;
}

bool isModuleName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
}

ImportedText readModule(const std::string& module, const ConvertOptions& options,
                        EditionRecord& edition) {
    const std::optional<SwordModule> conf = findSwordModule(module);
    if (!conf)
        throw SourceError("unknown SWORD module \"" + module +
                          "\" (no such file, folder or module in " + joined(swordModuleFolders()) +
                          ")");
    const auto get = [&](const char* key) { return conf->value(key); };
    const std::string markup = get("SourceType");
    if (!markup.empty() && markup != "OSIS")
        throw SourceError("module " + module + ": its markup " + markup +
                          " is not read yet (OSIS modules are)");
    edition.source = "SWORD module " + module;
    edition.name = get("Description");
    edition.licence = get("DistributionLicense");
    if (edition.licence.empty())
        edition.licence = get("Copyright");
    FILE* pipe = popen(("mod2imp " + module + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        throw SourceError("cannot run mod2imp");
    std::string imp;
    char buffer[65536];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        imp.append(buffer, n);
    if (pclose(pipe) != 0 || imp.empty())
        throw SourceError("mod2imp could not export module " + module);
    std::istringstream in(std::move(imp));
    return readImp(in, module + ".imp", options);
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
    return readModule(request.source, options, edition);
}

// The word-search index number of a version, or -1 (VRD has none).
int wordIndexOf(std::string_view code) {
    for (int i = 0; i < 7; ++i)
        if (wordSearchVersion(i) == code)
            return i;
    return -1;
}

} // namespace

ImportReport importEdition(const ImportRequest& request) {
    if (!isBibleVersion(request.code) || request.code == "TEV")
        throw SourceError("unknown edition slot \"" + request.code +
                          "\" (VRA VRB VRC VRD VRE KJV NIV GNB)");
    const fs::path dbPath(request.dbPath);
    if (!fs::is_regular_file(dbPath))
        throw SourceError(request.dbPath + ": no content database there");
    // Data/DB/Bible.m14 has its indexes in Data/M14/ and Data/DBF/; a database elsewhere
    // has them in its own folder.
    const fs::path dbFolder = fs::absolute(dbPath).parent_path();
    const fs::path dataDir = dbFolder.filename() == "DB" ? dbFolder.parent_path() : dbFolder;

    ImportReport result;
    result.edition.code = request.code;
    const auto started = std::chrono::steady_clock::now();
    report(request, "reading " + request.source);
    ImportedText text = readSource(request, result.edition);
    checkCancel(request);

    // Versification: only the books of the slot's table.
    std::set<std::string> books;
    for (const BookRow& row : bookTableOf(request.code))
        books.insert(row.code);
    Cp949Fitter fitter;
    fitter.replace = request.replace;
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
    if (fitter.count && !request.replace)
        throw SourceError(std::to_string(fitter.count) +
                          " characters that CP949 cannot hold, e.g. " + joined(fitter.examples) +
                          " (--replace turns them into \"?\")");
    if (fitter.count)
        report(request, std::to_string(fitter.count) + " characters replaced by \"?\", e.g. " +
                            joined(fitter.examples));
    result.replaced = fitter.count;
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
    auto removeNew = [&] {
        std::error_code ignored;
        fs::remove(newDb, ignored);
        fs::remove(newWordFile, ignored);
        fs::remove_all(newVerseDir, ignored);
    };
    try {
        removeNew();
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
