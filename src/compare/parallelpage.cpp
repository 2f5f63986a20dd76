#include "compare/parallelpage.h"

#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "bible/editions.h"
#include "bible/versekey.h"
#include "bible/versiontitles.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "platform/text.h"
#include "richtext/markupnode.h"

#include <algorithm>

namespace qel {
namespace {

// Some room always stays free at the end of the buffer.
constexpr std::size_t kReserve = 10;

std::string labelPiece(int index) {
    return "{F SIZ=1.0 VAL=B COL=000000127}[" + parallelLabel(index) + "]{/F}{B}";
}

std::string versePiece(std::string_view body) {
    return "{I VAL=6}" + std::string(body) + "{/I}{B} {B}";
}

// The text of an F tag's run; the layout breaks a long label over two lines into pieces.
std::string runText(const MarkupNode* tag) {
    std::string text;
    for (const MarkupNode* n = tag->next(); n && n->isText(); n = n->next())
        text += n->text;
    return text;
}

// The version index of a paragraph's label tag: an F tag whose text is a bracketed
// version label; -1 for any other node.
int labelIndex(const MarkupNode* node) {
    if (node->GetID() != 'F')
        return -1;
    const std::string text = runText(node);
    if (text.size() <= 2 || text.front() != '[' || text.back() != ']')
        return -1;
    return parallelIndexOfLabel(std::string_view(text).substr(1, text.size() - 2));
}

bool isLabelTag(const MarkupNode* node) {
    return labelIndex(node) >= 0;
}

} // namespace

std::string parallelVersionCode(int index) {
    const Edition* edition = editionAt(&Edition::parallelIndex, index);
    return edition ? std::string(edition->listedCode()) : std::string();
}

std::string parallelLabel(int index) {
    const std::string code = parallelVersionCode(index);
    return code.empty() ? std::string() : editionWindowTitle(code);
}

int parallelIndexOfLabel(std::string_view label) {
    for (int i = 0; i < kParallelVersions; ++i)
        if (parallelLabel(i) == label)
            return i;
    return -1;
}

std::vector<ParallelRow> parallelRows(Database& db, std::string_view book, std::string_view chap,
                                      std::string_view verse) {
    std::vector<ParallelRow> rows;
    for (RecordSet rs(db, sql::parallelVerse(book, chap, verse)); !rs.isEOF(); rs.moveNext())
        rows.push_back({rs.field("VERCODE"), rs.text("body")});
    return rows;
}

ParallelPage parallelPage(const std::vector<ParallelRow>& rows, int mask, std::size_t capacity) {
    ParallelPage page;
    const auto append = [&](std::string piece) {
        const std::size_t left = capacity - std::min(capacity, page.markup.size());
        if (left < kReserve || piece.size() > left - kReserve) {
            page.complete = false;
            return false;
        }
        std::replace(piece.begin(), piece.end(), '\r', ' ');
        std::replace(piece.begin(), piece.end(), '\n', ' ');
        page.markup += piece;
        return true;
    };
    const auto chosen = [mask](int index) {
        return index >= 0 && index < kParallelVersions && (mask >> index & 1);
    };
    static const std::string kNoText = utf8ToCp949("본문이 없습니다");
    // Chosen versions below `index` that had no row say so.
    int next = 0;
    const auto noteMissingBelow = [&](int index) {
        for (; next < index; ++next)
            if (chosen(next) && !append(labelPiece(next) + versePiece(kNoText)))
                return false;
        return true;
    };
    std::string previous;
    for (const ParallelRow& row : rows) {
        const int index = row.versionCode.empty() ? -1 : row.versionCode[0] - '0';
        if (row.versionCode.size() != 1 || !chosen(index))
            continue;
        std::string piece;
        if (row.versionCode != previous) {
            if (!noteMissingBelow(index))
                return page;
            next = index + 1;
            piece = labelPiece(index) + versePiece(row.body);
        } else {
            piece = versePiece(row.body);
        }
        previous = row.versionCode;
        if (!append(std::move(piece)))
            return page;
    }
    // A verse no chosen version has shows an empty page.
    if (!previous.empty())
        noteMissingBelow(kParallelVersions);
    return page;
}

std::optional<ParallelPlace> parseParallelKey(std::string_view key) {
    if (key.size() >= 12 && isBibleVersion(key.substr(0, 3)) && isVerseKey(key.substr(3, 9)))
        key.remove_prefix(3);
    if (key.empty())
        return std::nullopt;
    const auto withoutZeros = [](std::string_view text) {
        const auto first = text.find_first_not_of('0');
        return std::string(first == std::string_view::npos ? "" : text.substr(first));
    };
    ParallelPlace place;
    place.book = std::string(key.substr(0, 3));
    if (key.size() > 3)
        place.chapter = withoutZeros(key.substr(3, 3));
    if (key.size() > 6)
        place.verse = withoutZeros(key.substr(6));
    return place;
}

std::string parallelListVersion(Database& db, std::string_view book, int mask) {
    if (!chaptersOf(db, kKoreanEdition, book).empty())
        return kKoreanEdition;
    for (int i = 1; i < kParallelVersions; ++i)
        if ((mask >> i & 1) && !chaptersOf(db, parallelVersionCode(i), book).empty())
            return parallelVersionCode(i);
    return kKoreanEdition;
}

std::optional<ParallelVerse> parallelVerseAt(const MarkupNode* piece) {
    const MarkupNode* label = piece;
    while (label && !isLabelTag(label))
        label = label->prev();
    if (!label)
        return std::nullopt;
    ParallelVerse verse;
    verse.versionIndex = labelIndex(label);
    const MarkupNode* afterLabel = label->next();
    while (afterLabel && afterLabel->isText())
        afterLabel = afterLabel->next();
    // The verse numbers are the paragraph's own markers, not part of the verse.
    bool inVerseNumber = false;
    for (const MarkupNode* n = afterLabel; n && !isLabelTag(n); n = n->next()) {
        if (n->GetID() == 'D' || n->GetID() == 'd')
            inVerseNumber = n->GetID() == 'D';
        else if (n->isText() && !inVerseNumber)
            verse.text += n->text;
    }
    // The blank lines that end the paragraph are not part of the verse.
    verse.text.erase(verse.text.find_last_not_of(' ') + 1);
    return verse;
}

} // namespace qel
