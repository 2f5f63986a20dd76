#include "app/viewmodedialog.h"

#include "../support/settingsdialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace qel;

namespace {

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
