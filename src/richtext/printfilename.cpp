#include "richtext/printfilename.h"

namespace qel {
namespace {

constexpr std::string_view kRefused = "/\\:*?\"<>|";
// Most file systems allow 255 bytes in a name.
constexpr std::size_t kMaxNameBytes = 255;

bool isBlank(unsigned char c) {
    return c <= 0x20 || c == 0x7F || kRefused.find(static_cast<char>(c)) != std::string_view::npos;
}

} // namespace

std::string pdfFileName(std::string_view title) {
    std::string name;
    for (const char c : title) {
        if (!isBlank(static_cast<unsigned char>(c)))
            name.push_back(c);
        else if (!name.empty() && name.back() != ' ')
            name.push_back(' ');
    }
    // A leading dot would hide the file.
    name.erase(0, name.find_first_not_of(". "));
    const std::string_view suffix = ".pdf";
    if (name.size() > kMaxNameBytes - suffix.size()) {
        std::size_t cut = kMaxNameBytes - suffix.size();
        // Never split a UTF-8 sequence: back up over continuation bytes.
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    if (name.empty())
        name = "print";
    return name + std::string(suffix);
}

} // namespace qel
