#pragma once

#include "reference/chronologyview.h"
#include "reference/topicfile.h"
#include "reference/topicpage.h"
#include "richtext/markupnode.h"
#include "richtext/richtextarea.h"

#include <QPointer>
#include <string>

class QSplitter;
class QWidget;

namespace qel {

class CTextPane;
class Database;

// The six topic libraries, by their operation prefix.
enum class TopicLibraryKind { Ca, Ma, Ph, Sh, Hi, Ad };

// What every topic library does, once per kind as a loaded library would: it puts a window
// of its own into the view it is attached to, reads its topic file, paints the topic a key
// names, resizes with the view, prints, copies and selects, and sends the view a
// TopicLinkEvent for every link the reader follows. Calls before attach, or after the view
// is gone, do nothing.
class TopicLibrary {
public:
    static TopicLibrary& of(TopicLibraryKind kind);

    int attach(void* view);
    int open(void* view, const char* path);
    int show(const char* key);
    int move();
    int print();
    int copy();
    int selectAll();
    // The chronology: selects the entry and scrolls it into view.
    int scrollTo(const char* key);

    // What the program lends every library: the content database the short topics read
    // their verses from, and the display its text windows follow (both outlive the views).
    static void setEnvironment(Database* verses, const TextDisplay* display);
    // How printing asks for a printer (tests print to a file).
    static void setPrintDialog(PrintDialogStep step);

    // The library's window inside the view, for the view's owner and tests.
    QWidget* window() const { return window_; }
    CTextPane* textPane() const;
    CTopicPage* page() const { return page_; }
    CChronologyView* chronology() const { return chronology_; }
    bool fileOpen() const { return file_.isOpen(); }

private:
    explicit TopicLibrary(TopicLibraryKind kind) : kind_(kind) {}
    void showMissingData();
    void showEntryBody(int row);
    void sendLink(const std::string& key);
    bool printChronology();

    TopicLibraryKind kind_;
    QPointer<QWidget> view_;
    QPointer<QWidget> window_;
    QPointer<CTopicPage> page_;
    QPointer<CChronologyView> chronology_;
    QPointer<CTextPane> entryPane_;
    MarkupNodeList entryText_;
    TopicFile file_;
    std::string fileName_;
};

} // namespace qel
