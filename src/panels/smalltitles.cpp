#include "panels/smalltitles.h"

#include "bible/booktable.h"
#include "panels/sectiontitles.h"
#include "platform/codec.h"
#include "platform/database.h"
#include "platform/messagesink.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

namespace qel {
namespace {

constexpr int kCodeRole = Qt::UserRole;
constexpr int kDockedWidth = 100;
// Beyond this a long title shows through its tooltip, not by taking the text's room.
constexpr int kMostDockedWidth = 300;
constexpr int kDockedHeight = 1600;
constexpr int kMinimum = 30;
constexpr int kLeftRoom = 100;
constexpr int kRightRoom = 250;

QString shown(const std::string& cp949) {
    return QString::fromStdString(cp949ToUtf8(cp949));
}

std::string cp949Of(const QString& text) {
    return utf8ToCp949(text.toStdString());
}

// The docking layout sizes a panel from its content's hints, so the content asks for the
// panel's docked size rather than for room for the tree and both tabs; the edge limits,
// not the controls' wishes, bound the panel's width.
class TitleTabs : public QTabWidget {
public:
    using QTabWidget::QTabWidget;
    QSize sizeHint() const override { return {dockedWidth, kDockedHeight}; }
    QSize minimumSizeHint() const override { return {kMinimum, kMinimum}; }
    int dockedWidth = kDockedWidth;
};

// The width at which the tabs and three in four of the sample titles show whole.
int typicalWidth(const QTabWidget& tabs, const QTreeWidget& tree,
                 const std::vector<QString>& titles) {
    const QFontMetrics metrics = tree.fontMetrics();
    const int room = 2 * tree.indentation() + 2 * tree.frameWidth() + 12 +
                     tree.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    std::vector<int> widths;
    for (const QString& title : titles)
        widths.push_back(metrics.horizontalAdvance(title) + room);
    int typical = 0;
    if (!widths.empty()) {
        const auto at = widths.begin() + static_cast<std::ptrdiff_t>(widths.size() * 3 / 4);
        std::nth_element(widths.begin(), at, widths.end());
        typical = std::min(*at, kMostDockedWidth);
    }
    const int tabRow = tabs.tabBar()->sizeHint().width() + 4;
    return std::max({kDockedWidth, tabRow, typical});
}

} // namespace

CSmallTitles::CSmallTitles(Database& contentDb, std::string version, GoToFn goTo, QWidget* parent)
    : QDockWidget(parent), contentDb_(contentDb), version_(std::move(version)),
      goTo_(std::move(goTo)), tabs_(new TitleTabs(this)), tree_(new QTreeWidget),
      searchBox_(new QComboBox), searchButton_(new QPushButton(QStringLiteral("찾기"))),
      hits_(new QListWidget) {
    setObjectName(QStringLiteral("SmallTitles"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    setFeatures(QDockWidget::DockWidgetClosable);
    tree_->header()->hide();
    tree_->setRootIsDecorated(false);
    // A book loads its titles at the first double-click; after that the double-click opens
    // and closes it, which the handler does itself.
    tree_->setExpandsOnDoubleClick(false);
    tabs_->addTab(tree_, QStringLiteral("소제목"));

    auto* searchPage = new QWidget;
    auto* column = new QVBoxLayout(searchPage);
    column->setContentsMargins(3, 3, 3, 3);
    auto* row = new QHBoxLayout;
    searchBox_->setEditable(true);
    searchBox_->setInsertPolicy(QComboBox::NoInsert);
    row->addWidget(searchBox_, 1);
    row->addWidget(searchButton_);
    column->addLayout(row);
    column->addWidget(hits_, 1);
    tabs_->addTab(searchPage, QStringLiteral("찾기"));
    setWidget(tabs_);

    connect(tabs_, &QTabWidget::currentChanged, this, &CSmallTitles::onTabChanged);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { OpenTitleItem(item); });
    connect(hits_, &QListWidget::itemDoubleClicked, this, &CSmallTitles::OpenHit);
    connect(searchButton_, &QPushButton::clicked, this, &CSmallTitles::SearchTitles);
    // Enter anywhere in the panel searches.
    for (auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), this);
        enter->setContext(Qt::WidgetWithChildrenShortcut);
        connect(enter, &QShortcut::activated, this, &CSmallTitles::SearchTitles);
    }
    SetBooks();
}

void CSmallTitles::SetBooks() {
    tree_->clear();
    for (const BookRow& book : bookTableOf(version_)) {
        auto* item = new QTreeWidgetItem(tree_, {shown(book.name)});
        item->setData(0, kCodeRole, QString::fromStdString(book.code));
    }
    // The first book's titles stand for the typical title.
    std::vector<QString> samples;
    if (tree_->topLevelItemCount() > 0) {
        try {
            const std::string first =
                tree_->topLevelItem(0)->data(0, kCodeRole).toString().toStdString();
            for (const std::string& title : sectionTitlesOf(contentDb_, version_, first))
                samples.push_back(shown(title));
        } catch (const DatabaseError& e) {
            logWarning(e.what()); // a damaged table: the width follows the tabs alone
        }
    }
    static_cast<TitleTabs*>(tabs_)->dockedWidth = typicalWidth(*tabs_, *tree_, samples);
    tabs_->updateGeometry();
}

void CSmallTitles::onTabChanged(int index) {
    if (index == 0)
        tree_->setFocus();
    else
        searchBox_->setFocus();
}

void CSmallTitles::OpenTitleItem(QTreeWidgetItem* item) {
    if (!item)
        return;
    if (QTreeWidgetItem* book = item->parent()) {
        const TitlePlace place = titlePlace(cp949Of(item->text(0)));
        goTo_(book->data(0, kCodeRole).toString().toStdString(), place.chapter, place.verse);
        return;
    }
    if (item->childCount() > 0) {
        item->setExpanded(!item->isExpanded());
        return;
    }
    std::vector<std::string> titles;
    try {
        titles = sectionTitlesOf(contentDb_, version_,
                                 item->data(0, kCodeRole).toString().toStdString());
    } catch (const DatabaseError& e) {
        logWarning(e.what()); // a damaged table: the book stays without titles
    }
    // A narrow panel cuts long titles; the tooltip shows them whole.
    for (const std::string& title : titles)
        (new QTreeWidgetItem(item, {shown(title)}))->setToolTip(0, shown(title));
    item->setExpanded(true);
}

void CSmallTitles::SearchTitles() {
    hits_->clear();
    const QString typed = searchBox_->currentText();
    searchBox_->insertItem(0, typed);
    searchBox_->setCurrentIndex(0);
    std::vector<std::string> found;
    try {
        found = searchSectionTitles(contentDb_, version_, cp949Of(typed));
    } catch (const DatabaseError& e) {
        logWarning(e.what());
    }
    for (const std::string& hit : found) {
        auto* item = new QListWidgetItem(shown(hit), hits_);
        item->setToolTip(item->text().left(79));
    }
}

void CSmallTitles::OpenHit(QListWidgetItem* item) {
    if (!item)
        return;
    const HitPlace place = hitPlace(cp949Of(item->text()));
    std::string name;
    for (const BookRow& book : bookTableOf(version_))
        if (book.abbreviation == place.abbreviation)
            name = book.name;
    goTo_(bookCodeOf(name, version_), place.chapter, place.verse);
}

void CSmallTitles::fitWindow(int windowWidth) {
    setMinimumWidth(kLeftRoom);
    setMaximumWidth(std::max(kLeftRoom, windowWidth - kRightRoom));
}

} // namespace qel
