#include "compare/panetiling.h"

#include <gtest/gtest.h>

#include <string>

using namespace qel;

namespace {

// "x,y WxH" of each of n panes, in the order they are placed.
std::string tile(PaneTiler& tiler, int n, int w, int h) {
    std::string rects;
    for (int k = 0; k < n; ++k) {
        const PaneRect r = tiler.next(n, w, h);
        rects += (k ? " " : "") + std::to_string(r.x) + "," + std::to_string(r.y) + " " +
                 std::to_string(r.width) + "x" + std::to_string(r.height);
    }
    return rects;
}

} // namespace

TEST(PaneTiling, OneToSixPanes) {
    PaneTiler tiler;
    EXPECT_EQ(tile(tiler, 1, 801, 601), "0,0 801x601");
    EXPECT_EQ(tile(tiler, 2, 801, 601), "0,0 400x601 400,0 400x601");
    EXPECT_EQ(tile(tiler, 3, 800, 600), "0,0 266x600 266,0 266x600 533,0 266x600");
    // Matthew top left, Mark top right, Luke bottom left, John bottom right.
    EXPECT_EQ(tile(tiler, 4, 1000, 701), "0,0 500x350 500,0 500x350 0,350 500x350 500,350 500x350");
    EXPECT_EQ(tile(tiler, 5, 900, 600),
              "0,0 450x300 450,0 450x300 0,300 300x300 300,300 300x300 600,300 300x300");
    EXPECT_EQ(
        tile(tiler, 6, 900, 601),
        "0,0 300x300 300,0 300x300 600,0 300x300 0,300 300x300 300,300 300x300 600,300 300x300");
}

TEST(PaneTiling, CounterReturnsToOneOnlyAfterTheLastPosition) {
    PaneTiler tiler;
    tiler.next(4, 100, 100);
    tiler.next(4, 100, 100);
    tiler.next(4, 100, 100); // a minimized fourth pane took no position
    EXPECT_EQ(tiler.position(), 4);
    EXPECT_EQ(tiler.next(4, 100, 100), (PaneRect{50, 50, 50, 50}));
    EXPECT_EQ(tiler.position(), 1);
    // Each kind of view counts for itself, in the set the application owns.
    PaneTilers tilers;
    historyBooksTiler().next(6, 60, 60);
    EXPECT_EQ(tilers.historyBooks.position(), 2);
    EXPECT_EQ(historyBooksTiler().position(), 2);
    EXPECT_EQ(fourGospelTiler().position(), 1);
}
