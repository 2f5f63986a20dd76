#include "app/fontdialog.h"

#include "../support/settingsdialog.h"
#include "platform/codec.h"

#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace qel;

namespace {

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

} // namespace
