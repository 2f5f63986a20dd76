#include "bible/typedreference.h"

#include "bible/booktable.h"
#include "bible/editions.h"
#include "platform/codec.h"
#include "platform/hangulinitials.h"
#include "platform/text.h"

#include <algorithm>
#include <map>

namespace qel {
namespace {

// Names are compared without blanks and dots and with ASCII letters in lower case, so that
// "1 Co", "1co" and "1CO" are one name.
std::string nameKey(std::string_view text) {
    std::string key;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = characterLength(text, i);
        const char c = text[i];
        if (length == 2)
            key.append(text.substr(i, 2));
        else if (c >= 'A' && c <= 'Z')
            key += static_cast<char>(c - 'A' + 'a');
        else if (!isAsciiSpace(c) && c != '.')
            key += c;
        i += length;
    }
    return key;
}

using BookNames = std::map<std::string, std::vector<std::string>>;

void addName(BookNames& names, std::string_view name, const std::string& code) {
    const std::string key = nameKey(name);
    if (key.empty())
        return;
    std::vector<std::string>& codes = names[key];
    if (std::find(codes.begin(), codes.end(), code) == codes.end())
        codes.push_back(code);
}

// Every name, abbreviation and code of the Korean, English and deuterocanonical tables.
const BookNames& bookNames() {
    static const BookNames names = [] {
        BookNames out;
        for (EditionBooks books : {EditionBooks::Standard, EditionBooks::Vrb, EditionBooks::Vrc,
                                   EditionBooks::English, EditionBooks::Gnb})
            for (const BookRow& row : bookTable(books)) {
                addName(out, row.name, row.code);
                addName(out, row.abbreviation, row.code);
                addName(out, row.code, row.code);
            }
        return out;
    }();
    return names;
}

void addCodes(std::vector<std::string>& to, const std::vector<std::string>& codes) {
    for (const std::string& code : codes)
        if (std::find(to.begin(), to.end(), code) == to.end())
            to.push_back(code);
}

// Initial letters (ㅇㅎㅂㅇ) stand for the names whose syllables begin with them: the
// names they spell whole, else the names they begin.
std::vector<std::string> booksWithInitials(const std::string& key) {
    const std::u32string pattern = utf8ToUtf32(cp949ToUtf8(key));
    std::vector<std::string> whole, begun;
    for (const auto& [name, codes] : bookNames()) {
        const std::u32string text = utf8ToUtf32(cp949ToUtf8(name));
        if (korean::matchesInitials(text, pattern))
            addCodes(whole, codes);
        else if (korean::startsWithInitials(text, pattern))
            addCodes(begun, codes);
    }
    return whole.empty() ? begun : whole;
}

// The codes a typed book stands for: its exact name, else the books whose names begin
// with it.
std::vector<std::string> booksNamed(std::string_view typed) {
    const std::string key = nameKey(typed);
    if (key.empty())
        return {};
    if (korean::hasInitialLetter(utf8ToUtf32(cp949ToUtf8(key))))
        return booksWithInitials(key);
    const BookNames& names = bookNames();
    if (const auto exact = names.find(key); exact != names.end())
        return exact->second;
    std::vector<std::string> codes;
    for (auto it = names.lower_bound(key); it != names.end() && it->first.starts_with(key); ++it)
        addCodes(codes, it->second);
    return codes;
}

const std::string& chapterWord() {
    static const std::string word = utf8ToCp949("장");
    return word;
}

const std::string& verseWord() {
    static const std::string word = utf8ToCp949("절");
    return word;
}

// Reads chapter, verse and span after the book.
class NumberReader {
public:
    explicit NumberReader(std::string_view text) : text_(text) {}

    bool read(TypedReference& out) {
        int chapter = 0;
        if (!number(chapter))
            return false;
        const bool blankAfterChapter = blanks();
        const bool chapterMarked = word(chapterWord());
        blanks();
        if (atEnd()) {
            out.chapter = chapter;
            return true;
        }
        if (!symbol(':') && !symbol('.') && !chapterMarked && !blankAfterChapter)
            return false;
        blanks();
        int verse = 0;
        int lastVerse = 0;
        if (!number(verse) || !verseEnd())
            return false;
        if (symbol('-') || symbol('~')) {
            blanks();
            if (!number(lastVerse) || !verseEnd() || lastVerse < verse)
                return false;
        }
        if (!atEnd())
            return false;
        out.chapter = chapter;
        out.verse = verse;
        out.lastVerse = lastVerse == verse ? 0 : lastVerse;
        return true;
    }

private:
    bool atEnd() const { return pos_ >= text_.size(); }

    bool blanks() {
        const std::size_t start = pos_;
        while (!atEnd() && isAsciiSpace(text_[pos_]))
            ++pos_;
        return pos_ > start;
    }

    bool symbol(char c) {
        if (atEnd() || text_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }

    bool word(const std::string& w) {
        if (text_.substr(pos_).starts_with(w)) {
            pos_ += w.size();
            return true;
        }
        return false;
    }

    // One to three digits, not 0: no chapter or verse of the Bible needs more.
    bool number(int& value) {
        std::size_t digits = 0;
        value = 0;
        while (!atEnd() && isAsciiDigit(text_[pos_]) && digits < 4) {
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
            ++digits;
        }
        return digits > 0 && digits <= 3 && value > 0;
    }

    // Blanks and "절" after a verse number.
    bool verseEnd() {
        blanks();
        word(verseWord());
        blanks();
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool endsWithDigit(std::string_view text) {
    return !text.empty() && isAsciiDigit(text.back());
}

// How well one split of the text into book and numbers went, worst first.
enum class SplitResult { UnknownBook, AmbiguousBook, BadNumbers, Found };

SplitResult trySplit(std::string_view book, std::string_view numbers, TypedReference& out) {
    // "요3:16" is John 3:16: a name never ends in the chapter's digits.
    if (endsWithDigit(book))
        return SplitResult::UnknownBook;
    const std::vector<std::string> codes = booksNamed(book);
    out.bookText = std::string(book);
    if (codes.empty())
        return SplitResult::UnknownBook;
    if (codes.size() > 1) {
        out.candidates = codes;
        return SplitResult::AmbiguousBook;
    }
    out.book = codes.front();
    if (!numbers.empty() && !NumberReader(numbers).read(out))
        return SplitResult::BadNumbers;
    return SplitResult::Found;
}

ReferenceError errorOf(SplitResult result) {
    switch (result) {
    case SplitResult::AmbiguousBook:
        return ReferenceError::AmbiguousBook;
    case SplitResult::BadNumbers:
        return ReferenceError::BadNumbers;
    case SplitResult::Found:
        return ReferenceError::None;
    case SplitResult::UnknownBook:
        break;
    }
    return ReferenceError::UnknownBook;
}

std::string displayName(const std::string& code) {
    // Korean names first; the English tables name what no Korean one has.
    for (EditionBooks books :
         {EditionBooks::Standard, EditionBooks::Vrb, EditionBooks::English, EditionBooks::Gnb})
        for (const BookRow& row : bookTable(books))
            if (row.code == code)
                return row.name;
    return code;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

TypedReference parseTypedReference(std::string_view text) {
    text = trimmed(text);
    TypedReference best;
    best.error = ReferenceError::Empty;
    if (text.empty())
        return best;
    best.error = ReferenceError::UnknownBook;
    best.bookText = std::string(text);
    SplitResult bestResult = SplitResult::UnknownBook;
    bool splitFound = false;
    // Each place where a number starts after the name may end the book's name.
    for (std::size_t p = 0; p < text.size(); p += characterLength(text, p)) {
        if (p == 0 || !isAsciiDigit(text[p]) || isAsciiDigit(text[p - 1]))
            continue;
        const std::string_view book = trimmed(text.substr(0, p));
        if (book.empty() || endsWithDigit(book))
            continue;
        TypedReference candidate;
        const SplitResult result = trySplit(book, text.substr(p), candidate);
        if (!splitFound || result > bestResult) {
            candidate.error = errorOf(result);
            best = candidate;
            bestResult = result;
        }
        splitFound = true;
        if (result == SplitResult::Found)
            return best;
    }
    // A book alone opens its first chapter; its name may hold a digit ("요한1서").
    TypedReference whole;
    const SplitResult result = trySplit(text, {}, whole);
    if (!splitFound || result == SplitResult::Found) {
        whole.error = errorOf(result);
        return whole;
    }
    return best;
}

std::string typedReferenceMessage(const TypedReference& reference) {
    switch (reference.error) {
    case ReferenceError::None:
        return {};
    case ReferenceError::Empty:
        return utf8ToCp949("갈 곳을 입력하십시오. 예: 요 3:16");
    case ReferenceError::UnknownBook:
        return quoted(reference.bookText) + utf8ToCp949("에 해당하는 책이 없습니다.");
    case ReferenceError::AmbiguousBook: {
        constexpr std::size_t kShown = 5;
        std::string names;
        for (std::size_t i = 0; i < reference.candidates.size() && i < kShown; ++i)
            names += (i == 0 ? "" : ", ") + displayName(reference.candidates[i]);
        if (reference.candidates.size() > kShown)
            names += utf8ToCp949(" 등");
        return quoted(reference.bookText) + utf8ToCp949("은(는) 여러 책에 맞습니다: ") + names;
    }
    case ReferenceError::BadNumbers:
        break;
    }
    return utf8ToCp949("장과 절을 알아볼 수 없습니다. 예: 요 3:16, 요한복음 3장 16절");
}

} // namespace qel
