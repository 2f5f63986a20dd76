#include "compare/passagereference.h"

#include "bible/booktable.h"
#include "platform/text.h"

namespace qel {
namespace {

// The states of the reader: 0 at the start of a span, 1 after a book code,
// 2 after "chapter:", 3 after "first-chapter2:", 4 after "first-".
constexpr int kNumberLimit = 100000;

using BookStart = bool (*)(std::string_view text, std::size_t at, int state);

std::vector<VerseSpan> readReferences(std::string_view references, BookStart startsBook) {
    std::vector<VerseSpan> spans;
    VerseSpan span;
    std::size_t begin = 0;
    while (begin <= references.size()) {
        std::size_t end = references.find(' ', begin);
        if (end == std::string_view::npos)
            end = references.size();
        const std::string_view text = references.substr(begin, end - begin);
        int state = 0;
        int n = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            const char c = i < text.size() ? text[i] : ',';
            if (i < text.size() && startsBook(text, i, state)) {
                span.book = std::string(text.substr(i, 3));
                span.heading = i + 3 < text.size() ? std::string(text.substr(i + 3)) : "";
                i += 2;
                state = 1;
            } else if (isAsciiDigit(c)) {
                // Longer numbers stay at a value no chapter or verse has.
                if (n < kNumberLimit)
                    n = n * 10 + (c - '0');
            } else if (c == ':') {
                if (state == 4) {
                    span.endChapter = n;
                    state = 3;
                } else {
                    span.chapter = span.endChapter = n;
                    state = 2;
                }
                n = 0;
            } else if (c == '-') {
                span.firstVerse = n;
                state = 4;
                n = 0;
            } else if (c == ',') {
                span.lastVerse = n;
                if (state >= 2) {
                    span.range = state != 2;
                    spans.push_back(span);
                } else if (state == 0 && n > 0 && !span.book.empty() && span.endChapter > 0) {
                    // A lone verse continues the chapter named last ("rom5:8,10").
                    span.chapter = span.endChapter;
                    span.range = false;
                    spans.push_back(span);
                }
                state = 0;
                n = 0;
            }
        }
        begin = end + 1;
    }
    return spans;
}

bool gospelBookStart(std::string_view text, std::size_t at, int) {
    const char c = text[at];
    return c == 'j' || c == 'l' || c == 'm';
}

bool historyBookStart(std::string_view text, std::size_t at, int state) {
    const char c = text[at];
    return state == 0 && (c == '1' || c == '2') && at + 1 < text.size() &&
           !isAsciiDigit(text[at + 1]);
}

bool anyBookStart(std::string_view text, std::size_t at, int state) {
    return state == 0 && (at == 0 || text[at - 1] == ',') && isBookCode(text.substr(at, 3));
}

} // namespace

std::vector<VerseSpan> readGospelReferences(std::string_view references) {
    return readReferences(references, gospelBookStart);
}

std::vector<VerseSpan> readHistoryReferences(std::string_view references) {
    return readReferences(references, historyBookStart);
}

std::vector<VerseSpan> readBookReferences(std::string_view references) {
    return readReferences(references, anyBookStart);
}

} // namespace qel
