#include "../support/topicsource.h"
#include "mkdb/photodiagrams.h"
#include "reference/topictrees.h"

#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>

using namespace qel;

namespace {

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

bool drawn(const std::string& key) {
    const auto& keys = mkdb::photoDiagramKeys();
    return std::binary_search(keys.begin(), keys.end(), key);
}

// A caption that speaks of its picture, and phrases that pretend to show a view.
bool claimsPicture(const std::string& caption) {
    return contains(caption, "그림은") || contains(caption, "그린 것");
}
bool describesAView(const std::string& caption) {
    for (const char* phrase : {"모습이다", "내려다본", "바라본 모습", "사진은", "그린 그림"})
        if (contains(caption, phrase))
            return true;
    return false;
}

int leafCount(const TopicTable& tree) {
    return static_cast<int>(std::count_if(tree.begin(), tree.end(), [](const TopicEntry& e) {
        return e.level >= 0 && !e.key.empty();
    }));
}

} // namespace

TEST(PhotoDiagrams, ACaptionSpeaksOfAPictureExactlyWhenThereIsOne) {
    const TopicSourceRows rows = readTopicSource("PHOTO.txt");
    ASSERT_FALSE(rows.empty());
    for (const auto& [key, fields] : rows) {
        const std::string& caption = fields.at(0);
        EXPECT_EQ(claimsPicture(caption), drawn(key))
            << key
            << (drawn(key) ? ": drawn, but the caption does not say what it shows"
                           : ": the caption speaks of a picture that is not drawn");
        if (!drawn(key)) {
            EXPECT_FALSE(describesAView(caption)) << key << ": describes a view it cannot show";
        }
    }
    for (const std::string& key : mkdb::photoDiagramKeys())
        EXPECT_TRUE(rows.contains(key)) << key << ": drawn for a topic that does not exist";
    EXPECT_GE(mkdb::photoDiagramKeys().size(), 40u);
}

TEST(PhotoDiagrams, EveryDiagramIsAPictureThatStaysInsideItsSheet) {
    for (const std::string& key : mkdb::photoDiagramKeys()) {
        const std::string png = mkdb::drawPhotoDiagram(key);
        QImage image;
        ASSERT_TRUE(image.loadFromData(QByteArray::fromStdString(png), "PNG")) << key;
        ASSERT_EQ(image.size(), QSize(560, 380)) << key;
        // Ink reaching the outermost pixels is a drawing or a label cut off by the edge.
        int inkAtEdge = 0, inkInTheMiddle = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const bool dark = qGray(image.pixel(x, y)) < 200;
                inkAtEdge +=
                    dark && (x < 2 || y < 2 || x >= image.width() - 2 || y >= image.height() - 2);
                inkInTheMiddle += dark && y >= 60 && y < 320 && x >= 20 && x < 540;
            }
        EXPECT_EQ(inkAtEdge, 0) << key;
        EXPECT_GT(inkInTheMiddle, 2000) << key << ": little more than a title and a note";
    }
    EXPECT_TRUE(mkdb::drawPhotoDiagram("PHI020000002").empty());
}

TEST(PhotoDiagrams, TheGuideCountsThePhotoAndHistoryTopicsItDescribes) {
    const TopicSourceRows about = readTopicSource("ABOUT.txt");
    const std::string& photo = about.at("ad0507").at(0);
    const int drawnCount = static_cast<int>(mkdb::photoDiagramKeys().size());
    EXPECT_TRUE(contains(photo, (std::to_string(leafCount(photoTree())) + "개의 항목").c_str()))
        << photo;
    EXPECT_TRUE(contains(photo, (std::to_string(drawnCount) + "개 항목").c_str())) << photo;
    const std::string& came = about.at("ad0510").at(0);
    EXPECT_TRUE(contains(came, (std::to_string(leafCount(cameTree())) + "개의 항목").c_str()))
        << came;
}
