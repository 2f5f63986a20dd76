#include "app/colordialog.h"

#include "platform/appsettings.h"
#include "platform/settingsstore.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionButton>
#include <QVBoxLayout>

namespace qel {

QColor qColorFromColorRef(std::uint32_t colorRef) {
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

std::uint32_t colorRefFromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return static_cast<std::uint32_t>(rgb.red()) | static_cast<std::uint32_t>(rgb.green()) << 8 |
           static_cast<std::uint32_t>(rgb.blue()) << 16;
}

CColorSwatch::CColorSwatch(QWidget* parent) : QPushButton(parent) {}

void CColorSwatch::setColor(const QColor& color) {
    color_ = color;
    update();
}

QSize CColorSwatch::sizeHint() const {
    return {40, 22};
}

void CColorSwatch::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QPainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect inner = style()
                            ->subElementRect(QStyle::SE_PushButtonContents, &option, this)
                            .adjusted(1, 1, -1, -1);
    painter.fillRect(inner, color_);
}

CColorDialog::CColorDialog(AppSettings& settings, SettingsStore& store,
                           std::function<void()> applied, QWidget* parent)
    : QDialog(parent), settings_(settings), store_(store), applied_(std::move(applied)),
      chooser_([](const QColor& initial, QWidget* owner) -> std::optional<QColor> {
          const QColor chosen = QColorDialog::getColor(initial, owner);
          if (!chosen.isValid())
              return std::nullopt;
          return chosen;
      }) {
    setWindowTitle(QStringLiteral("색깔 지정"));

    const QString labelTexts[kSwatchCount] = {
        QStringLiteral("책별 소제목"),   QStringLiteral("절 표시"),
        QStringLiteral("구약 인용표지"), QStringLiteral("난하주(난외주)"),
        QStringLiteral("관련 내용"),     QStringLiteral("관련 링크"),
        QStringLiteral("인명"),          QStringLiteral("지명"),
        QStringLiteral("외래어"),
    };
    auto* grid = new QGridLayout;
    for (int i = 0; i < kSwatchCount; ++i) {
        swatches_[i] = new CColorSwatch(this);
        labels_[i] = new QLabel(labelTexts[i], this);
        labels_[i]->setBuddy(swatches_[i]);
        const int row = i / 3;
        const int column = (i % 3) * 2;
        grid->addWidget(swatches_[i], row, column);
        grid->addWidget(labels_[i], row, column + 1);
        connect(swatches_[i], &QPushButton::clicked, this, [this, i] { chooseColor(i); });
    }

    auto* wordGroup = new QGroupBox(QStringLiteral("단어 색깔 구분 유무"), this);
    auto* wordLayout = new QVBoxLayout(wordGroup);
    differentColorBox_ =
        new QCheckBox(QStringLiteral("본문 중 주요단어(인명, 지명, 외래어) 색깔 구분"), wordGroup);
    wordLayout->addWidget(differentColorBox_);

    okButton_ = new QPushButton(QStringLiteral("적용"), this);
    okButton_->setDefault(true);
    defaultsButton_ = new QPushButton(QStringLiteral("기본값"), this);
    cancelButton_ = new QPushButton(QStringLiteral("취소"), this);
    for (QPushButton* button : swatches_)
        button->setAutoDefault(false);
    defaultsButton_->setAutoDefault(false);
    connect(okButton_, &QPushButton::clicked, this, &CColorDialog::accept);
    connect(defaultsButton_, &QPushButton::clicked, this, &CColorDialog::restoreDefaults);
    connect(cancelButton_, &QPushButton::clicked, this, &CColorDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(defaultsButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(wordGroup);
    layout->addLayout(buttons);

    showColors();
    differentColorBox_->setChecked(settings_.useDifferentColor != 0);
}

void CColorDialog::showColors() {
    for (int i = 0; i < kSwatchCount; ++i)
        swatches_[i]->setColor(qColorFromColorRef(settings_.colorTable[kSwatchSlots[i]]));
}

void CColorDialog::chooseColor(int index) {
    if (!chooser_)
        return;
    const auto chosen = chooser_(swatches_[index]->color(), this);
    if (!chosen || !chosen->isValid())
        return;
    settings_.colorTable[kSwatchSlots[index]] = colorRefFromQColor(*chosen);
    swatches_[index]->setColor(qColorFromColorRef(settings_.colorTable[kSwatchSlots[index]]));
}

void CColorDialog::restoreDefaults() {
    for (int slot = 0; slot < kColorSlotCount; ++slot)
        settings_.colorTable[slot] = kDefaultColors[slot];
    showColors();
}

void CColorDialog::accept() {
    static constexpr int kWriteOrder[] = {
        kColorForeignWord, kColorPlaceName,         kColorPersonName,
        kColorFootnote,    kColorOldTestamentQuote, kColorRelated,
        kColorLink,        kColorSectionTitle,      kColorVerseMark};
    settings_.useDifferentColor = differentColorBox_->isChecked() ? 1 : 0;
    for (int slot : kWriteOrder)
        store_.writeInt("Settings", kColorSettings[slot].valueName,
                        static_cast<int>(settings_.colorTable[slot]));
    store_.writeInt("Settings", "Use Different Color", settings_.useDifferentColor);
    if (applied_)
        applied_();
    QDialog::accept();
}

void CColorDialog::reject() {
    // Colours were applied as they were chosen; the stored ones come back.
    settings_.colorTable = AppSettings::read(store_).colorTable;
    if (applied_)
        applied_();
    QDialog::reject();
}

} // namespace qel
