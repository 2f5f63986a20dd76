#include "viewtestframe.h"

#include "platform/commands.h"
#include "richtext/textpane.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace qel;
using namespace viewtest;

namespace {

class TextPaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        prepareDisplay(display);
        pane = std::make_unique<CTextPane>(display);
        pane->resize(300, 200);
        pane->show();
    }
    void TearDown() override { pane->clear(); }

    void fill(const std::string& markup) {
        pane->clear();
        list.clear();
        MarkupParser::parse(&list, markup);
        pane->setList(&list);
    }

    QPoint in(const MarkupNode* piece, int dx = 2) {
        return {piece->left + dx, (piece->top + piece->bottom) / 2 - pane->scrollPosition()};
    }

    TextDisplay display;
    MarkupNodeList list;
    std::unique_ptr<CTextPane> pane;
};

TEST_F(TextPaneTest, LineDownStopsWithTheDocumentEndAtTheBottomEdge) {
    fill(lines(40));
    EXPECT_EQ(pane->scrollPosition(), 0);
    EXPECT_TRUE(pane->laidOut());
    QScrollBar* bar = pane->verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(pane->scrollPosition(), 16);
    const int height = pane->documentHeight();
    for (int i = 0; i < 200; ++i)
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(pane->scrollPosition() + pane->pageHeight(), height);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(pane->scrollPosition(), height - 2 * pane->pageHeight());
}

// Copy's enabling and the plain copy of a selection are ArticleWindow's (a pane as well).
TEST_F(TextPaneTest, CopyWithoutSelectionLeavesTheClipboardAlone) {
    fill(lines(3));
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    EXPECT_TRUE(pane->handleCommand(cmd::Copy));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(TextPaneTest, ClearAfterASelectionForgetsItAndScrollsToTheTop) {
    fill(lines(40));
    const MarkupNode* first = pieceWith(list, "line 0");
    const MarkupNode* third = pieceWith(list, "line 2");
    drag(pane->viewport(), in(first), in(third, 30));
    ASSERT_TRUE(pane->hasSelection());
    pane->scrollTo(100);
    pane->clear();
    EXPECT_FALSE(pane->hasSelection());
    EXPECT_FALSE(pane->hasContent());
    EXPECT_FALSE(pane->laidOut());
    EXPECT_EQ(pane->scrollPosition(), 0);
    EXPECT_EQ(pane->selectedText(), "");
}

TEST_F(TextPaneTest, TheHolderGetsContextMenuPointsInDocumentCoordinates) {
    fill(lines(40));
    QPoint received;
    pane->setContextMenuHandler(
        [&](const QPoint& document, const QPoint&) { received = document; });
    pane->scrollTo(48);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(30, 20),
                            pane->viewport()->mapToGlobal(QPoint(30, 20)));
    QApplication::sendEvent(pane->viewport(), &event);
    EXPECT_EQ(received, QPoint(30, 68));
    EXPECT_NE(pane->pieceAt(received), nullptr);
}

} // namespace
