#pragma once

#include "app/frameregistry.h"
#include "app/windowtiling.h"
#include "bible/bibleframehost.h"
#include "bible/biblesharedstate.h"
#include "compare/panetiling.h"
#include "richtext/textdisplay.h"

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QLocalSocket;
class QMenu;
class QMdiArea;
class QMdiSubWindow;

namespace qel {

struct AppContext;
class CChildFrame;
class CHighlightList;
class CSearchDialog;
class CSearchWord;
class BookmarkPanel;
class ShortcutBar;
class TopicLibraries;

// The main window: menus, toolbars, the shortcut panel and an MDI area of reading windows.
// It opens windows by command and by command key, and keeps the list of open windows.
class CMainFrame : public QMainWindow, public BibleFrameHost {
    Q_OBJECT
public:
    // An import or an install replaced the content database: it is read again and every
    // window shows the new text under the edition's own name.
    void contentReplaced(const std::string& code);
    CMainFrame(AppContext& context, std::string pendingCommandKey);
    ~CMainFrame() override;

    AppContext& context() { return context_; }
    QMdiArea* mdiArea() const override { return mdiArea_; }
    FrameRegistry& frameRegistry() { return registry_; }
    BibleSharedState& bibleState() override { return bibleState_; }
    // The text windows' display, as the settings last left it.
    const TextDisplay& textDisplay() const override { return display_; }
    CChildFrame* frameByCode(const std::string& code) const override;
    ShortcutBar* shortcutBar() const { return shortcutBar_; }
    BookmarkPanel* bookmarkPanel() const { return bookmarkPanel_; }
    // The command key of the active window's place and the name a bookmark of it is offered
    // (UTF-8); empty for a window without one.
    std::pair<std::string, std::string> bookmarkPlace() const;
    void addBookmark(const std::string& key, const std::string& name) override;
    CSearchDialog* searchDialog() const { return searchDialog_; }
    CSearchWord* searchWord() const { return searchWord_; }
    QAction* action(int commandId) const;
    // True when the main window itself runs the command; the others go to the active window.
    bool runsCommand(int commandId) const;

    // Opens (or brings forward) the window of a version at the pending place.
    CChildFrame* openBibleVersion(const std::string& versionCode);
    // Opens the window of a document-type code ("VRA", "BOOK", ...) and hands it place as
    // its pending place. Returns nothing for a code of no kind or a window that fails to open.
    CChildFrame* openWindow(const std::string& code, const std::string& place);
    // Opens the place named by a command key ("BVRAjhn003016", "I..."); with force off an
    // open Bible window of the version just moves. Returns the window, or nothing.
    CChildFrame* openByCommandKey(const std::string& key, bool force) override;
    // The place handed to the next window that opens.
    std::string& pendingPlace() { return pendingPlace_; }

    // Every window lays its text out again (after a settings change).
    void refreshAllViews();
    // After a settings dialog stored new values: new display font, new layouts.
    void settingsChanged();
    // Answers a second start: back to maximised if it was maximised before it was
    // minimised, else restored, and activated.
    void showAndActivate();
    // A Bible window became maximised. The panel comes back when the last window closes.
    void hideShortcutBar() override;
    // The modal note list; a chosen note opens its verse.
    void openNoteList() override;
    // The highlight list, with the verses' text from the content; openHighlightList shows it
    // modal and a chosen row opens its verse.
    std::unique_ptr<CHighlightList> highlightList();
    void openHighlightList();
    void showStatus(const std::string& text) override;
    void installEdition(const std::string& module) override {
        openBibleLibrary(QString::fromStdString(module));
    }
    // Re-evaluates which commands are enabled and checked.
    void updateCommandStates();

    // Lines from other processes: the second-start request and the companion protocol.
    void handleInstanceMessage(const QByteArray& message, QLocalSocket* sender);

    // Asked before the main window closes; returns true to close. Replaceable for tests.
    void setExitConfirmation(std::function<bool()> confirm) { confirmExit_ = std::move(confirm); }
    // The session ends (logout, shutdown, a signal): the notes are saved and the program
    // closes without asking anything.
    void endSession();

signals:
    void firstPainted();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The open operation of each window kind, by document-type code; it consumes the
    // pending place.
    using WindowOpener = CChildFrame* (CMainFrame::*)(const std::string& code);
    static const std::map<std::string, WindowOpener>& windowOpeners();
    CChildFrame* openComparison(const std::string& code);
    CChildFrame* openParallel(const std::string& code);
    CChildFrame* openArticle(const std::string& code);
    CChildFrame* openIntroduction(const std::string& code);
    CChildFrame* openTopic(const std::string& code);

    // One command of the menus, toolbars and keys. A command without `run` belongs to the
    // active window, which also decides whether it is enabled.
    struct Command {
        int id;
        const char* label;
        const char* shortcut; // portable key text, "" for none
        void (*run)(CMainFrame&, int id);
        bool (*enabled)(const CMainFrame&); // nullptr: always
        bool (*checked)(const CMainFrame&); // nullptr: not checkable by the main window
    };
    static const std::vector<Command>& commands();
    static const Command* findCommand(int id);

    void createActions();
    void createMenus();
    void addMenu(const QString& title, std::initializer_list<int> ids);
    void fillWindowMenu(QMenu* menu);
    void addMenuItems(QMenu* menu, std::initializer_list<int> ids);
    void createToolBars();
    void runCommand(int id);
    void showHelp();
    bool companionExists(const char* programName) const;
    QString companionPath(const char* programName) const;
    CChildFrame* activeFrame() const;
    void registerFrame(CChildFrame* frame);
    void openShortcutItem(int itemCode);
    void startCompanion(const char* programName);
    void showAbout();
    // File menu "역본 가져오기..." and help menu "역본 정보".
    void importEdition();
    void showEditionInfo();
    // "성경 자료실"; with a module, its install starts at once (after the list is fetched).
    void openBibleLibrary(const QString& module = {});
    void updateEditionTitles();
    template <typename Dialog> void runSettingsDialog();
    void openCommandLinePlace();
    // The open windows and panels, kept for the next start, and opened again.
    void saveDesk();
    void restoreDesk();
    // The desk is restored at the first paint, before the window manager has given the main
    // window its maximised size: its windows are placed again as the area settles, each
    // until the reader moves or resizes it.
    struct RestoredPlace {
        QPointer<QMdiSubWindow> window;
        WindowRect saved;
        QRect applied;
    };
    std::vector<RestoredPlace> restoredPlaces_;
    void placeRestoredWindows();
    void activateNeighbour(bool newer);
    // The part of the screen that shows the place a window opened at.
    static QRect shownPlaceArea(const CChildFrame* frame);
    void placeNewWindow(QMdiSubWindow* window);
    // How a new window of a single kind is sized when the active window is not maximised:
    // room for a tree panel beside two panes of text, or the rest of the area.
    enum class NewWindowSize { Roomy, RestOfArea };
    // The one window of a kind: brought forward, maximised like the active window or not, or
    // made by `make`, added, placed and shown. `created` tells which.
    // A new window maximised, or placed fully inside the area at the size asked for (its
    // cascaded size without one), and shown.
    void showNewWindow(QMdiSubWindow* window, bool maximized, std::optional<NewWindowSize> size);
    template <typename Frame, typename Make>
    Frame* singleWindow(const std::string& code, NewWindowSize size, Make make, bool& created);
    void tileChildren(Tiling tiling);
    void cascadeChildren();
    std::vector<QMdiSubWindow*> arrangedWindows() const;
    static WindowSize usableSize(const QMdiSubWindow* window);
    static WindowSize leastSize(const QMdiSubWindow* window);
    void createSearchDialogs();

    AppContext& context_;
    TextDisplay display_;
    std::unique_ptr<TopicLibraries> topicLibraries_;
    PaneTilers paneTilers_;
    QMdiArea* mdiArea_ = nullptr;
    ShortcutBar* shortcutBar_ = nullptr;
    BookmarkPanel* bookmarkPanel_ = nullptr;
    CSearchDialog* searchDialog_ = nullptr;
    CSearchWord* searchWord_ = nullptr;
    FrameRegistry registry_;
    BibleSharedState bibleState_;
    std::map<int, QAction*> actions_;
    std::string pendingPlace_;
    std::string pendingCommandKey_;
    std::array<char, 15> companionKey_{};
    std::function<bool()> confirmExit_;
    bool endingSession_ = false;
    bool wasMaximized_ = false;
    bool shortcutBarHiddenByMaximize_ = false;
    QTimer* giveBackMemory_ = nullptr;
    bool firstPaintDone_ = false;
};

} // namespace qel
