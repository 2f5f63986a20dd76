#include "study/bookmarkpanel.h"

#include "platform/bookmarkcommands.h"
#include "platform/codec.h"
#include "platform/messagesink.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFormLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <climits>
#include <map>

namespace qel {
namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kFolderRole = Qt::UserRole + 1; // true on a folder's row
constexpr int kKeyRole = Qt::UserRole + 2;

constexpr DockBarSizes kDefaultSizes = {{400, 200}, {220, 400}, {220, 400}};

bool isFolder(const QTreeWidgetItem* item) {
    return item && item->data(0, kFolderRole).toBool();
}
long long idOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, kIdRole).toLongLong() : 0;
}

// The tree hands a dropped bookmark to the store instead of moving the row itself.
class BookmarkTree : public QTreeWidget {
public:
    BookmarkTree(BookmarkPanel& panel, QWidget* parent) : QTreeWidget(parent), panel_(panel) {}

protected:
    void dropEvent(QDropEvent* event) override {
        QTreeWidgetItem* dragged = currentItem();
        constexpr DropAt kWhere[] = {DropAt::On, DropAt::Above, DropAt::Below, DropAt::Viewport};
        const auto place = bookmarkDropPlace(*this, dragged, itemAt(event->position().toPoint()),
                                             kWhere[dropIndicatorPosition()]);
        if (!place) {
            event->ignore();
            return;
        }
        // Nothing for the view to move or remove; the rows are read again once the drag is over.
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
        QMetaObject::invokeMethod(
            &panel_,
            [panel = &panel_, id = idOf(dragged), place = *place] {
                panel->move(id, place.folder, place.position);
            },
            Qt::QueuedConnection);
    }

private:
    BookmarkPanel& panel_;
};

} // namespace

std::optional<BookmarkDropPlace> bookmarkDropPlace(const QTreeWidget& tree,
                                                   const QTreeWidgetItem* dragged,
                                                   const QTreeWidgetItem* target, DropAt where) {
    if (!dragged || isFolder(dragged) || target == dragged)
        return std::nullopt;
    // On a folder: its end. Between folders or below everything: the end of the top level.
    if (!target || isFolder(target))
        return BookmarkDropPlace{where == DropAt::On ? idOf(target) : 0, INT_MAX};
    // Before or after a bookmark, counted among the other bookmarks of its folder.
    const QTreeWidgetItem* parent = target->parent();
    BookmarkDropPlace place{idOf(parent), 0};
    const int count = parent ? parent->childCount() : tree.topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        const QTreeWidgetItem* sibling = parent ? parent->child(i) : tree.topLevelItem(i);
        if (sibling == target)
            break;
        if (sibling != dragged && !isFolder(sibling))
            ++place.position;
    }
    if (where == DropAt::Below)
        ++place.position;
    return place;
}

BookmarkDialog::BookmarkDialog(const QString& name, const QStringList& folders,
                               const QString& folder, QWidget* parent)
    : QDialog(parent), name_(new QLineEdit(name, this)), folder_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("책갈피 추가"));
    folder_->setEditable(true);
    folder_->addItems(folders);
    folder_->setCurrentText(folder);
    folder_->lineEdit()->setPlaceholderText(QStringLiteral("(폴더 없음)"));
    folder_->setInsertPolicy(QComboBox::NoInsert);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("이름:"), name_);
    layout->addRow(QStringLiteral("폴더:"), folder_);
    layout->addRow(buttons);
    name_->selectAll();
    resize(360, sizeHint().height());
}

QString BookmarkDialog::name() const {
    return name_->text().trimmed();
}

QString BookmarkDialog::folder() const {
    return folder_->currentText().trimmed();
}

BookmarkPanel::BookmarkPanel(AppContext& context, const std::string& studyFile, Opener open,
                             QMainWindow* parent)
    : CDockBar(QStringLiteral("책갈피"), context, "MainFrame", cmd::ToggleBookmarkPanel,
               kDefaultSizes, parent),
      store_(studyFile), open_(std::move(open)), tree_(new BookmarkTree(*this, this)) {
    setObjectName(QStringLiteral("BookmarkPanel"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    tree_->header()->hide();
    tree_->setRootIsDecorated(true);
    tree_->setDragDropMode(QAbstractItemView::InternalMove);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    setWidget(tree_);
    connect(tree_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { activate(item); });
    // Queued: the tree is read again after a change, which must not happen while the edited
    // row is still committing its text.
    connect(tree_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        if (!filling_)
            QMetaObject::invokeMethod(
                this,
                [this, id = idOf(item), folder = isFolder(item), text = item->text(0)] {
                    rename(id, folder, text);
                },
                Qt::QueuedConnection);
    });
    connect(tree_, &QWidget::customContextMenuRequested, this, &BookmarkPanel::showMenu);
    const auto key = [this](const QKeySequence& sequence, auto slot) {
        auto* action = new QAction(tree_);
        action->setShortcut(sequence);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, slot);
        tree_->addAction(action);
    };
    key(QKeySequence(Qt::Key_F2), [this] {
        if (QTreeWidgetItem* item = tree_->currentItem())
            tree_->editItem(item);
    });
    key(QKeySequence::Delete, [this] { remove(tree_->currentItem()); });
    key(QKeySequence::Undo, [this] { undo(); });
    reload();
}

BookmarkPanel::~BookmarkPanel() = default;

template <typename Change> void BookmarkPanel::change(Change step) {
    try {
        step();
    } catch (const DatabaseError& e) {
        logWarning(store_.path() + ": bookmarks: " + e.what());
        showMessage(utf8ToCp949("책갈피를 저장하지 못했습니다.\n") + utf8ToCp949(e.what()),
                    utf8ToCp949("책갈피"));
    }
    reload();
}

void BookmarkPanel::reload() {
    if (!store_.isOpen())
        return;
    filling_ = true;
    tree_->clear();
    const QStyle* style = QApplication::style();
    const QIcon folderIcon = style->standardIcon(QStyle::SP_DirIcon);
    const QIcon markIcon = style->standardIcon(QStyle::SP_FileLinkIcon);
    const Qt::ItemFlags common = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    try {
        std::map<long long, QTreeWidgetItem*> folders;
        for (const BookmarkFolder& f : store_.folders()) {
            auto* item = new QTreeWidgetItem(tree_, {QString::fromStdString(f.name)});
            item->setData(0, kIdRole, f.id);
            item->setData(0, kFolderRole, true);
            item->setIcon(0, folderIcon);
            item->setFlags(common | Qt::ItemIsDropEnabled);
            item->setExpanded(true);
            folders[f.id] = item;
        }
        for (const Bookmark& b : store_.bookmarks()) {
            const auto folder = folders.find(b.folder);
            auto* item = folder == folders.end() ? new QTreeWidgetItem(tree_)
                                                 : new QTreeWidgetItem(folder->second);
            item->setText(0, QString::fromStdString(b.name));
            item->setToolTip(0, QString::fromStdString(b.key));
            item->setData(0, kIdRole, b.id);
            item->setData(0, kKeyRole, QString::fromStdString(b.key));
            item->setIcon(0, markIcon);
            item->setFlags(common | Qt::ItemIsDragEnabled);
        }
    } catch (const DatabaseError& e) {
        logWarning(store_.path() + ": bookmarks: " + e.what());
    }
    filling_ = false;
}

bool BookmarkPanel::isFolderRow(const QTreeWidgetItem* item) {
    return isFolder(item);
}

QTreeWidgetItem* BookmarkPanel::itemOf(long long id, bool folder) const {
    for (QTreeWidgetItemIterator it(tree_); *it; ++it)
        if (idOf(*it) == id && isFolder(*it) == folder)
            return *it;
    return nullptr;
}

void BookmarkPanel::activate(QTreeWidgetItem* item) {
    if (item && !isFolder(item) && open_)
        open_(item->data(0, kKeyRole).toString().toStdString());
}

void BookmarkPanel::askToAdd(const std::string& key, const std::string& name) {
    if (!store_.isOpen() || key.empty())
        return;
    QStringList folders;
    try {
        for (const BookmarkFolder& f : store_.folders())
            folders << QString::fromStdString(f.name);
    } catch (const DatabaseError& e) {
        logWarning(store_.path() + ": bookmarks: " + e.what());
    }
    BookmarkDialog dialog(QString::fromStdString(name), folders, lastFolder_, parentWidget());
    if (dialog.exec() != QDialog::Accepted)
        return;
    add(dialog.folder(), dialog.name(), key);
}

void BookmarkPanel::add(const QString& folder, const QString& name, const std::string& key) {
    long long id = 0;
    change([&] {
        id = store_.add(store_.folder(folder.toStdString()), name.toStdString(), key);
        lastFolder_ = folder;
    });
    show();
    if (QTreeWidgetItem* item = itemOf(id, false))
        tree_->setCurrentItem(item);
}

void BookmarkPanel::move(long long id, long long folder, int position) {
    change([&] { store_.move(id, folder, position); });
    if (QTreeWidgetItem* item = itemOf(id, false))
        tree_->setCurrentItem(item);
}

void BookmarkPanel::rename(long long id, bool folder, const QString& name) {
    const std::string text = name.trimmed().toStdString();
    // A refused name (empty, or another folder's) goes back to the stored one.
    change([&] { folder ? store_.renameFolder(id, text) : store_.rename(id, text); });
    if (QTreeWidgetItem* again = itemOf(id, folder))
        tree_->setCurrentItem(again);
}

void BookmarkPanel::remove(QTreeWidgetItem* item) {
    if (!item)
        return;
    change([&] {
        BookmarkRemoval removal =
            isFolder(item) ? store_.removeFolder(idOf(item)) : store_.remove(idOf(item));
        if (!removal.empty())
            undo_.push_back(std::move(removal));
    });
}

void BookmarkPanel::undo() {
    if (undo_.empty())
        return;
    change([&] {
        store_.restore(undo_.back());
        undo_.pop_back();
    });
}

void BookmarkPanel::addFolder() {
    long long id = 0;
    change([&] {
        std::vector<std::string> taken;
        for (const BookmarkFolder& f : store_.folders())
            taken.push_back(f.name);
        std::string name = "새 폴더";
        for (int n = 2; std::find(taken.begin(), taken.end(), name) != taken.end(); ++n)
            name = "새 폴더 " + std::to_string(n);
        id = store_.folder(name);
    });
    if (QTreeWidgetItem* item = itemOf(id, true)) {
        tree_->setCurrentItem(item);
        tree_->editItem(item);
    }
}

void BookmarkPanel::showMenu(const QPoint& at) {
    QTreeWidgetItem* item = tree_->itemAt(at);
    QMenu menu(this);
    QAction* open = menu.addAction(QStringLiteral("열기"), this, [this, item] { activate(item); });
    open->setEnabled(item && !isFolder(item));
    menu.addSeparator();
    QAction* rename = menu.addAction(QStringLiteral("이름 바꾸기"), this,
                                     [this, item] { tree_->editItem(item); });
    rename->setShortcut(QKeySequence(Qt::Key_F2));
    QAction* remove =
        menu.addAction(QStringLiteral("삭제"), this, [this, item] { this->remove(item); });
    remove->setShortcut(QKeySequence::Delete);
    for (QAction* action : {rename, remove}) {
        action->setEnabled(item != nullptr);
        action->setShortcutVisibleInContextMenu(true);
    }
    menu.addAction(QStringLiteral("새 폴더"), this, &BookmarkPanel::addFolder);
    menu.addSeparator();
    QAction* undoAction = menu.addAction(QStringLiteral("실행 취소"), this, &BookmarkPanel::undo);
    undoAction->setShortcut(QKeySequence::Undo);
    undoAction->setShortcutVisibleInContextMenu(true);
    undoAction->setEnabled(canUndo());
    for (QAction* action : menu.actions())
        action->setEnabled(action->isEnabled() && store_.isOpen());
    menu.exec(tree_->viewport()->mapToGlobal(at));
}

} // namespace qel
