#include "mkdb/kjvimport.h"

#include "mkdb/gbf.h"
#include "mkdb/letterfit.h"
#include "mkdb/osisfile.h"
#include "mkdb/tagreader.h"
#include "mkdb/thml.h"
#include "platform/text.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace qel::mkdb {
namespace {

// Book names as mod2imp prints them (English SWORD locale), plus the Arabic-numeral
// and short forms other exports use.
struct BookName {
    std::string_view name;
    std::string_view code;
};
// clang-format off
constexpr BookName kBookNames[] = {
    {"Genesis", "gen"}, {"Exodus", "exo"}, {"Leviticus", "lev"}, {"Numbers", "num"},
    {"Deuteronomy", "deu"}, {"Joshua", "jos"}, {"Judges", "jdg"}, {"Ruth", "rut"},
    {"I Samuel", "1sa"}, {"1 Samuel", "1sa"}, {"II Samuel", "2sa"}, {"2 Samuel", "2sa"},
    {"I Kings", "1ki"}, {"1 Kings", "1ki"}, {"II Kings", "2ki"}, {"2 Kings", "2ki"},
    {"I Chronicles", "1ch"}, {"1 Chronicles", "1ch"}, {"II Chronicles", "2ch"},
    {"2 Chronicles", "2ch"}, {"Ezra", "ezr"}, {"Nehemiah", "neh"}, {"Esther", "est"},
    {"Job", "job"}, {"Psalms", "psa"}, {"Proverbs", "pro"}, {"Ecclesiastes", "ecc"},
    {"Song of Solomon", "sng"}, {"Song of Songs", "sng"}, {"Isaiah", "isa"}, {"Jeremiah", "jer"},
    {"Lamentations", "lam"}, {"Ezekiel", "ezk"}, {"Daniel", "dan"}, {"Hosea", "hos"},
    {"Joel", "jol"}, {"Amos", "amo"}, {"Obadiah", "oba"}, {"Jonah", "jnh"}, {"Micah", "mic"},
    {"Nahum", "nam"}, {"Habakkuk", "hab"}, {"Zephaniah", "zep"}, {"Haggai", "hag"},
    {"Zechariah", "zec"}, {"Malachi", "mal"}, {"Matthew", "mat"}, {"Mark", "mrk"}, {"Luke", "luk"},
    {"John", "jhn"}, {"Acts", "act"}, {"Romans", "rom"}, {"I Corinthians", "1co"},
    {"1 Corinthians", "1co"}, {"II Corinthians", "2co"}, {"2 Corinthians", "2co"},
    {"Galatians", "gal"}, {"Ephesians", "eph"}, {"Philippians", "php"}, {"Colossians", "col"},
    {"I Thessalonians", "1th"}, {"1 Thessalonians", "1th"}, {"II Thessalonians", "2th"},
    {"2 Thessalonians", "2th"}, {"I Timothy", "1ti"}, {"1 Timothy", "1ti"}, {"II Timothy", "2ti"},
    {"2 Timothy", "2ti"}, {"Titus", "tit"}, {"Philemon", "phm"}, {"Hebrews", "heb"},
    {"James", "jas"}, {"I Peter", "1pe"}, {"1 Peter", "1pe"}, {"II Peter", "2pe"},
    {"2 Peter", "2pe"}, {"I John", "1jn"}, {"1 John", "1jn"}, {"II John", "2jn"}, {"2 John", "2jn"},
    {"III John", "3jn"}, {"3 John", "3jn"}, {"Jude", "jud"}, {"Revelation of John", "rev"},
    {"Revelation", "rev"}, {"Tobit", "tob"}, {"Judith", "jdt"}, {"Esther (Greek)", "gke"},
    {"Wisdom", "wsd"}, {"Sirach", "sir"}, {"Baruch", "bar"}, {"Prayer of Azariah", "da1"},
    {"Susanna", "da2"}, {"Bel and the Dragon", "da3"}, {"I Maccabees", "1ma"},
    {"II Maccabees", "2ma"}, {"I Esdras", "1es"}, {"II Esdras", "2es"},
    {"Prayer of Manasses", "pra"}};
// clang-format on

// A module stores each verse as its own piece of OSIS, and elements such as divineName
// or list items may open in one verse and close in the next, so a verse is not a
// well-formed XML document: it is read as a stream of tags, without nesting checks.
// A heading record (verse 0) gives only its titles: its other text is introduction
// matter, or in some modules whole books the versification has no room for.
// Its material of another book (a chapter or book whose osisID names another book) is
// left out altogether.
void feedFragment(OsisConverter& converter, std::string_view osis, bool titlesOnly,
                  std::string_view book = {}) {
    bool foreign = false;
    readTags(
        osis,
        [&](std::string_view t) {
            if (!foreign && (!titlesOnly || converter.inTitle()))
                converter.text(t, false);
        },
        [&](const MarkupTag& tag) {
            if (titlesOnly && !tag.closing && (tag.name == "chapter" || tag.name == "div"))
                if (const auto id = attributeOf(tag.attributes, "osisID"))
                    foreign = osisBookCode(id->substr(0, id->find('.'))) != book;
            if (foreign)
                return;
            if (tag.closing)
                converter.end(tag.name);
            else
                converter.start(tag.name, tag.attributes, tag.selfClosing);
        });
}

ConvertedVerse convertFragment(std::string_view osis, const ConvertOptions& options) {
    OsisConverter converter(options);
    feedFragment(converter, osis, false);
    return converter.finish();
}

// Parses a decimal number of at most four digits; leading zeros are allowed.
std::optional<int> parseNumber(std::string_view s) {
    if (s.empty() || s.size() > 4 ||
        !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int n = 0;
    std::from_chars(s.data(), s.data() + s.size(), n);
    return n;
}

} // namespace

std::string_view swordBookCode(std::string_view name) {
    for (const BookName& b : kBookNames)
        if (b.name == name)
            return b.code;
    return {};
}

std::string osisToMarkup(std::string_view osis, const ConvertOptions& options) {
    return convertFragment(osis, options).body;
}

ImportedText readImp(std::istream& in, const std::string& fileName, const ConvertOptions& options,
                     SourceMarkup markup) {
    const auto feed = [markup](OsisConverter& converter, std::string_view text, bool titlesOnly,
                               std::string_view book) {
        if (markup == SourceMarkup::Thml)
            feedThml(converter, text, titlesOnly);
        else if (markup == SourceMarkup::Gbf)
            feedGbf(converter, text, titlesOnly);
        else
            feedFragment(converter, text, titlesOnly, book);
    };
    ImportedText result;
    result.verses.reserve(31102);

    enum class Record { None, Ignored, Heading, Verse };
    Record record = Record::None;
    SourceVerse current;
    std::string body;    // OSIS lines of the current record
    std::string carried; // OSIS of heading records, prefixed to the next verse

    auto finishRecord = [&] {
        if (record == Record::Verse) {
            OsisConverter converter(options);
            feed(converter, carried, true, current.book);
            feed(converter, body, false, {});
            carried.clear();
            ConvertedVerse converted = converter.finish();
            current.body = std::move(converted.body);
            addSectionTitles(current, converted.sectionTitles, result.titles);
            result.verses.push_back(std::move(current));
        } else if (record == Record::Heading) {
            carried += ' ';
            carried += body;
        }
        body.clear();
    };
    auto fail = [&](std::size_t lineNo, const std::string& reason) {
        throw SourceError(fileName + ":" + std::to_string(lineNo) + ": " + reason);
    };

    std::string line;
    std::string lastBookCode;
    std::string lastBookName;
    for (std::size_t lineNo = 1; std::getline(in, line); ++lineNo) {
        std::string_view view = line;
        if (lineNo == 1 && view.starts_with("\xEF\xBB\xBF"))
            view.remove_prefix(3);
        if (!view.starts_with("$$$")) {
            if (record == Record::None) {
                if (!trimmed(view).empty())
                    fail(lineNo, "text before the first record header");
                continue;
            }
            if (!body.empty())
                body += '\n';
            body += view;
            continue;
        }

        finishRecord();
        std::string_view header = trimmed(view.substr(3));
        if (header.starts_with('[')) { // module and testament headings
            record = Record::Ignored;
            continue;
        }
        std::size_t blank = header.rfind(' ');
        std::size_t colon = header.rfind(':');
        if (blank == std::string_view::npos || colon == std::string_view::npos || colon < blank)
            fail(lineNo, "malformed record header " + quotedInput(header));
        std::string_view name = trimmed(header.substr(0, blank));
        std::optional<int> chapter = parseNumber(header.substr(blank + 1, colon - blank - 1));
        std::optional<int> verse = parseNumber(header.substr(colon + 1));
        if (name.empty() || !chapter || !verse)
            fail(lineNo, "malformed record header " + quotedInput(header));
        if (name != lastBookName) {
            const std::string_view code = swordBookCode(name);
            lastBookName = name;
            lastBookCode = code.empty() ? name : code;
        }
        if (*chapter == 0 || *verse == 0) {
            record = Record::Heading;
            continue;
        }
        record = Record::Verse;
        current.book = lastBookCode;
        current.chapter = std::to_string(*chapter);
        current.verse = std::to_string(*verse);
        current.origin = fileName + ":" + std::to_string(lineNo);
    }
    finishRecord();
    return result;
}

std::vector<SourceVerse> readKjvImp(std::istream& in, const std::string& fileName,
                                    const std::function<void(const std::string&)>& notice) {
    ImportedText text = readImp(in, fileName, ConvertOptions{false});
    LetterFit fitter;
    for (SourceVerse& v : text.verses) {
        if (std::none_of(std::begin(kBookNames), std::end(kBookNames),
                         [&](const BookName& b) { return b.code == v.book; }))
            throw SourceError(fileName + ": unknown book " + quotedInput(v.book));
        v.body = fitter.fit(v.body, v.book + " " + v.chapter + ":" + v.verse);
    }
    fitter.report(notice);
    fitter.check();
    return std::move(text.verses);
}

} // namespace qel::mkdb
