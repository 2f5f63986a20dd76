#pragma once

#include <QMainWindow>
#include <string>

class QMdiArea;

namespace qel {

// The main window: an MDI area for the reading windows.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(std::string pendingCommandKey);

    // Answers a second start: back to maximised if it was maximised before it was
    // minimised, else restored, and activated.
    void showAndActivate();

    QMdiArea* mdiArea() const { return mdiArea_; }
    // The place named on the command line, opened once the frame has painted.
    const std::string& pendingCommandKey() const { return pendingCommandKey_; }
    bool firstPaintDone() const { return firstPaintDone_; }

signals:
    void firstPainted();

protected:
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    QMdiArea* mdiArea_;
    std::string pendingCommandKey_;
    bool wasMaximized_ = false;
    bool firstPaintDone_ = false;
};

} // namespace qel
