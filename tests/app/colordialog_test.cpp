#include "app/colordialog.h"

#include "../support/settingsdialog.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QTest>

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

} // namespace
