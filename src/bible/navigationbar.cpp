#include "bible/navigationbar.h"

#include "platform/codec.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace qel {
namespace {

QComboBox* makeBox(QWidget* parent, int widthChars) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    box->setMinimumContentsLength(widthChars);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return box;
}

} // namespace

CNavigationBar::CNavigationBar(QWidget* parent)
    : QWidget(parent), book_(makeBox(this, 12)), chapter_(makeBox(this, 4)),
      verse_(makeBox(this, 4)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    // The boxes keep their size; a narrow window cuts the bar off instead of squeezing them.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    for (auto [box, label] : {std::pair{book_, "권"}, {chapter_, "장"}, {verse_, "절"}}) {
        layout->addWidget(box);
        layout->addWidget(new QLabel(QString::fromUtf8(label), this));
        layout->addSpacing(10);
        connect(box->lineEdit(), &QLineEdit::returnPressed, this, &CNavigationBar::enterPressed);
    }
    layout->addStretch();
    connect(book_, &QComboBox::activated, this, &CNavigationBar::bookChosen);
    connect(chapter_, &QComboBox::activated, this, &CNavigationBar::chapterChosen);
    connect(verse_, &QComboBox::activated, this, &CNavigationBar::verseChosen);
}

void CNavigationBar::setBooks(const std::vector<std::string>& names,
                              const std::vector<std::string>& codes) {
    fill(book_, names);
    codes_ = codes;
}

int CNavigationBar::rowOfBookCode(const std::string& code) const {
    for (std::size_t i = 0; i < codes_.size(); ++i)
        if (codes_[i] == code)
            return static_cast<int>(i);
    return -1;
}

std::string CNavigationBar::bookCodeAt(int row) const {
    return row >= 0 && row < static_cast<int>(codes_.size()) ? codes_[row] : std::string();
}

void CNavigationBar::fill(QComboBox* box, const std::vector<std::string>& entries) {
    const QSignalBlocker blocker(box);
    box->clear();
    for (const std::string& entry : entries)
        box->addItem(QString::fromStdString(cp949ToUtf8(entry)));
    box->setCurrentIndex(-1);
}

int CNavigationBar::find(QComboBox* box, const std::string& text) {
    return box->findText(QString::fromStdString(cp949ToUtf8(text)), Qt::MatchFixedString);
}

std::string CNavigationBar::selectedText(QComboBox* box) {
    return box->currentIndex() < 0 ? std::string()
                                   : utf8ToCp949(box->itemText(box->currentIndex()).toStdString());
}

std::string CNavigationBar::typedText(QComboBox* box) {
    return utf8ToCp949(box->currentText().trimmed().toStdString());
}

} // namespace qel
