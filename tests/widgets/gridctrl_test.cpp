#include "platform/codec.h"
#include "widgets/gridctrl.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

using namespace qel;

namespace {

CGridCtrl::Row row(const std::string& a, const std::string& text) {
    return {{a, "1", "2", text}, 7};
}

} // namespace

TEST(GridCtrl, HeaderRowDataRowsAndItemData) {
    CGridCtrl grid;
    grid.SetColumnCount(4);
    grid.SetItemText(0, 3, "head");
    EXPECT_EQ(grid.GetRowCount(), 1);
    EXPECT_EQ(grid.model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("head"));
    const int r = grid.InsertRow("a");
    EXPECT_EQ(r, 1);
    grid.SetItemText(r, 3, "5|7||text");
    EXPECT_EQ(grid.GetItemText(1, 0), "a");
    // Shown without the positions; long texts cut.
    EXPECT_EQ(grid.model()->data(grid.model()->index(0, 3)).toString(), QStringLiteral("text"));
    grid.appendRows({row("b", std::string(600, 'x')), row("c", "y")});
    EXPECT_EQ(grid.GetRowCount(), 4);
    EXPECT_EQ(grid.GetItemData(2, 3), 7u);
    EXPECT_EQ(grid.model()->data(grid.model()->index(1, 3)).toString().size(), 504);
    grid.SetRowCount(1);
    EXPECT_EQ(grid.GetRowCount(), 1);
    EXPECT_EQ(grid.GetItemText(0, 3), "head");
    EXPECT_EQ(grid.GetItemText(1, 0), "");
}

TEST(GridCtrl, SelectionKeysAndCopy) {
    CGridCtrl grid;
    grid.SetColumnCount(4);
    std::vector<CGridCtrl::Row> rows;
    for (int i = 0; i < 30000; ++i)
        rows.push_back(row("r" + std::to_string(i + 1), "t"));
    grid.appendRows(std::move(rows));
    grid.resize(400, 300);
    grid.show();
    EXPECT_FALSE(grid.GetSelectedCellRange().isValid());
    grid.setRowCopyForm([&](int r) { return grid.GetItemText(r, 0) + "\n"; });
    EXPECT_EQ(grid.copyRows(false), "");
    grid.selectRow(2);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    const CGridCtrl::CellRange range = grid.GetSelectedCellRange();
    EXPECT_EQ(range.minRow, 2);
    EXPECT_EQ(range.maxRow, 3);
    EXPECT_EQ(range.maxCol, 3);
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("r2\nr3\n"));
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.GetSelectedCellRange().minRow, 30000);
}

namespace {

// Pixels of the highlight colour in one row of the grid.
int highlightedPixels(CGridCtrl& grid, int row) {
    const QImage image = grid.viewport()->grab().toImage();
    const QRect rect = grid.visualRect(grid.model()->index(row - 1, 3));
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() > 150 && c.green() < 90 && c.blue() < 90;
        }
    return count;
}

} // namespace

TEST(GridCtrl, HitPositionsAndHighlightWordsAreDrawnInTheHighlightColour) {
    CGridCtrl grid;
    grid.SetColumnCount(4);
    grid.appendRows({row("a", "2||alpha beta gamma"), row("b", "alpha beta gamma")});
    grid.resize(500, 200);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    EXPECT_GT(highlightedPixels(grid, 1), 0);
    EXPECT_EQ(highlightedPixels(grid, 2), 0);
    grid.SetHighlightWords({"gamma", false, false});
    EXPECT_GT(highlightedPixels(grid, 2), 0);
    // Basic type: whole words only, so "gam" shows nothing in "gamma".
    grid.SetHighlightWords({"gam", false, true});
    EXPECT_EQ(highlightedPixels(grid, 2), 0);
}
