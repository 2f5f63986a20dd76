#pragma once

#include "study/notestore.h"
#include "widgets/dockbar.h"

#include <QTimer>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace qel {

struct AppContext;

// The note bar of a Bible window: a caption line with the marker, the place and the list
// button over an editor of the verse's note. The bar shows the note of the verse its
// window shows, and writes a changed note back before it shows another, shortly after
// the reader stops typing, and before its window closes. A note that cannot be written
// stays in the editor, and the reader is told.
class CStudyEditor : public CDockBar {
    Q_OBJECT
public:
    static constexpr int kTextLimit = 4096; // characters
    // A pause in typing: at most this much of the typing is lost when the process is killed.
    static constexpr int kAutosaveDelay = 500; // ms after the last change

    CStudyEditor(AppContext& context, const std::string& versionCode, QMainWindow* parent);
    ~CStudyEditor() override;

    // Shows the note of a place after writing back the shown one; 1 when the place has a
    // note. When the shown note cannot be written the bar keeps it and its place.
    int LoadNote(const std::string& version, const std::string& book, const std::string& chapter,
                 const std::string& verse);
    // Writes the shown note back if it was changed, then empties the editor. False (text
    // and place kept, the reader told) when it could not be written.
    bool SaveNote();
    // Before the window closes: writes a changed note and keeps the text. False when the
    // note could not be written and the reader has not been told yet.
    bool saveBeforeClose();
    // Writes a changed note now and keeps showing it (the idle save; before the note list
    // reads the notes). False when it could not be written.
    bool saveNow();
    // The session ends (a signal, a lost display): writes a changed note, and tells nobody.
    bool saveQuietly() { return writeNote(false); }
    // For a process that ends without closing its windows (the display connection broke):
    // writes the changed note of every bar from the text last typed, without touching a
    // widget. Never throws.
    static void saveAllAtExit() noexcept;

    // The pause after the last change before the idle save (kAutosaveDelay unless set).
    void setAutosaveDelay(int milliseconds) { autosave_.setInterval(milliseconds); }

    bool isModified() const { return m_bModified; }
    const NoteKey& noteKey() const { return key_; }
    QPlainTextEdit* editor() const { return editor_; }
    QToolButton* listButton() const { return listButton_; }
    QLabel* placeLabel() const { return place_; }
    NoteStore& store() { return store_; }

    // The edit commands while the editor has the focus.
    bool editorHasFocus() const;
    bool handleCommand(int id);
    bool updateCommand(int id, QAction* action) const;

signals:
    void listRequested();
    // The shown place now has a note, or no longer has one.
    void noteStateChanged(bool hasNote);

private:
    // Writes a changed note, keeping the editor as it is; reports a failure when `report`.
    bool writeNote(bool report);
    // The stored note changed while it was edited: both texts were kept.
    void showBothTexts(const std::string& both, bool report);
    void showPlace();
    void setText(const std::string& utf8CrLf);
    std::string text() const;
    void limitText(int position, int added);

    NoteStore store_;
    NoteKey key_;
    // The editor's text as last typed, for a save when widgets can no longer be used.
    std::string typed_;
    // The stored text the editor started from, to notice a change made elsewhere.
    std::optional<std::string> loaded_;
    bool m_bModified = false;
    bool loading_ = false;
    // A failure was reported and no write has succeeded since.
    bool failureReported_ = false;
    // A close was refused once because the note could not be written.
    bool closeRefused_ = false;
    QLabel* marker_;
    QLabel* title_;
    QLabel* place_;
    QToolButton* listButton_;
    QPlainTextEdit* editor_;
    QTimer autosave_;
};

} // namespace qel
