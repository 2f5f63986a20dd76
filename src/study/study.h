#pragma once

#include "study/highlightstore.h"
#include "study/notestore.h"

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QVBoxLayout;

namespace qel {

class CGridCtrl;

// A list of the reader's verses in one grid: edition, book, chapter and verse, then a text,
// with the columns of its kind before them. A row opens its verse on double click or Enter
// when exactly one row is selected, and copies in the form of its kind.
class StudyList : public QDialog {
    Q_OBJECT
public:
    // Opens a command key ("BVRAjhn003016").
    using Opener = std::function<void(const std::string& commandKey)>;

    ~StudyList() override;

    CGridCtrl* grid() const { return grid_; }
    void openSelected();
    // Each column before the text as wide as its widest cell, the text taking the rest.
    void fitColumns();

protected:
    // `leading` are the headers (UTF-8) and widths of the columns before the verse's.
    struct Column {
        const char* header;
        int width;
    };
    StudyList(Opener open, const QString& title, std::vector<Column> leading, QWidget* parent);

    QVBoxLayout* listLayout() const { return layout_; }
    // Shows one row per key: the leading cells, the verse's place, then the text.
    void setRows(const std::vector<std::vector<std::string>>& leading,
                 const std::vector<NoteKey>& keys, const std::vector<std::string>& texts);
    const NoteKey& keyOfRow(int row) const { return keys_.at(static_cast<std::size_t>(row - 1)); }
    int leadingColumns() const { return leadingColumns_; }
    virtual std::string copyLine(int row) const = 0;

private:
    Opener open_;
    int leadingColumns_ = 0;
    int fixedWidths_ = 0;
    std::vector<int> startWidths_;
    QVBoxLayout* layout_;
    CGridCtrl* grid_;
    std::vector<NoteKey> keys_;
};

// The note list: every note of the note database, sorted by version, book, chapter and
// verse, with a search box that keeps the notes holding a text. Read when the dialog opens.
class CStudy : public StudyList {
    Q_OBJECT
public:
    CStudy(const std::string& notesFile, Opener open, QWidget* parent = nullptr);

    QLineEdit* searchBox() const { return search_; }
    // The notes as read, in list order.
    const std::vector<Note>& notes() const { return notes_; }

private:
    void fill(const QString& filter);
    std::string copyLine(int row) const override;

    std::vector<Note> notes_;
    QLineEdit* search_;
};

// The highlight list: every highlighted verse once per colour, by colour (in the order of the
// colour menu) and then in Bible order, with the verse's text. Read when the dialog opens.
class CHighlightList : public StudyList {
    Q_OBJECT
public:
    // The plain text of a verse (CP949), empty when the content holds none.
    using VerseText = std::function<std::string(const NoteKey& key)>;

    CHighlightList(const std::string& studyFile, VerseText verseText, Opener open,
                   QWidget* parent = nullptr);

    // The colour of each row below the header.
    const std::vector<int>& colours() const { return colours_; }

private:
    std::string copyLine(int row) const override;

    std::vector<int> colours_;
};

} // namespace qel
