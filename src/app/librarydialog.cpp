#include "app/librarydialog.h"

#include "app/slotwarning.h"
#include "bible/booktable.h"
#include "bible/editions.h"
#include "bible/versiontitles.h"
#include "platform/appcontext.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "platform/messagesink.h"
#include "platform/settingsstore.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace qel {
namespace {

constexpr int kModuleRole = Qt::UserRole;
const QString kAllLanguages = QStringLiteral("*");

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

void tell(const QString& text) {
    showMessage(utf8ToCp949(text.toStdString()), utf8ToCp949("성경 자료실"));
}

QString languageName(const QString& code) {
    static const std::pair<const char*, const char*> kNames[] = {
        {"ko", "한국어"},         {"en", "영어"},     {"de", "독일어"}, {"fr", "프랑스어"},
        {"es", "스페인어"},       {"zh", "중국어"},   {"ja", "일본어"}, {"ru", "러시아어"},
        {"grc", "고대 그리스어"}, {"he", "히브리어"}, {"la", "라틴어"}, {"pt", "포르투갈어"},
    };
    for (const auto& [key, name] : kNames)
        if (code == QLatin1String(key))
            return QString::fromUtf8(name);
    return code.isEmpty() ? QStringLiteral("(모름)") : code;
}

QString sizeText(const std::string& bytes) {
    const double size = std::strtod(bytes.c_str(), nullptr);
    if (size <= 0)
        return QStringLiteral("-");
    return size >= 1e6 ? QStringLiteral("%1 MB").arg(size / 1e6, 0, 'f', 1)
                       : QStringLiteral("%1 KB").arg(std::max(1.0, size / 1e3), 0, 'f', 0);
}

} // namespace

CLibraryDialog::CLibraryDialog(AppContext& context, QString mkdbProgram, QWidget* parent)
    : QDialog(parent), context_(context), mkdbProgram_(std::move(mkdbProgram)) {
    setWindowTitle(QStringLiteral("성경 자료실"));
    buildLayout();
    fillSources();
    updateWarning(); // also when no module is listed yet
    resize(720, 620);
}

CLibraryDialog::~CLibraryDialog() {
    // Closing the program during an install cancels it; qel-mkdb removes what it wrote.
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->terminate();
        process_->waitForFinished(10000);
    }
}

void CLibraryDialog::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildSourceRow());
    layout->addWidget(buildFilterRow());
    list_ = new QTreeWidget(this);
    list_->setHeaderLabels({QStringLiteral("성경"), QStringLiteral("모듈"), QStringLiteral("언어"),
                            QStringLiteral("크기")});
    list_->setRootIsDecorated(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    layout->addWidget(list_, 2);
    // A long About text scrolls instead of squeezing the list.
    auto* detailsArea = new QScrollArea(this);
    detailsArea->setWidgetResizable(true);
    detailsArea->setFrameShape(QFrame::NoFrame);
    detailsArea->setMinimumHeight(110);
    details_ = new QLabel(detailsArea);
    details_->setWordWrap(true);
    details_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    details_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    detailsArea->setWidget(details_);
    layout->addWidget(detailsArea, 1);
    layout->addWidget(buildSlotRow());
    warning_ = new QLabel(this);
    warning_->setWordWrap(true);
    layout->addWidget(warning_);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    layout->addWidget(progress_);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    layout->addWidget(status_);
    layout->addWidget(buildButtonRow());
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] {
        showDetails();
        chooseDefaultSlot();
    });
}

QWidget* CLibraryDialog::buildSourceRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("저장소:"), row));
    sourceBox_ = new QComboBox(row);
    layout->addWidget(sourceBox_, 1);
    refreshButton_ = new QPushButton(QStringLiteral("목록 새로 고침"), row);
    auto* add = new QPushButton(QStringLiteral("저장소 추가..."), row);
    layout->addWidget(refreshButton_);
    layout->addWidget(add);
    connect(sourceBox_, &QComboBox::currentIndexChanged, this, [this] {
        if (const SwordSource* source = currentSource())
            context_.store->writeString("Settings", "Library Source", utf8ToCp949(source->name));
        fillModules();
    });
    connect(refreshButton_, &QPushButton::clicked, this, &CLibraryDialog::refresh);
    connect(add, &QPushButton::clicked, this, &CLibraryDialog::addSource);
    return row;
}

QWidget* CLibraryDialog::buildFilterRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("언어:"), row));
    languageBox_ = new QComboBox(row);
    layout->addWidget(languageBox_);
    searchBox_ = new QLineEdit(row);
    searchBox_->setPlaceholderText(QStringLiteral("이름이나 설명으로 찾기"));
    searchBox_->setClearButtonEnabled(true);
    layout->addWidget(searchBox_, 1);
    connect(languageBox_, &QComboBox::currentIndexChanged, this, &CLibraryDialog::fillModules);
    connect(searchBox_, &QLineEdit::textChanged, this, &CLibraryDialog::fillModules);
    return row;
}

QWidget* CLibraryDialog::buildSlotRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("넣을 역본 자리:"), row));
    slots_ = new QComboBox(row);
    for (const Edition& version : editionTable())
        slots_->addItem(QString(), QString::fromLatin1(version.code));
    nameSlots();
    layout->addWidget(slots_, 1);
    restoreButton_ = new QPushButton(QStringLiteral("견본으로 되돌리기"), row);
    restoreButton_->setToolTip(
        QStringLiteral("이 자리에 설치하거나 가져온 역본을 지우고 프로그램에 들어 있는 견본 "
                       "구절로 되돌립니다."));
    layout->addWidget(restoreButton_);
    connect(slots_, &QComboBox::currentIndexChanged, this, &CLibraryDialog::updateWarning);
    connect(restoreButton_, &QPushButton::clicked, this, &CLibraryDialog::restoreSample);
    return row;
}

// Each slot by its code and the name of the edition it holds now.
void CLibraryDialog::nameSlots() {
    for (int i = 0; i < slots_->count(); ++i) {
        const std::string code = slots_->itemData(i).toString().toStdString();
        slots_->setItemText(i, QString::fromStdString(code) + QStringLiteral("  ") +
                                   fromUtf8(cp949ToUtf8(editionWindowTitle(code))));
    }
}

QWidget* CLibraryDialog::buildButtonRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    installButton_ = new QPushButton(QStringLiteral("설치"), row);
    installButton_->setDefault(true);
    closeButton_ = new QPushButton(QStringLiteral("닫기"), row);
    layout->addWidget(installButton_);
    layout->addWidget(closeButton_);
    connect(installButton_, &QPushButton::clicked, this, &CLibraryDialog::startInstall);
    connect(closeButton_, &QPushButton::clicked, this, &CLibraryDialog::reject);
    return row;
}

void CLibraryDialog::fillSources() {
    sources_ = allSources(*context_.store);
    const QSignalBlocker block(sourceBox_);
    sourceBox_->clear();
    for (const SwordSource& source : sources_)
        sourceBox_->addItem(fromUtf8(source.name) + QStringLiteral("  (") +
                            fromUtf8(source.address) + QStringLiteral(")"));
    // The source chosen last time, else CrossWire's.
    const std::string last =
        cp949ToUtf8(context_.store->readString("Settings", "Library Source", ""));
    int index = 0;
    for (std::size_t i = 0; i < sources_.size(); ++i)
        if (sources_[i].name == last)
            index = static_cast<int>(i);
    sourceBox_->setCurrentIndex(index);
    fillModules();
}

const SwordSource* CLibraryDialog::currentSource() const {
    const int index = sourceBox_->currentIndex();
    return index >= 0 && index < static_cast<int>(sources_.size()) ? &sources_[index] : nullptr;
}

void CLibraryDialog::selectSource(const QString& nameOrAddress) {
    const std::string given = nameOrAddress.toStdString();
    for (std::size_t i = 0; i < sources_.size(); ++i)
        if (sources_[i].name == given || sources_[i].address == given) {
            sourceBox_->setCurrentIndex(static_cast<int>(i));
            return;
        }
    if (const auto source = resolveSource(*context_.store, given)) {
        sources_.push_back(*source);
        sourceBox_->addItem(nameOrAddress);
        sourceBox_->setCurrentIndex(sourceBox_->count() - 1);
    }
}

// Korean Bibles first, then by description; the language and search filters applied.
void CLibraryDialog::fillModules() {
    const SwordSource* source = currentSource();
    modules_ = source ? cachedModules(*source) : std::vector<SwordModule>{};
    std::stable_sort(modules_.begin(), modules_.end(), [](const auto& a, const auto& b) {
        const bool ka = a.value("Lang") == "ko", kb = b.value("Lang") == "ko";
        return ka != kb ? ka : a.value("Description") < b.value("Description");
    });
    fillLanguages();
    const QString language = languageBox_->currentData().toString();
    const QString search = searchBox_->text().trimmed();
    list_->clear();
    for (const SwordModule& m : modules_) {
        const QString name = fromUtf8(m.name), description = fromUtf8(m.value("Description"));
        const QString lang = fromUtf8(m.value("Lang"));
        if ((language != kAllLanguages && lang != language) ||
            (!search.isEmpty() && !name.contains(search, Qt::CaseInsensitive) &&
             !description.contains(search, Qt::CaseInsensitive)))
            continue;
        auto* item = new QTreeWidgetItem(
            list_, {description, name, languageName(lang), sizeText(m.value("InstallSize"))});
        item->setData(0, kModuleRole, name);
    }
    if (list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    status_->setText(source && !hasCachedList(*source)
                         ? QStringLiteral("이 저장소의 목록을 아직 받지 않았습니다. \"목록 새로 "
                                          "고침\"을 누르십시오.")
                         : QString());
    showDetails();
}

// The languages of the source's Bibles, Korean first; the choice is kept.
void CLibraryDialog::fillLanguages() {
    const QString kept = languageBox_->currentData().toString();
    QStringList codes;
    for (const SwordModule& m : modules_)
        if (const QString code = fromUtf8(m.value("Lang")); !codes.contains(code))
            codes << code;
    std::sort(codes.begin(), codes.end(), [](const QString& a, const QString& b) {
        return (a == QLatin1String("ko")) != (b == QLatin1String("ko")) ? a == QLatin1String("ko")
                                                                        : a < b;
    });
    const QSignalBlocker block(languageBox_);
    languageBox_->clear();
    languageBox_->addItem(QStringLiteral("모든 언어"), kAllLanguages);
    for (const QString& code : codes)
        languageBox_->addItem(languageName(code), code);
    const int index = languageBox_->findData(kept.isEmpty() ? kAllLanguages : kept);
    languageBox_->setCurrentIndex(std::max(0, index));
}

void CLibraryDialog::setFilter(const QString& language, const QString& text) {
    languageBox_->setCurrentIndex(std::max(0, languageBox_->findData(language)));
    searchBox_->setText(text);
}

QStringList CLibraryDialog::listedModules() const {
    QStringList names;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        names << list_->topLevelItem(i)->data(0, kModuleRole).toString();
    return names;
}

const SwordModule* CLibraryDialog::currentModule() const {
    const QTreeWidgetItem* item = list_->currentItem();
    if (!item)
        return nullptr;
    const std::string name = item->data(0, kModuleRole).toString().toStdString();
    for (const SwordModule& m : modules_)
        if (m.name == name)
            return &m;
    return nullptr;
}

bool CLibraryDialog::selectModule(const QString& module) {
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->data(0, kModuleRole).toString() == module) {
            list_->setCurrentItem(list_->topLevelItem(i));
            return true;
        }
    return false;
}

void CLibraryDialog::showDetails() {
    const SwordModule* m = currentModule();
    if (!m) {
        details_->clear();
        return;
    }
    const auto line = [](const QString& label, const std::string& value) {
        return value.empty() ? QString()
                             : label + QStringLiteral(": ") + fromUtf8(value).toHtmlEscaped() +
                                   QStringLiteral("<br>");
    };
    QString text = QStringLiteral("<b>") + fromUtf8(m->value("Description")).toHtmlEscaped() +
                   QStringLiteral("</b> (") + fromUtf8(m->name) + QStringLiteral(")<br>");
    text += line(QStringLiteral("판"), m->value("Version"));
    text += QStringLiteral("크기: ") + sizeText(m->value("InstallSize")) + QStringLiteral("<br>");
    text += line(QStringLiteral("사용 조건"), m->value("DistributionLicense"));
    const QString about = fromUtf8(plainConfText(m->value("About"))).toHtmlEscaped();
    if (!about.isEmpty())
        text += QStringLiteral("<br>") +
                QString(about).replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    details_->setText(text);
}

QString CLibraryDialog::detailsText() const {
    return details_->text();
}

// VRA for a Korean Bible while VRA holds the sample, else the first empty slot.
void CLibraryDialog::chooseDefaultSlot() {
    const SwordModule* m = currentModule();
    if (!m || running())
        return;
    QString code;
    if (m->value("Lang") == "ko" && slotHoldsSample(context_.contentDb, kKoreanEdition))
        code = QString::fromLatin1(kKoreanEdition);
    for (int i = 0; code.isEmpty() && i < slots_->count(); ++i)
        if (slotVerseCount(context_.contentDb, slots_->itemData(i).toString().toStdString()) == 0)
            code = slots_->itemData(i).toString();
    if (!code.isEmpty())
        selectSlot(code);
    updateWarning();
}

void CLibraryDialog::selectSlot(const QString& code) {
    slots_->setCurrentIndex(slots_->findData(code));
}

QString CLibraryDialog::slotCode() const {
    return slots_->currentData().toString();
}

QString CLibraryDialog::warningText() const {
    return warning_->text();
}

QString CLibraryDialog::statusText() const {
    return status_->text();
}

void CLibraryDialog::updateWarning() {
    const std::string code = slotCode().toStdString();
    restoreButton_->setEnabled(canRestoreSample() && !running());
    warning_->setText(slotReplacementWarning(context_.contentDb, code, QStringLiteral("설치하면"),
                                             slotHoldsSample(context_.contentDb, code)));
}

bool CLibraryDialog::canRestoreSample() const {
    const std::string code = slotCode().toStdString();
    return slotHasSampleCopy(context_.contentDb, code) &&
           !slotHoldsSample(context_.contentDb, code);
}

void CLibraryDialog::restoreSample() {
    if (running() || !canRestoreSample())
        return;
    const std::string code = slotCode().toStdString();
    QMessageBox box(QMessageBox::Question, QStringLiteral("견본으로 되돌리기"),
                    QStringLiteral("%1 자리의 지금 본문(%2)을 지우고 프로그램에 들어 있는 견본 "
                                   "구절로 되돌리시겠습니까?\n\n지운 역본을 다시 보려면 새로 "
                                   "설치해야 합니다.")
                        .arg(slotCode(), fromUtf8(cp949ToUtf8(editionWindowTitle(code)))),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("되돌리기"));
    box.button(QMessageBox::No)->setText(QStringLiteral("그대로 두기"));
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() == QMessageBox::Yes)
        startRestore();
}

void CLibraryDialog::startRestore() {
    if (running())
        return;
    QStringList args = targetArgs();
    if (args.isEmpty())
        return;
    args.prepend(slotCode());
    args.prepend(QStringLiteral("--restore-sample"));
    status_->setText(QStringLiteral("견본으로 되돌리는 중..."));
    run(args, Job::Restore);
}

QStringList CLibraryDialog::targetArgs() {
    const AppPaths::ImportTarget into = context_.paths.importTarget(mkdbProgram_.toStdString());
    const QFileInfo folder(QFileInfo(fromUtf8(into.database)).path());
    if (into.seedFrom.empty() && !folder.isWritable()) {
        tell(QStringLiteral("데이터 폴더에 쓸 수 없습니다: %1").arg(folder.filePath()));
        return {};
    }
    QStringList args{QStringLiteral("--db"), fromUtf8(into.database)};
    if (!into.seedFrom.empty())
        args << QStringLiteral("--seed-from") << fromUtf8(into.seedFrom);
    return args;
}

void CLibraryDialog::addSource() {
    bool ok = false;
    const QString address = QInputDialog::getText(
        this, QStringLiteral("저장소 추가"),
        QStringLiteral("저장소 주소 (https://…, http://…, ftp://…) 또는 폴더:"), QLineEdit::Normal,
        QString(), &ok);
    if (!ok || address.trimmed().isEmpty())
        return;
    const QString name =
        QInputDialog::getText(this, QStringLiteral("저장소 추가"), QStringLiteral("저장소 이름:"),
                              QLineEdit::Normal, QUrl(address.trimmed()).host(), &ok);
    if (!ok || name.trimmed().isEmpty())
        return;
    if (!addUserSource(*context_.store,
                       {name.trimmed().toStdString(), address.trimmed().toStdString(), false})) {
        tell(QStringLiteral("이 이름으로는 저장소를 추가할 수 없습니다."));
        return;
    }
    fillSources();
    selectSource(name.trimmed());
    refresh();
}

// Asks once before the first remote access; the answer is kept.
bool CLibraryDialog::mayUseNetwork() {
    const SwordSource* source = currentSource();
    if (!source || !isRemoteAddress(source->address) ||
        remoteAccess(*context_.store) == RemoteAccess::Allowed)
        return true;
    QMessageBox box(QMessageBox::Question, QStringLiteral("성경 자료실"),
                    QStringLiteral("성경 자료실은 인터넷으로 원격 저장소(%1)에 접속합니다. "
                                   "접속을 허락하시겠습니까?")
                        .arg(fromUtf8(source->name)),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("허락"));
    box.button(QMessageBox::No)->setText(QStringLiteral("허락하지 않음"));
    const bool allowed = box.exec() == QMessageBox::Yes;
    setRemoteAccess(*context_.store, allowed);
    return allowed;
}

void CLibraryDialog::refresh() {
    const SwordSource* source = currentSource();
    if (running() || !source || !mayUseNetwork())
        return;
    status_->setText(QStringLiteral("목록을 받는 중..."));
    run({QStringLiteral("--list"), fromUtf8(source->address), QStringLiteral("--allow-network")},
        Job::List);
}

void CLibraryDialog::startInstall() {
    const SwordSource* source = currentSource();
    const SwordModule* module = currentModule();
    if (running())
        return;
    if (!source || !module) {
        tell(QStringLiteral("설치할 성경을 골라 주십시오."));
        return;
    }
    if (!mayUseNetwork())
        return;
    QStringList args = targetArgs();
    if (args.isEmpty())
        return;
    args << QStringLiteral("--install") << fromUtf8(module->name) << QStringLiteral("--from")
         << fromUtf8(source->address) << QStringLiteral("--as") << slotCode()
         << QStringLiteral("--allow-network");
    if (std::exchange(replace_, false))
        args << QStringLiteral("--replace");
    status_->setText(QStringLiteral("받는 중..."));
    run(args, Job::Install);
}

void CLibraryDialog::installWhenListed(const QString& module) {
    if (selectModule(module)) {
        startInstall();
        return;
    }
    pendingModule_ = module;
    refresh();
    if (!running())
        pendingModule_.clear();
}

void CLibraryDialog::run(const QStringList& args, Job job) {
    process_ = new QProcess(this);
    job_ = job;
    connect(process_, &QProcess::readyReadStandardError, this, &CLibraryDialog::readProgress);
    connect(process_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        finished(status == QProcess::NormalExit ? exitCode : 1);
    });
    lastLine_.clear();
    pending_.clear();
    progress_->setValue(0);
    setRunning(true);
    process_->start(mkdbProgram_, args);
}

// A list's download fills the bar; an install's fills the first half and the import (books
// written) the second; the return of a sample, which downloads nothing, fills it with books.
void CLibraryDialog::readProgress() {
    pending_ += process_->readAllStandardError();
    const int bookCount =
        std::max<int>(1, static_cast<int>(bookTableOf(slotCode().toStdString()).size()));
    for (qsizetype end; (end = pending_.indexOf('\n')) >= 0;) {
        QString line = QString::fromUtf8(pending_.left(end));
        pending_.remove(0, end + 1);
        if (line.startsWith(QStringLiteral("qel-mkdb: ")))
            line.remove(0, 10);
        const MkdbProgress progress = readMkdbProgress(line);
        if (progress.percent)
            progress_->setValue(*progress.percent / (job_ == Job::List ? 1 : 2));
        else if (progress.books)
            progress_->setValue(job_ == Job::Restore
                                    ? std::min(90, *progress.books * 90 / bookCount)
                                    : 50 + std::min(50, *progress.books * 50 / bookCount));
        status_->setText(progress.text);
        lastLine_ = line;
    }
}

void CLibraryDialog::finished(int exitCode) {
    readProgress();
    const Job job = job_;
    setRunning(false);
    process_->deleteLater();
    process_ = nullptr;
    if (job == Job::Restore) {
        progress_->setValue(exitCode == 0 ? 100 : 0);
        if (exitCode != 0) {
            tell(QStringLiteral("견본으로 되돌리지 못했습니다. 바뀐 것은 없습니다.\n%1")
                     .arg(lastLine_));
            return;
        }
        status_->setText(QStringLiteral("%1 자리를 견본으로 되돌렸습니다.").arg(slotCode()));
        emit installed(slotCode());
        nameSlots();
        updateWarning();
        return;
    }
    if (job == Job::List) {
        progress_->setValue(exitCode == 0 ? 100 : 0);
        fillModules();
        const QString pending = std::exchange(pendingModule_, QString());
        if (exitCode != 0)
            tell(QStringLiteral("목록을 새로 받지 못했습니다. 있던 목록은 그대로 둡니다.\n%1")
                     .arg(lastLine_));
        else if (!pending.isEmpty() && selectModule(pending))
            startInstall();
        else if (!pending.isEmpty())
            tell(QStringLiteral("이 저장소에는 %1 모듈이 없습니다.").arg(pending));
        return;
    }
    if (exitCode != 0) {
        progress_->setValue(0);
        if (lastLine_.contains(QStringLiteral("저장할 수 없는 글자")) && !replace_ &&
            askToReplace()) {
            replace_ = true;
            startInstall();
            return;
        }
        tell(QStringLiteral("설치하지 못했습니다. 바뀐 것은 없습니다.\n%1").arg(lastLine_));
        return;
    }
    progress_->setValue(100);
    status_->setText(QStringLiteral("설치했습니다: %1").arg(readMkdbProgress(lastLine_).text));
    emit installed(slotCode());
    nameSlots();
    updateWarning();
}

// The text stays as published unless the reader agrees to "?" for what cannot be stored.
bool CLibraryDialog::askToReplace() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("성경 자료실"),
                    lastLine_ + QStringLiteral("\n\n이 글자들을 \"?\"로 바꾸어 설치하시겠습니까? "
                                               "본문이 출판된 그대로가 아니게 됩니다."),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("바꾸어 설치"));
    box.button(QMessageBox::No)->setText(QStringLiteral("설치하지 않음"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool CLibraryDialog::running() const {
    return process_ && process_->state() != QProcess::NotRunning;
}

void CLibraryDialog::setRunning(bool running) {
    installButton_->setEnabled(!running);
    refreshButton_->setEnabled(!running);
    sourceBox_->setEnabled(!running);
    list_->setEnabled(!running);
    slots_->setEnabled(!running);
    restoreButton_->setEnabled(!running && canRestoreSample());
    closeButton_->setText(running ? QStringLiteral("취소") : QStringLiteral("닫기"));
}

// While qel-mkdb runs, "취소" stops it (it removes what it wrote); otherwise it closes.
void CLibraryDialog::reject() {
    if (running()) {
        status_->setText(QStringLiteral("취소하는 중..."));
        process_->terminate();
        return;
    }
    QDialog::reject();
}

} // namespace qel
