#include "app/mainframe.h"

#include <QEvent>
#include <QMdiArea>
#include <QStatusBar>
#include <QTimer>

namespace qel {

CMainFrame::CMainFrame(std::string pendingCommandKey)
    : mdiArea_(new QMdiArea(this)), pendingCommandKey_(std::move(pendingCommandKey)) {
    setWindowTitle(QStringLiteral("QEL CD-ROM 성경"));
    setCentralWidget(mdiArea_);
    statusBar()->showMessage(QStringLiteral("준비"));
    resize(1024, 720);
}

void CMainFrame::showAndActivate() {
    if (isMinimized())
        wasMaximized_ ? showMaximized() : showNormal();
    else if (isHidden())
        show();
    raise();
    activateWindow();
}

void CMainFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        wasMaximized_ = isMaximized();
    QMainWindow::changeEvent(event);
}

bool CMainFrame::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    // The central widget covers the frame, so the first paint of any part counts.
    if (!firstPaintDone_ &&
        (event->type() == QEvent::UpdateRequest || event->type() == QEvent::Paint)) {
        firstPaintDone_ = true;
        QTimer::singleShot(0, this, &CMainFrame::firstPainted);
    }
    return handled;
}

} // namespace qel
