#include "searchui/choicedialog.h"

#include "platform/codec.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qel {
namespace {

// Rows of the candidate text, as the list shows them.
std::vector<std::string> candidateRows(const std::string& list) {
    std::vector<std::string> rows;
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t end = list.find_first_of("\r\n", start);
        if (end == std::string::npos)
            break;
        std::string line = list.substr(start, end - start);
        if (!line.empty())
            line.pop_back();
        const std::size_t digit = line.find_first_of("0123456789");
        if (digit != std::string::npos)
            rows.push_back(line.substr(digit, 255));
        start = end + 1;
        // A CR LF pair ends one line.
        if (list[end] == '\r' && start < list.size() && list[start] == '\n')
            ++start;
    }
    return rows;
}

} // namespace

CChoiceDialog::CChoiceDialog(const std::string& list, QWidget* owner)
    : QDialog(owner), list_(new QTableWidget(this)), rows_(candidateRows(list)) {
    setObjectName(QStringLiteral("ChoiceDialog"));
    list_->setColumnCount(1);
    list_->horizontalHeader()->hide();
    list_->verticalHeader()->hide();
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(false);
    list_->setRowCount(static_cast<int>(rows_.size()));
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r)
        list_->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(cp949ToUtf8(rows_[r]))));
    if (!rows_.empty())
        list_->selectRow(0);
    connect(list_, &QTableWidget::currentCellChanged, this,
            [this](int row) { index_ = std::max(row, 0); });
    connect(list_, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        chooseRow(row);
        QDialog::accept();
    });
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("확인"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CChoiceDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CChoiceDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(300, 260);
}

int CChoiceDialog::rowCount() const {
    return static_cast<int>(rows_.size());
}

void CChoiceDialog::chooseRow(int row) {
    rect_ = geometry();
    index_ = row;
    text_ = row >= 0 && row < rowCount() ? rows_[row].substr(0, 511) : std::string();
}

void CChoiceDialog::accept() {
    // OK chooses the selected row as a double click would.
    chooseRow(index_);
    QDialog::accept();
}

void CChoiceDialog::reject() {
    rect_ = geometry();
    QDialog::reject();
}

void CChoiceDialog::showEvent(QShowEvent* event) {
    setWindowTitle(title_);
    if (rect_.left() >= 1)
        setGeometry(rect_);
    QDialog::showEvent(event);
    fitColumn();
}

void CChoiceDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    fitColumn();
}

void CChoiceDialog::fitColumn() {
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    list_->setColumnWidth(0, std::max(list_->viewport()->width() - scrollBar - 5, 40));
}

} // namespace qel
