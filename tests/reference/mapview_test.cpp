#include "reference/mapview.h"

#include "../support/pdftext.h"
#include "../support/tempdir.h"
#include "platform/appcontext.h"
#include "platform/commands.h"
#include "reference/maplegend.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace qel;

namespace {

// Map 3 as a gradient whose pixels tell their own position, its half-size small bitmap
// and a legend, in a temporary map folder.
class MapViewTest : public ::testing::Test {
protected:
    MapViewTest() {
        context.paths.mapFolder = dir.str() + "/";
        QImage large(1200, 790, QImage::Format_RGB32);
        for (int y = 0; y < large.height(); ++y)
            for (int x = 0; x < large.width(); ++x)
                large.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + y / 256));
        large.save(QString::fromStdString(mapFileName(context.paths.mapFolder, 3, 'b')), "BMP");
        large.scaled(600, 395).save(
            QString::fromStdString(mapFileName(context.paths.mapFolder, 3, 's')), "BMP");
        QImage legend(120, 80, QImage::Format_Indexed8);
        legend.setColorCount(2);
        legend.setColor(0, qRgb(255, 255, 255));
        legend.setColor(1, qRgb(0, 0, 0));
        legend.fill(1);
        legend.save(QString::fromStdString(mapFileName(context.paths.mapFolder, 3, 'i')), "BMP");
        view = std::make_unique<CMapView>(context, nullptr);
        view->resize(400, 300);
        view->show();
    }

    QSize visible() const { return view->viewport()->size(); }

    TempDir dir;
    AppContext context;
    std::unique_ptr<CMapView> view;
};

TEST_F(MapViewTest, KeysLoadTheMapAndCentreTheFrame) {
    ASSERT_TRUE(view->LoadMap("3"));
    EXPECT_TRUE(view->loaded());
    EXPECT_FALSE(view->frame());
    EXPECT_FALSE(view->smallScale());
    EXPECT_EQ(view->scrollPosition(), QPoint(0, 0));
    EXPECT_EQ(view->mapSize(), QSize(1200, 790));
    EXPECT_EQ(view->legend()->windowTitle(), QStringLiteral("범례 : 사도 바울의 여행"));
    EXPECT_EQ(view->legend()->picture()->pixmap().size(), QSize(120, 80));

    // The frame (146, 642, 606, 783) is parseMapKey's, centring it MapScrollTest's: wider
    // than the view, its left edge; lower than the view, centred, then clamped.
    ASSERT_TRUE(view->LoadMap("3214500"));
    ASSERT_TRUE(view->frame());
    const int y = 642 - (visible().height() - 141) / 2;
    EXPECT_EQ(view->scrollPosition(), QPoint(146, std::min(y, 790 - visible().height())));
}

TEST_F(MapViewTest, MissingOrDamagedBitmapsLeaveTheViewEmpty) {
    ASSERT_TRUE(view->LoadMap("3"));
    EXPECT_FALSE(view->LoadMap("2"));
    EXPECT_FALSE(view->loaded());
    EXPECT_FALSE(view->LoadMap("9"));
    // A small bitmap that does not match the large one (damaged, or of another map) too.
    QImage(600, 300, QImage::Format_RGB32)
        .save(QString::fromStdString(mapFileName(context.paths.mapFolder, 3, 's')), "BMP");
    EXPECT_FALSE(view->LoadMap("3"));
    // A small bitmap that is not a bitmap fails the whole map.
    std::ofstream(mapFileName(context.paths.mapFolder, 3, 's'), std::ios::binary) << "PM garbage";
    EXPECT_FALSE(view->LoadMap("3214500"));
    EXPECT_FALSE(view->loaded());
    EXPECT_FALSE(view->copy());
    view->selectAll();
    EXPECT_FALSE(view->canCopy());
    view->grab(); // paints nothing, and does not crash
}

TEST_F(MapViewTest, DraggingPansAndStopsAtTheEdges) {
    ASSERT_TRUE(view->LoadMap("3"));
    QWidget* port = view->viewport();
    QTest::mousePress(port, Qt::LeftButton, {}, QPoint(300, 200));
    QTest::mouseMove(port, QPoint(250, 150));
    EXPECT_EQ(view->scrollPosition(), QPoint(50, 50));
    // Far beyond the right and bottom edges: the last position that still shows map (both
    // edges are clampScroll's, MapScrollTest).
    QTest::mouseMove(port, QPoint(-5000, -5000));
    const QPoint end(1200 - visible().width(), 790 - visible().height());
    EXPECT_EQ(view->scrollPosition(), end);
    QTest::mouseRelease(port, Qt::LeftButton, {}, QPoint(-5000, -5000));
    QTest::mouseMove(port, QPoint(10, 10));
    EXPECT_EQ(view->scrollPosition(), end);
}

TEST_F(MapViewTest, KeysScrollByFiftyPixelsAndByPages) {
    ASSERT_TRUE(view->LoadMap("3"));
    QTest::keyClick(view.get(), Qt::Key_Right);
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(view->scrollPosition(), QPoint(50, 50));
    QTest::keyClick(view.get(), Qt::Key_PageDown);
    EXPECT_EQ(view->scrollPosition().y(), 50 + visible().height());
    QTest::keyClick(view.get(), Qt::Key_PageUp);
    QTest::keyClick(view.get(), Qt::Key_Left);
    QTest::keyClick(view.get(), Qt::Key_Left);
    EXPECT_EQ(view->scrollPosition(), QPoint(0, 50));
}

TEST_F(MapViewTest, ScaleChangeKeepsThePointUnderTheMouse) {
    ASSERT_TRUE(view->LoadMap("3"));
    view->horizontalScrollBar()->setValue(500);
    view->verticalScrollBar()->setValue(300);
    const QPoint at(100, 80);
    // Bitmap point (600, 380) is under the mouse; on the small bitmap it is (300, 190).
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    EXPECT_TRUE(view->smallScale());
    EXPECT_EQ(view->mapSize(), QSize(600, 395));
    EXPECT_EQ(view->scrollPosition(), QPoint(300 - 100, 190 - 80));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(view->smallScale());
    EXPECT_EQ(view->scrollPosition(), QPoint(500, 300));
}

TEST_F(MapViewTest, FrameIsACheckerboardInTheHighlightColourAtBothScales) {
    ASSERT_TRUE(view->LoadMap("3101101")); // cell A1: 15 ... 146, 16 ... 180
    const QRgb highlight = view->palette().color(QPalette::Highlight).rgb();
    for (bool small : {false, true}) {
        SCOPED_TRACE(small);
        if (small)
            view->changeScale(QPoint(0, 0));
        const QImage shot =
            view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint origin = -view->scrollPosition();
        const int left = small ? 7 : 15, top = small ? 8 : 16, right = small ? 73 : 146;
        // Inside the band every other pixel is the highlight; the map shows between.
        int marked = 0;
        for (int x = left; x < left + 6; ++x)
            marked += shot.pixel(origin + QPoint(x, top + 3)) == highlight;
        EXPECT_EQ(marked, 3);
        marked = 0;
        for (int x = right - 7; x < right; ++x)
            marked += shot.pixel(origin + QPoint(x, top + 40)) == highlight;
        EXPECT_GE(marked, 3);
        EXPECT_LE(marked, 4);
        // Off the band the map itself.
        EXPECT_NE(shot.pixel(origin + QPoint(left + 20, top + 20)), highlight);
        EXPECT_NE(shot.pixel(origin + QPoint(left + 20, top + 21)), highlight);
    }
}

TEST_F(MapViewTest, SelectAllInvertsAndCopiesTheLargeBitmap) {
    ASSERT_TRUE(view->LoadMap("3"));
    EXPECT_TRUE(view->canSelectAll());
    EXPECT_FALSE(view->canCopy());
    EXPECT_FALSE(view->copy());
    const QRgb before = view->viewport()->grab().toImage().pixel(10, 20);
    EXPECT_TRUE(view->handleCommand(cmd::SelectAll));
    EXPECT_TRUE(view->canCopy());
    EXPECT_FALSE(view->canSelectAll());
    EXPECT_EQ(view->viewport()->grab().toImage().pixel(10, 20), before ^ 0x00FFFFFFu);
    EXPECT_TRUE(view->handleCommand(cmd::Copy));
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(1200, 790));
    // Pressing the button to drag ends the selection.
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(view->selected());
}

// The enabled state of the context menu's three entries while it is open.
std::vector<bool> contextMenuStates(CMapView& view) {
    std::vector<bool> states;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            states.push_back(action->isEnabled());
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                            view.viewport()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(view.viewport(), &event);
    return states;
}

TEST_F(MapViewTest, ContextMenuCopiesOnlyWhatIsSelected) {
    ASSERT_TRUE(view->LoadMap("3"));
    EXPECT_EQ(contextMenuStates(*view), (std::vector<bool>{false, true, true}));
    view->selectAll();
    EXPECT_EQ(contextMenuStates(*view), (std::vector<bool>{true, false, true}));
}

TEST_F(MapViewTest, PrintsTheMapIntoTheMargins) {
    ASSERT_TRUE(view->LoadMap("3"));
    const std::string pdf = dir.str() + "/map.pdf";
    view->setPrintDialog([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    });
    EXPECT_TRUE(view->handleCommand(cmd::PrintMap));
    // The map's name at the top, the program's title at the bottom.
    const std::string text = pdfText(pdf);
    const auto name = text.find("사도 바울의 여행");
    const auto title = text.find("QEL CD-ROM 성경");
    ASSERT_NE(name, std::string::npos) << text;
    ASSERT_NE(title, std::string::npos) << text;
    EXPECT_LT(name, title);
    view->setPrintDialog([](QPrinter&, QWidget*) { return false; });
    EXPECT_FALSE(view->print());
}

TEST_F(MapViewTest, TheLegendTogglesAndStaysOnTheScreen) {
    ASSERT_TRUE(view->LoadMap("3"));
    EXPECT_FALSE(view->legend()->isVisible());
    view->showLegend();
    EXPECT_TRUE(view->legend()->isVisible());
    EXPECT_TRUE(view->handleCommand(cmd::MapLegend));
    EXPECT_FALSE(view->legend()->isVisible());

    // A view that reaches beyond the screen's right edge keeps its legend on the screen.
    const QRect screen = view->screen()->availableGeometry();
    view->window()->move(screen.right() - 100, screen.top() + 10);
    view->showLegend();
    EXPECT_TRUE(screen.contains(view->legend()->frameGeometry()));
}

} // namespace
