#include "app/viewmodedialog.h"

#include "platform/appsettings.h"
#include "platform/settingsstore.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qel {

CViewModeDialog::CViewModeDialog(AppSettings& settings, SettingsStore& store,
                                 std::function<void()> applied, QWidget* parent)
    : QDialog(parent), settings_(settings), store_(store), applied_(std::move(applied)) {
    setWindowTitle(QStringLiteral("보기방식 지정"));

    const QString modeTexts[] = {
        QStringLiteral("절 구분 있고, 절 번호 있음"),
        QStringLiteral("절 구분 없고, 절 번호 있음"),
        QStringLiteral("절 구분 없고, 절 번호 없음"),
    };
    auto* layout = new QVBoxLayout(this);
    modeGroup_ = new QButtonGroup(this);
    for (int mode = 0; mode < 3; ++mode) {
        modeButtons_[mode] = new QRadioButton(modeTexts[mode], this);
        modeGroup_->addButton(modeButtons_[mode], mode);
        layout->addWidget(modeButtons_[mode]);
    }
    introBox_ = new QCheckBox(QStringLiteral("시작 동영상을 봅니다"), this);
    layout->addSpacing(8);
    layout->addWidget(introBox_);

    okButton_ = new QPushButton(QStringLiteral("적용"), this);
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("취소"), this);
    connect(okButton_, &QPushButton::clicked, this, &CViewModeDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &CViewModeDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);

    if (settings_.viewMode >= 0 && settings_.viewMode < 3)
        modeButtons_[settings_.viewMode]->setChecked(true);
    introBox_->setChecked(settings_.showIntro != 0);
}

void CViewModeDialog::accept() {
    // With no radio button checked the layout stays as it is.
    if (modeGroup_->checkedId() >= 0)
        settings_.viewMode = modeGroup_->checkedId();
    settings_.showIntro = introBox_->isChecked() ? 1 : 0;
    store_.writeInt("Settings", "View Mode", settings_.viewMode);
    store_.writeInt("Settings", "ViewIntro", settings_.showIntro);
    if (applied_)
        applied_();
    QDialog::accept();
}

} // namespace qel
