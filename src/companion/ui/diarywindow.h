#pragma once

#include "companion/journalstore.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

class QCalendarWidget;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSpinBox;

namespace qel {

class ReaderLink;

// "매일 성경 읽기(경건 일기장)": one page a day with its passage, title, prayer and text,
// a calendar of the days written, and a search of all pages. Changes are saved a moment
// after the last keystroke, when the day changes and when the window closes.
class CDiaryWindow : public QMainWindow {
    Q_OBJECT
public:
    CDiaryWindow(std::shared_ptr<JournalStore> store, ReaderLink* reader, CivilDate today,
                 QWidget* parent = nullptr);
    ~CDiaryWindow() override;

    void showDate(const CivilDate& date);
    // Fills the passage with today's readings of a plan the reader follows.
    void takePlanPassage(const std::string& planCode);
    void save();
    void openPassage();
    QStringList search(const QString& text);

    QLineEdit* titleEdit() const { return title_; }
    QLineEdit* passageEdit() const { return passage_; }
    QLineEdit* prayerEdit() const { return prayer_; }
    QPlainTextEdit* bodyEdit() const { return body_; }
    QCalendarWidget* calendar() const { return calendar_; }
    const DiaryEntry& entry() const { return entry_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildSide();
    QWidget* buildPage();
    void markEntryDays();
    void changed();
    void pickPassage();

    std::shared_ptr<JournalStore> store_;
    ReaderLink* reader_;
    CivilDate today_;
    DiaryEntry entry_;
    bool loading_ = false;
    QTimer saveTimer_;

    QCalendarWidget* calendar_;
    QLineEdit* searchBox_;
    QListWidget* found_;
    QLabel* dateLabel_;
    QLineEdit* title_;
    QLineEdit* passage_;
    QComboBox* planChoice_;
    QComboBox* book_;
    QSpinBox* chapter_;
    QComboBox* version_;
    QLineEdit* prayer_;
    QPlainTextEdit* body_;
};

} // namespace qel
