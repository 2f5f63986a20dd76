#include "app/fontdialog.h"

#include "app/fontresolver.h"
#include "platform/appsettings.h"
#include "platform/codec.h"
#include "platform/settingsstore.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <optional>

namespace qel {
namespace {

const QString kTitleLine = QStringLiteral("글꼴 미리 보기");
const std::array<QString, CFontPreview::kBodyLineCount> kBodyLines = {
    QStringLiteral("가나다라마바사 아자차카타파하"),
    QStringLiteral("The quick brown fox jumps over the lazy dog."),
    QStringLiteral("글꼴과 크기, 줄간격을 바꾸면 본문이 이렇게 보입니다."),
    QStringLiteral("Choose a face, a size and the spacing of lines."),
    QStringLiteral("절 번호와 소제목도 같은 글꼴로 그려집니다."),
    QStringLiteral("ABCDEFGHIJKLM abcdefghijklm 0123456789"),
    QStringLiteral("한글과 영문이 섞인 줄도 함께 살펴보십시오."),
    QStringLiteral("Numbers, letters and marks: 1:1, 3:16, 23:1-6."),
};

std::optional<int> wholeNumber(const QString& text, int low, int high) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

QFont previewFont(const QString& face, int pixelHeight) {
    QFont font(face);
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Medium);
    font.setKerning(false);
    return font;
}

QComboBox* makeBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

} // namespace

CFontPreview::CFontPreview(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CFontPreview::setSample(const QString& face, int pointSize, int spacingPercent) {
    if (face.isEmpty() || pointSize <= 0 || spacingPercent <= 0) {
        clearSample();
        return;
    }
    const int dpi = logicalDpiY();
    titleFont_ = previewFont(face, dpi * pointSize / 48);
    bodyFont_ = previewFont(face, dpi * pointSize / 72);
    titleHeight_ = QFontMetrics(titleFont_, this).height();
    lineHeight_ = QFontMetrics(bodyFont_, this).height();
    lineStep_ = lineHeight_ * spacingPercent / 100;
    hasSample_ = true;
    update();
}

void CFontPreview::clearSample() {
    hasSample_ = false;
    titleHeight_ = lineHeight_ = lineStep_ = 0;
    update();
}

QSize CFontPreview::sizeHint() const {
    return {380, 260};
}

void CFontPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (!hasSample_)
        return;
    painter.setClipRect(rect());
    painter.setPen(palette().color(QPalette::Text));

    painter.setFont(titleFont_);
    painter.drawText(QPoint(0, QFontMetrics(titleFont_, this).ascent()), kTitleLine);

    painter.setFont(bodyFont_);
    const int ascent = QFontMetrics(bodyFont_, this).ascent();
    for (int i = 0; i < kBodyLineCount; ++i)
        painter.drawText(QPoint(0, bodyLineTop(i) + ascent), kBodyLines[i]);
}

CFontDialog::CFontDialog(AppSettings& settings, SettingsStore& store, std::function<void()> applied,
                         QWidget* parent)
    : QDialog(parent), settings_(settings), store_(store), applied_(std::move(applied)) {
    installFontSubstitutions();
    setWindowTitle(QStringLiteral("글꼴 설정"));
    setFont(QFont(QStringLiteral("굴림체"), 9));

    faceBox_ = makeBox(this);
    QStringList faces;
    for (const QString& family : QFontDatabase::families())
        if (!family.startsWith(QLatin1Char('@')))
            faces.append(family);
    faces.sort(Qt::CaseInsensitive);
    faceBox_->addItems(faces);

    sizeBox_ = makeBox(this);
    for (int size = 10; size <= 30; ++size)
        sizeBox_->addItem(QString::number(size));
    spaceBox_ = makeBox(this);
    for (int spacing = 100; spacing <= 200; spacing += 20)
        spaceBox_->addItem(QString::number(spacing));

    const QString face = QString::fromStdString(cp949ToUtf8(settings_.fontFaceName));
    const QString size = QString::fromStdString(settings_.fontSizeText);
    const QString spacing = QString::fromStdString(settings_.lineSpaceText);
    faceBox_->setCurrentIndex(faceBox_->findText(face, Qt::MatchFixedString));
    sizeBox_->setCurrentIndex(sizeBox_->findText(size, Qt::MatchStartsWith));
    spaceBox_->setCurrentIndex(spaceBox_->findText(spacing, Qt::MatchStartsWith));
    faceBox_->setEditText(face);
    sizeBox_->setEditText(size);
    spaceBox_->setEditText(spacing);

    auto* fontGroup = new QGroupBox(QStringLiteral("기본 글꼴"), this);
    auto* fontGrid = new QGridLayout(fontGroup);
    fontGrid->addWidget(new QLabel(QStringLiteral("글꼴"), fontGroup), 0, 0);
    fontGrid->addWidget(faceBox_, 0, 1, 1, 3);
    fontGrid->addWidget(new QLabel(QStringLiteral("크기"), fontGroup), 1, 0);
    fontGrid->addWidget(sizeBox_, 1, 1);
    fontGrid->addWidget(new QLabel(QStringLiteral("줄간격(%)"), fontGroup), 1, 2);
    fontGrid->addWidget(spaceBox_, 1, 3);
    fontGrid->setColumnStretch(1, 1);
    fontGrid->setColumnStretch(3, 1);

    auto* previewGroup = new QGroupBox(QStringLiteral("미리 보기"), this);
    auto* previewLayout = new QVBoxLayout(previewGroup);
    preview_ = new CFontPreview(previewGroup);
    previewLayout->addWidget(preview_);

    okButton_ = new QPushButton(QStringLiteral("확인"), this);
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("취소"), this);
    connect(okButton_, &QPushButton::clicked, this, &CFontDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &CFontDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fontGroup);
    layout->addWidget(previewGroup, 1);
    layout->addLayout(buttons);

    // The preview follows finished choices, not every keystroke.
    for (QComboBox* box : {faceBox_, sizeBox_, spaceBox_}) {
        connect(box, &QComboBox::activated, this, &CFontDialog::updatePreview);
        connect(box->lineEdit(), &QLineEdit::editingFinished, this, &CFontDialog::updatePreview);
    }
    updatePreview();
}

void CFontDialog::updatePreview() {
    const auto size = wholeNumber(sizeBox_->currentText(), kMinFontPointSize, kMaxFontPointSize);
    const auto spacing = wholeNumber(spaceBox_->currentText(), kMinLineSpacing, kMaxLineSpacing);
    if (!size || !spacing) {
        preview_->clearSample();
        return;
    }
    preview_->setSample(faceBox_->currentText().trimmed(), *size, *spacing);
}

void CFontDialog::accept() {
    // A box left empty or holding something unusable keeps its old value: a size of 0 would
    // make the reading text vanish.
    const QString face = faceBox_->currentText().trimmed();
    if (!face.isEmpty())
        settings_.fontFaceName = utf8ToCp949(face.toStdString());
    if (const auto size =
            wholeNumber(sizeBox_->currentText(), kMinFontPointSize, kMaxFontPointSize))
        settings_.fontSizeText = std::to_string(*size);
    if (const auto spacing =
            wholeNumber(spaceBox_->currentText(), kMinLineSpacing, kMaxLineSpacing))
        settings_.lineSpaceText = std::to_string(*spacing);
    store_.writeString("Settings", "HFont Name", settings_.fontFaceName);
    store_.writeString("Settings", "Font Size", settings_.fontSizeText);
    store_.writeString("Settings", "Line Space", settings_.lineSpaceText);
    if (applied_)
        applied_();
    QDialog::accept();
}

} // namespace qel
