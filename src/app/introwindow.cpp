#include "app/introwindow.h"

#include "platform/apptitle.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>

namespace qel {

IntroWindow::IntroWindow(QWidget* owner) : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::ArrowCursor);
    setGeometry(QGuiApplication::primaryScreen()->geometry());
    qApp->installEventFilter(this);
}

IntroWindow::~IntroWindow() {
    qApp->removeEventFilter(this);
}

bool IntroWindow::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        close();
        if (QWidget* owner = parentWidget())
            owner->update();
        return true;
    default:
        return false;
    }
}

void IntroWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    QFont font = painter.font();
    font.setPixelSize(height() / 12);
    painter.setFont(font);
    painter.drawText(rect(), Qt::AlignCenter, QString::fromUtf8(kApplicationTitle));
}

} // namespace qel
