#include "widgets/gridctrl.h"

#include "platform/codec.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyledItemDelegate>
#include <QTextDocument>

#include <algorithm>

namespace qel {

// The cells of the grid. Texts stay CP949; only the painted rows are converted.
class GridModel : public QAbstractTableModel {
public:
    struct RowData {
        std::vector<std::string> cells;
        std::vector<std::uint32_t> data;
    };

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(header.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const std::string& cell = this->cell(index.row(), index.column());
        return QString::fromStdString(cp949ToUtf8(cutCellText(splitHitPositions(cell).text)));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 ||
            section >= static_cast<int>(header.size()))
            return {};
        if (role == Qt::DisplayRole)
            return QString::fromStdString(cp949ToUtf8(header[section]));
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignCenter);
        return {};
    }

    const std::string& cell(int row, int column) const {
        static const std::string empty;
        if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0)
            return empty;
        const RowData& r = rows[row];
        return column < static_cast<int>(r.cells.size()) ? r.cells[column] : empty;
    }

    void setColumns(int columns) {
        columns = std::max(columns, 0);
        beginResetModel();
        header.resize(columns);
        for (RowData& r : rows) {
            r.cells.resize(columns);
            r.data.resize(columns);
        }
        endResetModel();
    }
    void setRows(int count) {
        count = std::max(count, 0);
        const int now = rowCount();
        if (count < now) {
            beginRemoveRows({}, count, now - 1);
            rows.resize(count);
            endRemoveRows();
        } else if (count > now) {
            beginInsertRows({}, now, count - 1);
            rows.resize(count, emptyRow());
            endInsertRows();
        }
    }
    void append(std::vector<RowData> more) {
        if (more.empty())
            return;
        const int now = rowCount();
        beginInsertRows({}, now, now + static_cast<int>(more.size()) - 1);
        for (RowData& r : more) {
            // Cells beyond the columns stay with the row, unshown.
            if (r.cells.size() < header.size())
                r.cells.resize(header.size());
            r.data.resize(header.size());
            rows.push_back(std::move(r));
        }
        endInsertRows();
    }
    RowData emptyRow() const {
        return {std::vector<std::string>(header.size()), std::vector<std::uint32_t>(header.size())};
    }
    void cellChanged(int row, int column) {
        const QModelIndex i = index(row, column);
        emit dataChanged(i, i);
    }

    std::vector<std::string> header;
    std::vector<RowData> rows;
    HighlightWords highlight;
};

namespace {

// Draws a cell's text in runs: plain, and the hit or highlight words in the highlight
// colour.
class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(const GridModel& model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const std::string& cell = model_.cell(index.row(), index.column());
        const HitPositionCell split = splitHitPositions(cell);
        const std::string shown = cutCellText(split.text);
        const std::vector<TextSpan> spans =
            !split.positions.empty()        ? positionSpans(shown, split.positions)
            : model_.highlight.text.empty() ? std::vector<TextSpan>()
                                            : wordSpans(shown, model_.highlight);
        if (spans.empty()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        // Background and focus as usual, the text drawn here.
        opt.text.clear();
        QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

        const bool selected = opt.state & QStyle::State_Selected;
        const QColor plain =
            opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        const QColor hit = selected ? QColor(255, 255, 120) : QColor(220, 0, 0);
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
        painter->save();
        painter->setClipRect(area);
        painter->setFont(opt.font);
        const QFontMetrics metrics(opt.font);
        int x = area.left();
        const int baseline =
            area.top() + (area.height() + metrics.ascent() - metrics.descent()) / 2;
        std::size_t at = 0;
        auto run = [&](std::size_t end, const QColor& colour) {
            if (end <= at)
                return;
            const QString piece =
                QString::fromStdString(cp949ToUtf8(std::string_view(shown).substr(at, end - at)));
            painter->setPen(colour);
            painter->drawText(x, baseline, piece);
            x += metrics.horizontalAdvance(piece);
            at = end;
        };
        for (const TextSpan& s : spans) {
            run(s.start, plain);
            run(s.start + s.length, hit);
            if (x > area.right())
                break;
        }
        run(shown.size(), plain);
        painter->restore();
    }

private:
    const GridModel& model_;
};

} // namespace

CGridCtrl::CGridCtrl(QWidget* parent) : QTableView(parent), model_(new GridModel) {
    setObjectName(QStringLiteral("GridCtrl"));
    model_->setParent(this);
    setModel(model_);
    setItemDelegate(new GridDelegate(*model_, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    // Fixed row heights keep scrolling and appending independent of the row count.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit rowDoubleClicked(index.row() + 1); });
}

CGridCtrl::~CGridCtrl() = default;

void CGridCtrl::SetRowCount(int rows) {
    model_->setRows(std::max(rows, 1) - 1);
}

void CGridCtrl::SetColumnCount(int columns) {
    model_->setColumns(columns);
}

int CGridCtrl::GetRowCount() const {
    return model_->rowCount() + 1;
}

int CGridCtrl::GetColumnCount() const {
    return model_->columnCount();
}

void CGridCtrl::SetColumnWidth(int column, int width) {
    horizontalHeader()->resizeSection(column, width);
}

void CGridCtrl::ExpandLastColumn() {
    const int last = GetColumnCount() - 1;
    if (last < 0)
        return;
    int others = 0;
    for (int c = 0; c < last; ++c)
        others += horizontalHeader()->sectionSize(c);
    SetColumnWidth(last, std::max(viewport()->width() - others, 40));
}

void CGridCtrl::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    ExpandLastColumn();
}

void CGridCtrl::SetItemText(int row, int column, const std::string& text) {
    if (column < 0 || column >= GetColumnCount())
        return;
    if (row == 0) {
        model_->header[column] = text;
        emit model_->headerDataChanged(Qt::Horizontal, column, column);
    } else if (row > 0 && row < GetRowCount()) {
        model_->rows[row - 1].cells[column] = text;
        model_->cellChanged(row - 1, column);
    }
}

std::string CGridCtrl::GetItemText(int row, int column) const {
    if (row == 0)
        return column >= 0 && column < GetColumnCount() ? model_->header[column] : std::string();
    return model_->cell(row - 1, column);
}

std::uint32_t CGridCtrl::GetItemData(int row, int column) const {
    if (row > 0 && row < GetRowCount() && column >= 0 && column < GetColumnCount())
        return model_->rows[row - 1].data[column];
    return 0;
}

int CGridCtrl::InsertRow(const std::string& column0) {
    GridModel::RowData row = model_->emptyRow();
    if (!row.cells.empty())
        row.cells[0] = column0;
    std::vector<GridModel::RowData> one;
    one.push_back(std::move(row));
    model_->append(std::move(one));
    return GetRowCount() - 1;
}

void CGridCtrl::appendRows(std::vector<Row> rows) {
    std::vector<GridModel::RowData> data;
    data.reserve(rows.size());
    const std::size_t columns = model_->header.size();
    for (Row& r : rows) {
        GridModel::RowData d{std::move(r.cells), std::vector<std::uint32_t>(columns)};
        if (columns > 0)
            d.data.back() = r.lastItemData;
        data.push_back(std::move(d));
    }
    model_->append(std::move(data));
}

void CGridCtrl::SetHighlightWords(HighlightWords words) {
    model_->highlight = std::move(words);
    viewport()->update();
}

CGridCtrl::CellRange CGridCtrl::GetSelectedCellRange() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty() || GetColumnCount() == 0)
        return {};
    CellRange range{INT32_MAX, 0, -1, GetColumnCount() - 1};
    for (const QModelIndex& i : rows) {
        range.minRow = std::min(range.minRow, i.row() + 1);
        range.maxRow = std::max(range.maxRow, i.row() + 1);
    }
    return range;
}

void CGridCtrl::selectRow(int row) {
    if (row > 0 && row < GetRowCount())
        QTableView::selectRow(row - 1);
}

std::string CGridCtrl::copyRows(bool all) {
    if (!copyForm_)
        return {};
    int first = 1, last = GetRowCount() - 1;
    if (!all) {
        const CellRange range = GetSelectedCellRange();
        if (!range.isValid())
            return {};
        first = range.minRow;
        last = range.maxRow;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string text;
    for (int row = first; row <= last; ++row)
        text += copyForm_(row);
    if (!text.empty())
        QApplication::clipboard()->setText(QString::fromStdString(cp949ToUtf8(text)));
    QApplication::restoreOverrideCursor();
    return text;
}

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit enterPressed();
        return;
    }
    if (event->matches(QKeySequence::Copy) ||
        (event->key() == Qt::Key_Insert && event->modifiers() == Qt::ControlModifier)) {
        copyRows(false);
        return;
    }
    QTableView::keyPressEvent(event);
}

void CGridCtrl::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copyAll = menu.addAction(QStringLiteral("모두 복사"));
    QAction* copy = menu.addAction(QStringLiteral("복사"));
    copy->setEnabled(GetSelectedCellRange().isValid());
    QAction* all = menu.addAction(QStringLiteral("모두 선택"));
    all->setEnabled(GetRowCount() > 1);
    menu.addSeparator();
    QAction* print = menu.addAction(QStringLiteral("인쇄"));
    print->setEnabled(GetRowCount() > 1);
    QAction* chosen = menu.exec(event->globalPos());
    if (chosen == copyAll) {
        copyRows(true);
    } else if (chosen == copy) {
        copyRows(false);
    } else if (chosen == all) {
        selectAll();
    } else if (chosen == print) {
        QPrinter printer;
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() == QDialog::Accepted)
            printRows(printer);
    }
}

void CGridCtrl::printRows(QPrinter& printer) const {
    const auto cell = [this](int row, int column) {
        return QString::fromStdString(cp949ToUtf8(splitHitPositions(GetItemText(row, column)).text))
            .toHtmlEscaped();
    };
    QString html = QStringLiteral("<table border=1 cellspacing=0 cellpadding=3><tr>");
    for (int c = 0; c < GetColumnCount(); ++c)
        html += QStringLiteral("<th>%1</th>").arg(cell(0, c));
    html += QStringLiteral("</tr>");
    for (int r = 1; r < GetRowCount(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < GetColumnCount(); ++c)
            html += QStringLiteral("<td>%1</td>").arg(cell(r, c));
        html += QStringLiteral("</tr>");
    }
    QTextDocument document;
    document.setDefaultFont(font());
    document.setHtml(html + QStringLiteral("</table>"));
    document.print(&printer);
}

} // namespace qel
