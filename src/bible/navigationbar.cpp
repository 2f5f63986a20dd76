#include "bible/navigationbar.h"

#include "platform/codec.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
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
      verse_(makeBox(this, 4)), reference_(new QLineEdit(this)), note_(new QLabel(this)) {
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
    reference_->setObjectName(QStringLiteral("ReferenceBox"));
    reference_->setPlaceholderText(QStringLiteral("예: 요 3:16"));
    reference_->setToolTip(QStringLiteral("갈 곳 (Ctrl+L)"));
    reference_->setMinimumWidth(
        reference_->fontMetrics().horizontalAdvance(QStringLiteral("요한복음 13장 16절")));
    layout->addWidget(new QLabel(QStringLiteral("찾아가기"), this));
    layout->addWidget(reference_);
    layout->addStretch();
    // The note floats under the box, over the text, until the reader types again.
    note_->setWindowFlags(Qt::ToolTip);
    note_->setObjectName(QStringLiteral("ReferenceNote"));
    note_->setMargin(3);
    note_->setStyleSheet(QStringLiteral("background: #ffffe1; border: 1px solid #a0a0a0;"));
    note_->hide();
    connect(reference_, &QLineEdit::returnPressed, this, &CNavigationBar::onReferenceEntered);
    connect(reference_, &QLineEdit::textEdited, this, [this] { showReferenceNote({}); });
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

namespace qel {

void CNavigationBar::addReferenceShortcut(QWidget* window) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), window);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] {
        reference_->setFocus(Qt::ShortcutFocusReason);
        reference_->selectAll();
    });
}

void CNavigationBar::onReferenceEntered() {
    const TypedReference reference =
        parseTypedReference(utf8ToCp949(reference_->text().toStdString()));
    showReferenceNote(typedReferenceMessage(reference));
    if (reference.ok())
        emit referenceChosen(reference);
}

void CNavigationBar::showReferenceNote(const std::string& text) {
    if (text.empty()) {
        note_->clear();
        note_->hide();
        return;
    }
    note_->setText(QString::fromStdString(cp949ToUtf8(text)));
    note_->adjustSize();
    note_->move(reference_->mapToGlobal(QPoint(0, reference_->height() + 2)));
    note_->show();
}

std::string CNavigationBar::referenceNote() const {
    return note_->isVisible() ? utf8ToCp949(note_->text().toStdString()) : std::string();
}

} // namespace qel
