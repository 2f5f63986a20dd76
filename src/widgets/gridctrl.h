#pragma once

#include "widgets/gridtext.h"

#include <QTableView>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QPrinter;

namespace qel {

class GridModel;

// A grid of text cells: one fixed header row (row 0) over the data rows, cell texts
// (CP949) and 32-bit item data, a contiguous selection of whole rows, and copy commands.
// A model/view table underneath, so tens of thousands of rows stay cheap to add and scroll.
// Cells that start with a hit-position list draw those words in the highlight colour;
// otherwise the highlight words are drawn so.
class CGridCtrl : public QTableView {
    Q_OBJECT
public:
    explicit CGridCtrl(QWidget* parent = nullptr);
    ~CGridCtrl() override;

    struct CellRange {
        int minRow = -1, minCol = -1, maxRow = -1, maxCol = -1;
        bool isValid() const { return minRow >= 0 && minCol >= 0; }
    };

    // Row counts include the header row. Fewer rows drop the last ones.
    void SetRowCount(int rows);
    void SetColumnCount(int columns);
    int GetRowCount() const;
    int GetColumnCount() const;

    void SetColumnWidth(int column, int width);
    // Widens the last column so that the columns fill the client width; done again at
    // every size change.
    void ExpandLastColumn();

    // Row 0 is the header row.
    void SetItemText(int row, int column, const std::string& text);
    std::string GetItemText(int row, int column) const;
    std::uint32_t GetItemData(int row, int column) const;
    // A new last row with the text of column 0; its index.
    int InsertRow(const std::string& column0);

    // Many rows at the end at once; each holds the texts of its columns and the item data
    // of its last column. Texts beyond the columns are kept for GetItemText, not shown.
    struct Row {
        std::vector<std::string> cells;
        std::uint32_t lastItemData = 0;
    };
    void appendRows(std::vector<Row> rows);

    void SetHighlightWords(HighlightWords words);

    CellRange GetSelectedCellRange() const;
    void selectRow(int row);

    // The copied text of one row; the grid joins the rows and puts them on the clipboard.
    void setRowCopyForm(std::function<std::string(int row)> form) { copyForm_ = std::move(form); }
    // Selected rows, or every row; the text that went to the clipboard.
    std::string copyRows(bool all);
    // Prints every row under the header as a table; the context menu asks for a printer.
    void printRows(QPrinter& printer) const;

signals:
    void rowDoubleClicked(int row);
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    GridModel* model_;
    std::function<std::string(int row)> copyForm_;
};

} // namespace qel
