#pragma once

#include "companion/journalstore.h"
#include "companion/planprogress.h"

#include <QMainWindow>
#include <memory>

class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QProgressBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace qel {

class CYearCalendar;
class ReaderLink;

// "성경 읽기 진도표": the plans a reader follows, today's readings, the days behind, the
// progress and a calendar of the plan's year.
class CPlanWindow : public QMainWindow {
    Q_OBJECT
public:
    CPlanWindow(std::shared_ptr<JournalStore> store, ReaderLink* reader, CivilDate today,
                QWidget* parent = nullptr);

    // Starts the plan chosen above the list on the chosen date.
    void startPlan(const std::string& code, const CivilDate& start);
    void selectPlan(const std::string& code);
    // Ticks off every reading from the first unread day through `day`.
    void catchUpTo(int day);
    void setDayRead(int day, bool read);
    void showDay(int day);

    QTreeWidget* readings() const { return readings_; }
    QProgressBar* progress() const { return progress_; }
    QLabel* statusLabel() const { return status_; }
    const PlanStatus& status() const { return planStatus_; }
    QString version() const;

private:
    QWidget* buildControls();
    QWidget* buildPlanView();
    void fillPlanList();
    void refresh();
    void fillReadings();
    QTreeWidgetItem* addDay(int day);
    void readingToggled(QTreeWidgetItem* item);
    void openReading(QTreeWidgetItem* item);
    void askCatchUp();
    void askRemove();

    std::shared_ptr<JournalStore> store_;
    ReaderLink* reader_;
    CivilDate today_;
    std::vector<PlanRun> runs_;
    const ReadingPlan* plan_ = nullptr;
    CivilDate start_;
    PlanMarks marks_;
    PlanStatus planStatus_;
    int shownDay_ = -1;
    bool filling_ = false;

    QComboBox* planChoice_;
    QDateEdit* startDate_;
    QComboBox* versionChoice_;
    QListWidget* planList_;
    QLabel* status_;
    QProgressBar* progress_;
    QTreeWidget* readings_;
    CYearCalendar* calendar_;
};

} // namespace qel
