#include "study/study.h"

#include "bible/booktable.h"
#include "bible/versekey.h"
#include "bible/versiontitles.h"
#include "platform/codec.h"
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

struct Column {
    const char* header;
    int width;
};
constexpr Column kColumns[] = {{"성경", 80}, {"권", 50}, {"장", 40}, {"절", 40}, {"본문", 0}};
constexpr int kFixedWidths = 210;

std::string shownText(const std::string& utf8) {
    std::string text = utf8ToCp949(utf8);
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
        text.replace(at, 2, "/");
    return text;
}

} // namespace

CStudy::CStudy(const std::string& notesFile, Opener open, QWidget* parent)
    : QDialog(parent), open_(std::move(open)), grid_(new CGridCtrl), search_(new QLineEdit) {
    setObjectName(QStringLiteral("CStudy"));
    setWindowTitle(QStringLiteral("사용자 노트 목록"));
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    setSizeGripEnabled(true);
    resize(640, 420);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    auto* searchRow = new QHBoxLayout;
    searchRow->setContentsMargins(6, 0, 6, 0);
    searchRow->addWidget(new QLabel(QStringLiteral("찾기:")));
    search_->setObjectName(QStringLiteral("NoteSearch"));
    search_->setClearButtonEnabled(true);
    search_->setPlaceholderText(QStringLiteral("노트 본문에 들어 있는 말"));
    searchRow->addWidget(search_, 1);
    layout->addLayout(searchRow);
    layout->addWidget(grid_, 1);

    grid_->SetRowCount(1);
    grid_->SetColumnCount(5);
    for (int c = 0; c < 5; ++c) {
        grid_->SetItemText(0, c, utf8ToCp949(kColumns[c].header));
        if (kColumns[c].width)
            grid_->SetColumnWidth(c, kColumns[c].width);
    }
    grid_->SetColumnWidth(4, std::max(40, grid_->viewport()->width() - kFixedWidths));
    grid_->setRowCopyForm([this](int row) {
        std::string cells[5];
        for (int c = 0; c < 5; ++c)
            cells[c] = grid_->GetItemText(row, c);
        if (cells[2] != "0")
            return cells[4] + "(" + cells[0] + " " + cells[1] + " " + cells[2] + ":" + cells[3] +
                   ")\r\n";
        return cells[4] + "(" + cells[0] + " " + cells[1] + " " + cells[2] + ")\r\n";
    });
    connect(grid_, &CGridCtrl::rowDoubleClicked, this, [this](int) { openSelected(); });
    connect(grid_, &CGridCtrl::enterPressed, this, &CStudy::openSelected);
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
    grid_->setFocus();
}

CStudy::~CStudy() = default;

void CStudy::fill(const QString& filter) {
    grid_->SetRowCount(1);
    shown_.clear();
    std::vector<CGridCtrl::Row> rows;
    rows.reserve(notes_.size());
    for (std::size_t i = 0; i < notes_.size(); ++i) {
        const Note& note = notes_[i];
        if (!filter.isEmpty() &&
            !QString::fromStdString(note.text).contains(filter, Qt::CaseInsensitive))
            continue;
        const NoteKey& key = note.key;
        rows.push_back({{versionFullTitle(key.version),
                         bookAbbrOf(bookNameOf(key.book, key.version), key.version), key.chapter,
                         key.verse, shownText(note.text)},
                        0});
        shown_.push_back(i);
    }
    grid_->appendRows(std::move(rows));
    grid_->ExpandLastColumn();
}

void CStudy::fitColumns() {
    // Each place column as wide as its widest text, the note text taking the rest; the few
    // different texts of a column are measured once each.
    const QFontMetrics metrics = grid_->fontMetrics();
    const int margins = 2 * grid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 10;
    for (int c = 0; c < 4; ++c) {
        std::set<std::string> texts;
        for (int row = 0; row < grid_->GetRowCount(); ++row)
            texts.insert(grid_->GetItemText(row, c));
        int widest = kColumns[c].width;
        for (const std::string& text : texts)
            widest = std::max(widest,
                              metrics.horizontalAdvance(QString::fromStdString(cp949ToUtf8(text))) +
                                  margins);
        grid_->SetColumnWidth(c, widest);
    }
    grid_->ExpandLastColumn();
}

void CStudy::openSelected() {
    const CGridCtrl::CellRange range = grid_->GetSelectedCellRange();
    if (!range.isValid() || range.minRow != range.maxRow || range.minRow < 1 ||
        range.minRow > static_cast<int>(shown_.size()))
        return;
    const NoteKey& key = notes_[shown_[range.minRow - 1]].key;
    open_(noteListKey(key.version, key.book, key.chapter, key.verse));
}

} // namespace qel
