#include "app/fontresolver.h"

#include "app/appsettings.h"
#include "platform/codec.h"

#include <QFontInfo>
#include <gtest/gtest.h>

using namespace qel;

TEST(FontResolver, HistoricFaceNamesResolveToInstalledKoreanFaces) {
    installFontSubstitutions();
    AppSettings settings;
    const QFont batang = makeDisplayFont(settings, 96);
    EXPECT_EQ(batang.pixelSize(), 14);
    EXPECT_EQ(batang.weight(), QFont::Medium);
    EXPECT_EQ(QFontInfo(batang).family(), QStringLiteral("UnBatang"));

    settings.fontFaceName = utf8ToCp949("굴림체");
    EXPECT_EQ(QFontInfo(makeDisplayFont(settings, 96)).family(), QStringLiteral("Baekmuk Gulim"));
}
