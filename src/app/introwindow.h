#pragma once

#include <QWidget>

namespace qel {

// The full-screen intro popup. Any key or mouse press anywhere closes it; the event that
// closes it goes no further.
class IntroWindow : public QWidget {
    Q_OBJECT
public:
    explicit IntroWindow(QWidget* owner);
    ~IntroWindow() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qel
