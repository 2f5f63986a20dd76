#pragma once

#include "study/notestore.h"

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QLineEdit;

namespace qel {

class CGridCtrl;

// The note list: every note of the note database in one grid, sorted by version, book,
// chapter and verse, with a search box that keeps the notes holding a text. A note's row
// opens its verse. The list is read when the dialog opens.
class CStudy : public QDialog {
    Q_OBJECT
public:
    // Opens a command key ("BVRAjhn003016").
    using Opener = std::function<void(const std::string& commandKey)>;

    CStudy(const std::string& notesFile, Opener open, QWidget* parent = nullptr);
    ~CStudy() override;

    CGridCtrl* grid() const { return grid_; }
    QLineEdit* searchBox() const { return search_; }
    // The notes as read, in list order.
    const std::vector<Note>& notes() const { return notes_; }

    // Opens the verse of the selected note when exactly one row is selected.
    void openSelected();
    void fitColumns();

private:
    void fill(const QString& filter);

    Opener open_;
    std::vector<Note> notes_;
    // The note of each grid row below the header.
    std::vector<std::size_t> shown_;
    CGridCtrl* grid_;
    QLineEdit* search_;
};

} // namespace qel
