#include "../support/tempdir.h"
#include "app/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Whatever falls back to the user's data folder (the notes) lands in a private one.
    const TempDir dataHome;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dataHome.str()));
    // The program's own application object, so that events reach its exception catch.
    qel::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
