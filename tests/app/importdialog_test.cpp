#include "app/importdialog.h"

#include "../support/files.h"
#include "../support/testcontext.h"
#include "platform/codec.h"
#include "platform/database.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>

using namespace qel;

namespace {

qel::mkdb::ContentSources vraWithTwoVerses() {
    qel::mkdb::ContentSources sources;
    sources.versions["VRA"] = {{"gen", "1", "1", "맨 처음에"}, {"gen", "1", "2", "땅은"}};
    return sources;
}

class ImportDialogTest : public ::testing::Test {
protected:
    ImportDialogTest() {
        osis = (test.dir.path() / "mine.xml").string();
        std::ofstream(osis) << "<osis><div type=\"book\" osisID=\"Gen\"><chapter osisID=\"Gen.1\">"
                               "<verse osisID=\"Gen.1.1\">처음에</verse></chapter></div></osis>";
    }
    std::unique_ptr<CImportDialog> open() {
        auto dialog = std::make_unique<CImportDialog>(test.context,
                                                      QStringLiteral(QEL_BUILD_DIR "/qel-mkdb"));
        dialog->show();
        return dialog;
    }
    std::string dialogDb() const { return test.context.paths.dbFolder + "Bible.m14"; }
    TestContext test{vraWithTwoVerses()};
    std::string osis;
};

} // namespace

TEST_F(ImportDialogTest, WarnsWhatAFilledSlotLoses) {
    auto dialog = open();
    dialog->selectSlot(QStringLiteral("VRA"));
    EXPECT_TRUE(dialog->warningText().contains(QStringLiteral("이미 2절의 본문")));
    EXPECT_TRUE(dialog->warningText().contains(QStringLiteral("성구찾기 색인")));
    dialog->selectSlot(QStringLiteral("VRB"));
    EXPECT_EQ(dialog->warningText(), QStringLiteral("이 자리는 비어 있습니다."));
}

TEST_F(ImportDialogTest, AFailedImportChangesNothingAndTheNextRunsInTheBackground) {
    const std::string broken = (test.dir.path() / "broken.xml").string();
    std::ofstream(broken) << "<osis><verse osisID=\"Gen.1.1\">x</osis>";
    const std::string before = fileBytes(dialogDb());
    auto dialog = open();
    QSignalSpy imported(dialog.get(), &CImportDialog::imported);
    dialog->selectSource(QString::fromStdString(broken));
    dialog->selectSlot(QStringLiteral("VRB"));
    dialog->startImport();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->running(); }, 30000));
    EXPECT_EQ(imported.count(), 0);
    EXPECT_EQ(fileBytes(dialogDb()), before);

    dialog->selectSource(QString::fromStdString(osis));
    dialog->startImport();
    EXPECT_TRUE(dialog->running());
    ASSERT_TRUE(imported.wait(30000));
    EXPECT_EQ(imported.at(0).at(0).toString(), QStringLiteral("VRB"));
    // The dialog's own database handle is the caller's to reopen; read the file afresh.
    Database db(dialog->databasePath().toStdString(), Database::Mode::ReadOnly);
    RecordSet rs(db, "select body from VRB");
    EXPECT_EQ(cp949ToUtf8(rs.field("body")), "{D}1{/D}처음에 ");
}
