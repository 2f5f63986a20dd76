#include "mkdb/letterfit.h"

#include "mkdb/sourcerecords.h"
#include "platform/codec.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdio>

namespace qel::mkdb {
namespace {

constexpr std::size_t kExamples = 5;

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
}

bool fitsCp949(const std::string& utf8) {
    return cp949ToUtf8(utf8ToCp949(utf8)) == utf8;
}

std::string normalized(const std::string& utf8, const UNormalizer2* form) {
    UErrorCode status = U_ZERO_ERROR;
    std::u16string in(utf8.size() + 1, u'\0');
    int32_t inLength = 0;
    u_strFromUTF8(in.data(), static_cast<int32_t>(in.size()), &inLength, utf8.data(),
                  static_cast<int32_t>(utf8.size()), &status);
    std::u16string out(inLength * 4 + 1, u'\0');
    const int32_t outLength = unorm2_normalize(form, in.data(), inLength, out.data(),
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

const UNormalizer2* nfc() {
    UErrorCode status = U_ZERO_ERROR;
    return unorm2_getNFCInstance(&status);
}

// The letter without its accents and breathings: NFD, combining marks dropped; empty when
// nothing but marks is left.
std::string baseLetter(const std::string& character) {
    UErrorCode status = U_ZERO_ERROR;
    std::u32string base;
    for (char32_t c : utf8ToUtf32(normalized(character, unorm2_getNFDInstance(&status))))
        if (u_charType(static_cast<UChar32>(c)) != U_NON_SPACING_MARK)
            base.push_back(c);
    return base.empty() ? std::string() : utf32ToUtf8(base);
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

char32_t codePointOf(const std::string& character) {
    const std::u32string decoded = utf8ToUtf32(character);
    return decoded.empty() ? 0 : decoded.front();
}

std::string example(const std::string& place, const std::string& character) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePointOf(character)));
    return place + " " + name + " '" + character + "'";
}

void count(LetterTally& tally, std::string example) {
    ++tally.count;
    if (tally.examples.size() < kExamples)
        tally.examples.push_back(std::move(example));
}

// Forms CP949 lacks whose plain form it holds, beyond what decomposition finds: the
// final sigma and the en dash of ranges such as 7:53–8:11.
std::string standIn(char32_t c) {
    switch (c) {
    case U'\u03C2':
        return "\u03C3";
    case U'\u2013':
        return "-";
    default:
        return {};
    }
}

bool isHebrew(char32_t c) {
    return c >= 0x0591 && c <= 0x05F4;
}

} // namespace

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items)
        out += (out.empty() ? "" : ", ") + item;
    return out;
}

std::string LetterFit::fit(const std::string& utf8, const std::string& place) {
    if (isAscii(utf8))
        return utf8;
    const std::string text = normalized(utf8, nfc());
    if (fitsCp949(text))
        return text;
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n =
            std::min(sequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
        const std::string character = text.substr(i, n);
        i += n;
        const char32_t c = n == 1 ? 0 : codePointOf(character);
        if (isHebrew(c)) {
            count(dropped_, example(place, character));
            if (i < text.size() && text[i] == ' ')
                ++i;
            continue;
        }
        // CP949's dash reads back as the horizontal bar.
        if (c == U'\u2014') {
            out += "\u2015";
            continue;
        }
        if (n == 1 || fitsCp949(character)) {
            out += character;
            continue;
        }
        std::string base = standIn(c);
        if (base.empty())
            base = baseLetter(character);
        if (!base.empty() && fitsCp949(base)) {
            count(simplified_, example(place, character) + " as '" + base + "'");
            out += base;
            continue;
        }
        count(unfit_, example(place, character));
        out += '?';
    }
    return out;
}

void LetterFit::report(const std::function<void(const std::string&)>& notice) const {
    if (!notice)
        return;
    if (simplified_.count)
        notice(std::to_string(simplified_.count) + " letters simplified, e.g. " +
               joined(simplified_.examples));
    if (dropped_.count)
        notice(std::to_string(dropped_.count) + " Hebrew letters and points dropped, e.g. " +
               joined(dropped_.examples));
    if (unfit_.count && replace_)
        notice(std::to_string(unfit_.count) + " characters replaced by \"?\", e.g. " +
               joined(unfit_.examples));
}

void LetterFit::check() const {
    if (unfit_.count && !replace_)
        throw UnfitLetters(std::to_string(unfit_.count) +
                           " characters that CP949 cannot hold, e.g. " + joined(unfit_.examples) +
                           " (--replace turns them into \"?\")");
}

} // namespace qel::mkdb
