#include "app/shortcutbar.h"

#include "bible/editions.h"
#include "platform/codec.h"
#include "platform/commands.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <QTreeWidget>

namespace qel {
namespace {

struct ShortcutItem {
    const char* text;
    int code;
};

struct ShortcutFolder {
    const char* text;
    int code;
    std::initializer_list<ShortcutItem> items;
};

// The Bible folder is filled from the edition table.
constexpr int kBibleFolder = 91;

const ShortcutFolder kFolders[] = {
    {"성경", kBibleFolder, {}},
    {"해설 전서 라",
     92,
     {{"일러두기", 116},
      {"책별 안내", 102},
      {"해설 라", 501},
      {"용어 해설", 103},
      {"연대표", 104},
      {"도량형 및 화폐 단위", 105},
      {"본문 비평 주", 106}}},
    {"본문 대조", 93, {{"절별 비교", 117}, {"4복음서 대조", 107}, {"역사서 대조", 108}}},
    {"참고 자료",
     94,
     {{"사진 자료", 109},
      {"성서 지도", 110},
      {"주제별 단편 성서", 112},
      {"성서가 우리에게 오기까지", 111},
      {"매일 성경 읽기(경건 일기장)", 114},
      {"성경 읽기 진도표", 115}}},
};

constexpr int kCodeRole = Qt::UserRole;

// The bar is kept under the number of the command that shows it.
constexpr int kShortcutBarId = cmd::ToggleShortcutBar;
constexpr DockBarSizes kDefaultSizes = {{400, 200}, {200, 400}, {200, 400}};

} // namespace

ShortcutBar::ShortcutBar(AppContext& context, QMainWindow* parent)
    : CDockBar(QStringLiteral("바로가기"), context, "MainFrame", kShortcutBarId, kDefaultSizes,
               parent),
      tree_(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("ShortcutBar"));
    setAllowedAreas(Qt::LeftDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    tree_->header()->hide();
    tree_->setRootIsDecorated(true);
    QStyle* style = QApplication::style();
    const QIcon folderIcon = style->standardIcon(QStyle::SP_DirIcon);
    const QIcon bookIcon = style->standardIcon(QStyle::SP_FileIcon);
    for (const ShortcutFolder& folder : kFolders) {
        auto* folderItem = new QTreeWidgetItem(tree_, {QString::fromUtf8(folder.text)});
        folderItem->setData(0, kCodeRole, folder.code);
        folderItem->setIcon(0, folderIcon);
        const auto addItem = [&](const QString& text, int code) {
            auto* child = new QTreeWidgetItem(folderItem, {text});
            child->setData(0, kCodeRole, code);
            child->setToolTip(0, text); // whole, where the panel cuts it
            child->setIcon(0, bookIcon);
        };
        if (folder.code == kBibleFolder)
            for (const Edition& edition : editionTable())
                if (!edition.commentary)
                    addItem(QString::fromStdString(cp949ToUtf8(edition.windowTitle)),
                            edition.shortcutItem);
        for (const ShortcutItem& item : folder.items)
            addItem(QString::fromUtf8(item.text), item.code);
        folderItem->setExpanded(true);
    }
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, &ShortcutBar::onDoubleClick);
    setWidget(tree_);
}

void ShortcutBar::onDoubleClick(QTreeWidgetItem* item) {
    // Folders only open and close.
    if (item && item->parent())
        emit itemChosen(item->data(0, kCodeRole).toInt());
}

void ShortcutBar::updateEditionTitles(const std::function<QString(const char* code)>& titleOf) {
    QTreeWidgetItem* bibles = tree_->topLevelItem(0);
    for (int i = 0; bibles && i < bibles->childCount(); ++i)
        for (const Edition& edition : editionTable())
            if (bibles->child(i)->data(0, kCodeRole).toInt() == edition.shortcutItem) {
                bibles->child(i)->setText(0, titleOf(edition.code));
                bibles->child(i)->setToolTip(0, bibles->child(i)->text(0));
            }
}

} // namespace qel
