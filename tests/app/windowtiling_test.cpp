#include "app/windowtiling.h"

#include <gtest/gtest.h>

#include <tuple>

namespace qel {
namespace {

bool inside(const WindowRect& r, int width, int height) {
    return r.x >= 0 && r.y >= 0 && r.width > 0 && r.height > 0 && r.x + r.width <= width &&
           r.y + r.height <= height;
}

bool overlap(const WindowRect& a, const WindowRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

TEST(WindowTiling, CellsCoverTheAreaWithoutOverlapping) {
    for (Tiling tiling : {Tiling::Vertical, Tiling::Horizontal})
        for (int count = 1; count <= 12; ++count) {
            const std::vector<WindowRect> cells = tileWindows(count, 1001, 699, tiling);
            ASSERT_EQ(cells.size(), static_cast<std::size_t>(count));
            long long covered = 0;
            for (std::size_t i = 0; i < cells.size(); ++i) {
                EXPECT_TRUE(inside(cells[i], 1001, 699)) << count << " " << i;
                covered += 1LL * cells[i].width * cells[i].height;
                for (std::size_t j = 0; j < i; ++j)
                    EXPECT_FALSE(overlap(cells[i], cells[j])) << count << " " << i << " " << j;
            }
            EXPECT_EQ(covered, 1001LL * 699) << count;
        }
    EXPECT_TRUE(tileWindows(0, 1000, 700, Tiling::Vertical).empty());
}

TEST(WindowTiling, VerticalPutsWindowsSideBySideHorizontalStacksThem) {
    EXPECT_EQ(tileWindows(1, 1000, 700, Tiling::Horizontal),
              (std::vector<WindowRect>{{0, 0, 1000, 700}}));
    EXPECT_EQ(tileWindows(2, 1000, 700, Tiling::Vertical),
              (std::vector<WindowRect>{{0, 0, 500, 700}, {500, 0, 500, 700}}));
    EXPECT_EQ(tileWindows(2, 1000, 700, Tiling::Horizontal),
              (std::vector<WindowRect>{{0, 0, 1000, 350}, {0, 350, 1000, 350}}));
    EXPECT_EQ(tileWindows(3, 900, 600, Tiling::Horizontal),
              (std::vector<WindowRect>{{0, 0, 900, 200}, {0, 200, 900, 200}, {0, 400, 900, 200}}));

    // Eight windows: four columns of two, or four rows of two.
    for (const auto& [tiling, width, height] :
         {std::tuple{Tiling::Vertical, 250, 350}, std::tuple{Tiling::Horizontal, 500, 175}})
        for (const WindowRect& cell : tileWindows(8, 1000, 700, tiling))
            EXPECT_EQ((WindowRect{cell.x, cell.y, width, height}), cell);

    // Five: the last column (or row) takes the window left over.
    EXPECT_EQ(tileWindows(5, 1000, 600, Tiling::Vertical),
              (std::vector<WindowRect>{{0, 0, 500, 300},
                                       {0, 300, 500, 300},
                                       {500, 0, 500, 200},
                                       {500, 200, 500, 200},
                                       {500, 400, 500, 200}}));
    EXPECT_EQ(tileWindows(5, 1000, 600, Tiling::Horizontal),
              (std::vector<WindowRect>{{0, 0, 500, 300},
                                       {500, 0, 500, 300},
                                       {0, 300, 333, 300},
                                       {333, 300, 333, 300},
                                       {666, 300, 334, 300}}));
}

TEST(WindowTiling, NewWindowsCascadeInsideTheArea) {
    EXPECT_EQ(cascadedPlace(0, 800, 600, 24), (WindowRect{0, 0, 600, 450}));
    EXPECT_EQ(cascadedPlace(2, 800, 600, 24), (WindowRect{48, 48, 600, 450}));
    // 150 pixels of room below the window: places at 0, 24, ... 144, then back to the corner.
    EXPECT_EQ(cascadedPlace(6, 800, 600, 24).y, 144);
    EXPECT_EQ(cascadedPlace(7, 800, 600, 24).y, 0);
    for (int open = 0; open < 40; ++open)
        EXPECT_TRUE(inside(cascadedPlace(open, 534, 715, 26), 534, 715)) << open;
    EXPECT_EQ(cascadedPlace(3, 0, 0, 24), (WindowRect{0, 0, 0, 0}));
}

TEST(WindowTiling, CascadeKeepsEveryWindowAtItsMinimumInsideTheArea) {
    // A wide comparison window, a small one, and one that asks for more than the area.
    const std::vector<WindowSize> minimums = {{760, 300}, {200, 100}, {1200, 900}, {500, 560}};
    const std::vector<WindowRect> places = cascadeWindows(minimums, 800, 600, 24);
    ASSERT_EQ(places.size(), minimums.size());
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_TRUE(inside(places[i], 800, 600)) << i;
        EXPECT_GE(places[i].width, std::min(minimums[i].width, 800)) << i;
        EXPECT_GE(places[i].height, std::min(minimums[i].height, 600)) << i;
    }
    // Windows that fit keep the cascade's steps; a larger one moves back instead.
    EXPECT_EQ(places[1], (WindowRect{24, 24, 600, 450}));
    EXPECT_EQ(places[0], (WindowRect{0, 0, 760, 450}));
    EXPECT_EQ(places[2], (WindowRect{0, 0, 800, 600}));
    EXPECT_EQ(places[3], (WindowRect{72, 40, 600, 560}));
}

TEST(WindowTiling, FittingGrowsACellAndMovesItBackInside) {
    EXPECT_EQ(fitInside({600, 400, 200, 200}, {300, 250}, 800, 600),
              (WindowRect{500, 350, 300, 250}));
    EXPECT_EQ(fitInside({10, 20, 400, 300}, {100, 100}, 800, 600), (WindowRect{10, 20, 400, 300}));
    EXPECT_EQ(fitInside({0, 0, 10, 10}, {100, 100}, 0, 0), (WindowRect{0, 0, 0, 0}));
}

} // namespace
} // namespace qel
