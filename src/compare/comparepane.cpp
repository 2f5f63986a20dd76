#include "compare/comparepane.h"

#include <QMenu>

namespace qel {

CComparePane::CComparePane(const TextDisplay& display, QWidget* parent)
    : CTextPane(display, parent) {
    setContextMenuHandler([this](const QPoint&, const QPoint& globalPoint) {
        createContextMenu()->exec(globalPoint);
    });
}

std::unique_ptr<QMenu> CComparePane::createContextMenu() {
    return createEditMenu(false);
}

} // namespace qel
