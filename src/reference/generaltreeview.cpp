#include "reference/generaltreeview.h"

#include "platform/codec.h"
#include "treesearch/treeandsearchowner.h"

#include <QStyle>

namespace qel {
namespace {

constexpr int kRowRole = Qt::UserRole;

QString shown(const std::string& cp949) {
    return QString::fromStdString(cp949ToUtf8(cp949));
}

} // namespace

CGeneralTreeView::CGeneralTreeView(TreeAndSearchOwner& owner, QWidget* parent)
    : QTreeWidget(parent), owner_(owner) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setIconSize(QSize(16, 16));
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { OpenEntry(item->data(0, kRowRole).toInt()); });
}

void CGeneralTreeView::SetMode(int mode, const TopicTable& table) {
    mode_ = mode;
    table_ = &table;
    clear();
    // The units are all top-level entries.
    const QIcon leaf = style()->standardIcon(QStyle::SP_FileIcon);
    QTreeWidgetItem* first = nullptr;
    for (int row = 0; row < entryCount(table); ++row) {
        auto* item = new QTreeWidgetItem(this, {shown(table[row].title)});
        item->setData(0, kRowRole, row);
        item->setToolTip(0, item->text(0)); // whole, where the tree cuts it
        item->setIcon(0, leaf);
        if (!first && !table[row].key.empty())
            first = item;
    }
    if (first) {
        setCurrentItem(first);
        if (owner_.opensFirstEntry())
            OpenEntry(first->data(0, kRowRole).toInt());
    }
}

void CGeneralTreeView::OpenEntry(int row) {
    if (table_ && row >= 0 && row < entryCount(*table_) && !(*table_)[row].key.empty())
        owner_.openPanelEntry(row, (*table_)[row].key, true);
}

std::optional<std::string> CGeneralTreeView::TitleForKey(const std::string& key) const {
    return table_ ? lookupTitle(mode_, *table_, key) : std::nullopt;
}

void CGeneralTreeView::ShowCurrentTitle(const std::string& title) {
    const QList<QTreeWidgetItem*> found = findItems(shown(title), Qt::MatchExactly);
    if (!found.isEmpty()) {
        setCurrentItem(found.first());
        scrollToItem(found.first());
    }
}

} // namespace qel
