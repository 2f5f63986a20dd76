#include "reference/mapview.h"

#include <QPainter>

namespace qel {

MapPane* createMapPane(AppContext& context, QWidget* parent) {
    return new CMapView(context, parent);
}

CMapView::CMapView(AppContext&, QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
}

void CMapView::LoadMap(const std::string& mapKey) {
    mapKey_ = mapKey;
    update();
}

void CMapView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QString number = mapKey_.empty() ? QString() : QString(QChar(mapKey_.front()));
    painter.drawText(
        rect(), Qt::AlignCenter,
        QStringLiteral("지도 %1\n(지도 그림은 아직 설치되어 있지 않습니다.)").arg(number));
}

} // namespace qel
