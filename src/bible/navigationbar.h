#pragma once

#include "bible/typedreference.h"

#include <QWidget>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;

namespace qel {

// Book, chapter and verse boxes of a Bible window. It has no logic of its own: the owner
// fills the boxes and reacts to the choices.
class CNavigationBar : public QWidget {
    Q_OBJECT
public:
    explicit CNavigationBar(QWidget* parent = nullptr);

    QComboBox* bookBox() const { return book_; }
    QComboBox* chapterBox() const { return chapter_; }
    QComboBox* verseBox() const { return verse_; }
    // The reference box: a place as the reader types it ("요 3:16").
    QLineEdit* referenceBox() const { return reference_; }
    // Ctrl+L in `window` puts the cursor in the reference box.
    void addReferenceShortcut(QWidget* window);
    // A short note under the reference box (CP949); empty hides it.
    void showReferenceNote(const std::string& text);
    std::string referenceNote() const;

    // Book names and, row for row, their codes (CP949).
    void setBooks(const std::vector<std::string>& names, const std::vector<std::string>& codes);
    int rowOfBookCode(const std::string& code) const;
    std::string bookCodeAt(int row) const;

    // Replace a box's entries without reporting choices (CP949 texts).
    static void fill(QComboBox* box, const std::vector<std::string>& entries);
    // Index of the entry equal to `text` ignoring case, or -1.
    static int find(QComboBox* box, const std::string& text);
    // CP949 texts of a box: the selected entry and what was typed.
    static std::string selectedText(QComboBox* box);
    static std::string typedText(QComboBox* box);

signals:
    void bookChosen(int row);
    void chapterChosen(int row);
    void verseChosen(int row);
    // Enter in any box.
    void enterPressed();
    // Enter in the reference box with a reference it understood; anything else is told
    // under the box.
    void referenceChosen(const qel::TypedReference& reference);

private:
    void onReferenceEntered();

    QComboBox* book_;
    QComboBox* chapter_;
    QComboBox* verse_;
    QLineEdit* reference_;
    QLabel* note_;
    std::vector<std::string> codes_; // row for row beside the book names
};

} // namespace qel
