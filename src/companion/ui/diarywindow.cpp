#include "companion/ui/diarywindow.h"

#include "bible/booktable.h"
#include "bible/editions.h"
#include "companion/planprogress.h"
#include "companion/readingplan.h"
#include "companion/ui/readerlink.h"
#include "platform/codec.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTextCharFormat>
#include <QVBoxLayout>

namespace qel {
namespace {

constexpr int kDelayMs = 1000;

CivilDate civilOf(const QDate& d) {
    return {d.year(), d.month(), d.day()};
}

QDate qdateOf(const CivilDate& d) {
    return QDate(d.year, d.month, d.day);
}

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

CDiaryWindow::CDiaryWindow(std::shared_ptr<JournalStore> store, ReaderLink* reader, CivilDate today,
                           QWidget* parent)
    : QMainWindow(parent), store_(std::move(store)), reader_(reader), today_(today) {
    setWindowTitle(QStringLiteral("매일 성경 읽기 (경건 일기장)"));
    // Month and weekday names of the calendars in Korean, whatever the system's locale.
    setLocale(QLocale(QLocale::Korean, QLocale::SouthKorea));
    auto* splitter = new QSplitter(this);
    splitter->addWidget(buildSide());
    splitter->addWidget(buildPage());
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);
    statusBar();
    saveTimer_.setSingleShot(true);
    connect(&saveTimer_, &QTimer::timeout, this, &CDiaryWindow::save);
    connect(reader_, &ReaderLink::finished, this,
            [this](ReaderLink::Outcome outcome, const QString&) {
                if (outcome == ReaderLink::Outcome::Failed)
                    statusBar()->showMessage(QStringLiteral("성경 프로그램을 열 수 없습니다."));
            });
    markEntryDays();
    showDate(today_);
    resize(1000, 700);
}

CDiaryWindow::~CDiaryWindow() {
    try {
        save();
    } catch (const std::exception& e) {
        qWarning("qeldiary: %s", e.what());
    }
}

QWidget* CDiaryWindow::buildSide() {
    auto* side = new QWidget(this);
    auto* layout = new QVBoxLayout(side);
    calendar_ = new QCalendarWidget(side);
    calendar_->setFirstDayOfWeek(Qt::Sunday);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    searchBox_ = new QLineEdit(side);
    searchBox_->setPlaceholderText(QStringLiteral("일기 찾기"));
    searchBox_->setClearButtonEnabled(true);
    found_ = new QListWidget(side);
    layout->addWidget(calendar_);
    layout->addWidget(searchBox_);
    layout->addWidget(found_, 1);
    connect(calendar_, &QCalendarWidget::clicked, this,
            [this](const QDate& d) { showDate(civilOf(d)); });
    connect(searchBox_, &QLineEdit::textChanged, this, &CDiaryWindow::search);
    connect(found_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (const auto d = parseIsoDate(item->data(Qt::UserRole).toString().toStdString()))
            showDate(*d);
    });
    return side;
}

QWidget* CDiaryWindow::buildPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    dateLabel_ = new QLabel(page);
    QFont big = dateLabel_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    dateLabel_->setFont(big);
    title_ = new QLineEdit(page);
    passage_ = new QLineEdit(page);
    planChoice_ = new QComboBox(page);
    book_ = new QComboBox(page);
    for (const BookRow& row : bookTableOf(kKoreanEdition))
        book_->addItem(text(cp949ToUtf8(row.name)), QString::fromStdString(row.code));
    chapter_ = new QSpinBox(page);
    chapter_->setRange(1, 150);
    version_ = new QComboBox(page);
    for (const Edition& v : editionTable())
        version_->addItem(text(cp949ToUtf8(v.windowTitle)), QString::fromLatin1(v.code));
    auto* pick = new QPushButton(QStringLiteral("넣기"), page);
    auto* open = new QPushButton(QStringLiteral("성경에서 열기"), page);
    prayer_ = new QLineEdit(page);
    body_ = new QPlainTextEdit(page);
    body_->setPlaceholderText(QStringLiteral("오늘 말씀에서 받은 은혜, 묵상, 적용을 적어 보세요."));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("제목"), title_);
    auto* passageRow = new QHBoxLayout;
    passageRow->addWidget(passage_, 1);
    passageRow->addWidget(version_);
    passageRow->addWidget(open);
    form->addRow(QStringLiteral("본문"), passageRow);
    auto* pickRow = new QHBoxLayout;
    pickRow->addWidget(planChoice_, 1);
    pickRow->addWidget(book_);
    pickRow->addWidget(chapter_);
    pickRow->addWidget(pick);
    form->addRow(QStringLiteral("본문 고르기"), pickRow);
    form->addRow(QStringLiteral("기도 제목"), prayer_);
    layout->addWidget(dateLabel_);
    layout->addLayout(form);
    layout->addWidget(body_, 1);

    planChoice_->addItem(QStringLiteral("읽기 계획의 오늘 본문…"));
    for (const PlanRun& run : store_->plans())
        if (const ReadingPlan* plan = findReadingPlan(run.plan))
            planChoice_->addItem(text(plan->title), text(plan->code));
    connect(planChoice_, &QComboBox::activated, this, [this](int index) {
        if (index > 0)
            takePlanPassage(planChoice_->itemData(index).toString().toStdString());
        planChoice_->setCurrentIndex(0);
    });
    connect(pick, &QPushButton::clicked, this, &CDiaryWindow::pickPassage);
    connect(open, &QPushButton::clicked, this, &CDiaryWindow::openPassage);
    for (QLineEdit* edit : {title_, passage_, prayer_})
        connect(edit, &QLineEdit::textEdited, this, &CDiaryWindow::changed);
    connect(body_, &QPlainTextEdit::textChanged, this, &CDiaryWindow::changed);
    return page;
}

void CDiaryWindow::markEntryDays() {
    calendar_->setDateTextFormat(QDate(), QTextCharFormat());
    QTextCharFormat written;
    written.setFontWeight(QFont::Bold);
    written.setBackground(QColor(0xc8, 0xe6, 0xc9));
    for (const std::string& date : store_->entryDates())
        if (const auto d = parseIsoDate(date))
            calendar_->setDateTextFormat(qdateOf(*d), written);
}

void CDiaryWindow::showDate(const CivilDate& date) {
    save();
    loading_ = true;
    entry_ = store_->entry(isoDate(date)).value_or(DiaryEntry{isoDate(date), {}, {}, {}, {}, {}});
    dateLabel_->setText(locale().toString(qdateOf(date), QStringLiteral("yyyy년 M월 d일 dddd")) +
                        (date == today_ ? QStringLiteral(" (오늘)") : QString()));
    title_->setText(text(entry_.title));
    passage_->setText(text(entry_.passage));
    prayer_->setText(text(entry_.prayer));
    body_->setPlainText(text(entry_.body));
    calendar_->setSelectedDate(qdateOf(date));
    loading_ = false;
}

void CDiaryWindow::changed() {
    if (loading_)
        return;
    entry_.title = title_->text().toStdString();
    entry_.passage = passage_->text().toStdString();
    entry_.prayer = prayer_->text().toStdString();
    entry_.body = body_->toPlainText().toStdString();
    saveTimer_.start(kDelayMs);
}

void CDiaryWindow::save() {
    if (!saveTimer_.isActive())
        return;
    saveTimer_.stop();
    try {
        store_->saveEntry(entry_);
        statusBar()->showMessage(QStringLiteral("저장했습니다."), 2000);
    } catch (const DatabaseError& e) {
        QMessageBox::warning(this, QStringLiteral("경건 일기장"),
                             QStringLiteral("일기를 저장하지 못했습니다.\n%1").arg(e.what()));
        return;
    }
    markEntryDays();
}

void CDiaryWindow::takePlanPassage(const std::string& planCode) {
    const ReadingPlan* plan = findReadingPlan(planCode);
    if (!plan)
        return;
    for (const PlanRun& run : store_->plans()) {
        if (run.plan != planCode)
            continue;
        const int day = dayNumber(*parseIsoDate(entry_.date)) - dayNumber(run.start);
        if (day < 0 || day >= static_cast<int>(plan->days.size())) {
            statusBar()->showMessage(QStringLiteral("이 날은 그 계획의 기간 밖입니다."), 4000);
            return;
        }
        QStringList labels;
        for (const Reading& r : plan->days[day].readings)
            labels << text(readingLabel(r));
        passage_->setText(labels.join(QStringLiteral(", ")));
        entry_.passageKey = plan->days[day].readings.front().book + ":" +
                            std::to_string(plan->days[day].readings.front().chapterFrom) + ":" +
                            std::to_string(std::max(plan->days[day].readings.front().verseFrom, 1));
        changed();
        return;
    }
}

void CDiaryWindow::pickPassage() {
    const Reading r{book_->currentData().toString().toStdString(), chapter_->value(),
                    chapter_->value()};
    passage_->setText(text(readingLabel(r)));
    entry_.passageKey = r.book + ":" + std::to_string(r.chapterFrom) + ":1";
    changed();
}

void CDiaryWindow::openPassage() {
    // The key is kept without a version ("jhn:3:16"), so the reader may choose it here.
    const QStringList parts = text(entry_.passageKey).split(':');
    if (parts.size() != 3) {
        statusBar()->showMessage(QStringLiteral("먼저 본문을 고르세요."), 4000);
        return;
    }
    const Reading r{parts[0].toStdString(), parts[1].toInt(), parts[1].toInt(), parts[2].toInt(),
                    parts[2].toInt()};
    reader_->open(text(readingCommandKey(r, version_->currentData().toString().toStdString())));
}

QStringList CDiaryWindow::search(const QString& query) {
    found_->clear();
    QStringList dates;
    if (query.trimmed().isEmpty())
        return dates;
    for (const DiaryEntry& e : store_->search(query.trimmed().toStdString())) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1  %2").arg(text(e.date), text(e.title.empty() ? e.passage : e.title)),
            found_);
        item->setData(Qt::UserRole, text(e.date));
        dates << text(e.date);
    }
    return dates;
}

void CDiaryWindow::closeEvent(QCloseEvent* event) {
    save();
    QMainWindow::closeEvent(event);
}

} // namespace qel
