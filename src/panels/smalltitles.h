#pragma once

#include <QDockWidget>
#include <functional>
#include <string>

class QComboBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace qel {

class Database;

// The section-titles panel of a Bible window: a tree of the version's books whose titles
// load at a book's first double-click, and a search over all titles of the version.
class CSmallTitles : public QDockWidget {
    Q_OBJECT
public:
    // The window moves to book, chapter and verse (with broadcast and history).
    using GoToFn = std::function<void(const std::string& book, const std::string& chapter,
                                      const std::string& verse)>;

    CSmallTitles(Database& contentDb, std::string version, GoToFn goTo, QWidget* parent);

    // One root item per book of the version's table, in table order.
    void SetBooks();
    void OpenTitleItem(QTreeWidgetItem* item);
    void SearchTitles();
    void OpenHit(QListWidgetItem* item);
    // The inner edge stays 100 px from the window's left edge and 250 px from its right.
    void fitWindow(int windowWidth);

    QTabWidget* tabs() const { return tabs_; }
    QTreeWidget* tree() const { return tree_; }
    QComboBox* searchBox() const { return searchBox_; }
    QListWidget* hits() const { return hits_; }
    QPushButton* searchButton() const { return searchButton_; }

private:
    void onTabChanged(int index);

    Database& contentDb_;
    std::string version_;
    GoToFn goTo_;
    QTabWidget* tabs_;
    QTreeWidget* tree_;
    QComboBox* searchBox_;
    QPushButton* searchButton_;
    QListWidget* hits_;
};

} // namespace qel
