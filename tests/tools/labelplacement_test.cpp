#include "mkdb/labelplacement.h"

#include <gtest/gtest.h>

using namespace qel::mkdb;

namespace {

const LabelRules kRules{{0, 0, 400, 400}, 4, 4, 6};

LabelBox markOf(const LabelRequest& r) {
    return {r.x - kRules.markRadius, r.y - kRules.markRadius, r.x + kRules.markRadius,
            r.y + kRules.markRadius};
}

// No name overlaps another name, a fixed box or a drawn mark.
void expectClear(const std::vector<LabelRequest>& requests, const std::vector<LabelBox>& fixed,
                 const LabelLayout& layout) {
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (!layout.labels[i])
            continue;
        const LabelBox& box = *layout.labels[i];
        EXPECT_TRUE(box.within(kRules.bounds)) << i;
        for (const LabelBox& f : fixed) {
            EXPECT_FALSE(box.intersects(f)) << i;
        }
        for (std::size_t j = 0; j < requests.size(); ++j) {
            if (j != i && layout.labels[j]) {
                EXPECT_FALSE(box.intersects(*layout.labels[j])) << i << " " << j;
            }
            if (layout.marked[j]) {
                EXPECT_FALSE(box.intersects(markOf(requests[j]))) << i << " " << j;
            }
        }
    }
}

// A crowd of places around one important place, listed before it, with a region name
// right beside it: the important name still finds room and nothing overlaps.
TEST(LabelPlacementTest, ImportantNameFindsRoomInACrowd) {
    std::vector<LabelRequest> requests;
    for (int dx = -3; dx <= 3; ++dx)
        for (int dy = -3; dy <= 3; ++dy)
            if (dx || dy)
                requests.push_back({200.0 + dx * 9, 200.0 + dy * 9, 40, 14, false});
    requests.push_back({200, 200, 50, 14, true});
    const std::vector<LabelBox> fixed = {{206, 190, 300, 210}, {120, 190, 194, 210}};
    const LabelLayout layout = placeLabels(requests, fixed, kRules);
    EXPECT_TRUE(layout.marked.back());
    ASSERT_TRUE(layout.labels.back());
    expectClear(requests, fixed, layout);
    // The crowd cannot all be named; those without room keep their mark only.
    const auto named = std::count_if(layout.labels.begin(), layout.labels.end(),
                                     [](const auto& l) { return l.has_value(); });
    const auto marked = std::count(layout.marked.begin(), layout.marked.end(), true);
    EXPECT_LT(named, marked);
}

TEST(LabelPlacementTest, MarksMakeWayForImportantPlaces) {
    // An ordinary place on top of an important one gives up its mark, wherever it is
    // listed; one under the important name is left off too.
    const std::vector<LabelRequest> requests = {
        {100, 100, 30, 14, false}, {102, 100, 30, 14, true}, {130, 100, 30, 14, false}};
    const LabelLayout layout = placeLabels(requests, {}, kRules);
    EXPECT_FALSE(layout.marked[0]);
    EXPECT_TRUE(layout.marked[1]);
    ASSERT_TRUE(layout.labels[1]);
    // Right of the mark is the first choice.
    EXPECT_DOUBLE_EQ(layout.labels[1]->left, 108);
    EXPECT_FALSE(layout.marked[2]);
    expectClear(requests, {}, layout);
}

TEST(LabelPlacementTest, NamesStayInsideTheMap) {
    // At the right edge the name goes to the left of its mark.
    const std::vector<LabelRequest> requests = {{395, 200, 60, 14, false}};
    const LabelLayout layout = placeLabels(requests, {}, kRules);
    ASSERT_TRUE(layout.labels[0]);
    EXPECT_LT(layout.labels[0]->right, 395);
    // A mark outside the map is not drawn.
    EXPECT_FALSE(placeLabels({{402, 200, 10, 10, false}}, {}, kRules).marked[0]);
}

} // namespace
