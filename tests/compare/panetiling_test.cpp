#include "compare/panetiling.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qel;

namespace {

std::vector<PaneRect> tile(PaneTiler& tiler, int n, int w, int h) {
    std::vector<PaneRect> rects;
    for (int k = 0; k < n; ++k)
        rects.push_back(tiler.next(n, w, h));
    return rects;
}

} // namespace

TEST(PaneTiling, OneToFourPanes) {
    PaneTiler tiler;
    EXPECT_EQ(tile(tiler, 1, 801, 601), (std::vector<PaneRect>{{0, 0, 801, 601}}));
    EXPECT_EQ(tile(tiler, 2, 801, 601),
              (std::vector<PaneRect>{{0, 0, 400, 601}, {400, 0, 400, 601}}));
    EXPECT_EQ(tile(tiler, 3, 800, 600),
              (std::vector<PaneRect>{{0, 0, 266, 600}, {266, 0, 266, 600}, {533, 0, 266, 600}}));
    // Matthew top left, Mark top right, Luke bottom left, John bottom right.
    EXPECT_EQ(tile(tiler, 4, 1000, 701),
              (std::vector<PaneRect>{
                  {0, 0, 500, 350}, {500, 0, 500, 350}, {0, 350, 500, 350}, {500, 350, 500, 350}}));
}

TEST(PaneTiling, FiveAndSixPanes) {
    PaneTiler tiler;
    EXPECT_EQ(tile(tiler, 5, 900, 600), (std::vector<PaneRect>{{0, 0, 450, 300},
                                                               {450, 0, 450, 300},
                                                               {0, 300, 300, 300},
                                                               {300, 300, 300, 300},
                                                               {600, 300, 300, 300}}));
    EXPECT_EQ(tile(tiler, 6, 900, 601), (std::vector<PaneRect>{{0, 0, 300, 300},
                                                               {300, 0, 300, 300},
                                                               {600, 0, 300, 300},
                                                               {0, 300, 300, 300},
                                                               {300, 300, 300, 300},
                                                               {600, 300, 300, 300}}));
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
