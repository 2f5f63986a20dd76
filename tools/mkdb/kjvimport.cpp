#include "mkdb/kjvimport.h"

#include "mkdb/osisfile.h"
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

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

struct Tag {
    std::string_view name;
    OsisAttributes attributes;
    bool closing = false;
    bool selfClosing = false;
};

// Reads NAME="VALUE" pairs; a malformed pair ends the list, as nothing reliable follows.
OsisAttributes parseAttributes(std::string_view attrs) {
    OsisAttributes out;
    std::size_t i = 0;
    while (i < attrs.size()) {
        while (i < attrs.size() && isSpace(attrs[i]))
            ++i;
        std::size_t nameStart = i;
        while (i < attrs.size() && attrs[i] != '=' && !isSpace(attrs[i]))
            ++i;
        std::string_view name = attrs.substr(nameStart, i - nameStart);
        while (i < attrs.size() && isSpace(attrs[i]))
            ++i;
        if (i >= attrs.size() || attrs[i] != '=')
            continue;
        ++i;
        while (i < attrs.size() && isSpace(attrs[i]))
            ++i;
        if (i >= attrs.size() || (attrs[i] != '"' && attrs[i] != '\''))
            break;
        char quote = attrs[i++];
        std::size_t valueEnd = attrs.find(quote, i);
        if (valueEnd == std::string_view::npos)
            break;
        out.emplace_back(name, attrs.substr(i, valueEnd - i));
        i = valueEnd + 1;
    }
    return out;
}

// Parses the tag starting at osis[pos] == '<'; returns the index after it, or npos when
// the tag never ends. Quoted attribute values may contain '>'.
std::size_t parseTag(std::string_view osis, std::size_t pos, Tag& tag) {
    std::size_t i = pos + 1;
    char quote = 0;
    std::size_t end = std::string_view::npos;
    for (; i < osis.size(); ++i) {
        char c = osis[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            end = i;
            break;
        }
    }
    if (end == std::string_view::npos)
        return end;
    std::string_view inner = osis.substr(pos + 1, end - pos - 1);
    tag = Tag{};
    if (!inner.empty() && inner.front() == '/') {
        tag.closing = true;
        inner.remove_prefix(1);
    }
    if (!inner.empty() && inner.back() == '/') {
        tag.selfClosing = true;
        inner.remove_suffix(1);
    }
    std::size_t nameEnd = 0;
    while (nameEnd < inner.size() && !isSpace(inner[nameEnd]))
        ++nameEnd;
    tag.name = inner.substr(0, nameEnd);
    if (!tag.closing)
        tag.attributes = parseAttributes(inner.substr(nameEnd));
    return end + 1;
}

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
    auto text = [&](std::string_view t) {
        if (!titlesOnly || (converter.inTitle() && !foreign))
            converter.text(t, false);
    };
    std::size_t i = 0;
    while (i < osis.size()) {
        std::size_t lt = osis.find('<', i);
        if (lt == std::string_view::npos)
            lt = osis.size();
        if (lt > i)
            text(osis.substr(i, lt - i));
        if (lt == osis.size())
            break;
        Tag tag;
        std::size_t next = parseTag(osis, lt, tag);
        if (next == std::string_view::npos) {
            // An unterminated '<' cannot start markup; keep the rest as text.
            text(osis.substr(lt));
            break;
        }
        i = next;
        if (titlesOnly && !tag.closing && (tag.name == "chapter" || tag.name == "div"))
            if (const auto id = attributeOf(tag.attributes, "osisID"))
                foreign = osisBookCode(id->substr(0, id->find('.'))) != book;
        if (foreign)
            continue;
        if (tag.closing)
            converter.end(tag.name);
        else
            converter.start(tag.name, tag.attributes, tag.selfClosing);
    }
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

ImportedText readImp(std::istream& in, const std::string& fileName, const ConvertOptions& options) {
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
            feedFragment(converter, carried, true, current.book);
            feedFragment(converter, body, false);
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
            fail(lineNo, "malformed record header \"" + std::string(header) + "\"");
        std::string_view name = trimmed(header.substr(0, blank));
        std::optional<int> chapter = parseNumber(header.substr(blank + 1, colon - blank - 1));
        std::optional<int> verse = parseNumber(header.substr(colon + 1));
        if (name.empty() || !chapter || !verse)
            fail(lineNo, "malformed record header \"" + std::string(header) + "\"");
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
    }
    finishRecord();
    return result;
}

std::vector<SourceVerse> readKjvImp(std::istream& in, const std::string& fileName) {
    ImportedText text = readImp(in, fileName, ConvertOptions{false});
    for (const SourceVerse& v : text.verses)
        if (std::none_of(std::begin(kBookNames), std::end(kBookNames),
                         [&](const BookName& b) { return b.code == v.book; }))
            throw SourceError(fileName + ": unknown book \"" + v.book + "\"");
    return std::move(text.verses);
}

} // namespace qel::mkdb
