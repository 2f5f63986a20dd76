#pragma once

#include <functional>

#include "widgets/dockbar.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace qel {

// The "바로가기" panel: a tree of the program's windows in four folders.
class ShortcutBar : public CDockBar {
    Q_OBJECT
public:
    ShortcutBar(AppContext& context, QMainWindow* parent);

    QTreeWidget* tree() const { return tree_; }
    // The Bible items name each edition by its own name (`titleOf` gives it by slot code).
    void updateEditionTitles(const std::function<QString(const char* code)>& titleOf);

signals:
    // An item was double-clicked; `itemCode` is its shortcut code (101 = VRA, 116 = 일러두기 …).
    void itemChosen(int itemCode);

private:
    void onDoubleClick(QTreeWidgetItem* item);

    QTreeWidget* tree_;
};

} // namespace qel
