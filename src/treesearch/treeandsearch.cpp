#include "treesearch/treeandsearch.h"

#include "platform/codec.h"
#include "treesearch/treeandsearchowner.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabBar>
#include <QTreeWidget>
#include <algorithm>
#include <unordered_map>

namespace qel {
namespace {

constexpr int kRowRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kPlaceTab = 2;
// The panel's controls under the tabs start this far down.
constexpr int kTabRowHeight = 26;
// Beyond this a long title shows through its tooltip, not by taking the text's room.
constexpr int kMostPreferredWidth = 300;

QString text(const std::string& cp949) {
    return QString::fromStdString(cp949ToUtf8(cp949));
}

QTreeWidget* makeTree(QWidget* parent) {
    auto* tree = new QTreeWidget(parent);
    tree->setHeaderHidden(true);
    tree->setIconSize(QSize(16, 16));
    tree->setExpandsOnDoubleClick(true);
    return tree;
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

CTreeAndSearch::CTreeAndSearch(TreeAndSearchOwner& owner, QWidget* parent)
    : QWidget(parent), owner_(owner), zoomButton_(new QPushButton(QStringLiteral("축소"), this)),
      extraButton_(new QPushButton(QStringLiteral("한/영"), this)), placeTree_(makeTree(this)),
      searchBox_(new QComboBox(this)), searchButton_(new QPushButton(QStringLiteral("찾기"), this)),
      topicTree_(makeTree(this)), tabs_(new QTabBar(this)), hitList_(new QTreeWidget(this)),
      textChoice_(new QCheckBox(QStringLiteral("본문 포함"), this)) {
    searchBox_->setEditable(true);
    searchBox_->setInsertPolicy(QComboBox::NoInsert);
    hitList_->setColumnCount(1);
    hitList_->setHeaderHidden(true);
    hitList_->setRootIsDecorated(false);
    hitList_->header()->setStretchLastSection(false);
    // Tabs as wide as their captions, so that the button beside them has room.
    tabs_->setExpanding(false);
    tabs_->addTab(QStringLiteral("항목"));
    tabs_->addTab(QStringLiteral("찾기"));
    // The tab control lies under the controls of its pages.
    tabs_->lower();
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{searchBox_, hitList_, searchButton_, extraButton_,
                                         zoomButton_, placeTree_, textChoice_})
        hidden->hide();

    connect(tabs_, &QTabBar::currentChanged, this, &CTreeAndSearch::showTab);
    connect(searchButton_, &QPushButton::clicked, this, &CTreeAndSearch::SearchTopics);
    // Enter searches wherever the focus is in the panel.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    connect(topicTree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { treeChosen(item, false); });
    connect(placeTree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { treeChosen(item, true); });
    connect(hitList_, &QTreeWidget::itemDoubleClicked, this, &CTreeAndSearch::hitChosen);
    for (QTreeWidget* tree : {topicTree_, placeTree_}) {
        connect(tree, &QTreeWidget::itemExpanded, this, &CTreeAndSearch::updateImage);
        connect(tree, &QTreeWidget::itemCollapsed, this, &CTreeAndSearch::updateImage);
    }
    connect(extraButton_, &QPushButton::clicked, this, &CTreeAndSearch::extraClicked);
    connect(zoomButton_, &QPushButton::clicked, this, &CTreeAndSearch::zoomClicked);
    topicTree_->setFocus();
}

CTreeAndSearch::~CTreeAndSearch() = default;

void CTreeAndSearch::SetMode(int mode, const TopicTable& table, const TopicTable* placeNames) {
    mode_ = mode;
    table_ = &table;
    tabs_->setTabText(0, QString::fromUtf8(firstTabCaption(mode)));
    if (mode < 0 || mode >= panelmode::Count)
        return;
    if (mode == panelmode::Map) {
        placeTree_->setEnabled(true);
        extraButton_->setText(QStringLiteral("범례"));
        extraButton_->show();
        extraButton_->setEnabled(true);
        zoomButton_->show();
        zoomButton_->setEnabled(true);
    } else if (mode == panelmode::Topics) {
        extraButton_->show();
        extraButton_->setEnabled(true);
    }
    QTreeWidgetItem* first = buildTree(topicTree_, table, false);
    if (mode == panelmode::Map && placeNames) {
        places_ = placeNames;
        tabs_->addTab(QStringLiteral("지명"));
        buildTree(placeTree_, *placeNames, true);
    }
    resizeEvent(nullptr);
    if (first) {
        topicTree_->setCurrentItem(first);
        if (owner_.opensFirstEntry())
            OpenEntry(first->data(0, kRowRole).toInt());
    }
}

QTreeWidgetItem* CTreeAndSearch::buildTree(QTreeWidget* tree, const TopicTable& table,
                                           bool places) {
    tree->clear();
    std::vector<QTreeWidgetItem*> lastAtLevel;
    QTreeWidgetItem* first = nullptr;
    const int count = entryCount(table);
    for (int row = 0; row < count; ++row) {
        const TopicEntry& entry = table[row];
        const auto level = static_cast<std::size_t>(std::max(entry.level, 0));
        QTreeWidgetItem* parent =
            level == 0 || lastAtLevel.size() < level ? nullptr : lastAtLevel[level - 1];
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, text(entry.title));
        // A narrow panel cuts long titles; the tooltip shows them whole.
        item->setToolTip(0, item->text(0));
        item->setData(0, kRowRole, row);
        lastAtLevel.resize(level + 1);
        lastAtLevel[level] = item;
        if (!first && !entry.key.empty())
            first = item;
        if (parent && !places && expandsParent(mode_, entry))
            parent->setExpanded(true);
    }
    // Images once the tree stands: whether an item has children is known only now.
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        updateImage(*it);
    return first;
}

int CTreeAndSearch::preferredWidth() const {
    // Titles of the two upper levels; three in four show whole.
    std::vector<int> widths;
    const QFontMetrics metrics = topicTree_->fontMetrics();
    const int room = topicTree_->iconSize().width() + 12 + 2 * topicTree_->frameWidth() +
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    for (QTreeWidgetItemIterator it(topicTree_); *it; ++it) {
        int depth = 0;
        for (const QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent())
            ++depth;
        if (depth <= 1)
            widths.push_back(metrics.horizontalAdvance((*it)->text(0)) +
                             topicTree_->indentation() * (depth + 1) + room);
    }
    int typical = 0;
    if (!widths.empty()) {
        const auto at = widths.begin() + static_cast<std::ptrdiff_t>(widths.size() * 3 / 4);
        std::nth_element(widths.begin(), at, widths.end());
        typical = std::min(*at, kMostPreferredWidth);
    }
    return std::max(typical, tabRowWidth());
}

void CTreeAndSearch::fitInto(QSplitter& splitter, int least) const {
    const int panel = std::max(least, preferredWidth());
    // Sizes that add up to the splitter's own width are taken as they are, not scaled.
    const int rest = std::max(splitter.width() - panel - splitter.handleWidth(), panel);
    splitter.setSizes({panel, rest});
}

int CTreeAndSearch::tabRowWidth() const {
    const int button =
        extraButton_->isHidden() || mode_ == panelmode::Map ? 0 : extraButtonWidth() + 6;
    return tabs_->sizeHint().width() + button;
}

int CTreeAndSearch::extraButtonWidth() const {
    return std::max(35, extraButton_->fontMetrics().horizontalAdvance(extraButton_->text()) + 12);
}

void CTreeAndSearch::updateImage(QTreeWidgetItem* item) {
    const bool place = item->treeWidget() == placeTree_;
    const int image = place ? 2
                            : itemImage(mode_, (*table_)[item->data(0, kRowRole).toInt()],
                                        item->childCount() > 0, item->isExpanded());
    item->setData(0, kImageRole, image);
    // The style makes a new icon with its pictures at every size on each call: the tree's
    // items share the panel's three instead.
    if (icons_[image].isNull()) {
        const QStyle::StandardPixmap pixmaps[] = {QStyle::SP_DirClosedIcon, QStyle::SP_DirOpenIcon,
                                                  QStyle::SP_FileIcon};
        icons_[image] = style()->standardIcon(pixmaps[image]);
    }
    item->setIcon(0, icons_[image]);
}

int CTreeAndSearch::imageOf(const QTreeWidgetItem* item) {
    return item->data(0, kImageRole).toInt();
}

void CTreeAndSearch::showTab(int index) {
    const bool search = index == 1;
    topicTree_->setVisible(index == 0);
    placeTree_->setVisible(index == kPlaceTab);
    searchBox_->setVisible(search);
    hitList_->setVisible(search);
    searchButton_->setVisible(search);
    textChoice_->setVisible(search && owner_.searchesText());
    if (search)
        searchBox_->setFocus();
}

void CTreeAndSearch::SearchTopics() {
    const QString typed = searchBox_->currentText();
    const std::string needle = utf8ToCp949(typed.toStdString());
    if (needle.empty() || !table_)
        return;
    WaitCursor wait;
    hitList_->clear();
    const TopicTable& table = mode_ == panelmode::Map && places_ ? *places_ : *table_;
    int widest = 0;
    const QFontMetrics metrics(hitList_->font());
    std::vector<int> rows = searchTitles(table, needle);
    textSearched_.clear();
    if (textChoice_->isChecked() && owner_.searchesText()) {
        textSearched_ = needle;
        std::unordered_map<std::string_view, int> rowOfKey;
        for (int row = entryCount(table) - 1; row >= 0; --row)
            rowOfKey[table[row].key] = row;
        for (const std::string& key : owner_.keysWithText(needle))
            if (const auto found = rowOfKey.find(key); found != rowOfKey.end())
                rows.push_back(found->second);
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    }
    for (const int row : rows) {
        auto* item = new QTreeWidgetItem(hitList_, {text(table[row].title)});
        item->setData(0, kRowRole, row);
        widest = std::max(widest, metrics.horizontalAdvance(item->text(0)));
    }
    hitList_->setColumnWidth(0, widest + 20);
    if (searchBox_->findText(typed) < 0)
        searchBox_->addItem(typed);
    searchBox_->setEditText(typed);
}

void CTreeAndSearch::OpenEntry(int row) {
    if (!table_ || row < 0 || row >= entryCount(*table_))
        return;
    std::string key = (*table_)[row].key;
    if (key.empty())
        return;
    if (mode_ == panelmode::Topics) {
        LanguageKey chosen = languageKey(std::move(key), korean_);
        extraButton_->setEnabled(chosen.bilingual);
        key = std::move(chosen.key);
    }
    owner_.openPanelEntry(row, key, true);
    if (mode_ == panelmode::Map)
        updateMapButtons();
}

void CTreeAndSearch::OpenPlace(int row) {
    if (!places_ || row < 0 || row >= entryCount(*places_) || (*places_)[row].key.empty())
        return;
    owner_.openPanelEntry(row, "f" + (*places_)[row].key, true);
    updateMapButtons();
}

void CTreeAndSearch::updateMapButtons() {
    const bool map = owner_.showsMap();
    extraButton_->setEnabled(map);
    zoomButton_->setEnabled(map);
}

void CTreeAndSearch::treeChosen(QTreeWidgetItem* item, bool places) {
    if (!item)
        return;
    const int row = item->data(0, kRowRole).toInt();
    places ? OpenPlace(row) : OpenEntry(row);
    if (mode_ == panelmode::Map)
        zoomButton_->setText(QStringLiteral("축소"));
}

void CTreeAndSearch::hitChosen(QTreeWidgetItem* item) {
    if (!item)
        return;
    const int row = item->data(0, kRowRole).toInt();
    mode_ == panelmode::Map&& places_ ? OpenPlace(row) : OpenEntry(row);
    if (!textSearched_.empty())
        owner_.showTextMatch(textSearched_);
}

void CTreeAndSearch::extraClicked() {
    if (mode_ == panelmode::Map) {
        if (owner_.showsMap())
            owner_.showMapLegend();
        return;
    }
    if (mode_ != panelmode::Topics)
        return;
    korean_ = !korean_;
    extraButton_->setText(korean_ ? QStringLiteral("한영") : QStringLiteral("한글"));
    resizeEvent(nullptr); // the caption's width may move the button
    std::string key = owner_.currentPanelKey();
    if (key.size() <= 2)
        return;
    key[1] = korean_ ? 'K' : 'E';
    int row = -1;
    const std::string korean = std::string(1, key[0]) + 'K' + key.substr(2);
    for (int i = 0; i < entryCount(*table_) && row < 0; ++i)
        if ((*table_)[i].key == korean)
            row = i;
    owner_.openPanelEntry(row, key, true);
}

void CTreeAndSearch::zoomClicked() {
    if (mode_ != panelmode::Map || !owner_.showsMap())
        return;
    zoomButton_->setText(owner_.toggleMapZoom() ? QStringLiteral("확대") : QStringLiteral("축소"));
}

std::optional<std::string> CTreeAndSearch::TitleForKey(const std::string& key) const {
    if (!table_)
        return std::nullopt;
    return lookupTitle(mode_, *table_, key);
}

void CTreeAndSearch::ShowCurrentTitle(const std::string& title) {
    const QString shown = text(title);
    // A passage may stand twice in a table; the one the user picked stays selected.
    if (const QTreeWidgetItem* current = topicTree_->currentItem();
        current && current->text(0) == shown)
        return;
    for (QTreeWidgetItemIterator it(topicTree_); *it; ++it)
        if ((*it)->text(0) == shown) {
            topicTree_->setCurrentItem(*it);
            topicTree_->scrollToItem(*it);
            return;
        }
}

bool CTreeAndSearch::isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool CTreeAndSearch::eventFilter(QObject* watched, QEvent* event) {
    if (isEnter(event)) {
        SearchTopics();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CTreeAndSearch::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event))
        SearchTopics();
    else
        QWidget::keyPressEvent(event);
}

void CTreeAndSearch::resizeEvent(QResizeEvent* event) {
    if (event)
        QWidget::resizeEvent(event);
    const int w = width();
    const int h = height();
    const bool map = mode_ == panelmode::Map;
    const int bottom = map ? 25 : 0;
    // The topics' button stands beside the tabs when they leave it room, else on a row of
    // its own under them: it never covers a tab.
    int top = kTabRowHeight;
    if (!map) {
        const int button = extraButtonWidth();
        const bool beside = extraButton_->isHidden() || tabRowWidth() <= w;
        extraButton_->setGeometry(w - button - 2, beside ? 1 : top, button, beside ? 17 : 20);
        if (!beside)
            top += 22;
    }
    tabs_->setGeometry(0, 0, w, h - bottom);
    topicTree_->setGeometry(2, top, w - 4, h - top - 2 - bottom);
    placeTree_->setGeometry(2, top, w - 4, h - top - 2 - bottom);
    searchBox_->setGeometry(2, top, w - 50, 22);
    searchButton_->setGeometry(w - 45, top, 40, 22);
    // The "본문 포함" choice stands between the search text and the hits.
    const int choice = owner_.searchesText() ? 22 : 0;
    textChoice_->setGeometry(4, top + 24, w - 8, 20);
    hitList_->setGeometry(2, top + 24 + choice, w - 4, h - top - 26 - choice - bottom);
    if (map) {
        extraButton_->setGeometry(5, h - 23, 35, 20);
        zoomButton_->setGeometry(50, h - 23, 35, 20);
    }
}

} // namespace qel
