#include "study/study.h"

#include "bible/booktable.h"
#include "bible/citation.h"
#include "bible/versekey.h"
#include "bible/versiontitles.h"
#include "platform/codec.h"
#include "platform/highlightcommands.h"
#include "platform/messagesink.h"
#include "widgets/gridctrl.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

namespace qel {
namespace {

std::string shownText(const std::string& utf8) {
    std::string text = utf8ToCp949(utf8);
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
        text.replace(at, 2, "/");
    return text;
}

} // namespace

StudyList::StudyList(Opener open, const QString& title, std::vector<Column> leading,
                     QWidget* parent)
    : QDialog(parent), open_(std::move(open)), leadingColumns_(static_cast<int>(leading.size())),
      layout_(new QVBoxLayout(this)), grid_(new CGridCtrl) {
    setWindowTitle(title);
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    setSizeGripEnabled(true);
    resize(640, 420);
    layout_->setContentsMargins(0, 4, 0, 0);
    layout_->addWidget(grid_, 1);

    // The verse's place, then its text in a column that takes the rest of the width.
    for (const Column& c : {Column{"성경", 80}, Column{"권", 50}, Column{"장", 40},
                            Column{"절", 40}, Column{"본문", 0}})
        leading.push_back(c);
    grid_->SetRowCount(1);
    grid_->SetColumnCount(static_cast<int>(leading.size()));
    for (std::size_t c = 0; c < leading.size(); ++c) {
        grid_->SetItemText(0, static_cast<int>(c), utf8ToCp949(leading[c].header));
        if (leading[c].width)
            grid_->SetColumnWidth(static_cast<int>(c), leading[c].width);
        startWidths_.push_back(leading[c].width);
        fixedWidths_ += leading[c].width;
    }
    grid_->SetColumnWidth(static_cast<int>(leading.size()) - 1,
                          std::max(40, grid_->viewport()->width() - fixedWidths_));
    grid_->setRowCopyForm([this](int row) { return copyLine(row); });
    connect(grid_, &CGridCtrl::rowDoubleClicked, this, [this](int) { openSelected(); });
    connect(grid_, &CGridCtrl::enterPressed, this, &StudyList::openSelected);
}

StudyList::~StudyList() = default;

void StudyList::setRows(const std::vector<std::vector<std::string>>& leading,
                        const std::vector<NoteKey>& keys, const std::vector<std::string>& texts) {
    grid_->SetRowCount(1);
    keys_ = keys;
    std::vector<CGridCtrl::Row> rows;
    rows.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const NoteKey& key = keys[i];
        std::vector<std::string> cells =
            i < leading.size() ? leading[i] : std::vector<std::string>{};
        cells.resize(static_cast<std::size_t>(leadingColumns_));
        for (std::string cell : {versionFullTitle(key.version),
                                 bookAbbrOf(bookNameOf(key.book, key.version), key.version),
                                 key.chapter, key.verse, texts[i]})
            cells.push_back(std::move(cell));
        rows.push_back({std::move(cells), 0});
    }
    grid_->appendRows(std::move(rows));
    grid_->ExpandLastColumn();
}

void StudyList::fitColumns() {
    // The few different texts of a column are measured once each.
    const QFontMetrics metrics = grid_->fontMetrics();
    const int margins = 2 * grid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 10;
    for (int c = 0; c + 1 < static_cast<int>(startWidths_.size()); ++c) {
        std::set<std::string> texts;
        for (int row = 0; row < grid_->GetRowCount(); ++row)
            texts.insert(grid_->GetItemText(row, c));
        int widest = startWidths_[static_cast<std::size_t>(c)];
        for (const std::string& text : texts)
            widest = std::max(widest,
                              metrics.horizontalAdvance(QString::fromStdString(cp949ToUtf8(text))) +
                                  margins);
        grid_->SetColumnWidth(c, widest);
    }
    grid_->ExpandLastColumn();
}

void StudyList::openSelected() {
    const CGridCtrl::CellRange range = grid_->GetSelectedCellRange();
    if (!range.isValid() || range.minRow != range.maxRow || range.minRow < 1 ||
        range.minRow > static_cast<int>(keys_.size()))
        return;
    const NoteKey& key = keyOfRow(range.minRow);
    open_(noteListKey(key.version, key.book, key.chapter, key.verse));
}

CStudy::CStudy(const std::string& notesFile, Opener open, QWidget* parent)
    : StudyList(std::move(open), QStringLiteral("사용자 노트 목록"), {}, parent),
      search_(new QLineEdit) {
    setObjectName(QStringLiteral("CStudy"));
    auto* searchRow = new QHBoxLayout;
    searchRow->setContentsMargins(6, 0, 6, 0);
    searchRow->addWidget(new QLabel(QStringLiteral("찾기:")));
    search_->setObjectName(QStringLiteral("NoteSearch"));
    search_->setClearButtonEnabled(true);
    search_->setPlaceholderText(QStringLiteral("노트 본문에 들어 있는 말"));
    searchRow->addWidget(search_, 1);
    listLayout()->insertLayout(0, searchRow);
    connect(search_, &QLineEdit::textChanged, this, &CStudy::fill);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    NoteStore store(notesFile);
    if (store.isOpen()) {
        try {
            notes_ = store.all();
        } catch (const DatabaseError& e) {
            logWarning(e.what());
        }
    }
    fill(QString());
    fitColumns();
    QApplication::restoreOverrideCursor();
    grid()->setFocus();
}

void CStudy::fill(const QString& filter) {
    std::vector<NoteKey> keys;
    std::vector<std::string> texts;
    for (const Note& note : notes_) {
        if (!filter.isEmpty() &&
            !QString::fromStdString(note.text).contains(filter, Qt::CaseInsensitive))
            continue;
        keys.push_back(note.key);
        texts.push_back(shownText(note.text));
    }
    setRows({}, keys, texts);
}

std::string CStudy::copyLine(int row) const {
    std::string cells[5];
    for (int c = 0; c < 5; ++c)
        cells[c] = grid()->GetItemText(row, c);
    if (cells[2] != "0")
        return cells[4] + "(" + cells[0] + " " + cells[1] + " " + cells[2] + ":" + cells[3] +
               ")\r\n";
    return cells[4] + "(" + cells[0] + " " + cells[1] + " " + cells[2] + ")\r\n";
}

CHighlightList::CHighlightList(const std::string& studyFile, VerseText verseText, Opener open,
                               QWidget* parent)
    : StudyList(std::move(open), QStringLiteral("형광펜 목록"), {{"색", 50}}, parent) {
    setObjectName(QStringLiteral("CHighlightList"));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<Highlight> highlights;
    HighlightStore store(studyFile);
    if (store.isOpen()) {
        try {
            highlights = store.all();
        } catch (const DatabaseError& e) {
            logWarning(e.what());
        }
    }
    // A verse with several spans of one colour is one row.
    std::stable_sort(highlights.begin(), highlights.end(),
                     [](const Highlight& a, const Highlight& b) { return a.colour < b.colour; });
    highlights.erase(std::unique(highlights.begin(), highlights.end(),
                                 [](const Highlight& a, const Highlight& b) {
                                     return a.colour == b.colour && a.key == b.key;
                                 }),
                     highlights.end());
    std::vector<std::vector<std::string>> leading;
    std::vector<NoteKey> keys;
    std::vector<std::string> texts;
    for (const Highlight& h : highlights) {
        leading.push_back({utf8ToCp949(highlightColourName(h.colour))});
        keys.push_back(h.key);
        texts.push_back(verseText(h.key));
        colours_.push_back(h.colour);
    }
    setRows(leading, keys, texts);
    fitColumns();
    QApplication::restoreOverrideCursor();
    grid()->setFocus();
}

// As the search results copy: the whole verse, then its citation.
std::string CHighlightList::copyLine(int row) const {
    const NoteKey& key = keyOfRow(row);
    return grid()->GetItemText(row, leadingColumns() + 4) + " " +
           verseCitation("", key.version, bookNameOf(key.book, key.version), key.chapter,
                         key.verse) +
           "\r\n";
}

} // namespace qel
