#pragma once

#include "platform/apppaths.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QProcess;
class QProgressBar;
class QPushButton;

namespace qel {

struct AppContext;

// "역본 가져오기": puts a SWORD module, an OSIS file or a USFM folder into an edition slot.
// qel-mkdb does the work as a separate process, so a cancel or a failure cannot leave the
// program's content database half written; the dialog shows its progress.
class CImportDialog : public QDialog {
    Q_OBJECT
public:
    CImportDialog(AppContext& context, QString mkdbProgram, QWidget* parent = nullptr);
    ~CImportDialog() override;

    // The content database the import writes.
    QString databasePath() const;
    AppPaths::ImportTarget target() const;
    bool running() const;

    // For tests and the screenshot: choose a source and a slot as the user would.
    void selectSource(const QString& source);
    void selectSlot(const QString& code);
    QString warningText() const;
    void startImport();

signals:
    // The import finished and replaced the database; the caller reopens it.
    void imported(const QString& code);

protected:
    void reject() override;

private:
    void fillModules();
    void chooseOsisFile();
    void chooseUsfmFolder();
    void addCustomSource(const QString& path, const QString& label);
    void updateWarning();
    void readProgress();
    void importFinished(int exitCode);
    QString slotCode() const;
    void setRunning(bool running);

    AppContext& context_;
    QString mkdbProgram_;
    QListWidget* sources_;
    QComboBox* slots_;
    QLabel* warning_;
    QCheckBox* replace_;
    QProgressBar* progress_;
    QLabel* status_;
    QPushButton* importButton_;
    QPushButton* cancelButton_;
    QProcess* process_ = nullptr;
    QString lastError_;
    QByteArray pending_;
};

} // namespace qel
