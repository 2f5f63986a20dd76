#pragma once

#include "treesearch/topictable.h"

#include <QTreeWidget>
#include <optional>
#include <string>

namespace qel {

class TreeAndSearchOwner;

// The left pane of the units window: its eight entries as a plain tree, without the search
// tab of the other article windows. A double click opens the entry in the owner.
class CGeneralTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit CGeneralTreeView(TreeAndSearchOwner& owner, QWidget* parent = nullptr);

    // Fills the tree from the table (which outlives the view) and opens its first entry.
    void SetMode(int mode, const TopicTable& table);
    void OpenEntry(int row);
    std::optional<std::string> TitleForKey(const std::string& key) const;
    void ShowCurrentTitle(const std::string& title);

private:
    TreeAndSearchOwner& owner_;
    const TopicTable* table_ = nullptr;
    int mode_ = -1;
};

} // namespace qel
