#include "bible/versiontitles.h"

#include "platform/codec.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

std::string cp(std::string_view utf8) {
    return utf8ToCp949(utf8);
}

const std::string kUnknown = "unknwon";

TEST(VersionTitles, ShortTitles) {
    EXPECT_EQ(versionShortTitle("KJV"), "KJV");
    EXPECT_EQ(versionShortTitle("TEV"), "TEV");
    EXPECT_EQ(versionShortTitle("VRA"), cp("역본 가"));
    EXPECT_EQ(versionShortTitle("VRD"), cp("해설서 라"));
    EXPECT_EQ(versionShortTitle("XYZ"), kUnknown);
    EXPECT_EQ(versionShortTitle("vra"), kUnknown);
    EXPECT_EQ(versionShortTitle(""), kUnknown);
}

} // namespace
} // namespace qel
