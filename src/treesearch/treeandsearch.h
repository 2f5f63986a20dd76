#pragma once

#include "treesearch/topictable.h"

#include <QIcon>
#include <QWidget>
#include <array>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QPushButton;
class QSplitter;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace qel {

class TreeAndSearchOwner;

// The left pane of the article, topic, map and comparison windows: one built-in table as a
// tree, a search over its titles with a hit list and a history, and the entry the user
// picks handed to the owner. The owner sets the mode and hands in its table once.
class CTreeAndSearch : public QWidget {
    Q_OBJECT
public:
    explicit CTreeAndSearch(TreeAndSearchOwner& owner, QWidget* parent = nullptr);
    ~CTreeAndSearch() override;

    // Records the mode, builds the trees (mode 5 also takes the place names) and, when the
    // owner wants it, opens the first entry that has a key. The tables outlive the panel.
    void SetMode(int mode, const TopicTable& table, const TopicTable* placeNames = nullptr);
    int mode() const { return mode_; }
    // The width at which the tabs and the typical title of the tree show whole.
    int preferredWidth() const;
    // Gives the panel, the first part of `splitter`, its preferred width (at least `least`);
    // the other part keeps the rest.
    void fitInto(QSplitter& splitter, int least) const;

    // The hit list gets every titled entry holding the search text (mode 5: place names);
    // with "본문 포함" checked also the entries whose article holds it.
    void SearchTopics();
    // Hands the entry of the topic table to the owner; a heading opens nothing.
    void OpenEntry(int row);
    // Mode 5: opens the place "f" + its seven digits.
    void OpenPlace(int row);

    // The title of the entry with this key (or this key after its first character).
    std::optional<std::string> TitleForKey(const std::string& key) const;
    // Selects the entry with this title as the one the owner shows.
    void ShowCurrentTitle(const std::string& title);

    // The image index (0 closed, 1 open, 2 leaf) an item of the trees shows now.
    static int imageOf(const QTreeWidgetItem* item);
    bool korean() const { return korean_; }

    QTabBar* tabs() const { return tabs_; }
    QTreeWidget* topicTree() const { return topicTree_; }
    QTreeWidget* placeTree() const { return placeTree_; }
    QTreeWidget* hitList() const { return hitList_; }
    QComboBox* searchBox() const { return searchBox_; }
    QPushButton* searchButton() const { return searchButton_; }
    QPushButton* extraButton() const { return extraButton_; }
    QPushButton* zoomButton() const { return zoomButton_; }
    // "본문 포함": shown on the search tab of owners that search their articles' text.
    QCheckBox* textChoice() const { return textChoice_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static bool isEnter(const QEvent* event);
    // The tabs and, beside them, the topics' button.
    int tabRowWidth() const;
    int extraButtonWidth() const;
    QTreeWidgetItem* buildTree(QTreeWidget* tree, const TopicTable& table, bool places);
    void updateImage(QTreeWidgetItem* item);
    void showTab(int index);
    void hitChosen(QTreeWidgetItem* item);
    void treeChosen(QTreeWidgetItem* item, bool places);
    void extraClicked();
    void zoomClicked();
    void updateMapButtons();

    TreeAndSearchOwner& owner_;
    QPushButton* zoomButton_;
    QPushButton* extraButton_;
    QTreeWidget* placeTree_;
    QComboBox* searchBox_;
    QPushButton* searchButton_;
    QTreeWidget* topicTree_;
    QTabBar* tabs_;
    QTreeWidget* hitList_;
    QCheckBox* textChoice_;
    // The text of the last search that looked into the articles, for opening its hits.
    std::string textSearched_;
    int mode_ = -1;
    bool korean_ = true;
    const TopicTable* table_ = nullptr;
    const TopicTable* places_ = nullptr;
    std::array<QIcon, 3> icons_; // closed folder, open folder, entry
};

} // namespace qel
