#include "platform/codec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace qel {
namespace {

class IconvConverter {
public:
    IconvConverter(const char* to, const char* from)
        : cd_(iconv_open(to, from)), fromUtf8_(std::string_view(from) == "UTF-8") {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~IconvConverter() { iconv_close(cd_); }
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    std::string convert(std::string_view in) {
        std::string out;
        out.reserve(in.size() * 2);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buffer[4096];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, dst - buffer);
            if (r == static_cast<size_t>(-1)) {
                if (errno == E2BIG)
                    continue;
                // EILSEQ or EINVAL (truncated sequence at the end): one '?' per character.
                const size_t skip = std::min(badCharacterLength(src, srcLeft), srcLeft);
                out.push_back('?');
                src += skip;
                srcLeft -= skip;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    // A well-formed UTF-8 character that the target lacks is skipped whole.
    size_t badCharacterLength(const char* p, size_t left) const {
        const auto lead = static_cast<unsigned char>(*p);
        const size_t length = !fromUtf8_     ? 1
                              : lead >= 0xF0 ? 4
                              : lead >= 0xE0 ? 3
                              : lead >= 0xC0 ? 2
                                             : 1;
        for (size_t i = 1; i < length; ++i)
            if (i >= left || (static_cast<unsigned char>(p[i]) & 0xC0) != 0x80)
                return i;
        return length;
    }

    iconv_t cd_;
    bool fromUtf8_;
};

} // namespace

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(text[i++]);
    if (b0 < 0x80)
        return b0;
    int length = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC0 ? 2 : 0;
    if (length == 0 || b0 > 0xF4)
        return 0xFFFD;
    char32_t c = b0 & (0x3F >> (length - 1));
    for (int k = 1; k < length; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return c;
}

std::u32string utf8ToUtf32(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size())
        out.push_back(nextCodePoint(utf8, i));
    return out;
}

std::string utf32ToUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (char32_t c : text)
        appendUtf8(out, c);
    return out;
}

std::size_t wholeCharacterPrefix(std::string_view text, std::size_t limit) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + length > limit || i + length > text.size())
            break;
        i += length;
    }
    return i;
}

std::string cp949ToUtf8(std::string_view cp949) {
    thread_local IconvConverter converter("UTF-8", "CP949");
    return converter.convert(cp949);
}

std::string utf8ToCp949(std::string_view utf8) {
    thread_local IconvConverter converter("CP949", "UTF-8");
    return converter.convert(utf8);
}

} // namespace qel
