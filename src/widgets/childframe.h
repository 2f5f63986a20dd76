#pragma once

#include <QMdiSubWindow>
#include <string>

class QAction;

namespace qel {

// Base of every child window of the main frame. The main window's menus and toolbars are
// shared: commands it does not handle itself go to the active child.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    using QMdiSubWindow::QMdiSubWindow;

    // The document-type code: a version code, "BOOK", "PARALLEL", ...
    virtual std::string code() const = 0;
    // The place the window shows, in the form its opener takes back; empty for none.
    virtual std::string placeKey() const { return {}; }
    // Lay the text out again after a settings change.
    virtual void refreshView() {}

    // Returns true when the command was this window's.
    virtual bool handleCommand(int id) { return (void)id, false; }
    // Sets enabled/checked state of a command this window handles; returns false for others.
    virtual bool updateCommand(int id, QAction* action) { return (void)id, (void)action, false; }

signals:
    // The enabled or checked state of some command may have changed.
    void commandStateChanged();
};

} // namespace qel
