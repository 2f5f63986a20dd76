#include "richtext/layoutrules.h"

#include "platform/codec.h"
#include "platform/text.h"
#include "richtext/markupnode.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace qel {
namespace {

bool isAsciiSpace(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

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

std::size_t screenBreakOffset(Surface& surface, std::string_view text, int available) {
    const auto n = static_cast<long long>(text.size());
    long long k = n > 1 ? static_cast<long long>(surface.fitCount(text, available)) : 1;
    while (k > 0 && !isAsciiSpace(byteAt(text, k)) && !isAsciiPunct(byteAt(text, k)))
        --k;
    k = applyMarkRules(text, k);
    if (k <= 0)
        k = isLeadByte(byteAt(text, 0)) ? 2 : 1;
    return static_cast<std::size_t>(std::min(k, n));
}

std::size_t printBreakOffset(Surface& surface, std::string_view text, int available) {
    const auto n = static_cast<long long>(text.size());
    long long k = n > 1 ? static_cast<long long>(surface.fitCount(text, available)) : 1;
    while (k > 0 && isAsciiAlnum(byteAt(text, k)))
        --k;
    if (k <= 0)
        return 0;
    k = applyMarkRules(text, k);
    if (k <= 0)
        return 0;
    return static_cast<std::size_t>(std::min(k, n));
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

} // namespace qel
