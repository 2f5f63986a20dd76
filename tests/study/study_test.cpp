// The note list: every note in order, opened one at a time.
#include "study/study.h"

#include "../support/tempdir.h"
#include "platform/codec.h"
#include "widgets/gridctrl.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QPrinter>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

using namespace qel;

namespace {

class StudyListTest : public ::testing::Test {
protected:
    std::unique_ptr<CStudy> openList() {
        auto list = std::make_unique<CStudy>(
            file(), [this](const std::string& key) { opened.push_back(key); });
        list->show();
        QCoreApplication::processEvents();
        return list;
    }
    std::string file() const { return dir.str() + "/Study.mdb"; }
    static std::string cell(const CStudy& list, int row, int column) {
        return cp949ToUtf8(list.grid()->GetItemText(row, column));
    }
    static QPoint rowCentre(CGridCtrl* grid, int row) {
        return grid->visualRect(grid->model()->index(row - 1, 2)).center();
    }

    TempDir dir;
    std::vector<std::string> opened;
};

} // namespace

TEST_F(StudyListTest, RowsInSortOrderWithTitlesAbbreviationsAndLinesJoinedBySlashes) {
    EXPECT_EQ(openList()->grid()->GetRowCount(), 1); // an empty store: the header row only
    {
        NoteStore store(file());
        store.save({"VRA", "1co", "13", "4"}, "첫째 줄\r\n둘째 줄\r\n셋째 줄");
        store.save({"GNB", "jhn", "3", "16"}, "God loved");
        store.save({"KJV", "gen", "1", "1"}, "In the beginning");
    }
    auto list = openList();
    ASSERT_EQ(list->grid()->GetRowCount(), 4);
    const auto row = [&](int r) {
        std::string text;
        for (int c = 0; c < 5; ++c)
            text += (c ? "|" : "") + cell(*list, r, c);
        return text;
    };
    EXPECT_EQ(row(1), "Today's English Version|Jn|3|16|God loved");
    EXPECT_EQ(row(2), "성경전서 역본 가|고전|13|4|첫째 줄/둘째 줄/셋째 줄");
    EXPECT_EQ(row(3), "King James Version|Gn|1|1|In the beginning");
    // The place columns show their texts whole; the note text takes the rest.
    const QFontMetrics metrics = list->grid()->fontMetrics();
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_GT(list->grid()->columnWidth(c),
                      metrics.horizontalAdvance(QString::fromStdString(cell(*list, r, c))))
                << r << ',' << c;

    // The grid's copy takes the rows with their citations.
    list->grid()->selectRow(2);
    EXPECT_EQ(cp949ToUtf8(list->grid()->copyRows(false)),
              "첫째 줄/둘째 줄/셋째 줄(성경전서 역본 가 고전 13:4)\r\n");
    // And prints them.
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.str() + "/list.pdf"));
    list->grid()->printRows(printer);
    EXPECT_GT(std::filesystem::file_size(dir.path() / "list.pdf"), 1000u);
}

TEST_F(StudyListTest, OnlyASingleRowOpensItsVerse) {
    {
        NoteStore store(file());
        store.save({"VRA", "gen", "1", "1"}, "one");
        store.save({"VRA", "gen", "1", "2"}, "two");
    }
    auto list = openList();
    CGridCtrl* grid = list->grid();

    // The header row opens nothing.
    QWidget* header = grid->horizontalHeader()->viewport();
    QTest::mouseDClick(header, Qt::LeftButton, {}, QPoint(20, header->height() / 2));
    EXPECT_TRUE(opened.empty());

    grid->selectRow(1);
    grid->selectionModel()->select(grid->model()->index(1, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_EQ(grid->GetSelectedCellRange().maxRow, 2);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_TRUE(opened.empty());

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowCentre(grid, 2));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, rowCentre(grid, 2));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "BVRAgen001002");
    grid->selectRow(1);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(opened.back(), "BVRAgen001001");
    EXPECT_TRUE(list->isVisible());
}

TEST_F(StudyListTest, TheSearchBoxKeepsTheNotesThatHoldItsText) {
    {
        NoteStore store(file());
        store.save({"VRA", "gen", "1", "1"}, "빛이 있으라");
        store.save({"KJV", "gen", "1", "3"}, "Let there be Light");
        store.save({"KJV", "jhn", "1", "5"}, "the light shineth");
    }
    auto list = openList();
    list->searchBox()->setText(QStringLiteral("light"));
    ASSERT_EQ(list->grid()->GetRowCount(), 3);
    EXPECT_EQ(cell(*list, 1, 4), "Let there be Light");
    // Rows keep their notes when filtered.
    list->grid()->selectRow(2);
    list->openSelected();
    EXPECT_EQ(opened.back(), "BKJVjhn001005");
    list->searchBox()->setText(QStringLiteral("빛"));
    ASSERT_EQ(list->grid()->GetRowCount(), 2);
    list->searchBox()->clear();
    EXPECT_EQ(list->grid()->GetRowCount(), 4);
}
