#pragma once

#include <QDialog>

#include <string>

class QLabel;

namespace qel {

// The floating legend of the map view: the legend bitmap of the map shown, under the title
// "범례 : " and the map's name.
class CMapLegend : public QDialog {
    Q_OBJECT
public:
    explicit CMapLegend(QWidget* parent);

    // Loads the legend bitmap of the map from the map folder and fits the window to it; a
    // missing or damaged bitmap leaves the picture empty.
    void showMap(const std::string& mapFolder, int map);
    // The same for the legend bitmap at the path, under the title given.
    void showFile(const std::string& path, const QString& title);
    QLabel* picture() const { return picture_; }

private:
    QLabel* picture_;
};

} // namespace qel
