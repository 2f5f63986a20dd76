#include "compare/paralleldialog.h"

#include "compare/parallelpage.h"
#include "platform/appsettings.h"
#include "platform/codec.h"
#include "platform/settingsstore.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qel {

CParallelDialog::CParallelDialog(AppSettings& settings, SettingsStore& store,
                                 std::function<void()> applied, QWidget* parent)
    : QDialog(parent), settings_(settings), store_(store), applied_(std::move(applied)) {
    setWindowTitle(QStringLiteral("절별 비교 지정"));
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < kParallelVersions; ++i) {
        boxes_[i] = new QCheckBox(QString::fromStdString(cp949ToUtf8(parallelLabel(i))), this);
        boxes_[i]->setChecked(settings_.parallelMask >> i & 1);
        layout->addWidget(boxes_[i]);
    }
    okButton_ = new QPushButton(QStringLiteral("적용"), this);
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("취소"), this);
    connect(okButton_, &QPushButton::clicked, this, &CParallelDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &CParallelDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

void CParallelDialog::accept() {
    int mask = 0;
    for (int i = 0; i < kParallelVersions; ++i)
        if (boxes_[i]->isChecked())
            mask |= 1 << i;
    settings_.parallelMask = mask;
    store_.writeInt("Settings", "Parallel", mask);
    if (applied_)
        applied_();
    QDialog::accept();
}

} // namespace qel
