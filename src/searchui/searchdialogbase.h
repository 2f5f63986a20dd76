#pragma once

#include "searchui/searchforms.h"
#include "searchui/searchrun.h"

#include <QDialog>
#include <QRect>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QButtonGroup;
class QHBoxLayout;

namespace qel {

class CGridCtrl;
class SearchChannel;

// Where the search dialogs find their engines, and how they open a result.
struct SearchDialogContext {
    std::string resultFile;        // the verse search's result file ("out.dat")
    std::string searchIndexFolder; // ends with "/"
    std::string wordIndexFolder;   // ends with "/"
    // Opens the place and answers the part of the screen that shows it (empty for none).
    std::function<QRect(const std::string& commandKey)> openCommandKey;
};

// What the verse search and the word search share: the query box, "찾기", "취소",
// "도움말", the status line, the result grid, one worker thread per search and the
// channel through which the worker reports to this thread. Hiding the dialog stops its
// search; destroying it waits for the worker.
class SearchDialogBase : public QDialog {
    Q_OBJECT
public:
    ~SearchDialogBase() override;

    // Message 1117: show, maximised or restored as last left, and activate.
    void showAndRestore();
    // Moves off the part of the screen `keepClear`, or minimises when no place beside it
    // holds the whole dialog.
    void stepAside(const QRect& keepClear);
    bool isSearching() const { return worker_.joinable(); }
    // Waits, without running events, until the worker asks the reader to choose; false
    // when it has not asked within the time.
    bool waitForChoiceRequest(int milliseconds);

    // True while idle and once a stop is asked; the worker checks it between steps.
    bool stopRequested() const { return stopRequested_.load(); }

    CGridCtrl* grid() const { return grid_; }
    QComboBox* queryBox() const { return query_; }
    QPushButton* findButton() const { return find_; }
    QPushButton* cancelButton() const { return cancel_; }
    QComboBox* rangeBox() const { return range_; }
    QButtonGroup* modeGroup() const { return modeGroup_; }
    QButtonGroup* typeGroup() const { return typeGroup_; }
    QString statusText() const;
    // The last help page shown, for the help button.
    QDialog* helpPage() const { return help_; }

    // The copied text of rows of the grid (selected or all), as the grid's copy commands
    // produce it.
    std::string copyRows(bool all);
    void OpenSelectedResult();

    // "찾기" and "취소".
    void OnFind();
    void OnCancel();

signals:
    // The worker ended and the dialog is idle again.
    void searchFinished();

protected:
    SearchDialogBase(SearchDialogContext context, const QString& title,
                     const QStringList& typeLabels, const QString& centerLabel, QWidget* parent);

    // The search of this dialog, run on the worker thread; it reads only what it was given.
    using Search = std::function<void(SearchSink&)>;
    // Takes the control values; an empty function starts nothing.
    virtual Search prepareSearch() = 0;
    virtual std::string copyLine(int row) const = 0;
    // The query text with the operators typed in it taken as the mode, which the mode
    // buttons then show.
    TypedQuery takeTypedMode();
    // The whole text of a row's verse: the grid shows it centred on the words found.
    std::string wholeVerseOf(int row) const;
    virtual std::string commandKeyOf(int row) const = 0;
    virtual QString helpHtml() const = 0;

    // Grid set-up: one header row, "권" 40, "장" 30, "절" 30, "본문" the rest.
    void setUpGrid();
    void addQueryToList(const QString& query);
    void fillRange(const QStringList& first3, const std::string& versionCode);

    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

    const SearchDialogContext context_;
    QHBoxLayout* options_;
    QComboBox* query_;
    QComboBox* range_;
    QButtonGroup* modeGroup_;
    QButtonGroup* typeGroup_;
    QCheckBox* center_;
    int m_nShowState = 0;

private:
    // Shared with the worker without a lock.
    std::atomic<bool> stopRequested_{true};
    friend class SearchChannel;
    void flush();
    void runChoice();
    void finishSearch();
    void showHelp();

    QPushButton* find_;
    QPushButton* cancel_;
    QPushButton* helpButton_;
    QLabel* status_;
    CGridCtrl* grid_;
    QDialog* help_ = nullptr;
    QRect m_rcChoice{-9999, 0, 0, 0};
    std::unique_ptr<SearchChannel> channel_;
    std::thread worker_;
    bool showingMessages_ = false;
    std::vector<std::string> messages_;
};

} // namespace qel
