#pragma once

#include "reference/mappane.h"

#include <QWidget>

namespace qel {

// The map view of the map window. Until the map pictures are built it names the map it
// would show and offers nothing to copy or print.
class CMapView : public QWidget, public MapPane {
    Q_OBJECT
public:
    CMapView(AppContext& context, QWidget* parent);

    QWidget* widget() override { return this; }
    void LoadMap(const std::string& mapKey) override;
    bool canCopy() const override { return false; }
    bool canSelectAll() const override { return false; }
    bool copy() override { return false; }
    void selectAll() override {}
    bool print() override { return false; }
    void showLegend() override {}
    bool toggleZoom() override { return false; }

    const std::string& mapKey() const { return mapKey_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::string mapKey_;
};

} // namespace qel
