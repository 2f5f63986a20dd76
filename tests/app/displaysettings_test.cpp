// The display settings: their dialogs (colours, font, view mode), the settings the text
// windows get, and the font faces the historic names resolve to.
#include "app/colordialog.h"
#include "app/displaysettings.h"
#include "app/fontdialog.h"
#include "app/fontresolver.h"
#include "app/viewmodedialog.h"

#include "../support/settingsdialog.h"
#include "platform/appsettings.h"
#include "platform/codec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace qel;

namespace {

class ColorDialogTest : public SettingsDialogTest<CColorDialog> {
protected:
    std::optional<QColor> nextChoice;
    QColor offeredColor;

    std::unique_ptr<CColorDialog> open() {
        auto dialog = std::make_unique<CColorDialog>(settings, store, [this] { ++appliedCount; });
        dialog->setColorChooser([this](const QColor& initial, QWidget*) {
            offeredColor = initial;
            return nextChoice;
        });
        dialog->show();
        return dialog;
    }

    static int swatchOf(const CColorDialog& dialog, const QString& label) {
        for (int i = 0; i < CColorDialog::kSwatchCount; ++i)
            if (dialog.swatchLabel(i)->text() == label)
                return i;
        ADD_FAILURE() << label.toStdString();
        return 0;
    }
};

TEST_F(ColorDialogTest, SwatchesShowTheirSlotsNextToTheirLabels) {
    settings.colorTable[kColorPersonName] = 0x00FF00;
    settings.colorTable[kColorSectionTitle] = 0x0000FF;
    settings.useDifferentColor = 0;
    auto dialog = open();
    EXPECT_FALSE(dialog->differentColorBox()->isChecked());

    const int person = swatchOf(*dialog, QStringLiteral("인명"));
    EXPECT_EQ(dialog->swatch(person)->color(), QColor(0, 255, 0));
    const int title = swatchOf(*dialog, QStringLiteral("책별 소제목"));
    EXPECT_EQ(dialog->swatch(title)->color(), QColor(255, 0, 0));
    EXPECT_EQ(dialog->swatch(swatchOf(*dialog, QStringLiteral("난하주(난외주)")))->color(),
              QColor(127, 63, 63));

    const QImage image = dialog->swatch(title)->grab().toImage();
    EXPECT_EQ(image.pixelColor(image.rect().center()), QColor(255, 0, 0));
}

TEST_F(ColorDialogTest, AChosenColourIsUsedAtOnce) {
    auto dialog = open();
    const int link = swatchOf(*dialog, QStringLiteral("관련 링크"));
    nextChoice = QColor(10, 20, 30);
    QTest::mouseClick(dialog->swatch(link), Qt::LeftButton);
    EXPECT_EQ(offeredColor, QColor(0, 0, 255));
    EXPECT_EQ(settings.colorTable[kColorLink], 0x1E140Au);
    EXPECT_EQ(dialog->swatch(link)->color(), QColor(10, 20, 30));
    EXPECT_TRUE(dialog->isVisible());

    nextChoice.reset();
    QTest::mouseClick(dialog->swatch(link), Qt::LeftButton);
    EXPECT_EQ(offeredColor, QColor(10, 20, 30));
    EXPECT_EQ(settings.colorTable[kColorLink], 0x1E140Au);
    EXPECT_EQ(appliedCount, 0);
    EXPECT_FALSE(store.contains("Settings", "Link"));
}

TEST_F(ColorDialogTest, ApplyStoresAllNineColoursAndTheCheckBox) {
    auto dialog = open();
    nextChoice = QColor(1, 2, 3);
    QTest::mouseClick(dialog->swatch(swatchOf(*dialog, QStringLiteral("지명"))), Qt::LeftButton);
    QTest::mouseClick(dialog->differentColorBox(), Qt::LeftButton);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(appliedCount, 1);
    EXPECT_EQ(settings.useDifferentColor, 0);
    const SettingsStore reread(store.filePath());
    for (int slot = 0; slot < kColorSlotCount; ++slot)
        EXPECT_TRUE(reread.contains("Settings", kColorSettings[slot].valueName)) << slot;
    EXPECT_EQ(reread.readInt("Settings", "Place", 0), 0x030201);
    EXPECT_EQ(reread.readInt("Settings", "Old", 0), 0xFF3F3F);
    EXPECT_EQ(reread.readInt("Settings", "Use Different Color", 1), 0);
    EXPECT_EQ(AppSettings::read(reread).colorTable, settings.colorTable);
}

TEST_F(ColorDialogTest, CancelAfterDefaultsRestoresTheStoredColours) {
    store.writeInt("Settings", "Link", 0x123456);
    store.writeInt("Settings", "Name", 0x00AA00);
    settings = AppSettings::read(store);
    const auto stored = settings.colorTable;
    auto dialog = open();

    nextChoice = QColor(9, 9, 9);
    QTest::mouseClick(dialog->swatch(swatchOf(*dialog, QStringLiteral("외래어"))), Qt::LeftButton);
    QTest::mouseClick(dialog->defaultsButton(), Qt::LeftButton);
    EXPECT_EQ(settings.colorTable[kColorLink], 0xFF0000u);
    EXPECT_EQ(settings.colorTable[kColorForeignWord], 0x3F3F7Fu);
    EXPECT_EQ(dialog->swatch(swatchOf(*dialog, QStringLiteral("인명")))->color(),
              QColor(255, 0, 0));
    EXPECT_TRUE(dialog->differentColorBox()->isChecked());
    EXPECT_TRUE(dialog->isVisible());

    QTest::mouseClick(dialog->differentColorBox(), Qt::LeftButton);
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(settings.colorTable, stored);
    EXPECT_EQ(settings.useDifferentColor, 1);
    EXPECT_EQ(appliedCount, 1);
    EXPECT_EQ(store.readInt("Settings", "Proper", -1), -1);
}

TEST_F(ColorDialogTest, EscapeIsCancel) {
    auto dialog = open();
    nextChoice = QColor(9, 9, 9);
    QTest::mouseClick(dialog->swatch(0), Qt::LeftButton);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(settings.colorTable, AppSettings().colorTable);
    EXPECT_EQ(appliedCount, 1);
}

class FontDialogTest : public SettingsDialogTest<CFontDialog> {
protected:
    // Picks an entry as a user would from the drop-down list.
    static void choose(QComboBox* box, const QString& text) {
        const int index = box->findText(text, Qt::MatchFixedString);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
};

// True when some pixel of the rows [top, bottom) differs from the background.
bool rowsHaveInk(const QImage& image, int top, int bottom, QRgb background) {
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                return true;
    return false;
}

TEST_F(FontDialogTest, OpensWithCurrentSettingsAndPreviewsThem) {
    settings.lineSpaceText = "140";
    auto dialog = open();
    EXPECT_EQ(dialog->faceBox()->currentText(), QStringLiteral("바탕체"));
    EXPECT_EQ(dialog->sizeBox()->currentText(), QStringLiteral("11"));
    EXPECT_EQ(dialog->spaceBox()->currentText(), QStringLiteral("140"));
    for (int i = 0; i < dialog->faceBox()->count(); ++i)
        EXPECT_FALSE(dialog->faceBox()->itemText(i).startsWith(QLatin1Char('@')));

    // The historic face name is not an installed family, yet it previews in a Korean face.
    const CFontPreview* preview = dialog->preview();
    ASSERT_TRUE(preview->hasSample());
    EXPECT_EQ(QFontInfo(preview->bodyFont()).family(), QStringLiteral("UnBatang"));
    EXPECT_FALSE(preview->bodyFont().kerning());
    EXPECT_EQ(preview->bodyFont().weight(), QFont::Medium);
}

TEST_F(FontDialogTest, PreviewFollowsTheChosenSizeAndSpacing) {
    auto dialog = open();
    choose(dialog->faceBox(), QStringLiteral("UnDotum"));
    choose(dialog->sizeBox(), QStringLiteral("10"));
    choose(dialog->spaceBox(), QStringLiteral("200"));

    CFontPreview* preview = dialog->preview();
    ASSERT_TRUE(preview->hasSample());
    const int dpi = preview->logicalDpiY();
    EXPECT_EQ(preview->titleFont().pixelSize(), dpi * 10 / 48);
    EXPECT_EQ(preview->bodyFont().pixelSize(), dpi * 10 / 72);
    EXPECT_EQ(preview->titleHeight(), QFontMetrics(preview->titleFont(), preview).height());
    const int lineHeight = preview->lineHeight();
    EXPECT_EQ(lineHeight, QFontMetrics(preview->bodyFont(), preview).height());
    EXPECT_EQ(preview->bodyLineTop(0), preview->titleHeight() + 2 * lineHeight);
    for (int i = 1; i < CFontPreview::kBodyLineCount; ++i)
        EXPECT_EQ(preview->bodyLineTop(i) - preview->bodyLineTop(i - 1), 2 * lineHeight);

    // The drawing matches: every body line has ink, the line-high gaps between them none.
    preview->resize(500, preview->bodyLineTop(CFontPreview::kBodyLineCount) + 10);
    const QImage image = preview->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    EXPECT_TRUE(rowsHaveInk(image, 0, preview->titleHeight(), background));
    for (int i = 0; i < CFontPreview::kBodyLineCount; ++i) {
        const int top = preview->bodyLineTop(i);
        EXPECT_TRUE(rowsHaveInk(image, top, top + lineHeight, background)) << i;
        EXPECT_FALSE(rowsHaveInk(image, top - lineHeight + 1, top - 1, background)) << i;
    }

    // Spacing 100 puts the lines one line height apart.
    choose(dialog->spaceBox(), QStringLiteral("100"));
    EXPECT_EQ(preview->bodyLineTop(1) - preview->bodyLineTop(0), lineHeight);
}

TEST_F(FontDialogTest, OkStoresTheThreeValuesAndReportsTheChange) {
    auto dialog = open();
    choose(dialog->faceBox(), QStringLiteral("UnDotum"));
    choose(dialog->sizeBox(), QStringLiteral("14"));
    choose(dialog->spaceBox(), QStringLiteral("180"));
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(appliedCount, 1);
    const AppSettings stored = AppSettings::read(SettingsStore(store.filePath()));
    EXPECT_EQ(stored.fontFaceName, "UnDotum");
    EXPECT_EQ(stored.fontSizeText, "14");
    EXPECT_EQ(stored.lineSpaceText, "180");
    EXPECT_EQ(settings.fontSizeText, "14");
}

TEST_F(FontDialogTest, TypedValuesAreTakenAndUnusableOnesKeepTheOldValue) {
    settings.fontSizeText = "12";
    auto dialog = open();
    // A size that is no number draws no sample until a usable one is typed.
    dialog->sizeBox()->setEditText(QString());
    emit dialog->sizeBox()->lineEdit()->editingFinished();
    EXPECT_FALSE(dialog->preview()->hasSample());
    dialog->sizeBox()->setEditText(QStringLiteral("12"));
    emit dialog->sizeBox()->lineEdit()->editingFinished();
    EXPECT_TRUE(dialog->preview()->hasSample());
    dialog->faceBox()->setEditText(QStringLiteral("굴림체"));
    dialog->sizeBox()->setEditText(QStringLiteral("abc"));
    dialog->spaceBox()->lineEdit()->clear();
    QTest::keyClicks(dialog->spaceBox()->lineEdit(), QStringLiteral("150"));
    QTest::keyClick(dialog->spaceBox()->lineEdit(), Qt::Key_Return);

    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settings.fontFaceName, utf8ToCp949("굴림체"));
    EXPECT_EQ(settings.fontSizeText, "12");
    EXPECT_EQ(settings.lineSpaceText, "150");
    EXPECT_EQ(store.readString("Settings", "Font Size", ""), "12");
    EXPECT_NO_THROW(settings.fontPointSize());
}

TEST_F(FontDialogTest, CancelChangesNothing) {
    const AppSettings before = settings;
    auto dialog = open();
    choose(dialog->faceBox(), QStringLiteral("UnDotum"));
    choose(dialog->sizeBox(), QStringLiteral("20"));
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);

    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(appliedCount, 0);
    EXPECT_EQ(settings.fontFaceName, before.fontFaceName);
    EXPECT_EQ(settings.fontSizeText, before.fontSizeText);
    EXPECT_FALSE(store.contains("Settings", "Font Size"));
    EXPECT_FALSE(store.contains("Settings", "HFont Name"));
}

using ViewModeDialogTest = SettingsDialogTest<CViewModeDialog>;

TEST_F(ViewModeDialogTest, ShowsTheChoiceCancelKeepsItAndOkStoresModeAndIntro) {
    settings.viewMode = 0;
    auto dialog = open();
    EXPECT_TRUE(dialog->modeButton(0)->isChecked());
    EXPECT_TRUE(dialog->introBox()->isChecked());
    QTest::mouseClick(dialog->modeButton(2), Qt::LeftButton);
    EXPECT_FALSE(dialog->modeButton(0)->isChecked());
    QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(appliedCount, 0);
    EXPECT_EQ(settings.viewMode, 0);
    EXPECT_FALSE(store.contains("Settings", "View Mode"));

    dialog = open();
    EXPECT_TRUE(dialog->modeButton(0)->isChecked());
    QTest::mouseClick(dialog->modeButton(2), Qt::LeftButton);
    QTest::mouseClick(dialog->introBox(), Qt::LeftButton);
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(appliedCount, 1);
    EXPECT_EQ(settings.viewMode, 2);
    EXPECT_EQ(settings.showIntro, 0);
    const SettingsStore reread(store.filePath());
    EXPECT_EQ(reread.readInt("Settings", "View Mode", -1), 2);
    EXPECT_EQ(reread.readInt("Settings", "ViewIntro", -1), 0);
}

} // namespace

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
