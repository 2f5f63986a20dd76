#pragma once

#include "reference/chronologylayout.h"

#include <QAbstractScrollArea>
#include <QString>
#include <vector>

class QPainter;

namespace qel {

// The chronology: one band per track on a horizontal year axis, bars for reigns and
// periods, diamonds for single events, dashed outlines where the dates are uncertain. The
// band captions stay at the left while the years scroll.
class CChronologyView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kYearWidth = 3;
    static constexpr int kCaptionWidth = 84;
    static constexpr int kAxisHeight = 34;
    static constexpr int kLaneHeight = 22;
    static constexpr int kBandGap = 6;

    explicit CChronologyView(QWidget* parent = nullptr);

    void setRecords(std::vector<ChronologyRecord> records);
    const std::vector<ChronologyRecord>& records() const { return records_; }

    // Selects the entry and scrolls it into the middle of the view; false for an unknown key.
    bool scrollToKey(const std::string& key);
    int selected() const { return selected_; }
    void select(int row);

    // The whole chart, as printed; the axis is drawn at `top` and the band captions at
    // firstX, so that they stay in view.
    QSize chartSize() const;
    void paintChart(QPainter& painter, int firstX, int lastX, int top = 0) const;
    // The rectangle of an entry in chart coordinates.
    QRect entryRect(int row) const;
    int rowAt(const QPoint& chartPoint) const;

signals:
    void entryChosen(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int xOfAxisYear(int axisYear) const;
    int bandTop(int track) const;
    void updateScrollBars();

    std::vector<ChronologyRecord> records_;
    std::vector<QString> labels_;
    ChronologyLayout layout_;
    int selected_ = -1;
};

} // namespace qel
