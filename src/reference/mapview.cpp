#include "reference/mapview.h"

#include "platform/appcontext.h"
#include "platform/apptitle.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "reference/maplegend.h"
#include "richtext/layoutrules.h"
#include "richtext/qtsurface.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

namespace qel {

MapPane* createMapPane(AppContext& context, QWidget* parent) {
    return new CMapView(context, parent);
}
namespace {

constexpr int kBand = 7;
constexpr int kArrowStep = 50;
// The printed page keeps 20 mm at the sides and 25 mm at top and bottom.
constexpr double kMarginX = 0.7874015748031495;
constexpr double kMarginY = 0.9842519685039369;

} // namespace

QImage dibToImage(const DibBitmap& bitmap) {
    QImage image(bitmap.width, bitmap.height, QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < bitmap.width; ++x)
            row[x] = bitmap.pixel(x, y);
    }
    return image;
}

CMapView::CMapView(AppContext& context, QWidget* parent)
    : QAbstractScrollArea(parent), context_(context), legend_(new CMapLegend(this)) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    horizontalScrollBar()->setRange(0, 100);
    verticalScrollBar()->setRange(0, 100);
}

CMapView::~CMapView() = default;

void CMapView::release() {
    loaded_ = false;
    large_ = {};
    small_ = {};
    frame_.reset();
    selected_ = false;
}

bool CMapView::LoadMap(const std::string& mapKey) {
    release();
    const std::optional<MapKey> key = parseMapKey(mapKey);
    if (!key) {
        viewport()->update();
        return false;
    }
    map_ = key->map;
    title_ = QString::fromUtf8(mapNameUtf8(map_));
    const std::string& folder = context_.paths.mapFolder;
    if (!loadScales(mapFileName(folder, map_, 'b'), mapFileName(folder, map_, 's')))
        return false;
    frame_ = key->frame;
    int x = 0, y = 0;
    if (frame_) {
        x = centredScroll(frame_->left, frame_->width(), viewport()->width());
        y = centredScroll(frame_->top, frame_->height(), viewport()->height());
    }
    scrollTo(x, y);
    viewport()->update();
    legend_->showMap(folder, map_);
    return true;
}

bool CMapView::LoadTopicMap(const std::string& topicKey, const QString& title) {
    release();
    map_ = 0;
    title_ = title;
    const std::string& folder = context_.paths.mapFolder;
    if (!loadScales(topicMapFileName(folder, topicKey, 'b'),
                    topicMapFileName(folder, topicKey, 's')))
        return false;
    // A topic opens on its whole map, at the small scale; zooming in shows the detail.
    smallScale_ = true;
    updateScrollRange();
    scrollTo(0, 0);
    viewport()->update();
    legend_->showFile(topicMapFileName(folder, topicKey, 'i'), title_);
    return true;
}

bool CMapView::loadScales(const std::string& largePath, const std::string& smallPath) {
    auto large = loadDibFile(largePath);
    auto small = large ? loadDibFile(smallPath) : std::nullopt;
    // The half-size map must match the large one, else one of them is damaged (or from
    // another build) and the place frames would point beside the places.
    if (!large || !small || std::abs(small->width * 2 - large->width) > 2 ||
        std::abs(small->height * 2 - large->height) > 2) {
        viewport()->update();
        return false;
    }
    large_.image = dibToImage(*large);
    small_.image = dibToImage(*small);
    loaded_ = true;
    smallScale_ = false;
    updateScrollRange();
    return true;
}

QPoint CMapView::scrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QSize CMapView::mapSize() const {
    return loaded_ ? current().image.size() : QSize();
}

void CMapView::updateScrollRange() {
    const QSize size = loaded_ ? current().image.size() : QSize(100, 100);
    const QSize visible = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, size.width() - visible.width()));
    verticalScrollBar()->setRange(0, std::max(0, size.height() - visible.height()));
    horizontalScrollBar()->setPageStep(visible.width());
    verticalScrollBar()->setPageStep(visible.height());
    horizontalScrollBar()->setSingleStep(kArrowStep);
    verticalScrollBar()->setSingleStep(kArrowStep);
}

void CMapView::scrollTo(int x, int y) {
    const QSize size = mapSize();
    horizontalScrollBar()->setValue(clampScroll(x, size.width(), viewport()->width()));
    verticalScrollBar()->setValue(clampScroll(y, size.height(), viewport()->height()));
}

MapRect CMapView::scaledFrame() const {
    MapRect frame = *frame_;
    if (smallScale_) {
        const int smallWidth = small_.image.width(), largeWidth = large_.image.width();
        frame = {toSmallScale(frame.left, smallWidth, largeWidth),
                 toSmallScale(frame.top, smallWidth, largeWidth),
                 toSmallScale(frame.right, smallWidth, largeWidth),
                 toSmallScale(frame.bottom, smallWidth, largeWidth)};
    }
    return frame;
}

void CMapView::paintEvent(QPaintEvent*) {
    if (!loaded_)
        return;
    QPainter painter(viewport());
    const Scale& scale = current();
    painter.translate(-scrollPosition());
    painter.drawImage(0, 0, selected_ ? scale.inverted : scale.image);
    if (!frame_)
        return;
    const MapRect f = scaledFrame();
    const QBrush pattern(palette().color(QPalette::Highlight), Qt::Dense4Pattern);
    painter.fillRect(QRect(f.left, f.top, f.width(), kBand), pattern);
    painter.fillRect(QRect(f.left, f.top, kBand, f.height()), pattern);
    painter.fillRect(QRect(f.right - kBand, f.top, kBand, f.height()), pattern);
    painter.fillRect(QRect(f.left, f.bottom - kBand, f.width(), kBand), pattern);
}

void CMapView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void CMapView::changeScale(const QPoint& viewportPoint) {
    if (!loaded_)
        return;
    const QPoint old = scrollPosition();
    const double ratio =
        double(smallScale_ ? large_.image.width() : small_.image.width()) / current().image.width();
    smallScale_ = !smallScale_;
    updateScrollRange();
    scrollTo(scaledScroll(old.x(), viewportPoint.x(), ratio),
             scaledScroll(old.y(), viewportPoint.y(), ratio));
    viewport()->update();
}

bool CMapView::toggleZoom() {
    changeScale(viewport()->mapFromGlobal(QCursor::pos()));
    return smallScale_;
}

void CMapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    viewport()->setCursor(Qt::SizeAllCursor);
    dragging_ = true;
    dragScroll_ = scrollPosition();
    dragPoint_ = event->position().toPoint();
    if (selected_) {
        selected_ = false;
        viewport()->update();
    }
}

void CMapView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_)
        return;
    const QPoint point = event->position().toPoint();
    const QPoint target = dragScroll_ + (dragPoint_ - point);
    scrollTo(target.x(), target.y());
    dragScroll_ = scrollPosition();
    dragPoint_ = point;
}

void CMapView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    dragging_ = false;
    viewport()->setCursor(Qt::ArrowCursor);
}

void CMapView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        changeScale(event->position().toPoint());
}

void CMapView::keyPressEvent(QKeyEvent* event) {
    const QPoint at = scrollPosition();
    const int page = viewport()->height();
    switch (event->key()) {
    case Qt::Key_PageUp:
        return scrollTo(at.x(), at.y() - page);
    case Qt::Key_PageDown:
        return scrollTo(at.x(), at.y() + page);
    case Qt::Key_Up:
        return scrollTo(at.x(), at.y() - kArrowStep);
    case Qt::Key_Down:
        return scrollTo(at.x(), at.y() + kArrowStep);
    case Qt::Key_Left:
        return scrollTo(at.x() - kArrowStep, at.y());
    case Qt::Key_Right:
        return scrollTo(at.x() + kArrowStep, at.y());
    default:
        return QAbstractScrollArea::keyPressEvent(event);
    }
}

void CMapView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("복사"), this, [this] { copy(); })->setEnabled(selected_);
    menu.addAction(QStringLiteral("모두 선택"), this, [this] { selectAll(); })
        ->setEnabled(!selected_);
    menu.addAction(QStringLiteral("인쇄"), this, [this] { print(); });
    menu.exec(event->globalPos());
}

void CMapView::hideEvent(QHideEvent* event) {
    legend_->hide();
    QAbstractScrollArea::hideEvent(event);
}

bool CMapView::copy() {
    if (!canCopy())
        return false;
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setImage(large_.image);
    return true;
}

void CMapView::selectAll() {
    if (!loaded_)
        return;
    for (Scale* scale : {&large_, &small_}) {
        if (scale->inverted.isNull()) {
            scale->inverted = scale->image;
            scale->inverted.invertPixels();
        }
    }
    selected_ = true;
    viewport()->update();
}

void CMapView::showLegend() {
    if (legend_->isVisible())
        return legend_->hide();
    // Inside the view's top right corner, where it covers the least of a map's title.
    QPoint place = mapToGlobal(QPoint(std::max(0, width() - legend_->width() - 24), 24));
    // Whole on the screen, even when the view reaches beyond its edge.
    if (const QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        const QSize size = legend_->frameGeometry().size();
        place.setX(
            std::clamp(place.x(), room.left(), std::max(room.left(), room.right() - size.width())));
        place.setY(
            std::clamp(place.y(), room.top(), std::max(room.top(), room.bottom() - size.height())));
    }
    legend_->move(place);
    legend_->show();
}

bool CMapView::print() {
    if (!loaded_)
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(title_);
    const bool accepted = printDialog_ ? printDialog_(printer, this) : [&] {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    }();
    if (!accepted)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = printer.pageLayout().fullRectPixels(printer.resolution());
    const int marginX = int(printer.logicalDpiX() * kMarginX);
    const int marginY = int(printer.logicalDpiY() * kMarginY);
    const QRect area = page.adjusted(marginX, marginY, -marginX, -marginY);
    const QSize fitted = large_.image.size().scaled(area.size(), Qt::KeepAspectRatio);
    const QRect target(area.left() + (area.width() - fitted.width()) / 2,
                       area.top() + (area.height() - fitted.height()) / 2, fitted.width(),
                       fitted.height());
    painter.drawImage(target, large_.image);
    QtSurface surface(&printer);
    surface.setPainter(&painter);
    surface.selectFont(surface.createFont(printFontRequest(
        surface.dpiY(), context_.settings.fontPointSize(), context_.settings.fontFaceName)));
    surface.drawText(area.left(), area.top(), utf8ToCp949(title_.toStdString()));
    const std::string title = applicationTitle();
    const TextExtent extent = surface.textExtent(title);
    surface.drawText(area.right() - extent.width, area.bottom() - extent.height, title);
    surface.setPainter(nullptr);
    return painter.end();
}

bool CMapView::handleCommand(int id) {
    switch (id) {
    case cmd::Print:
    case cmd::PrintMap:
        print();
        return true;
    case cmd::Copy:
        copy();
        return true;
    case cmd::SelectAll:
        selectAll();
        return true;
    case cmd::MapScaleUp:
    case cmd::MapScaleDown:
        toggleZoom();
        return true;
    case cmd::MapLegend:
        showLegend();
        return true;
    default:
        return false;
    }
}

} // namespace qel
