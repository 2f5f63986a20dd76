#include "compare/comparepane.h"

#include "platform/commands.h"

#include <QMenu>

namespace qel {

CComparePane::CComparePane(const TextDisplay& display, QWidget* parent)
    : CTextPane(display, parent) {
    setContextMenuHandler([this](const QPoint&, const QPoint& globalPoint) {
        createContextMenu()->exec(globalPoint);
    });
}

std::unique_ptr<QMenu> CComparePane::createContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    QAction* copy =
        menu->addAction(QStringLiteral("복사"), this, [this] { handleCommand(cmd::Copy); });
    copy->setData(cmd::Copy);
    copy->setEnabled(hasSelection());
    QAction* all = menu->addAction(QStringLiteral("모두 선택"), this,
                                   [this] { handleCommand(cmd::SelectAll); });
    all->setData(cmd::SelectAll);
    return menu;
}

} // namespace qel
