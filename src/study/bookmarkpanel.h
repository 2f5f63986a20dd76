#pragma once

#include "study/bookmarkstore.h"
#include "widgets/dockbar.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace qel {

// Where a bookmark dropped at `target` (on it, above or below it) goes: a folder (0: the top level)
// and a position among that folder's bookmarks as BookmarkStore::move takes it. Nothing for a drop
// that moves nothing (a folder dragged, a bookmark onto itself).
enum class DropAt { On, Above, Below, Viewport };
struct BookmarkDropPlace {
    long long folder = 0;
    int position = 0;
    bool operator==(const BookmarkDropPlace&) const = default;
};
std::optional<BookmarkDropPlace> bookmarkDropPlace(const QTreeWidget& tree,
                                                   const QTreeWidgetItem* dragged,
                                                   const QTreeWidgetItem* target, DropAt where);

// "책갈피 추가": the name of the new bookmark and its folder, an existing one or a new name
// (empty for none).
class BookmarkDialog : public QDialog {
    Q_OBJECT
public:
    BookmarkDialog(const QString& name, const QStringList& folders, const QString& folder,
                   QWidget* parent = nullptr);

    QLineEdit* nameBox() const { return name_; }
    QComboBox* folderBox() const { return folder_; }
    QString name() const;
    QString folder() const;

private:
    QLineEdit* name_;
    QComboBox* folder_;
};

// The bookmark panel: folders and bookmarks as a tree. A bookmark opens on double click;
// bookmarks are dragged between folders and within one; F2 renames; Delete removes, and
// Ctrl+Z (or "실행 취소") puts the removed rows back, the last removal first. Every change
// goes to the store at once; a change that fails is reported and the tree shows the file.
class BookmarkPanel : public CDockBar {
    Q_OBJECT
public:
    // Opens a command key.
    using Opener = std::function<void(const std::string& commandKey)>;

    BookmarkPanel(AppContext& context, const std::string& studyFile, Opener open,
                  QMainWindow* parent);
    ~BookmarkPanel() override;

    QTreeWidget* tree() const { return tree_; }
    bool available() const { return store_.isOpen(); }

    // Asks for the name (`name` offered, UTF-8) and the folder, then adds the bookmark.
    void askToAdd(const std::string& key, const std::string& name);
    // The steps the tree's gestures take, each one change of the store.
    void add(const QString& folder, const QString& name, const std::string& key);
    void move(long long id, long long folder, int position);
    void rename(long long id, bool folder, const QString& name);
    void remove(QTreeWidgetItem* item);
    void addFolder();
    bool canUndo() const { return !undo_.empty(); }
    void undo();
    // Reads the store into the tree again.
    void reload();

    static bool isFolderRow(const QTreeWidgetItem* item);
    // The row of a bookmark or folder in the tree, if shown.
    QTreeWidgetItem* itemOf(long long id, bool folder) const;

private:
    void showMenu(const QPoint& at);
    void activate(QTreeWidgetItem* item);
    // Runs one change; a store that refuses it is reported.
    template <typename Change> void change(Change step);

    BookmarkStore store_;
    Opener open_;
    QTreeWidget* tree_;
    std::vector<BookmarkRemoval> undo_;
    QString lastFolder_;
    bool filling_ = false;
};

} // namespace qel
