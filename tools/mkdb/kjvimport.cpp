#include "mkdb/kjvimport.h"

#include "platform/codec.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
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
    {"Revelation", "rev"}};
// clang-format on

std::optional<std::string_view> bookCode(std::string_view name) {
    for (const BookName& b : kBookNames)
        if (b.name == name)
            return b.code;
    return std::nullopt;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Decodes the entity starting at text[i] == '&'. Returns its length, or 0 when it is not
// a valid entity (the '&' is then literal text).
std::size_t decodeEntity(std::string_view text, std::size_t i, std::string& decoded) {
    std::size_t semi = text.find(';', i + 1);
    if (semi == std::string_view::npos || semi - i > 12)
        return 0;
    std::string_view name = text.substr(i + 1, semi - i - 1);
    static constexpr std::pair<std::string_view, char> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [n, value] : kNamed) {
        if (name == n) {
            decoded.assign(1, value);
            return semi - i + 1;
        }
    }
    if (name.size() < 2 || name[0] != '#')
        return 0;
    int base = 10;
    std::string_view digits = name.substr(1);
    if (digits[0] == 'x' || digits[0] == 'X') {
        base = 16;
        digits.remove_prefix(1);
    }
    std::uint32_t cp = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), cp, base);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || cp == 0 ||
        cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    decoded.clear();
    appendUtf8(decoded, static_cast<char32_t>(cp));
    return semi - i + 1;
}

// One output stream (verse body, heading or note text) with whitespace collapsing: a run
// of blanks becomes one space, written only once something follows it.
struct Writer {
    std::string out;
    bool pendingSpace = false;
    int openItalics = 0;
    bool inQuotedValue = false; // note text ends up inside TEX="..."

    void clear() {
        out.clear();
        pendingSpace = false;
        openItalics = 0;
    }
    void space() {
        if (!out.empty())
            pendingSpace = true;
    }
    void flushSpace() {
        if (pendingSpace) {
            out += ' ';
            pendingSpace = false;
        }
    }
    void put(std::string_view s) {
        for (char c : s) {
            // '{' always opens a tag in our markup, and '"' would end a TEX value.
            if (c == '{')
                c = '(';
            else if (c == '}')
                c = ')';
            else if (c == '"' && inQuotedValue)
                c = '\'';
            if (isSpace(c)) {
                space();
            } else {
                flushSpace();
                out += c;
            }
        }
    }
    void openTag(std::string_view tag) {
        flushSpace();
        out += tag;
    }
    void closeItalic() {
        // An empty italic run is dropped rather than left as {F VAL=I}{/F}.
        constexpr std::string_view open = "{F VAL=I}";
        if (out.ends_with(open)) {
            out.resize(out.size() - open.size());
            bool blank = pendingSpace;
            if (!out.empty() && out.back() == ' ') { // the blank flushed by the open tag
                out.pop_back();
                blank = true;
            }
            pendingSpace = blank && !out.empty();
        } else {
            out += "{/F}";
        }
        --openItalics;
    }
    void closeAllItalics() {
        while (openItalics > 0)
            closeItalic();
    }
};

// Copies text between tags, decoding entities and dropping USFM character markers
// ("\nd ", "\+nd*") that the KJV module leaves in some verses and notes.
void putText(Writer& w, std::string_view text) {
    std::size_t i = 0;
    std::size_t runStart = 0;
    std::string decoded;
    auto flushRun = [&](std::size_t end) {
        if (end > runStart)
            w.put(text.substr(runStart, end - runStart));
    };
    while (i < text.size()) {
        char c = text[i];
        if (c == '&') {
            if (std::size_t len = decodeEntity(text, i, decoded)) {
                flushRun(i);
                w.put(decoded);
                i += len;
                runStart = i;
                continue;
            }
        } else if (c == '\\') {
            std::size_t j = i + 1;
            if (j < text.size() && text[j] == '+')
                ++j;
            std::size_t nameStart = j;
            while (j < text.size() && isAsciiLetter(text[j]))
                ++j;
            if (j > nameStart) {
                flushRun(i);
                if (j < text.size() && text[j] == '*')
                    ++j; // closing marker
                else if (j < text.size() && text[j] == ' ')
                    ++j; // an opening marker's separating blank is not text
                i = j;
                runStart = i;
                continue;
            }
        }
        ++i;
    }
    flushRun(text.size());
}

struct Tag {
    std::string_view name;
    std::string_view attributes;
    bool closing = false;
    bool selfClosing = false;
};

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
    tag.attributes = inner.substr(nameEnd);
    return end + 1;
}

std::optional<std::string_view> attribute(std::string_view attrs, std::string_view wanted) {
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
            return std::nullopt; // malformed; nothing reliable follows
        char quote = attrs[i++];
        std::size_t valueEnd = attrs.find(quote, i);
        if (valueEnd == std::string_view::npos)
            return std::nullopt;
        if (name == wanted)
            return attrs.substr(i, valueEnd - i);
        i = valueEnd + 1;
    }
    return std::nullopt;
}

// Elements that separate words even when the source has no blank around them.
bool isBlockElement(std::string_view name) {
    static constexpr std::string_view kBlocks[] = {
        "div", "chapter", "l", "lg", "lb", "p", "list", "item", "head", "table", "row", "cell"};
    return std::find(std::begin(kBlocks), std::end(kBlocks), name) != std::end(kBlocks);
}

class OsisConverter {
public:
    std::string convert(std::string_view osis) {
        std::size_t i = 0;
        while (i < osis.size()) {
            std::size_t lt = osis.find('<', i);
            if (lt == std::string_view::npos)
                lt = osis.size();
            if (lt > i && skipDepth_ == 0)
                putText(*cur_, osis.substr(i, lt - i));
            if (lt == osis.size())
                break;
            Tag tag;
            std::size_t next = parseTag(osis, lt, tag);
            if (next == std::string_view::npos) {
                // An unterminated '<' cannot start markup; keep the rest as text.
                if (skipDepth_ == 0)
                    putText(*cur_, osis.substr(lt));
                break;
            }
            handleTag(tag);
            i = next;
        }
        if (inNote_)
            endNote();
        if (inTitle_)
            endTitle();
        body_.closeAllItalics();
        return headings_ + body_.out;
    }

private:
    void handleTag(const Tag& tag) {
        if (skipDepth_ > 0) {
            if (tag.name == skipName_ && !tag.selfClosing)
                skipDepth_ += tag.closing ? -1 : 1;
            return;
        }
        if (tag.name == "transChange")
            handleTransChange(tag);
        else if (tag.name == "note")
            handleNote(tag);
        else if (tag.name == "title")
            handleTitle(tag);
        else if (tag.name == "reference" && inNote_ && !tag.closing && !tag.selfClosing)
            skip(tag.name); // repeats the verse number
        else if (isBlockElement(tag.name))
            cur_->space();
    }

    void skip(std::string_view name) {
        skipName_ = name;
        skipDepth_ = 1;
    }

    void handleTransChange(const Tag& tag) {
        if (tag.selfClosing)
            return;
        if (tag.closing) {
            if (italics_.empty())
                return;
            Writer* w = italics_.back();
            italics_.pop_back();
            if (w && w->openItalics > 0)
                w->closeItalic();
            return;
        }
        if (!inNote_ && attribute(tag.attributes, "type") == "added") {
            cur_->openTag("{F VAL=I}");
            ++cur_->openItalics;
            italics_.push_back(cur_);
        } else {
            italics_.push_back(nullptr);
        }
    }

    void handleNote(const Tag& tag) {
        if (tag.selfClosing)
            return;
        if (tag.closing) {
            if (inNote_)
                endNote();
            return;
        }
        if (inNote_ || attribute(tag.attributes, "type") == "crossReference") {
            skip(tag.name);
            return;
        }
        inNote_ = true;
        noteHost_ = cur_;
        note_.clear();
        note_.inQuotedValue = true;
        cur_ = &note_;
    }

    void endNote() {
        inNote_ = false;
        cur_ = noteHost_;
        if (note_.out.empty())
            return;
        // The marker belongs to the preceding word; a blank before it moves after it.
        bool blank = cur_->pendingSpace;
        cur_->pendingSpace = false;
        cur_->out += "{N TEX=\"" + note_.out + "\"}*{/N}";
        cur_->pendingSpace = blank;
    }

    void handleTitle(const Tag& tag) {
        if (tag.selfClosing)
            return;
        if (tag.closing) {
            if (inTitle_)
                endTitle();
            return;
        }
        // Psalm titles are typed; the Psalm 119 letter headings are untyped and precede
        // the verse text. Book titles and the untyped subscriptions after the last verse
        // of the epistles are dropped.
        std::optional<std::string_view> type = attribute(tag.attributes, "type");
        bool heading = type == "psalm" || (!type && body_.out.empty());
        if (!heading || inTitle_ || cur_ != &body_) {
            skip(tag.name);
            return;
        }
        inTitle_ = true;
        heading_.clear();
        cur_ = &heading_;
    }

    void endTitle() {
        inTitle_ = false;
        heading_.closeAllItalics();
        if (!heading_.out.empty())
            headings_ += "{H}" + heading_.out + "{/H}";
        cur_ = &body_;
    }

    Writer body_, heading_, note_;
    std::string headings_;
    Writer* cur_ = &body_;
    Writer* noteHost_ = nullptr;
    bool inNote_ = false;
    bool inTitle_ = false;
    std::vector<Writer*> italics_; // per open transChange: where {F} went, if anywhere
    std::string_view skipName_;
    int skipDepth_ = 0;
};

std::string_view trim(std::string_view s) {
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
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

// The Hebrew letters of the Psalm 119 headings and the em dash have no CP949 form: the
// letters go (their names stay), the dash becomes the horizontal bar.
namespace {
std::string fitToCp949(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c == 0xD7 && next >= 0x90 && next <= 0xAA) {
            ++i;
            if (i + 1 < text.size() && text[i + 1] == ' ')
                ++i;
        } else if (text.compare(i, 3, "\xE2\x80\x94") == 0) {
            out += "\xE2\x80\x95";
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}
} // namespace

std::string osisToMarkup(std::string_view osis) {
    return fitToCp949(OsisConverter().convert(osis));
}

std::vector<SourceVerse> readKjvImp(std::istream& in, const std::string& fileName) {
    std::vector<SourceVerse> verses;
    verses.reserve(31102);

    enum class Record { None, Ignored, Heading, Verse };
    Record record = Record::None;
    SourceVerse current;
    std::string body;    // OSIS lines of the current record
    std::string carried; // OSIS of heading records, prefixed to the next verse

    auto finishRecord = [&] {
        if (record == Record::Verse) {
            if (carried.empty()) {
                current.body = osisToMarkup(body);
            } else {
                carried += ' ';
                carried += body;
                current.body = osisToMarkup(carried);
                carried.clear();
            }
            verses.push_back(std::move(current));
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
                if (!trim(view).empty())
                    fail(lineNo, "text before the first record header");
                continue;
            }
            if (!body.empty())
                body += '\n';
            body += view;
            continue;
        }

        finishRecord();
        std::string_view header = trim(view.substr(3));
        if (header.starts_with('[')) { // module and testament headings
            record = Record::Ignored;
            continue;
        }
        std::size_t blank = header.rfind(' ');
        std::size_t colon = header.rfind(':');
        if (blank == std::string_view::npos || colon == std::string_view::npos || colon < blank)
            fail(lineNo, "malformed record header \"" + std::string(header) + "\"");
        std::string_view name = trim(header.substr(0, blank));
        std::optional<int> chapter = parseNumber(header.substr(blank + 1, colon - blank - 1));
        std::optional<int> verse = parseNumber(header.substr(colon + 1));
        if (name.empty() || !chapter || !verse)
            fail(lineNo, "malformed record header \"" + std::string(header) + "\"");
        if (name != lastBookName) {
            std::optional<std::string_view> code = bookCode(name);
            if (!code)
                fail(lineNo, "unknown book \"" + std::string(name) + "\"");
            lastBookName = name;
            lastBookCode = *code;
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
    return verses;
}

} // namespace qel::mkdb
