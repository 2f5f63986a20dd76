#include "reference/chronologyview.h"

#include "platform/codec.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>

namespace qel {
namespace {

// Labels need about this many years of room beside their bar.
constexpr int kLabelYears = 34;
constexpr int kAxisStep = 50;

const QColor kTrackColors[] = {QColor(0xd9, 0xc7, 0x9e), QColor(0x8f, 0xb4, 0xd9),
                               QColor(0x9f, 0xcf, 0x9f), QColor(0xe0, 0xa8, 0x8a),
                               QColor(0xc4, 0xa6, 0xd6), QColor(0xd8, 0x6a, 0x5a),
                               QColor(0xe6, 0xcf, 0x6e)};

QString axisLabel(int axisYear) {
    // Axis year 0 is AD 1; the line at -1000 is the start of 1000 BC.
    if (axisYear < 0)
        return QStringLiteral("주전 %1").arg(-axisYear);
    return QStringLiteral("주후 %1").arg(axisYear + 1);
}

} // namespace

CChronologyView::CChronologyView(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setBackgroundRole(QPalette::Base);
    horizontalScrollBar()->setSingleStep(kYearWidth * 10);
    verticalScrollBar()->setSingleStep(kLaneHeight);
    // Empty bands until the entries come.
    setRecords({});
}

void CChronologyView::setRecords(std::vector<ChronologyRecord> records) {
    records_ = std::move(records);
    labels_.clear();
    for (const ChronologyRecord& r : records_)
        labels_.push_back(QString::fromStdString(cp949ToUtf8(r.label)));
    layout_ = layOutChronology(records_, kLabelYears);
    // Whole steps at both ends, so the axis starts and ends on a line.
    layout_.firstYear = (layout_.firstYear - kAxisStep + 1) / kAxisStep * kAxisStep;
    if (layout_.firstYear > 0)
        layout_.firstYear = 0;
    layout_.lastYear = (layout_.lastYear + kAxisStep - 1) / kAxisStep * kAxisStep;
    selected_ = -1;
    updateScrollBars();
    viewport()->update();
}

int CChronologyView::xOfAxisYear(int axisYear) const {
    // Wide, so that no year the records hold can overflow the pixel position.
    const long long x = kCaptionWidth + (static_cast<long long>(axisYear) - layout_.firstYear) *
                                            static_cast<long long>(kYearWidth);
    return static_cast<int>(std::clamp<long long>(x, INT_MIN / 2, INT_MAX / 2));
}

int CChronologyView::bandTop(int track) const {
    int top = kAxisHeight;
    for (int i = 0; i < track; ++i)
        top += layout_.lanes[i] * kLaneHeight + kBandGap;
    return top;
}

QSize CChronologyView::chartSize() const {
    const int bands = static_cast<int>(chronologyTracks().size());
    return {xOfAxisYear(layout_.lastYear) + 10, bandTop(bands) + 4};
}

QRect CChronologyView::entryRect(int row) const {
    const ChronologyItem& item = layout_.items.at(row);
    const ChronologyRecord& r = records_.at(row);
    const int top = bandTop(item.track) + item.lane * kLaneHeight + 3;
    const int left = xOfAxisYear(axisBegin(r));
    if (r.from == r.to && r.track == "event")
        return {left - 6, top, 12, kLaneHeight - 6};
    return {left, top, std::max(3, (axisEnd(r) - axisBegin(r)) * kYearWidth), kLaneHeight - 6};
}

int CChronologyView::rowAt(const QPoint& p) const {
    for (std::size_t row = 0; row < records_.size(); ++row) {
        QRect r = entryRect(static_cast<int>(row));
        // The label beside a bar belongs to it too.
        r.setRight(std::max(r.right(), r.left() + kLabelYears * kYearWidth));
        if (r.contains(p))
            return static_cast<int>(row);
    }
    return -1;
}

void CChronologyView::paintChart(QPainter& painter, int firstX, int lastX, int top) const {
    const QSize size = chartSize();
    const auto& tracks = chronologyTracks();
    painter.setRenderHint(QPainter::Antialiasing);
    // Bands.
    for (std::size_t t = 0; t < tracks.size(); ++t) {
        const int bandY = bandTop(static_cast<int>(t));
        const int height = layout_.lanes[t] * kLaneHeight;
        painter.fillRect(QRect(firstX, bandY, lastX - firstX, height),
                         t % 2 ? QColor(0xf4, 0xf4, 0xf0) : QColor(0xfb, 0xfb, 0xf8));
    }
    // A line every fifty years.
    QFont font = painter.font();
    for (int year = layout_.firstYear; year <= layout_.lastYear; year += kAxisStep) {
        const int x = xOfAxisYear(year);
        if (x < firstX - 60 || x > lastX + 60)
            continue;
        painter.setPen(QPen(QColor(0xc8, 0xc8, 0xc8), 1, year == 0 ? Qt::SolidLine : Qt::DotLine));
        painter.drawLine(x, kAxisHeight - 4, x, size.height());
    }
    // Entries.
    for (std::size_t row = 0; row < records_.size(); ++row) {
        const ChronologyRecord& r = records_[row];
        const ChronologyItem& item = layout_.items[row];
        const QRect box = entryRect(static_cast<int>(row));
        if (box.right() + kLabelYears * kYearWidth < firstX || box.left() > lastX)
            continue;
        const bool chosen = static_cast<int>(row) == selected_;
        QColor fill = kTrackColors[item.track % std::size(kTrackColors)];
        if (r.circa)
            fill = fill.lighter(115);
        painter.setPen(QPen(chosen ? QColor(Qt::black) : fill.darker(160), chosen ? 2 : 1,
                            r.circa ? Qt::DashLine : Qt::SolidLine));
        painter.setBrush(fill);
        QRect labelBox;
        if (r.from == r.to && r.track == "event") {
            const QPoint c = box.center();
            const QPoint diamond[] = {{c.x(), box.top()},
                                      {box.right(), c.y()},
                                      {c.x(), box.bottom()},
                                      {box.left(), c.y()}};
            painter.drawPolygon(diamond, 4);
            labelBox = QRect(box.right() + 3, box.top(), kLabelYears * kYearWidth, box.height());
        } else {
            painter.drawRect(box);
            const int width = painter.fontMetrics().horizontalAdvance(labels_[row]) + 6;
            // A label that fits stays inside its bar, and in view while the bar's start
            // scrolls under the captions; others follow their bar.
            const int left =
                std::min(std::max(box.left(), firstX + kCaptionWidth), box.right() - width);
            labelBox = box.width() >= width
                           ? QRect(left, box.top(), width, box.height())
                           : QRect(box.right() + 3, box.top(), width, box.height());
        }
        QFont labelFont = font;
        labelFont.setBold(chosen);
        painter.setFont(labelFont);
        painter.setPen(Qt::black);
        painter.drawText(labelBox.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         labels_[row]);
        painter.setFont(font);
    }
    // The year axis, over whatever scrolled beneath it.
    painter.fillRect(QRect(firstX, top, lastX - firstX, kAxisHeight - 4), QColor(0xfb, 0xfb, 0xf8));
    painter.setPen(Qt::black);
    for (int year = layout_.firstYear; year <= layout_.lastYear; year += kAxisStep) {
        const int x = xOfAxisYear(year);
        if (x >= firstX - 60 && x <= lastX + 60)
            painter.drawText(QRect(x - 40, top + 14, 80, 16), Qt::AlignCenter, axisLabel(year));
    }
    painter.drawText(QRect(firstX + kCaptionWidth + 4, top, 400, 14), Qt::AlignLeft,
                     QStringLiteral("점선 테두리: 연대가 확실하지 않음"));
    // Captions, over whatever scrolled beneath them.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xe8, 0xe4, 0xd8));
    painter.drawRect(QRect(firstX, 0, kCaptionWidth, size.height()));
    painter.setPen(Qt::black);
    for (std::size_t t = 0; t < tracks.size(); ++t)
        painter.drawText(QRect(firstX + 4, bandTop(static_cast<int>(t)), kCaptionWidth - 8,
                               layout_.lanes[t] * kLaneHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(tracks[t].caption));
}

void CChronologyView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    const int dx = horizontalScrollBar()->value();
    const int dy = verticalScrollBar()->value();
    painter.translate(-dx, -dy);
    paintChart(painter, dx, dx + viewport()->width(), dy);
}

void CChronologyView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void CChronologyView::updateScrollBars() {
    const QSize size = chartSize();
    horizontalScrollBar()->setRange(0, std::max(0, size.width() - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setRange(0, std::max(0, size.height() - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
}

void CChronologyView::mousePressEvent(QMouseEvent* event) {
    const QPoint chart = event->position().toPoint() +
                         QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    // The captions and the axis cover the chart at the edges.
    if (event->position().x() < kCaptionWidth || event->position().y() < kAxisHeight)
        return;
    const int row = rowAt(chart);
    if (row < 0)
        return;
    select(row);
    emit entryChosen(row);
}

void CChronologyView::select(int row) {
    selected_ = row >= 0 && row < static_cast<int>(records_.size()) ? row : -1;
    viewport()->update();
}

bool CChronologyView::scrollToKey(const std::string& key) {
    for (std::size_t row = 0; row < records_.size(); ++row) {
        if (records_[row].key != key)
            continue;
        select(static_cast<int>(row));
        const QRect box = entryRect(static_cast<int>(row));
        const int visible = viewport()->width() - kCaptionWidth;
        horizontalScrollBar()->setValue(box.left() - kCaptionWidth -
                                        std::max(0, visible / 2 - box.width() / 2));
        // Down only as far as the entry needs, below the axis.
        const int dy = verticalScrollBar()->value();
        if (box.top() - kAxisHeight < dy || box.bottom() > dy + viewport()->height())
            verticalScrollBar()->setValue(box.top() - kAxisHeight - kLaneHeight);
        return true;
    }
    return false;
}

} // namespace qel
