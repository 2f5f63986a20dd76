#include "mkdb/osisconverter.h"

#include "platform/codec.h"
#include "platform/text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

namespace qel::mkdb {
namespace {

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
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '}};
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

// Letters and digits, and the lead bytes of Hangul syllables.
bool startsWord(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (u >= 0xEA && u <= 0xED);
}

// One output stream (verse body, heading or note text) with whitespace collapsing: a run
// of blanks becomes one space, written only once something follows it.
struct Writer {
    std::string out;
    bool pendingSpace = false;
    int openItalics = 0;
    bool inQuotedValue = false; // note text ends up inside TEX="..."
    bool afterMarker = false;   // a word right after a footnote marker is a new word

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
            if (isAsciiSpace(c)) {
                space();
            } else {
                if (afterMarker && startsWord(c))
                    pendingSpace = true;
                afterMarker = false;
                flushSpace();
                out += c;
            }
        }
    }
    void openTag(std::string_view tag) {
        // A run opened right after a footnote marker starts a new word.
        if (std::exchange(afterMarker, false))
            pendingSpace = true;
        flushSpace();
        out += tag;
    }
    // Closes a run opened with `open`; an empty run is dropped rather than left as
    // {F VAL=I}{/F}.
    void closeRun(std::string_view open, std::string_view close) {
        if (out.ends_with(open)) {
            out.resize(out.size() - open.size());
            bool blank = pendingSpace;
            if (!out.empty() && out.back() == ' ') { // the blank flushed by the open tag
                out.pop_back();
                blank = true;
            }
            pendingSpace = blank && !out.empty();
        } else {
            out += close;
        }
    }
    void closeItalic() {
        closeRun("{F VAL=I}", "{/F}");
        --openItalics;
    }
    void closeAllItalics() {
        while (openItalics > 0)
            closeItalic();
    }
};

// Copies text, decoding entities unless a parser did, and dropping USFM character
// markers ("\nd ", "\+nd*") that the KJV module leaves in some verses and notes.
void putText(Writer& w, std::string_view text, bool decoded) {
    std::size_t i = 0;
    std::size_t runStart = 0;
    std::string entity;
    auto flushRun = [&](std::size_t end) {
        if (end > runStart)
            w.put(text.substr(runStart, end - runStart));
    };
    while (i < text.size()) {
        char c = text[i];
        if (c == '&' && !decoded) {
            if (std::size_t len = decodeEntity(text, i, entity)) {
                flushRun(i);
                w.put(entity);
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

// Elements that separate words even when the source has no blank around them.
bool isBlockElement(std::string_view name) {
    static constexpr std::string_view kBlocks[] = {
        "div", "chapter", "l", "lg", "lb", "p", "list", "item", "head", "table", "row", "cell"};
    return std::find(std::begin(kBlocks), std::end(kBlocks), name) != std::end(kBlocks);
}

bool isSectionDiv(std::optional<std::string_view> type) {
    return type == "section" || type == "subSection" || type == "majorSection";
}

constexpr std::string_view kJesusOpen = "{W VAL=J}";

} // namespace

std::optional<std::string_view> attributeOf(const OsisAttributes& attributes,
                                            std::string_view name) {
    for (const auto& [n, value] : attributes)
        if (n == name)
            return value;
    return std::nullopt;
}

struct OsisConverter::State {
    ConvertOptions options;
    Writer body, heading, note;
    std::string headings;
    std::vector<std::string> sectionTitles;
    Writer* cur = &body;
    Writer* noteHost = nullptr;
    bool inNote = false;
    bool inTitle = false;
    bool sectionTitle = false; // the open title goes to the section titles
    bool afterSectionDiv = false;
    std::vector<Writer*> italics; // per open transChange: where {F} went, if anywhere
    std::vector<Writer*> quotes;  // per open q: where {W} went, if anywhere
    std::string skipName;
    int skipDepth = 0;

    void tag(std::string_view name, const OsisAttributes& attrs, bool closing, bool selfClosing) {
        if (skipDepth > 0) {
            if (name == skipName && !selfClosing)
                skipDepth += closing ? -1 : 1;
            return;
        }
        if (name == "transChange")
            transChange(attrs, closing, selfClosing);
        else if (name == "note")
            noteTag(attrs, closing, selfClosing);
        else if (name == "title")
            title(attrs, closing, selfClosing);
        else if (name == "q")
            quote(attrs, closing, selfClosing);
        else if (name == "reference" && inNote && !closing && !selfClosing)
            skip(name); // repeats the verse number
        else if (isBlockElement(name)) {
            if (name == "div" && !closing) {
                const auto type = attributeOf(attrs, "type");
                afterSectionDiv = isSectionDiv(type);
                // Headings gathered before a book begins belong to other matter.
                if (type == "book" && body.out.empty() && !attributeOf(attrs, "eID")) {
                    headings.clear();
                    sectionTitles.clear();
                }
            }
            cur->space();
        }
    }

    void skip(std::string_view name) {
        skipName = name;
        skipDepth = 1;
    }

    void transChange(const OsisAttributes& attrs, bool closing, bool selfClosing) {
        if (selfClosing)
            return;
        if (closing) {
            if (italics.empty())
                return;
            Writer* w = italics.back();
            italics.pop_back();
            if (w && w->openItalics > 0)
                w->closeItalic();
            return;
        }
        if (!inNote && attributeOf(attrs, "type") == "added") {
            cur->openTag("{F VAL=I}");
            ++cur->openItalics;
            italics.push_back(cur);
        } else {
            italics.push_back(nullptr);
        }
    }

    void quote(const OsisAttributes& attrs, bool closing, bool selfClosing) {
        if (selfClosing)
            return;
        if (closing) {
            if (quotes.empty())
                return;
            Writer* w = quotes.back();
            quotes.pop_back();
            if (w)
                w->closeRun(kJesusOpen, "{/W}");
            return;
        }
        if (options.wordsOfJesus && cur == &body && attributeOf(attrs, "who") == "Jesus" &&
            std::find(quotes.begin(), quotes.end(), &body) == quotes.end()) {
            body.openTag(kJesusOpen);
            quotes.push_back(&body);
        } else {
            quotes.push_back(nullptr);
        }
    }

    void noteTag(const OsisAttributes& attrs, bool closing, bool selfClosing) {
        if (selfClosing)
            return;
        if (closing) {
            if (inNote)
                endNote();
            return;
        }
        if (inNote || attributeOf(attrs, "type") == "crossReference") {
            skip("note");
            return;
        }
        inNote = true;
        noteHost = cur;
        note.clear();
        note.inQuotedValue = true;
        cur = &note;
    }

    void endNote() {
        inNote = false;
        cur = noteHost;
        if (note.out.empty())
            return;
        // The marker belongs to the preceding word; a blank before it moves after it.
        bool blank = cur->pendingSpace;
        cur->pendingSpace = false;
        cur->out += "{N TEX=\"" + note.out + "\"}*{/N}";
        cur->pendingSpace = blank;
        cur->afterMarker = true;
    }

    void title(const OsisAttributes& attrs, bool closing, bool selfClosing) {
        if (selfClosing)
            return;
        if (closing) {
            if (inTitle)
                endTitle();
            return;
        }
        // Psalm titles are typed; the Psalm 119 letter headings are untyped and precede
        // the verse text. A title in a section division, or typed as one, is a section
        // title. Book titles and the untyped subscriptions after the last verse of the
        // epistles are dropped.
        std::optional<std::string_view> type = attributeOf(attrs, "type");
        const bool section = type == "section" || (!type && afterSectionDiv);
        const bool isHeading = type == "psalm" || (!type && body.out.empty());
        if (!(section || isHeading) || inTitle || cur != &body) {
            skip("title");
            return;
        }
        inTitle = true;
        sectionTitle = section;
        heading.clear();
        cur = &heading;
    }

    void endTitle() {
        inTitle = false;
        heading.closeAllItalics();
        if (!heading.out.empty()) {
            if (sectionTitle)
                sectionTitles.push_back(heading.out);
            else
                headings += "{H}" + heading.out + "{/H}";
        }
        afterSectionDiv = false;
        cur = &body;
    }
};

OsisConverter::OsisConverter(ConvertOptions options) : s_(std::make_unique<State>()) {
    s_->options = options;
}
OsisConverter::~OsisConverter() = default;
OsisConverter::OsisConverter(OsisConverter&&) noexcept = default;
OsisConverter& OsisConverter::operator=(OsisConverter&&) noexcept = default;

void OsisConverter::start(std::string_view name, const OsisAttributes& attributes,
                          bool selfClosing) {
    s_->tag(name, attributes, false, selfClosing);
}

void OsisConverter::end(std::string_view name) {
    s_->tag(name, {}, true, false);
}

void OsisConverter::text(std::string_view text, bool decoded) {
    if (s_->skipDepth == 0 && !text.empty()) {
        const std::size_t before = s_->body.out.size();
        putText(*s_->cur, text, decoded);
        if (s_->body.out.size() != before)
            s_->afterSectionDiv = false; // the title would no longer open the section
    }
}

bool OsisConverter::collecting() const {
    return s_->inTitle || s_->inNote;
}

bool OsisConverter::inTitle() const {
    return s_->inTitle;
}

ConvertedVerse OsisConverter::finish() {
    State& s = *s_;
    if (s.inNote)
        s.endNote();
    if (s.inTitle)
        s.endTitle();
    s.body.closeAllItalics();
    for (auto it = s.quotes.rbegin(); it != s.quotes.rend(); ++it)
        if (*it)
            (*it)->closeRun(kJesusOpen, "{/W}");
    s.quotes.clear();
    ConvertedVerse verse;
    verse.body = s.headings + s.body.out;
    verse.sectionTitles = std::move(s.sectionTitles);
    return verse;
}

} // namespace qel::mkdb
