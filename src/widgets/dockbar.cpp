#include "widgets/dockbar.h"

#include "platform/appcontext.h"

#include <QMainWindow>
#include <QScreen>
#include <QTimer>

namespace qel {

CDockBar::CDockBar(const QString& title, AppContext& context, std::string owner, int barId,
                   const DockBarSizes& defaults, QMainWindow* parent)
    : QDockWidget(title, parent), context_(context), section_(dockBarSection(owner, barId)),
      sizes_(context.store ? loadDockBarSizes(*context.store, section_, defaults) : defaults) {
    setMinimumSize(kDockBarMinimum, kDockBarMinimum);
    connect(this, &QDockWidget::dockLocationChanged, this, [this] { applySizes(); });
    connect(this, &QDockWidget::topLevelChanged, this, [this] { applySizes(); });
}

CDockBar::~CDockBar() {
    saveSizes();
}

void CDockBar::saveSizes() noexcept {
    if (context_.store)
        saveDockBarSizes(*context_.store, section_, sizes_);
}

QMainWindow* CDockBar::host() const {
    return qobject_cast<QMainWindow*>(parentWidget());
}

QSize CDockBar::keptSize() const {
    QMainWindow* window = host();
    if (isFloating() || !window) {
        const QScreen* screen = this->screen();
        const QSize room =
            screen ? screen->availableSize() : QSize(sizes_.floating.cx, sizes_.floating.cy);
        return {dockBarExtent(sizes_.floating.cx, room.width()),
                dockBarExtent(sizes_.floating.cy, room.height())};
    }
    // Qt asks for a mutable bar but only reads it.
    const Qt::DockWidgetArea area = window->dockWidgetArea(const_cast<CDockBar*>(this));
    if (area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea)
        return {dockBarExtent(sizes_.horz.cx, window->width()),
                dockBarExtent(sizes_.horz.cy, window->height())};
    return {dockBarExtent(sizes_.vert.cx, window->width()),
            dockBarExtent(sizes_.vert.cy, window->height())};
}

QSize CDockBar::sizeHint() const {
    return keptSize();
}

void CDockBar::applySizes() {
    const QSize size = keptSize();
    applying_ = true;
    if (isFloating()) {
        resize(size);
    } else if (QMainWindow* window = host()) {
        const Qt::DockWidgetArea area = window->dockWidgetArea(this);
        if (area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea)
            window->resizeDocks({this}, {size.height()}, Qt::Vertical);
        else
            window->resizeDocks({this}, {size.width()}, Qt::Horizontal);
    }
    applying_ = false;
}

void CDockBar::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    if (recording_)
        return;
    // The main window lays its docks out after they show.
    QTimer::singleShot(0, this, [this] {
        applySizes();
        recording_ = true;
    });
}

void CDockBar::resizeEvent(QResizeEvent* event) {
    QDockWidget::resizeEvent(event);
    QMainWindow* window = host();
    if (!recording_ || applying_ || !isVisible() || !window || !window->isVisible())
        return;
    const DockBarSizes::Size now{width(), height()};
    if (isFloating()) {
        sizes_.floating = now;
        return;
    }
    const Qt::DockWidgetArea area = window->dockWidgetArea(this);
    if (area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea)
        sizes_.horz = now;
    else
        sizes_.vert = now;
}

} // namespace qel
