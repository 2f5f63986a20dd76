#include "richtext/layoutrules.h"

#include "platform/codec.h"
#include "platform/text.h"
#include "richtext/displaystyle.h"
#include "richtext/markupnode.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace qel {
namespace {

bool isAsciiPunct(unsigned char c) {
    return (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) ||
           (c >= 123 && c <= 126);
}

bool isAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The byte at k, with the bytes outside the run reading as the terminating zero.
unsigned char byteAt(std::string_view text, long long k) {
    return k >= 0 && k < static_cast<long long>(text.size()) ? static_cast<unsigned char>(text[k])
                                                             : 0;
}

// True when k is the second byte of a double-byte character, reading from the start.
bool isTrailByte(std::string_view text, long long k) {
    if (k <= 0 || k >= static_cast<long long>(text.size()))
        return false;
    long long i = 0;
    while (i < k)
        i += static_cast<long long>(characterLength(text, static_cast<std::size_t>(i)));
    return i > k;
}

// Step shared by both passes: a blank or closing mark stays at the line end, an opening
// mark goes to the next line, and a quote followed by a blank stays with its word.
long long applyMarkRules(std::string_view text, long long k) {
    constexpr std::string_view kStaysOnLine = " )>!?,.:;";
    const unsigned char c = byteAt(text, k);
    if (c != 0 && kStaysOnLine.find(static_cast<char>(c)) != std::string_view::npos)
        ++k;
    else if (c == '(' || c == '<')
        --k;
    const unsigned char q = byteAt(text, k);
    if ((q == '"' || q == '\'' || q == '`') && byteAt(text, k + 1) == ' ')
        k += 2;
    if (isTrailByte(text, k))
        --k;
    return k;
}

} // namespace

int markupInt(std::string_view text) {
    return atoiText(text);
}

double markupDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isAsciiSpace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i < text.size() && text[i] == '+')
        ++i;
    double value = 0;
    const auto result = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0;
    return value;
}

std::uint32_t markupColor(std::string_view text) {
    auto component = [&](std::size_t at) -> std::uint32_t {
        if (at >= text.size())
            return 0;
        return static_cast<std::uint32_t>(std::clamp(markupInt(text.substr(at, 3)), 0, 255));
    };
    return component(0) | component(3) << 8 | component(6) << 16;
}

const std::string* firstAttributeValue(const MarkupNode& node) {
    const MarkupAttribute* first = node.firstAttribute();
    return first ? &first->value : nullptr;
}

int clampFontHeight(long long height) {
    return static_cast<int>(std::clamp<long long>(height, 1, kMaxFontHeight));
}

int clampedSum(long long a, long long b) {
    return static_cast<int>(std::clamp<long long>(a + b, INT_MIN / 2, INT_MAX / 2));
}

FontRequest tagFontRequest(Surface& surface, const MarkupNode& tag, FontPitch pitch) {
    const FontDescription current = surface.fontDescription();
    FontRequest request;
    long long height = surface.textExtent(" ").height;
    request.weight = current.weight;
    request.italic = current.italic;
    request.face = current.face;
    for (const MarkupAttribute* a = tag.firstAttribute(); a; a = a->next.get()) {
        if (a->name == "SIZ") {
            height = clampFontHeight(
                static_cast<long long>(std::clamp(markupDecimal(a->value) * height, -1e9, 1e9)));
        } else if (a->name == "NAM") {
            request.face = a->value;
        } else if (a->name == "VAL" && !a->value.empty()) {
            switch (a->value[0]) {
            case 'B':
                request.weight = 800;
                break;
            case 'H':
            case 'L':
                height = height * 4 / 5;
                break;
            case 'I':
                request.italic = true;
                break;
            default:
                break;
            }
        }
    }
    request.height = clampFontHeight(height);
    request.cellHeight = true;
    request.pitch = pitch;
    return request;
}

FontRequest headingFontRequest(const MarkupNode& tag, int dpiY, int fontSize,
                               const std::string& baseFace) {
    const std::string* factorText = firstAttributeValue(tag);
    const double factor = factorText ? markupDecimal(*factorText) : 1.2;
    const long long base = static_cast<long long>(dpiY) * fontSize / 72;
    FontRequest request;
    request.height = clampFontHeight(static_cast<long long>(std::clamp(base * factor, -1e9, 1e9)));
    request.cellHeight = false;
    request.weight = 800;
    request.face = baseFace;
    return request;
}

FontRequest verseNumberFontRequest(int dpiY, int fontSize, const std::string& baseFace) {
    FontRequest request;
    request.height = clampFontHeight(static_cast<long long>(dpiY) * fontSize / 90);
    request.cellHeight = false;
    request.weight = 100;
    request.face = baseFace;
    return request;
}

FontRequest printFontRequest(int dpiY, int fontSize, const std::string& baseFace) {
    FontRequest request;
    request.height = clampFontHeight(static_cast<long long>(dpiY) * fontSize / 72);
    request.cellHeight = false;
    request.weight = 500;
    request.face = baseFace;
    return request;
}

namespace {

// Steps 2 to 5 of screen breaking from the overflow point k; 0 or less when the run holds
// no break opportunity up to k.
long long screenBreakBefore(std::string_view text, long long k) {
    while (k > 0 && !isAsciiSpace(byteAt(text, k)) && !isAsciiPunct(byteAt(text, k)))
        --k;
    return applyMarkRules(text, k);
}

long long printBreakBefore(std::string_view text, long long k) {
    while (k > 0 && isAsciiAlnum(byteAt(text, k)))
        --k;
    return k <= 0 ? 0 : applyMarkRules(text, k);
}

long long overflowPoint(Surface& surface, std::string_view text, int available) {
    return text.size() > 1 ? static_cast<long long>(surface.fitCount(text, available)) : 1;
}

std::size_t asOffset(long long k, std::string_view text) {
    return k <= 0 ? 0 : static_cast<std::size_t>(std::min<long long>(k, text.size()));
}

} // namespace

bool isScreenWordByte(unsigned char c) {
    return !isAsciiSpace(c) && !isAsciiPunct(c);
}

bool isPrintWordByte(unsigned char c) {
    return isAsciiAlnum(c);
}

std::size_t screenWordBreak(Surface& surface, std::string_view text, int available) {
    return asOffset(screenBreakBefore(text, overflowPoint(surface, text, available)), text);
}

std::size_t screenBreakOffset(Surface& surface, std::string_view text, int available) {
    const std::size_t k = screenWordBreak(surface, text, available);
    if (k > 0)
        return k;
    return std::min<std::size_t>(isLeadByte(byteAt(text, 0)) ? 2 : 1, text.size());
}

std::size_t lastScreenWordBreak(std::string_view text) {
    return asOffset(screenBreakBefore(text, static_cast<long long>(text.size()) - 1), text);
}

std::size_t printBreakOffset(Surface& surface, std::string_view text, int available) {
    return asOffset(printBreakBefore(text, overflowPoint(surface, text, available)), text);
}

std::size_t lastPrintWordBreak(std::string_view text) {
    return asOffset(printBreakBefore(text, static_cast<long long>(text.size()) - 1), text);
}

int runOnWidth(Surface& surface, const MarkupNode* next, FontStack fonts, FontPitch pitch,
               WordBytes wordByte, int limit) {
    const FontId start = surface.currentFont();
    long long width = 0;
    for (const MarkupNode* n = next; n && width <= limit; n = n->next()) {
        if (n->isText()) {
            const std::string& text = n->text;
            std::size_t end = 0;
            while (end < text.size() && wordByte(static_cast<unsigned char>(text[end])))
                ++end;
            width += surface.textExtent(std::string_view(text).substr(0, end)).width;
            if (end < text.size())
                break;
            continue;
        }
        const char id = n->GetID();
        if (id == 'F') {
            fonts.push(surface, surface.createFont(tagFontRequest(surface, *n, pitch)));
            continue;
        }
        if (id == 'f') {
            fonts.pop(surface);
            continue;
        }
        // Tags that neither break the line nor move the pen leave the word open.
        if (std::string_view("AaNnWwSsC").find(id) == std::string_view::npos)
            break;
    }
    surface.selectFont(start);
    return static_cast<int>(std::min<long long>(width, INT_MAX / 2));
}

void FontStack::push(Surface& surface, FontId font) {
    if (size_ == kCapacity) {
        ++overflow_;
        return;
    }
    fonts_[size_++] = surface.selectFont(font);
}

void FontStack::pop(Surface& surface) {
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (size_ > 0)
        surface.selectFont(fonts_[--size_]);
}

void FontStack::restoreAll(Surface& surface) {
    overflow_ = 0;
    while (size_ > 0)
        surface.selectFont(fonts_[--size_]);
}

std::uint32_t ColorStack::pop() {
    if (colors_.empty())
        return 0;
    const std::uint32_t color = colors_.back();
    colors_.pop_back();
    return color;
}

const MarkupNode* VerseLookAhead::firstRunAfter(const MarkupNode& verseTag) {
    if (noEndAhead_)
        return nullptr;
    const MarkupNode* n = verseTag.next();
    while (n && n->GetID() != 'd')
        n = n->next();
    if (!n) {
        noEndAhead_ = true;
        return nullptr;
    }
    for (n = n->next(); n; n = n->next())
        if (n->isText())
            return n;
    return nullptr;
}

bool VerseLookAhead::breaksLine(Surface& surface, const MarkupNode& verseTag, long long x,
                                int rightLimit) {
    const MarkupNode* verseText = firstRunAfter(verseTag);
    if (!verseText)
        return false;
    const std::string& text = verseText->text;
    const std::size_t blank = text.find(' ');
    const std::string_view word =
        std::string_view(text).substr(0, blank == std::string::npos ? text.size() : blank + 1);
    return x + surface.textExtent(word).width > rightLimit - surface.textExtent("000").width;
}

RowEnd rowEnd(std::string_view piece, int advance) {
    if (piece == "4)")
        return {-advance, 0};
    return {0, advance};
}

TagStyle::TagStyle(Surface& surface, const DisplayStyle& settings, int fontSize, bool commentary)
    : surface_(surface), settings_(settings), fontSize_(fontSize), commentary_(commentary) {}

void TagStyle::begin() {
    baseFace_ = surface_.fontDescription().face;
    surface_.setTextColor(color_);
}

void TagStyle::end() {
    fonts_.restoreAll(surface_);
    while (colors_.depth() > 0)
        color_ = colors_.pop();
    surface_.setTextColor(color_);
}

bool TagStyle::verseNumbersShown() const {
    return !commentary_ && settings_.viewMode != 2;
}

void TagStyle::setColor(std::uint32_t color) {
    color_ = color;
    surface_.setTextColor(color);
}

void TagStyle::pushColor(std::uint32_t color) {
    colors_.push(color_);
    setColor(color);
}

void TagStyle::popColor() {
    setColor(colors_.pop());
}

std::uint32_t TagStyle::slot(int colorSlot) const {
    return settings_.colorTable[static_cast<std::size_t>(colorSlot)];
}

namespace {

// W: the colour slot of a word's category letter.
int wordColorSlot(const MarkupNode& tag) {
    const std::string* value = tag.attribute("VAL");
    switch (value && !value->empty() ? (*value)[0] : '\0') {
    case 'P':
        return kColorPersonName;
    case 'R':
        return kColorPlaceName;
    case 'O':
        return kColorForeignWord;
    default:
        return kColorRelated;
    }
}

} // namespace

void TagStyle::apply(const MarkupNode& node) {
    const bool differentColors = settings_.useDifferentColor == 1;
    switch (node.GetID()) {
    case 'A':
        pushColor(slot(kColorLink));
        break;
    case 'N':
        pushColor(slot(kColorFootnote));
        break;
    case 'W':
        if (differentColors)
            pushColor(slot(wordColorSlot(node)));
        break;
    case 'a':
    case 'n':
        popColor();
        break;
    case 'w':
        if (differentColors)
            popColor();
        break;
    case 'H':
        fonts_.push(surface_, surface_.createFont(
                                  headingFontRequest(node, surface_.dpiY(), fontSize_, baseFace_)));
        pushColor(slot(kColorSectionTitle));
        break;
    case 'h':
        fonts_.pop(surface_);
        popColor();
        break;
    case 'D':
        if (verseNumbersShown()) {
            fonts_.push(surface_, surface_.createFont(verseNumberFontRequest(
                                      surface_.dpiY(), fontSize_, baseFace_)));
            pushColor(slot(kColorVerseMark));
        } else {
            hidden_ = true;
        }
        lowered_ = true;
        break;
    case 'd':
        if (verseNumbersShown()) {
            popColor();
            fonts_.pop(surface_);
        }
        hidden_ = lowered_ = false;
        break;
    case 'F': {
        fonts_.push(surface_,
                    surface_.createFont(tagFontRequest(surface_, node, FontPitch::Default)));
        const std::string* color = node.attribute("COL");
        pushColor(color ? markupColor(*color) : 0);
        if (const std::string* value = node.attribute("VAL"); value && !value->empty()) {
            if ((*value)[0] == 'H')
                raised_ = true;
            else if ((*value)[0] == 'L')
                lowered_ = true;
        }
        break;
    }
    case 'f':
        fonts_.pop(surface_);
        popColor();
        raised_ = lowered_ = false;
        break;
    default:
        break;
    }
}

} // namespace qel
