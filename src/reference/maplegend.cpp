#include "reference/maplegend.h"

#include "reference/mapbitmap.h"
#include "reference/mapframe.h"
#include "reference/mapview.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace qel {

CMapLegend::CMapLegend(QWidget* parent) : QDialog(parent, Qt::Tool), picture_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("범례표"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CMapLegend::showMap(const std::string& mapFolder, int map) {
    showFile(mapFileName(mapFolder, map, 'i'), QString::fromUtf8(mapNameUtf8(map)));
}

void CMapLegend::showFile(const std::string& path, const QString& title) {
    const auto bitmap = loadDibFile(path);
    picture_->setPixmap(bitmap ? QPixmap::fromImage(dibToImage(*bitmap)) : QPixmap());
    setWindowTitle(QStringLiteral("범례 : ") + title);
    adjustSize();
}

} // namespace qel
