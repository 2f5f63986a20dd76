#include "app/importdialog.h"

#include "app/slotwarning.h"
#include "bible/booktable.h"
#include "bible/editions.h"
#include "bible/swordmodules.h"
#include "bible/versiontitles.h"
#include "platform/appcontext.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "platform/messagesink.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace qel {
namespace {

constexpr int kSourceRole = Qt::UserRole;

void tell(QWidget*, const QString& text) {
    showMessage(utf8ToCp949(text.toStdString()), utf8ToCp949("역본 가져오기"));
}

} // namespace

CImportDialog::CImportDialog(AppContext& context, QString mkdbProgram, QWidget* parent)
    : QDialog(parent), context_(context), mkdbProgram_(std::move(mkdbProgram)) {
    setWindowTitle(QStringLiteral("역본 가져오기"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("가져올 성경 (설치된 SWORD 모듈, OSIS 파일, "
                                                "USFM 폴더):"),
                                 this));
    sources_ = new QListWidget(this);
    layout->addWidget(sources_);
    auto* pick = new QHBoxLayout;
    auto* osis = new QPushButton(QStringLiteral("OSIS 파일..."), this);
    auto* usfm = new QPushButton(QStringLiteral("USFM 폴더..."), this);
    pick->addWidget(osis);
    pick->addWidget(usfm);
    pick->addStretch();
    layout->addLayout(pick);

    auto* slotRow = new QHBoxLayout;
    slotRow->addWidget(new QLabel(QStringLiteral("넣을 역본 자리:"), this));
    slots_ = new QComboBox(this);
    for (const Edition& version : editionTable())
        slots_->addItem(QString::fromLatin1(version.code) + QStringLiteral("  ") +
                            QString::fromStdString(cp949ToUtf8(editionWindowTitle(version.code))),
                        QString::fromLatin1(version.code));
    slotRow->addWidget(slots_, 1);
    layout->addLayout(slotRow);
    warning_ = new QLabel(this);
    warning_->setWordWrap(true);
    layout->addWidget(warning_);
    replace_ = new QCheckBox(QStringLiteral("CP949로 나타낼 수 없는 글자는 \"?\"로 바꾸기"), this);
    layout->addWidget(replace_);
    progress_ = new QProgressBar(this);
    layout->addWidget(progress_);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    layout->addWidget(status_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    importButton_ = new QPushButton(QStringLiteral("가져오기"), this);
    importButton_->setDefault(true);
    cancelButton_ = new QPushButton(QStringLiteral("닫기"), this);
    buttons->addWidget(importButton_);
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);

    connect(osis, &QPushButton::clicked, this, &CImportDialog::chooseOsisFile);
    connect(usfm, &QPushButton::clicked, this, &CImportDialog::chooseUsfmFolder);
    connect(slots_, &QComboBox::currentIndexChanged, this, &CImportDialog::updateWarning);
    connect(importButton_, &QPushButton::clicked, this, &CImportDialog::startImport);
    connect(cancelButton_, &QPushButton::clicked, this, &CImportDialog::reject);
    fillModules();
    updateWarning();
    resize(560, 480);
}

CImportDialog::~CImportDialog() {
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->terminate();
        process_->waitForFinished(5000);
    }
}

QString CImportDialog::databasePath() const {
    return QString::fromStdString(target().database);
}

AppPaths::ImportTarget CImportDialog::target() const {
    // qel-mkdb lies beside the program.
    return context_.paths.importTarget(mkdbProgram_.toStdString());
}

bool CImportDialog::running() const {
    return process_ && process_->state() != QProcess::NotRunning;
}

void CImportDialog::fillModules() {
    for (const SwordModule& module : findSwordModules()) {
        auto* item =
            new QListWidgetItem(QString::fromStdString(module.name) + QStringLiteral(" — ") +
                                    QString::fromStdString(module.value("Description")),
                                sources_);
        item->setData(kSourceRole, QString::fromStdString(module.name));
    }
    if (sources_->count() > 0)
        sources_->setCurrentRow(0);
}

void CImportDialog::addCustomSource(const QString& path, const QString& label) {
    auto* item = new QListWidgetItem(label + QStringLiteral(": ") + path);
    item->setData(kSourceRole, path);
    sources_->insertItem(0, item);
    sources_->setCurrentItem(item);
}

void CImportDialog::chooseOsisFile() {
    const QString file =
        QFileDialog::getOpenFileName(this, QStringLiteral("OSIS 파일"), QString(),
                                     QStringLiteral("OSIS XML (*.xml *.osis);;모든 파일 (*)"));
    if (!file.isEmpty())
        addCustomSource(file, QStringLiteral("OSIS 파일"));
}

void CImportDialog::chooseUsfmFolder() {
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("USFM 폴더"));
    if (!folder.isEmpty())
        addCustomSource(folder, QStringLiteral("USFM 폴더"));
}

void CImportDialog::selectSource(const QString& source) {
    for (int i = 0; i < sources_->count(); ++i)
        if (sources_->item(i)->data(kSourceRole).toString() == source) {
            sources_->setCurrentRow(i);
            return;
        }
    addCustomSource(source, QFileInfo(source).isDir() ? QStringLiteral("USFM 폴더")
                                                      : QStringLiteral("OSIS 파일"));
}

void CImportDialog::selectSlot(const QString& code) {
    slots_->setCurrentIndex(slots_->findData(code));
}

QString CImportDialog::slotCode() const {
    return slots_->currentData().toString();
}

QString CImportDialog::warningText() const {
    return warning_->text();
}

// Says what the slot holds now and what an import replaces.
void CImportDialog::updateWarning() {
    warning_->setText(slotReplacementWarning(context_.contentDb, slotCode().toStdString(),
                                             QStringLiteral("가져오면"), false));
}

void CImportDialog::startImport() {
    if (running())
        return;
    const QListWidgetItem* item = sources_->currentItem();
    if (!item) {
        tell(this, QStringLiteral("가져올 성경을 골라 주십시오."));
        return;
    }
    const AppPaths::ImportTarget into = target();
    const QFileInfo folder(QFileInfo(QString::fromStdString(into.database)).path());
    if (into.seedFrom.empty() && !folder.isWritable()) {
        tell(this, QStringLiteral("데이터 폴더에 쓸 수 없습니다: %1").arg(folder.filePath()));
        return;
    }
    QStringList args{QStringLiteral("--import"), item->data(kSourceRole).toString(),
                     QStringLiteral("--as"),     slotCode(),
                     QStringLiteral("--db"),     QString::fromStdString(into.database)};
    if (!into.seedFrom.empty())
        args << QStringLiteral("--seed-from") << QString::fromStdString(into.seedFrom);
    if (replace_->isChecked())
        args << QStringLiteral("--replace");
    process_ = new QProcess(this);
    connect(process_, &QProcess::readyReadStandardError, this, &CImportDialog::readProgress);
    connect(process_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        importFinished(status == QProcess::NormalExit ? exitCode : 1);
    });
    lastError_.clear();
    pending_.clear();
    progress_->setRange(0, static_cast<int>(bookTableOf(slotCode().toStdString()).size()));
    progress_->setValue(0);
    status_->setText(QStringLiteral("읽는 중..."));
    setRunning(true);
    process_->start(mkdbProgram_, args);
}

// qel-mkdb reports "qel-mkdb: CODE: 12 books, 3456 verses, ..." on stderr.
void CImportDialog::readProgress() {
    pending_ += process_->readAllStandardError();
    for (qsizetype end; (end = pending_.indexOf('\n')) >= 0;) {
        QString line = QString::fromUtf8(pending_.left(end));
        pending_.remove(0, end + 1);
        if (line.startsWith(QStringLiteral("qel-mkdb: ")))
            line.remove(0, 10);
        const MkdbProgress progress = readMkdbProgress(line);
        if (progress.books)
            progress_->setValue(*progress.books);
        status_->setText(progress.text);
        lastError_ = line;
    }
}

void CImportDialog::importFinished(int exitCode) {
    readProgress();
    setRunning(false);
    process_->deleteLater();
    process_ = nullptr;
    if (exitCode != 0) {
        progress_->setValue(0);
        tell(this, QStringLiteral("가져오지 못했습니다. 바뀐 것은 없습니다.\n%1").arg(lastError_));
        return;
    }
    progress_->setValue(progress_->maximum());
    status_->setText(QStringLiteral("가져왔습니다: %1").arg(readMkdbProgress(lastError_).text));
    emit imported(slotCode());
    updateWarning();
}

void CImportDialog::setRunning(bool running) {
    importButton_->setEnabled(!running);
    sources_->setEnabled(!running);
    slots_->setEnabled(!running);
    replace_->setEnabled(!running);
    cancelButton_->setText(running ? QStringLiteral("취소") : QStringLiteral("닫기"));
}

// While an import runs, "취소" stops it (qel-mkdb removes what it wrote); otherwise it
// closes the dialog.
void CImportDialog::reject() {
    if (running()) {
        status_->setText(QStringLiteral("취소하는 중..."));
        process_->terminate();
        return;
    }
    QDialog::reject();
}

} // namespace qel
