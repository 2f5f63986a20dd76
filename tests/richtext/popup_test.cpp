#include "viewtestframe.h"

#include "richtext/smallview.h"

#include <QScrollBar>
#include <gtest/gtest.h>

using namespace qel;
using namespace viewtest;

namespace {

class PopupTest : public ::testing::Test {
protected:
    void SetUp() override {
        prepareDisplay(display);
        parent.resize(600, 400);
        popup = new SmallView(display, &parent);
        popup->setLinkHandler([this](const std::string& target) { targets.push_back(target); });
        parent.show();
    }

    void showAt(int x, int y, const std::string& markup) {
        popup->setGeometry(x, y, 300, 100);
        popup->SetText(markup);
        popup->show();
        // The scroll bar shows or hides on a queued signal.
        QApplication::processEvents();
    }

    TextDisplay display;
    QWidget parent;
    SmallView* popup;
    std::vector<std::string> targets;
};

TEST_F(PopupTest, SizesItselfToItsText) {
    showAt(20, 20, "or, perfect");
    const int frame = popup->frameWidth();
    EXPECT_EQ(popup->pos(), QPoint(20, 20));
    EXPECT_LT(popup->width(), 150);
    EXPECT_EQ(popup->width(), popup->contentWidth() + 2 * frame);
    EXPECT_EQ(popup->height(), popup->documentHeight() + 2 * frame);
    EXPECT_FALSE(popup->verticalScrollBar()->isVisible());

    std::string paragraph;
    for (int i = 0; i < 12; ++i)
        paragraph += "a longer note that wraps ";
    showAt(20, 20, paragraph);
    EXPECT_GT(popup->width(), 250);
    EXPECT_LE(popup->width(), 300);
    EXPECT_GT(popup->height(), 100);
    EXPECT_EQ(popup->height(), popup->documentHeight() + 2 * frame);
    EXPECT_FALSE(popup->verticalScrollBar()->isVisible());
}

TEST_F(PopupTest, StaysInsideItsParentNearTheEdges) {
    showAt(520, 360, lines(4, "near the corner of the window"));
    EXPECT_TRUE(parent.rect().contains(popup->geometry()))
        << popup->geometry().x() << "," << popup->geometry().y();
    EXPECT_EQ(popup->geometry().bottom(), parent.rect().bottom());
    EXPECT_EQ(popup->geometry().right(), parent.rect().right());
}

// Line steps and the end stop are the shared scrolling of every rich-text window (TextPane).
TEST_F(PopupTest, TallTextScrollsAndNewTextStartsAtTheTop) {
    showAt(20, 20, lines(60));
    EXPECT_EQ(popup->height(), parent.height());
    QScrollBar* bar = popup->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_TRUE(bar->isVisible());
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(popup->scrollPosition() + popup->pageHeight(), popup->documentHeight());
    showAt(20, 20, lines(50));
    EXPECT_EQ(popup->scrollPosition(), 0);
}

// Following a clicked link is checked through the footnote marker of the chapter view.
TEST_F(PopupTest, KeepsFiftyLinksAndAClickBesideThemOnlyHides) {
    std::string many;
    for (int i = 1; i <= 60; ++i)
        many +=
            "{A TAR=BKJVgen001" + std::string(i < 10 ? "00" : "0") + std::to_string(i) + "}v{/A} ";
    showAt(20, 20, many);
    EXPECT_EQ(popup->linkCount(), SmallView::kLinkCapacity);
    showAt(20, 20, "no links here");
    EXPECT_EQ(popup->linkCount(), 0u);
    moveTo(popup->viewport(), QPoint(20, 15));
    EXPECT_EQ(popup->viewport()->cursor().shape(), Qt::ArrowCursor);

    showAt(20, 20, "see {A TAR=BKJVgen001001}Genesis 1:1{/A}");
    const MarkupNode* link = popup->link(0);
    moveTo(popup->viewport(), QPoint(link->left + 4, (link->top + link->bottom) / 2));
    EXPECT_EQ(popup->viewport()->cursor().shape(), Qt::PointingHandCursor);
    press(popup->viewport(), QPoint(3, 3));
    EXPECT_FALSE(popup->isVisible());
    EXPECT_TRUE(targets.empty());
}

} // namespace
