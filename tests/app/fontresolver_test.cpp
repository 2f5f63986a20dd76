#include "app/fontresolver.h"

#include "app/displaysettings.h"
#include "platform/appsettings.h"
#include "platform/codec.h"

#include <QFontInfo>
#include <gtest/gtest.h>

using namespace qel;

TEST(DisplaySettings, TheTextWindowsGetEverySettingTheyShow) {
    AppSettings settings;
    settings.viewMode = 0;
    settings.fontSizeText = "14";
    settings.lineSpaceText = "210";
    settings.useDifferentColor = 0;
    settings.fontFaceName = utf8ToCp949("굴림체");
    for (int slot = 0; slot < kColorSlotCount; ++slot)
        settings.colorTable[slot] = 0x010101u * static_cast<std::uint32_t>(slot + 1);
    const QFont font(QStringLiteral("UnDotum"));
    const TextDisplay display = textDisplayOf(settings, font);
    EXPECT_EQ(display.style.viewMode, 0);
    EXPECT_EQ(display.style.fontSize, 14);
    EXPECT_EQ(display.style.lineSpacing, 210);
    EXPECT_EQ(display.style.useDifferentColor, 0);
    EXPECT_EQ(display.style.colorTable, settings.colorTable);
    EXPECT_EQ(display.font, font);
    EXPECT_EQ(display.fontFace, settings.fontFaceName);
    // The passes start from the colours a new installation has.
    EXPECT_EQ(DisplayStyle().colorTable, AppSettings().colorTable);
}

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
