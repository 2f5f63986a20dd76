#pragma once

#include "bible/swordsources.h"
#include "platform/apppaths.h"

#include <QDialog>
#include <QString>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QProcess;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace qel {

struct AppContext;

// "성경 자료실": the Bibles of the SWORD repositories, and their install into an edition
// slot. qel-mkdb refreshes the lists and installs as a separate process, so that a cancel
// or a failure cannot leave the content database half written.
class CLibraryDialog : public QDialog {
    Q_OBJECT
public:
    CLibraryDialog(AppContext& context, QString mkdbProgram, QWidget* parent = nullptr);
    ~CLibraryDialog() override;

    bool running() const;

    // For tests, the first-start bar and the screenshot: as the user would choose.
    void selectSource(const QString& nameOrAddress);
    bool selectModule(const QString& module);
    void selectSlot(const QString& code);
    void setFilter(const QString& language, const QString& text);
    QString slotCode() const;
    QString warningText() const;
    QString detailsText() const;
    QString statusText() const;
    QStringList listedModules() const;
    void refresh();
    void startInstall();
    // Installs the module of the current source; its list is fetched first when needed.
    void installWhenListed(const QString& module);
    // "견본으로 되돌리기": the chosen slot's sample back, once the reader confirms.
    void restoreSample();
    // The same without asking (tests).
    void startRestore();
    // The chosen slot holds another text and the data keeps its sample.
    bool canRestoreSample() const;

signals:
    // An install or the return of a sample replaced the content database; the caller
    // reopens it.
    void installed(const QString& code);

protected:
    void reject() override;

private:
    void buildLayout();
    QWidget* buildSourceRow();
    QWidget* buildFilterRow();
    QWidget* buildSlotRow();
    QWidget* buildButtonRow();
    void fillSources();
    void nameSlots();
    void fillModules();
    void fillLanguages();
    void showDetails();
    void chooseDefaultSlot();
    void updateWarning();
    void addSource();
    bool mayUseNetwork();
    bool askToReplace();
    const SwordSource* currentSource() const;
    const SwordModule* currentModule() const;
    enum class Job { List, Install, Restore };
    void run(const QStringList& args, Job job);
    QStringList targetArgs(); // --db, and --seed-from when the reader's copy is still to be made
    void readProgress();
    void finished(int exitCode);
    void setRunning(bool running);

    AppContext& context_;
    QString mkdbProgram_;
    std::vector<SwordSource> sources_;
    std::vector<SwordModule> modules_;
    QComboBox* sourceBox_;
    QComboBox* languageBox_;
    QLineEdit* searchBox_;
    QTreeWidget* list_;
    QLabel* details_;
    QComboBox* slots_;
    QLabel* warning_;
    QProgressBar* progress_;
    QLabel* status_;
    QPushButton* refreshButton_;
    QPushButton* installButton_;
    QPushButton* restoreButton_;
    QPushButton* closeButton_;
    QProcess* process_ = nullptr;
    Job job_ = Job::List;
    QString pendingModule_;
    bool replace_ = false; // the next install turns unstorable characters into "?"
    QString lastLine_;
    QByteArray pending_;
};

} // namespace qel
