#pragma once

#include "reference/mapbitmap.h"
#include "reference/mapframe.h"
#include "reference/mappane.h"
#include "richtext/richtextarea.h"

#include <QAbstractScrollArea>
#include <QImage>

#include <optional>
#include <string>

class QAction;

namespace qel {

struct AppContext;
class CMapLegend;

// The picture of a loaded bitmap.
QImage dibToImage(const DibBitmap& bitmap);

// One of the four Bible maps as a scrollable picture at two scales, optionally with one
// grid frame around a place, and its floating legend. The map window hands it the key
// after "f".
class CMapView : public QAbstractScrollArea, public MapPane {
    Q_OBJECT
public:
    CMapView(AppContext& context, QWidget* parent);
    ~CMapView() override;

    // Shows the map of the key (map digit and, in 7 characters, a frame). A missing or
    // damaged bitmap leaves the view empty and returns false.
    bool LoadMap(const std::string& mapKey) override;
    // A map topic opens at the small scale.
    bool LoadTopicMap(const std::string& topicKey, const QString& title) override;

    QWidget* widget() override { return this; }
    bool canCopy() const override { return loaded_ && selected_; }
    bool canSelectAll() const override { return loaded_ && !selected_; }
    // The large bitmap on the clipboard, only while selected.
    bool copy() override;
    // Shows the map inverted as the sign of the selection.
    void selectAll() override;
    bool print() override;
    // Shows the legend if hidden, hides it if shown.
    void showLegend() override;
    // Changes the scale at the mouse; returns whether the small scale is shown now.
    bool toggleZoom() override;
    // The map window's commands: print, copy, select all, scale and legend.
    bool handleCommand(int id) override;

    bool loaded() const { return loaded_; }
    int mapNumber() const { return map_; }
    bool smallScale() const { return smallScale_; }
    bool selected() const { return selected_; }
    const std::optional<MapRect>& frame() const { return frame_; }
    QPoint scrollPosition() const;
    // The size of the bitmap of the current scale.
    QSize mapSize() const;
    CMapLegend* legend() const { return legend_; }
    // Changes the scale keeping the bitmap point under this viewport point.
    void changeScale(const QPoint& viewportPoint);
    // Tests print to a file instead of asking.
    void setPrintDialog(PrintDialogStep step) { printDialog_ = std::move(step); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Only the converted picture is kept: the file's pixels go once it is made.
    struct Scale {
        QImage image;
        QImage inverted;
    };
    const Scale& current() const { return smallScale_ ? small_ : large_; }
    void release();
    // Loads the large and small bitmaps; false, with the view empty, when one fails.
    bool loadScales(const std::string& largePath, const std::string& smallPath);
    void updateScrollRange();
    void scrollTo(int x, int y);
    // The frame in pixels of the current scale.
    MapRect scaledFrame() const;

    AppContext& context_;
    bool loaded_ = false;
    std::optional<MapRect> frame_;
    int map_ = 0;
    QString title_;
    Scale large_;
    Scale small_;
    bool smallScale_ = false;
    bool selected_ = false;
    bool dragging_ = false;
    QPoint dragScroll_;
    QPoint dragPoint_;
    CMapLegend* legend_;
    PrintDialogStep printDialog_;
};

} // namespace qel
