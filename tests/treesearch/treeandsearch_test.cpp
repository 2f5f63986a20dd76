#include "treesearch/treeandsearch.h"

#include "../support/topictablecheck.h"

#include "compare/passagetable.h"
#include "platform/codec.h"
#include "treesearch/treeandsearchowner.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace qel;

namespace {

struct Opened {
    int row;
    std::string key;
    bool record;
    bool operator==(const Opened&) const = default;
};

class RecordingOwner : public TreeAndSearchOwner {
public:
    void openPanelEntry(int row, const std::string& key, bool record) override {
        opened.push_back({row, key, record});
        current = key;
    }
    bool opensFirstEntry() const override { return openFirst; }
    std::string currentPanelKey() const override { return current; }
    bool showsMap() const override { return map; }
    bool toggleMapZoom() override { return zoomed = !zoomed; }
    void showMapLegend() override { ++legends; }

    std::vector<Opened> opened;
    std::string current;
    bool openFirst = true;
    bool map = false;
    bool zoomed = false;
    int legends = 0;
};

QTreeWidgetItem* itemWithText(QTreeWidget* tree, const char* utf8) {
    const QList<QTreeWidgetItem*> found =
        tree->findItems(QString::fromUtf8(utf8), Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

void doubleClick(QTreeWidget* tree, QTreeWidgetItem* item) {
    tree->scrollToItem(item);
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

class TreeAndSearchTest : public ::testing::Test {
protected:
    TreeAndSearchTest() : panel(owner) {
        panel.resize(200, 500);
        panel.show();
    }
    RecordingOwner owner;
    CTreeAndSearch panel;
};

} // namespace

TEST_F(TreeAndSearchTest, GospelTreeStandsFoldedAndOpensOnlyPassages) {
    owner.openFirst = false;
    panel.SetMode(panelmode::Gospels, fourGospelTable());
    QTreeWidget* tree = panel.topicTree();
    EXPECT_EQ(tree->topLevelItemCount(), 16);
    // Only the branch of the selected first entry opens.
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    EXPECT_FALSE(tree->topLevelItem(1)->isExpanded());
    // The first real entry is current, but the comparison window opens empty.
    EXPECT_EQ(tree->currentItem()->text(0), QStringLiteral("말씀이 육신이 되시다"));
    // A title the narrow panel cuts can be read whole.
    EXPECT_EQ(tree->currentItem()->toolTip(0), tree->currentItem()->text(0));
    EXPECT_TRUE(owner.opened.empty());
    // Entry 248 sits at level 2 under its subheading.
    QTreeWidgetItem* supper = itemWithText(tree, "제자들과 함께 유월절을 지키시다");
    ASSERT_TRUE(supper && supper->parent() && supper->parent()->parent());
    EXPECT_EQ(supper->parent()->parent()->parent(), nullptr);

    doubleClick(tree, supper);
    ASSERT_EQ(owner.opened.size(), 1u);
    EXPECT_EQ(owner.opened[0].row, 248);
    EXPECT_TRUE(owner.opened[0].record);
    // The window names its passage by title; of two equal titles the picked one stays.
    const std::string genealogy = utf8ToCp949("예수의 세계");
    panel.ShowCurrentTitle(genealogy);
    EXPECT_EQ(tree->currentItem()->data(0, Qt::UserRole).toInt(), 7);
    const QList<QTreeWidgetItem*> both =
        tree->findItems(QStringLiteral("예수의 세계"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(both.size(), 2);
    tree->setCurrentItem(both[1]);
    panel.ShowCurrentTitle(genealogy);
    EXPECT_EQ(tree->currentItem()->data(0, Qt::UserRole).toInt(), 19);

    // A heading opens nothing.
    tree->expandAll();
    doubleClick(tree, tree->topLevelItem(1));
    EXPECT_EQ(owner.opened.size(), 1u);
}

TEST_F(TreeAndSearchTest, EnterSearchesTitlesAndKeepsTheHistory) {
    panel.SetMode(panelmode::Gospels, fourGospelTable());
    panel.tabs()->setCurrentIndex(1);
    EXPECT_TRUE(panel.searchBox()->isVisible());
    EXPECT_TRUE(panel.hitList()->isVisible());
    EXPECT_FALSE(panel.topicTree()->isVisible());
    QLineEdit* edit = panel.searchBox()->lineEdit();
    edit->setText(QStringLiteral("유월절"));
    QTest::keyClick(edit, Qt::Key_Return);
    const std::vector<int> rows = searchTitles(fourGospelTable(), utf8ToCp949("유월절"));
    ASSERT_EQ(panel.hitList()->topLevelItemCount(), static_cast<int>(rows.size()));
    // The hits are titles shown whole.
    for (int i = 0; i < panel.hitList()->topLevelItemCount(); ++i) {
        const QString title = panel.hitList()->topLevelItem(i)->text(0);
        EXPECT_TRUE(title.contains(QStringLiteral("유월절")));
        EXPECT_GT(panel.hitList()->columnWidth(0),
                  panel.hitList()->fontMetrics().horizontalAdvance(title));
    }

    // Enter on the hit list searches too; the text stays once in the history.
    QTest::keyClick(panel.hitList(), Qt::Key_Enter);
    EXPECT_EQ(panel.searchBox()->count(), 1);
    owner.opened.clear();
    doubleClick(panel.hitList(), panel.hitList()->topLevelItem(0));
    ASSERT_EQ(owner.opened.size(), 1u);
    EXPECT_EQ(owner.opened[0].row, rows[0]);

    edit->setText(QStringLiteral("없는 제목"));
    panel.SearchTopics();
    EXPECT_EQ(panel.hitList()->topLevelItemCount(), 0);
    EXPECT_EQ(panel.searchBox()->count(), 2);
    // An empty text leaves the list and the history alone.
    edit->clear();
    panel.SearchTopics();
    EXPECT_EQ(panel.searchBox()->count(), 2);
}

TEST_F(TreeAndSearchTest, BookGuideTreeOpensBooksAndFoldsSections) {
    const TopicTable guide = topicTable({{0, "1", "율법서"},
                                         {1, "gen", "창세기"},
                                         {2, "gen000", "개요"},
                                         {3, "gen012", "부르심"},
                                         {2, "gen100", "해설"},
                                         {1, "exo", "출애굽기"}});
    panel.SetMode(panelmode::BookGuide, guide);
    QTreeWidget* tree = panel.topicTree();
    QTreeWidgetItem* group = tree->topLevelItem(0);
    QTreeWidgetItem* genesis = group->child(0);
    QTreeWidgetItem* outline = genesis->child(0);
    EXPECT_TRUE(group->isExpanded());
    EXPECT_TRUE(genesis->isExpanded());
    EXPECT_FALSE(outline->isExpanded());
    // The images follow the folding (itemImage has the rules).
    EXPECT_EQ(CTreeAndSearch::imageOf(outline), 0);
    EXPECT_EQ(CTreeAndSearch::imageOf(outline->child(0)), 2);
    genesis->setExpanded(false);
    EXPECT_EQ(CTreeAndSearch::imageOf(genesis), 0);
    // The first entry with a key opens at once.
    ASSERT_EQ(owner.opened.size(), 1u);
    EXPECT_EQ(owner.opened[0], (Opened{0, "1", true}));
    EXPECT_EQ(panel.TitleForKey("en"), utf8ToCp949("창세기"));
}

TEST_F(TreeAndSearchTest, MapModeOpensPlacesAndDrivesTheMapButtons) {
    const TopicTable maps = topicTable({{0, "", "구약"}, {1, "f4", "출애굽 경로"}});
    const TopicTable places = topicTable({{0, "0000012", "가나"}, {0, "0000034", "가데스"}});
    owner.map = true;
    panel.SetMode(panelmode::Map, maps, &places);
    EXPECT_EQ(panel.tabs()->count(), 3);
    EXPECT_EQ(panel.tabs()->tabText(2), QStringLiteral("지명"));
    EXPECT_EQ(panel.extraButton()->text(), QStringLiteral("범례"));
    EXPECT_TRUE(panel.extraButton()->isVisible());
    EXPECT_TRUE(panel.zoomButton()->isVisible());
    ASSERT_EQ(owner.opened.size(), 1u);
    EXPECT_EQ(owner.opened[0].key, "f4");

    panel.tabs()->setCurrentIndex(2);
    EXPECT_TRUE(panel.placeTree()->isVisible());
    QTreeWidgetItem* place = panel.placeTree()->topLevelItem(1);
    EXPECT_EQ(CTreeAndSearch::imageOf(place), 2);
    panel.zoomButton()->click();
    EXPECT_EQ(panel.zoomButton()->text(), QStringLiteral("확대"));
    doubleClick(panel.placeTree(), place);
    EXPECT_EQ(owner.opened.back().key, "f0000034");
    EXPECT_EQ(panel.zoomButton()->text(), QStringLiteral("축소"));
    panel.extraButton()->click();
    EXPECT_EQ(owner.legends, 1);

    // The search goes through the place names.
    panel.searchBox()->setEditText(QStringLiteral("가나"));
    panel.SearchTopics();
    ASSERT_EQ(panel.hitList()->topLevelItemCount(), 1);
    panel.tabs()->setCurrentIndex(1);
    doubleClick(panel.hitList(), panel.hitList()->topLevelItem(0));
    EXPECT_EQ(owner.opened.back().key, "f0000012");
}

TEST_F(TreeAndSearchTest, LanguageSwitchReopensTheTopicAndStaysKoreanWhereItMust) {
    const TopicTable topics =
        topicTable({{0, "SK0100000001", "창조"}, {0, "SK1300000001", "한국 교회"}});
    panel.SetMode(panelmode::Topics, topics);
    EXPECT_EQ(panel.extraButton()->text(), QStringLiteral("한/영"));
    EXPECT_TRUE(panel.extraButton()->isVisible());
    panel.extraButton()->click();
    EXPECT_FALSE(panel.korean());
    EXPECT_EQ(panel.extraButton()->text(), QStringLiteral("한글"));
    EXPECT_EQ(owner.opened.back(), (Opened{0, "SE0100000001", true}));
    panel.OpenEntry(1);
    EXPECT_EQ(owner.opened.back().key, "SK1300000001");
    EXPECT_FALSE(panel.extraButton()->isEnabled());
    panel.OpenEntry(0);
    EXPECT_EQ(owner.opened.back().key, "SE0100000001");
    EXPECT_TRUE(panel.extraButton()->isEnabled());
    panel.extraButton()->click();
    EXPECT_EQ(panel.extraButton()->text(), QStringLiteral("한영"));
    EXPECT_EQ(owner.opened.back().key, "SK0100000001");
}

TEST_F(TreeAndSearchTest, ResizeLaysTheControlsOut) {
    panel.SetMode(panelmode::HistoryBooks, historyBooksTable());
    panel.resize(180, 300);
    EXPECT_EQ(panel.tabs()->geometry(), QRect(0, 0, 180, 300));
    EXPECT_EQ(panel.topicTree()->geometry(), QRect(2, 26, 176, 272));
    EXPECT_EQ(panel.searchBox()->geometry().topLeft(), QPoint(2, 26));
    EXPECT_EQ(panel.searchBox()->width(), 130);
    EXPECT_EQ(panel.searchButton()->geometry(), QRect(135, 26, 40, 22));
    EXPECT_EQ(panel.hitList()->geometry(), QRect(2, 50, 176, 248));
    EXPECT_FALSE(panel.extraButton()->isVisible());
    EXPECT_FALSE(panel.zoomButton()->isVisible());
}

TEST_F(TreeAndSearchTest, TheLanguageButtonAndTheTabsStayWholeAtEveryWidth) {
    const TopicTable topics = topicTable(
        {{0, "SK0100000001", "하나님께서 하늘과 땅을 지으시다"},
         {0, "SK0200000001", "사람이 하나님의 말씀을 어기다"},
         {0, "SK0300000001", "노아가 방주를 지어 살아남다"},
         {0, "SK0400000001", "아주 길어서 좁은 창에서는 툴팁으로만 다 읽히는 주제의 제목"}});
    panel.SetMode(panelmode::Topics, topics);
    const QPushButton* button = panel.extraButton();
    const int preferred = panel.preferredWidth();
    for (int width : {50, 80, 110, 140, preferred, 260}) {
        panel.resize(width, 400);
        const QRect place = button->geometry();
        const QRect tabs = panel.tabs()->geometry();
        for (int i = 0; i < panel.tabs()->count(); ++i)
            EXPECT_FALSE(place.intersects(panel.tabs()->tabRect(i).translated(tabs.topLeft())))
                << width << " tab " << i;
        EXPECT_TRUE(panel.rect().contains(place)) << width;
        EXPECT_GE(place.width(), button->fontMetrics().horizontalAdvance(button->text()) + 8);
        EXPECT_FALSE(place.intersects(panel.topicTree()->geometry())) << width;
    }

    // At its preferred width the panel shows the tabs with the button beside them, and the
    // typical titles whole.
    panel.resize(preferred, 400);
    const int lastTab = panel.tabs()->count() - 1;
    EXPECT_LT(panel.tabs()->tabRect(lastTab).right(), button->x());
    EXPECT_LT(button->y(), panel.tabs()->tabRect(0).bottom());
    QTreeWidget* tree = panel.topicTree();
    for (const char* title : {"하나님께서 하늘과 땅을 지으시다", "사람이 하나님의 말씀을 어기다",
                              "노아가 방주를 지어 살아남다"}) {
        const QRect row = tree->visualItemRect(itemWithText(tree, title));
        EXPECT_LE(row.left() + tree->iconSize().width() +
                      tree->fontMetrics().horizontalAdvance(QString::fromUtf8(title)),
                  tree->viewport()->width())
            << title;
    }
    EXPECT_LE(preferred, 300);
}
