#include "companion/ui/planwindow.h"

#include "bible/editions.h"
#include "companion/ui/readerlink.h"
#include "companion/ui/yearcalendar.h"
#include "platform/codec.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qel {
namespace {

constexpr int kDayRole = Qt::UserRole;
constexpr int kReadingRole = Qt::UserRole + 1;
// Days behind listed one by one; more are caught up with the button.
constexpr int kBehindShown = 14;
const QString kNoPlan =
    QStringLiteral("왼쪽에서 읽기 계획과 시작일을 고르고 '새 계획 시작'을 누르세요.");

QString dateText(const CivilDate& d) {
    static const char* kWeekdays[] = {"일", "월", "화", "수", "목", "금", "토"};
    return QStringLiteral("%1월 %2일 (%3)")
        .arg(d.month)
        .arg(d.day)
        .arg(QString::fromUtf8(kWeekdays[(dayNumber(d) + 4) % 7]));
}

QDate qdateOf(const CivilDate& d) {
    return QDate(d.year, d.month, d.day);
}

} // namespace

CPlanWindow::CPlanWindow(std::shared_ptr<JournalStore> store, ReaderLink* reader, CivilDate today,
                         QWidget* parent)
    : QMainWindow(parent), store_(std::move(store)), reader_(reader), today_(today) {
    setWindowTitle(QStringLiteral("성경 읽기 진도표"));
    // Month and weekday names of the calendars in Korean, whatever the system's locale.
    setLocale(QLocale(QLocale::Korean, QLocale::SouthKorea));
    auto* splitter = new QSplitter(this);
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->addWidget(buildControls());
    leftLayout->addWidget(new QLabel(QStringLiteral("따라 읽는 계획"), left));
    planList_ = new QListWidget(left);
    leftLayout->addWidget(planList_, 1);
    auto* remove = new QPushButton(QStringLiteral("이 계획 그만두기…"), left);
    leftLayout->addWidget(remove);
    splitter->addWidget(left);
    splitter->addWidget(buildPlanView());
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);
    statusBar();
    connect(planList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < static_cast<int>(runs_.size()))
            selectPlan(runs_[row].plan);
    });
    connect(remove, &QPushButton::clicked, this, &CPlanWindow::askRemove);
    connect(reader_, &ReaderLink::finished, this,
            [this](ReaderLink::Outcome outcome, const QString&) {
                if (outcome == ReaderLink::Outcome::Failed)
                    statusBar()->showMessage(QStringLiteral("성경 프로그램을 열 수 없습니다."));
            });
    fillPlanList();
    if (!runs_.empty())
        planList_->setCurrentRow(0);
    else
        status_->setText(kNoPlan);
    resize(1000, 720);
}

QWidget* CPlanWindow::buildControls() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    planChoice_ = new QComboBox(box);
    for (const ReadingPlan& plan : readingPlans()) {
        planChoice_->addItem(QString::fromStdString(plan.title), QString::fromStdString(plan.code));
        planChoice_->setItemData(planChoice_->count() - 1, QString::fromStdString(plan.description),
                                 Qt::ToolTipRole);
    }
    startDate_ = new QDateEdit(qdateOf(today_), box);
    startDate_->setCalendarPopup(true);
    startDate_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    auto* start = new QPushButton(QStringLiteral("새 계획 시작"), box);
    versionChoice_ = new QComboBox(box);
    for (const Edition& v : editionTable())
        versionChoice_->addItem(QString::fromStdString(cp949ToUtf8(v.windowTitle)),
                                QString::fromLatin1(v.code));
    layout->addWidget(new QLabel(QStringLiteral("읽기 계획"), box));
    layout->addWidget(planChoice_);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(new QLabel(QStringLiteral("시작일"), box));
    dateRow->addWidget(startDate_, 1);
    layout->addLayout(dateRow);
    layout->addWidget(start);
    layout->addWidget(new QLabel(QStringLiteral("본문을 열 역본"), box));
    layout->addWidget(versionChoice_);
    connect(start, &QPushButton::clicked, this, [this] {
        const QDate d = startDate_->date();
        startPlan(planChoice_->currentData().toString().toStdString(),
                  {d.year(), d.month(), d.day()});
    });
    return box;
}

QWidget* CPlanWindow::buildPlanView() {
    auto* view = new QWidget(this);
    auto* layout = new QVBoxLayout(view);
    status_ = new QLabel(view);
    status_->setWordWrap(true);
    QFont bold = status_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    status_->setFont(bold);
    progress_ = new QProgressBar(view);
    readings_ = new QTreeWidget(view);
    readings_->setHeaderLabels({QStringLiteral("읽을 분량 (두 번 누르면 성경에서 엽니다)")});
    readings_->header()->setStretchLastSection(true);
    auto* buttons = new QHBoxLayout;
    auto* dayRead = new QPushButton(QStringLiteral("이 날 모두 읽음"), view);
    auto* catchUp = new QPushButton(QStringLiteral("밀린 읽기 몰아 읽기…"), view);
    buttons->addWidget(dayRead);
    buttons->addWidget(catchUp);
    buttons->addStretch(1);
    calendar_ = new CYearCalendar(view);
    auto* scroll = new QScrollArea(view);
    scroll->setWidget(calendar_);
    scroll->setWidgetResizable(false);
    layout->addWidget(status_);
    layout->addWidget(progress_);
    layout->addWidget(readings_, 1);
    layout->addLayout(buttons);
    layout->addWidget(scroll, 1);
    connect(readings_, &QTreeWidget::itemChanged, this, &CPlanWindow::readingToggled);
    connect(readings_, &QTreeWidget::itemDoubleClicked, this, &CPlanWindow::openReading);
    connect(dayRead, &QPushButton::clicked, this, [this] {
        const QTreeWidgetItem* item = readings_->currentItem();
        if (item)
            setDayRead(item->data(0, kDayRole).toInt(), true);
    });
    connect(catchUp, &QPushButton::clicked, this, &CPlanWindow::askCatchUp);
    connect(calendar_, &CYearCalendar::dayClicked, this, &CPlanWindow::showDay);
    return view;
}

QString CPlanWindow::version() const {
    return versionChoice_->currentData().toString();
}

void CPlanWindow::fillPlanList() {
    runs_ = store_->plans();
    const QSignalBlocker block(planList_);
    planList_->clear();
    for (const PlanRun& run : runs_)
        if (const ReadingPlan* plan = findReadingPlan(run.plan)) {
            const PlanStatus s = planStatus(*plan, run.start, store_->marks(run.plan), today_);
            planList_->addItem(QStringLiteral("%1\n  %2 시작 · %3%")
                                   .arg(QString::fromStdString(plan->title),
                                        QString::fromStdString(isoDate(run.start)))
                                   .arg(s.percent()));
        }
}

void CPlanWindow::startPlan(const std::string& code, const CivilDate& start) {
    if (!findReadingPlan(code))
        return;
    store_->startPlan(code, start);
    fillPlanList();
    selectPlan(code);
}

void CPlanWindow::selectPlan(const std::string& code) {
    for (std::size_t i = 0; i < runs_.size(); ++i)
        if (runs_[i].plan == code) {
            plan_ = findReadingPlan(code);
            start_ = runs_[i].start;
            shownDay_ = -1;
            const QSignalBlocker block(planList_);
            planList_->setCurrentRow(static_cast<int>(i));
            refresh();
            return;
        }
}

void CPlanWindow::refresh() {
    if (!plan_)
        return;
    marks_ = store_->marks(plan_->code);
    planStatus_ = planStatus(*plan_, start_, marks_, today_);
    const PlanStatus& s = planStatus_;
    const int length = static_cast<int>(plan_->days.size());
    QString where;
    if (s.today < 0)
        where = QStringLiteral("%1일 뒤에 시작합니다").arg(-s.today);
    else if (s.today >= length)
        where = QStringLiteral("계획 기간이 끝났습니다");
    else
        where = QStringLiteral("오늘은 %1일째 (전체 %2일)").arg(s.today + 1).arg(length);
    const QString pace = s.daysBehind > 0   ? QStringLiteral("%1일 밀림").arg(s.daysBehind)
                         : s.daysBehind < 0 ? QStringLiteral("%1일 앞섬").arg(-s.daysBehind)
                                            : QStringLiteral("진도에 맞음");
    status_->setText(
        QStringLiteral("%1 — %2 · %3").arg(QString::fromStdString(plan_->title), where, pace));
    progress_->setRange(0, s.chapters);
    progress_->setValue(s.chaptersRead);
    progress_->setFormat(
        QStringLiteral("%1장 / %2장 (%3%)").arg(s.chaptersRead).arg(s.chapters).arg(s.percent()));
    calendar_->setPlan(plan_, start_, &marks_, s.today);
    calendar_->resize(calendar_->sizeHint());
    fillReadings();
}

QTreeWidgetItem* CPlanWindow::addDay(int day) {
    const CivilDate date = civilDate(dayNumber(start_) + day);
    auto* item = new QTreeWidgetItem(readings_);
    QString text = QStringLiteral("%1일째 · %2").arg(day + 1).arg(dateText(date));
    if (day == planStatus_.today)
        text += QStringLiteral(" · 오늘");
    else if (day < planStatus_.today)
        text += QStringLiteral(" · 밀린 읽기");
    item->setText(0, text);
    item->setData(0, kDayRole, day);
    const auto& list = plan_->days[day].readings;
    for (std::size_t r = 0; r < list.size(); ++r) {
        auto* child = new QTreeWidgetItem(item);
        child->setText(0, QString::fromStdString(readingLabel(list[r])));
        child->setData(0, kDayRole, day);
        child->setData(0, kReadingRole, static_cast<int>(r));
        child->setFlags(child->flags() | Qt::ItemIsUserCheckable);
        child->setCheckState(0, marks_.count({day, static_cast<int>(r)}) ? Qt::Checked
                                                                         : Qt::Unchecked);
    }
    item->setExpanded(true);
    return item;
}

void CPlanWindow::fillReadings() {
    filling_ = true;
    readings_->clear();
    const int length = static_cast<int>(plan_->days.size());
    const int today = planStatus_.today;
    int shown = 0, hidden = 0;
    for (int day = planStatus_.firstUnreadDay; day < std::min(today, length); ++day) {
        if (dayState(*plan_, day, today, marks_) == DayState::Read)
            continue;
        if (shown++ < kBehindShown)
            addDay(day);
        else
            ++hidden;
    }
    if (hidden > 0)
        new QTreeWidgetItem(readings_,
                            {QStringLiteral("… 밀린 날이 %1일 더 있습니다").arg(hidden)});
    if (today >= 0 && today < length)
        readings_->setCurrentItem(addDay(today));
    if (shownDay_ >= 0 && shownDay_ != today &&
        dayState(*plan_, shownDay_, today, marks_) != DayState::Missed)
        readings_->setCurrentItem(addDay(shownDay_));
    if (shownDay_ >= 0)
        for (int i = 0; i < readings_->topLevelItemCount(); ++i)
            if (readings_->topLevelItem(i)->data(0, kDayRole) == shownDay_)
                readings_->setCurrentItem(readings_->topLevelItem(i));
    filling_ = false;
}

void CPlanWindow::showDay(int day) {
    shownDay_ = day;
    fillReadings();
}

void CPlanWindow::readingToggled(QTreeWidgetItem* item) {
    if (filling_ || !plan_ || !item->parent())
        return;
    const int day = item->data(0, kDayRole).toInt();
    const int reading = item->data(0, kReadingRole).toInt();
    store_->setRead(plan_->code, day, reading, item->checkState(0) == Qt::Checked, today_);
    shownDay_ = day;
    refresh();
    fillPlanList();
}

void CPlanWindow::setDayRead(int day, bool read) {
    if (!plan_)
        return;
    store_->setDaysRead(plan_->code, *plan_, day, day, read, today_);
    shownDay_ = day;
    refresh();
    fillPlanList();
}

void CPlanWindow::catchUpTo(int day) {
    if (!plan_)
        return;
    store_->setDaysRead(plan_->code, *plan_, planStatus_.firstUnreadDay, day, true, today_);
    refresh();
    fillPlanList();
}

void CPlanWindow::askCatchUp() {
    if (!plan_)
        return;
    const QTreeWidgetItem* item = readings_->currentItem();
    const int to = item ? item->data(0, kDayRole).toInt() : planStatus_.today;
    const int from = planStatus_.firstUnreadDay;
    if (to < from) {
        statusBar()->showMessage(QStringLiteral("밀린 읽기가 없습니다."), 4000);
        return;
    }
    const auto date = [this](int day) { return dateText(civilDate(dayNumber(start_) + day)); };
    if (QMessageBox::question(this, QStringLiteral("밀린 읽기 몰아 읽기"),
                              QStringLiteral("%1부터 %2까지 %3일치 읽기를 모두 읽음으로 "
                                             "표시할까요?")
                                  .arg(date(from), date(to))
                                  .arg(to - from + 1)) == QMessageBox::Yes)
        catchUpTo(to);
}

void CPlanWindow::askRemove() {
    if (!plan_)
        return;
    if (QMessageBox::question(this, QStringLiteral("계획 그만두기"),
                              QStringLiteral("'%1' 계획과 지금까지의 읽음 표시를 지울까요?")
                                  .arg(QString::fromStdString(plan_->title))) != QMessageBox::Yes)
        return;
    store_->removePlan(plan_->code);
    plan_ = nullptr;
    readings_->clear();
    status_->setText(kNoPlan);
    progress_->reset();
    calendar_->setPlan(nullptr, {}, nullptr, 0);
    fillPlanList();
    if (!runs_.empty())
        planList_->setCurrentRow(0);
}

void CPlanWindow::openReading(QTreeWidgetItem* item) {
    if (!plan_ || !item->parent())
        return;
    const Reading& r =
        plan_->days[item->data(0, kDayRole).toInt()].readings[item->data(0, kReadingRole).toInt()];
    const QString key = QString::fromStdString(readingCommandKey(r, version().toStdString()));
    statusBar()->showMessage(
        QStringLiteral("성경에서 엽니다: %1").arg(QString::fromStdString(readingLabel(r))), 4000);
    reader_->open(key);
}

} // namespace qel
