#include "reference/topiclibrary.h"

#include "../support/tempdir.h"
#include "../support/topicfixture.h"
#include "app/displaysettings.h"
#include "mkdb/photodiagrams.h"
#include "platform/appsettings.h"
#include "reference/m14view.h"
#include "reference/topiclibraries.h"
#include "reference/topicpage.h"

#include <QImage>
#include <QLabel>
#include <gtest/gtest.h>

using namespace qel;

TEST(TopicLibraries, ThePhotoLibraryShowsItsPictureAboveTheText) {
    TempDir dir;
    // Only the first topic of the fixture gets its picture.
    buildFixtureTopics(dir.path(), dir.path() / "M14", [](const std::string& key) {
        return key == "PHI010000001" ? mkdb::drawPhotoDiagram(key) : std::string();
    });
    AppSettings settings;
    const TextDisplay display = textDisplayOf(settings, QFont());
    TopicLibrary::setEnvironment(nullptr, &display);
    CM14View view;
    view.resize(700, 600);
    view.show();
    view.Bind("PHOTO", dir.str() + "/M14/");
    TopicLibrary& library = TopicLibrary::of(TopicLibraryKind::Ph);
    ASSERT_TRUE(library.fileOpen());
    EXPECT_EQ(PhShowTopic("PHI010000001"), 1);
    EXPECT_TRUE(library.page()->hasPicture());
    EXPECT_EQ(library.page()->picture()->pixmap().size(), QSize(560, 380));
    EXPECT_EQ(PhShowTopic("PHI020000001"), 1);
    EXPECT_FALSE(library.page()->hasPicture());
    EXPECT_EQ(PhShowTopic("PHI999999999"), 0) << "an unknown key shows nothing";

    // The library's window follows the view; the picture shrinks with it.
    EXPECT_EQ(PhShowTopic("PHI010000001"), 1);
    view.resize(280, 420);
    EXPECT_EQ(library.window()->geometry(), view.rect());
    EXPECT_EQ(library.page()->picture()->pixmap().width(), 280);
    EXPECT_EQ(library.page()->picture()->pixmap().height(), 190);
    // A library with no view to paint into does nothing.
    EXPECT_EQ(AdShowTopic("ad0001"), 0);
    TopicLibrary::setEnvironment(nullptr, nullptr);
}
