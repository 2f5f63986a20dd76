#include "app/mainframe.h"

#include "app/colordialog.h"
#include "app/displaysettings.h"
#include "app/fontdialog.h"
#include "app/fontresolver.h"
#include "app/importdialog.h"
#include "app/librarydialog.h"
#include "app/shortcutbar.h"
#include "app/toolbaricons.h"
#include "app/viewmodedialog.h"
#include "app/windowtiling.h"
#include "bible/biblequeries.h"
#include "bible/booktable.h"
#include "bible/editions.h"
#include "bible/versekey.h"
#include "bible/versiontitles.h"
#include "biblewindow/bibleframe.h"
#include "compare/compare4frame.h"
#include "compare/comparehisframe.h"
#include "compare/paralleldialog.h"
#include "compare/parallelframe.h"
#include "platform/appcontext.h"
#include "platform/apptitle.h"
#include "platform/bookmarkcommands.h"
#include "platform/codec.h"
#include "platform/commands.h"
#include "platform/heap.h"
#include "platform/highlightcommands.h"
#include "platform/messagesink.h"
#include "platform/text.h"
#include "reference/articleload.h"
#include "reference/articletrees.h"
#include "reference/etcframe.h"
#include "reference/generalframe.h"
#include "reference/m14frame.h"
#include "reference/topiclibrary.h"
#include "richtext/childview.h"
#include "richtext/highlightmarks.h"
#include "richtext/markupnode.h"
#include "richtext/markupparser.h"
#include "searchui/searchdialog.h"
#include "searchui/searchword.h"
#include "study/bookmarkpanel.h"
#include "study/study.h"
#include "study/studyeditor.h"
#include "widgets/childframe.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QLocalSocket>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmapCache>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <iterator>
#include <set>
#include <sstream>
#include <utility>

namespace qel {
namespace {

// Shortcut items that open a window kind by its code.
const std::map<int, const char*> kShortcutWindows = {
    {102, "BOOK"},     {103, "TERM"},       {104, "HIS"},     {105, "UNITS"}, {106, "CRI"},
    {107, "COMPARE4"}, {108, "COMPAREHIS"}, {109, "PHOTO"},   {110, "MAP"},   {111, "CAME"},
    {112, "SHORT"},    {116, "PROLOG"},     {117, "PARALLEL"}};

// Commands that open a window kind by its code.
const std::map<int, const char*> kWindowCommands = {
    {cmd::OpenBOOK, "BOOK"},         {cmd::OpenTERM, "TERM"},
    {cmd::OpenUNITS, "UNITS"},       {cmd::OpenCRI, "CRI"},
    {cmd::OpenCOMPARE4, "COMPARE4"}, {cmd::OpenCOMPAREHIS, "COMPAREHIS"},
    {cmd::OpenPROLOG, "PROLOG"},     {cmd::OpenPARALLEL, "PARALLEL"},
    {cmd::OpenCAME, "CAME"},         {cmd::OpenMAP, "MAP"},
    {cmd::OpenPHOTO, "PHOTO"},       {cmd::OpenSHORT, "SHORT"},
    {cmd::OpenHIS, "HIS"},           {cmd::OpenABOUT, "ABOUT"}};

// The multimedia topic windows.
constexpr const char* kTopicCodes[] = {"CAME", "MAP", "PHOTO", "SHORT", "HIS", "ABOUT"};

// Command-key letters that open an article or topic window, with its code; the payload
// is the place.
const std::map<char, const char*> kWindowLetters = {{'C', "CRI"},  {'I', "BOOK"}, {'U', "UNITS"},
                                                    {'W', "TERM"}, {'H', "HIS"},  {'M', "MAP"},
                                                    {'P', "PHOTO"}};

// The article kind of a document-type code, or -1.
int articleKindOf(const std::string& code) {
    for (int kind = 0; kind < articlekind::Count; ++kind)
        if (code == articleKindInfo(kind).documentType)
            return kind;
    return -1;
}

constexpr int kShortcutDailyReading = 114;
constexpr int kShortcutReadingPlan = 115;

// Wide enough for a tree panel beside two panes of text, but inside the area.
QSize roomySize(const QSize& area) {
    return {std::min(area.width(), std::max(640, area.width() * 3 / 4)),
            std::min(area.height(), std::max(420, area.height() * 3 / 4))};
}

// The entry of the introduction that describes a window kind, by its code; every edition
// window shares one.
constexpr const char* kEditionHelpTopic = "ad0202";
const std::map<std::string, const char*> kHelpTopics = {
    {"PARALLEL", "ad0301"}, {"COMPARE4", "ad0303"}, {"COMPAREHIS", "ad0304"}, {"PROLOG", "ad0501"},
    {"BOOK", "ad0502"},     {"TERM", "ad0503"},     {"UNITS", "ad0504"},      {"CRI", "ad0505"},
    {"HIS", "ad0506"},      {"PHOTO", "ad0507"},    {"MAP", "ad0508"},        {"SHORT", "ad0509"},
    {"CAME", "ad0510"},     {"ABOUT", "ad0101"}};
// With no window open, the help describes the main window.
constexpr const char* kMainWindowHelpTopic = "ad0102";
constexpr const char* kSearchHelpTopic = "ad0401";

// Our own section of the settings: the windows and panels open when the program ended.
constexpr const char* kDeskSection = "Desk";

// A Bible window's side panels in the desk, by the commands that toggle them.
struct DeskPanel {
    int command;
    const char* name;
};
constexpr DeskPanel kDeskPanels[] = {{cmd::ToggleSectionTitles, "Titles"},
                                     {cmd::ToggleRelated, "Related"},
                                     {cmd::ToggleNoteBar, "Notes"}};

std::string deskValue(int window, const char* what) {
    return "Window" + std::to_string(window) + ' ' + what;
}

// The least size at which arranging leaves a window: a title bar and a few lines of text.
constexpr int kUsableWidth = 420;
constexpr int kUsableHeight = 280;

bool askToExit(QWidget* parent) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("QEL CD-ROM 성경 종료 확인"),
                    QStringLiteral("CD-ROM 성경을 종료하시겠습니까?"), QMessageBox::NoButton,
                    parent);
    QPushButton* yes = box.addButton(QStringLiteral("예"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("아니오"), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == yes;
}

} // namespace

CMainFrame::CMainFrame(AppContext& context, std::string pendingCommandKey)
    : context_(context), display_(textDisplayOf(context.settings, context.displayFont)),
      topicLibraries_(std::make_unique<TopicLibraries>(&context.contentDb, &display_)),
      pendingCommandKey_(std::move(pendingCommandKey)),
      confirmExit_([this] { return askToExit(this); }) {
    // A child made with this window as parent sends it events at once, so children are made
    // only once every member is set.
    mdiArea_ = new QMdiArea(this);
    mdiArea_->viewport()->installEventFilter(this);
    shortcutBar_ = new ShortcutBar(context, this);
    bookmarkPanel_ = new BookmarkPanel(
        context, context.paths.studyDatabaseFile(),
        [this](const std::string& key) { openByCommandKey(key, false); }, this);
    // The heap a closed window freed goes back to the system once the closing is over.
    giveBackMemory_ = new QTimer(this);
    giveBackMemory_->setSingleShot(true);
    giveBackMemory_->setInterval(500);
    connect(giveBackMemory_, &QTimer::timeout, this, [this] {
        // Icons and style pieces drawn for the closed windows are cached under keys that no
        // later window asks for again (every icon has a serial number of its own).
        QPixmapCache::clear();
        // The content pages the closed windows read (up to 2 MB) are read again when wanted.
        context_.contentDb.releaseMemory();
        giveBackFreeMemory();
    });
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    setCentralWidget(mdiArea_);
    createActions();
    createMenus();
    createToolBars();
    createSearchDialogs();
    updateEditionTitles();
    statusBar()->showMessage(QStringLiteral("준비"));
    addDockWidget(Qt::LeftDockWidgetArea, shortcutBar_);
    connect(shortcutBar_, &ShortcutBar::itemChosen, this, &CMainFrame::openShortcutItem);
    connect(shortcutBar_, &QDockWidget::visibilityChanged, this, &CMainFrame::updateCommandStates);
    addDockWidget(Qt::RightDockWidgetArea, bookmarkPanel_);
    bookmarkPanel_->hide();
    connect(bookmarkPanel_, &QDockWidget::visibilityChanged, this,
            &CMainFrame::updateCommandStates);
    // Activation leaves the window list alone: it runs from the newest window to the oldest.
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &CMainFrame::updateCommandStates);
    // Queued, so that a place that fails to open (a damaged page) cannot keep the other
    // listeners of the first paint from their turn.
    connect(this, &CMainFrame::firstPainted, this, &CMainFrame::openCommandLinePlace,
            Qt::QueuedConnection);
    resize(1024, 720);
    updateCommandStates();
}

CMainFrame::~CMainFrame() {
    // Children write their last place while the context is still there.
    disconnect(mdiArea_, nullptr, this, nullptr);
    disconnect(shortcutBar_, nullptr, this, nullptr);
    disconnect(bookmarkPanel_, nullptr, this, nullptr);
    // A window closed just before (its deletion still pending) goes after this frame.
    for (CChildFrame* frame : registry_.frames())
        disconnect(frame, nullptr, this, nullptr);
    // A running search ends before the windows it could open go away.
    delete std::exchange(searchDialog_, nullptr);
    delete std::exchange(searchWord_, nullptr);
    for (QMdiSubWindow* window : mdiArea_->subWindowList())
        delete window;
}

QAction* CMainFrame::action(int commandId) const {
    const auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

const std::vector<CMainFrame::Command>& CMainFrame::commands() {
    using F = CMainFrame;
    const auto openVersion = [](F& f, int id) {
        for (const Edition& edition : editionTable())
            if (edition.menuCommand == id)
                f.openBibleVersion(edition.code);
    };
    const auto openKind = [](F& f, int id) { f.openWindow(kWindowCommands.at(id), ""); };
    const auto withWindow = [](const F& f) { return f.activeFrame() != nullptr; };
    const auto settings = [](F& f, int id) {
        if (id == cmd::FontDialog)
            f.runSettingsDialog<CFontDialog>();
        else if (id == cmd::ViewModeDialog)
            f.runSettingsDialog<CViewModeDialog>();
        else if (id == cmd::ColorDialog)
            f.runSettingsDialog<CColorDialog>();
        else
            f.runSettingsDialog<CParallelDialog>();
    };
    const auto arrange = [](F& f, int id) {
        if (id == cmd::CascadeWindows)
            f.cascadeChildren();
        else
            f.tileChildren(id == cmd::TileHorizontally ? Tiling::Horizontal : Tiling::Vertical);
    };
    const auto companion = [](F& f, int id) {
        f.startCompanion(id == cmd::DailyReading ? "qeldiary" : "qelplan");
    };
    const auto companionThere = [](const F& f) { return f.companionExists("qeldiary"); };
    const auto planThere = [](const F& f) { return f.companionExists("qelplan"); };
    static const std::vector<Command> others = {
        {cmd::OpenBOOK, "책별 안내", "", openKind, nullptr, nullptr},
        {cmd::OpenTERM, "용어 해설", "", openKind, nullptr, nullptr},
        {cmd::OpenPHOTO, "사진 자료", "", openKind, nullptr, nullptr},
        {cmd::OpenHIS, "연대표", "", openKind, nullptr, nullptr},
        {cmd::OpenCAME, "성서가 우리에게 오기까지", "", openKind, nullptr, nullptr},
        {cmd::OpenUNITS, "도량형 및 화폐 단위", "", openKind, nullptr, nullptr},
        {cmd::OpenCRI, "본문 비평 주", "", openKind, nullptr, nullptr},
        {cmd::OpenSHORT, "주제별 단편 성서", "", openKind, nullptr, nullptr},
        {cmd::OpenABOUT, "QEL 소개", "", openKind, nullptr, nullptr},
        {cmd::OpenMAP, "성서 지도", "", openKind, nullptr, nullptr},
        {cmd::OpenPROLOG, "일러두기", "", openKind, nullptr, nullptr},
        {cmd::OpenPARALLEL, "절별 비교", "", openKind, nullptr, nullptr},
        {cmd::OpenCOMPARE4, "4복음서 대조", "", openKind, nullptr, nullptr},
        {cmd::OpenCOMPAREHIS, "역사서 대조", "", openKind, nullptr, nullptr},
        {cmd::DailyReading, "매일 성경 읽기(경건 일기장)", "", companion, companionThere, nullptr},
        {cmd::ReadingPlan, "성경 읽기 진도표", "", companion, planThere, nullptr},
        {cmd::About, "프로그램 정보", "", [](F& f, int) { f.showAbout(); }, nullptr, nullptr},
        {cmd::Help, "도움말", "F1", [](F& f, int) { f.showHelp(); }, nullptr, nullptr},
        {cmd::SearchHelp, "검색 도움말", "",
         [](F& f, int) { f.openWindow("ABOUT", kSearchHelpTopic); }, nullptr, nullptr},
        {cmd::ShowEditionInfo, "역본 정보", "", [](F& f, int) { f.showEditionInfo(); }, nullptr,
         nullptr},
        {cmd::ImportEdition, "역본 가져오기...", "", [](F& f, int) { f.importEdition(); }, nullptr,
         nullptr},
        {cmd::BibleLibrary, "역본 설치...", "", [](F& f, int) { f.openBibleLibrary(); }, nullptr,
         nullptr},
        {cmd::VerseSearch, "성구찾기", "Ctrl+F",
         [](F& f, int) {
             f.searchWord_->hide();
             f.searchDialog_->showAndRestore();
         },
         nullptr, [](const F& f) { return f.searchDialog_ && f.searchDialog_->isVisible(); }},
        {cmd::WordSearch, "단어찾기", "Ctrl+Shift+F",
         [](F& f, int) {
             f.searchDialog_->hide();
             f.searchWord_->showAndRestore();
         },
         nullptr, [](const F& f) { return f.searchWord_ && f.searchWord_->isVisible(); }},
        {cmd::ViewModeDialog, "보기방식 지정...", "", settings, nullptr, nullptr},
        {cmd::FontDialog, "글꼴 지정...", "", settings, nullptr, nullptr},
        {cmd::ColorDialog, "글자색 지정...", "", settings, nullptr, nullptr},
        {cmd::ParallelDialog, "절별 비교 지정...", "", settings, nullptr, nullptr},
        {cmd::ToggleViewMode, "보기방식전환", "F4",
         [](F& f, int) {
             f.context_.settings.viewMode = (f.context_.settings.viewMode + 1) % 3;
             f.context_.store->writeInt("Settings", "View Mode", f.context_.settings.viewMode);
             f.refreshAllViews();
         },
         nullptr, nullptr},
        {cmd::NoteList, "사용자 노트 목록...", "", [](F& f, int) { f.openNoteList(); }, nullptr,
         nullptr},
        {cmd::AddBookmark, "책갈피 추가...", "Ctrl+D",
         [](F& f, int) {
             const auto [key, name] = f.bookmarkPlace();
             f.addBookmark(key, name);
         },
         [](const F& f) {
             return f.bookmarkPanel_->available() && !f.bookmarkPlace().first.empty();
         },
         nullptr},
        {cmd::ToggleBookmarkPanel, "책갈피 창", "",
         [](F& f, int) { f.bookmarkPanel_->setVisible(!f.bookmarkPanel_->isVisible()); }, nullptr,
         [](const F& f) { return f.bookmarkPanel_->isVisible(); }},
        {cmd::HighlightList, "형광펜 목록...", "", [](F& f, int) { f.openHighlightList(); },
         nullptr, nullptr},
        {cmd::CloseAll, "모든 창 닫기", "", [](F& f, int) { f.mdiArea_->closeAllSubWindows(); },
         withWindow, nullptr},
        {cmd::Close, "닫기", "Ctrl+W",
         [](F& f, int) {
             if (QMdiSubWindow* window = f.mdiArea_->activeSubWindow())
                 window->close();
         },
         withWindow, nullptr},
        {cmd::ToggleShortcutBar, "바로가기 창", "",
         [](F& f, int) {
             f.shortcutBarHiddenByMaximize_ = false;
             f.shortcutBar_->setVisible(!f.shortcutBar_->isVisible());
         },
         nullptr, [](const F& f) { return f.shortcutBar_->isVisible(); }},
        {cmd::NextWindow, "다음 창", "", [](F& f, int) { f.activateNeighbour(true); },
         [](const F& f) { return f.activeFrame() && f.registry_.newerThan(f.activeFrame()); },
         nullptr},
        {cmd::PreviousWindow, "이전 창", "", [](F& f, int) { f.activateNeighbour(false); },
         [](const F& f) { return f.activeFrame() && f.registry_.olderThan(f.activeFrame()); },
         nullptr},
        {cmd::CascadeWindows, "계단식 배열", "", arrange, withWindow, nullptr},
        {cmd::TileHorizontally, "가로 바둑판식 배열", "", arrange, withWindow, nullptr},
        {cmd::TileVertically, "세로 바둑판식 배열", "", arrange, withWindow, nullptr},
        {cmd::AppExit, "종료", "Ctrl+Q", [](F& f, int) { f.close(); }, nullptr, nullptr},
        // The active window's own.
        {cmd::Print, "인쇄...", "Ctrl+P", nullptr, nullptr, nullptr},
        {cmd::ToggleSectionTitles, "책별 소제목 창", "", nullptr, nullptr, nullptr},
        {cmd::ToggleRelated, "관련 내용 창", "", nullptr, nullptr, nullptr},
        {cmd::ToggleNoteBar, "사용자 노트 창", "", nullptr, nullptr, nullptr},
        {cmd::SyncMove, "동시 이동", "", nullptr, nullptr, nullptr},
        {cmd::Back, "뒤로", "Alt+Left", nullptr, nullptr, nullptr},
        {cmd::Forward, "앞으로", "Alt+Right", nullptr, nullptr, nullptr},
        {cmd::PreviousChapter, "이전 장", "Ctrl+PgUp", nullptr, nullptr, nullptr},
        {cmd::NextChapter, "다음 장", "Ctrl+PgDown", nullptr, nullptr, nullptr},
        {cmd::Copy, "복사", "Ctrl+C", nullptr, nullptr, nullptr},
        {cmd::CopyVerse, "절 복사(인용)", "", nullptr, nullptr, nullptr},
        {cmd::SelectAll, "모두 선택", "Ctrl+A", nullptr, nullptr, nullptr},
        {cmd::NextPane, "다음 창 영역", "F6", nullptr, nullptr, nullptr},
        {cmd::PreviousPane, "이전 창 영역", "Shift+F6", nullptr, nullptr, nullptr},
        // The Bible window's: the selection, or else the current verse. Their keys
        // (Ctrl+Alt+1..5, Ctrl+Alt+0) belong to the window, so that they are not ambiguous.
        {cmd::HighlightMenu, "형광펜", "", nullptr, nullptr, nullptr},
        {cmd::Highlight1, highlightColourName(1), "", nullptr, nullptr, nullptr},
        {cmd::Highlight1 + 1, highlightColourName(2), "", nullptr, nullptr, nullptr},
        {cmd::Highlight1 + 2, highlightColourName(3), "", nullptr, nullptr, nullptr},
        {cmd::Highlight1 + 3, highlightColourName(4), "", nullptr, nullptr, nullptr},
        {cmd::Highlight5, highlightColourName(5), "", nullptr, nullptr, nullptr},
        {cmd::HighlightErase, "형광펜 지우기", "", nullptr, nullptr, nullptr},
        // The note editor's own; its keys and context menu do the same.
        {cmd::Paste, "붙여넣기", "", nullptr, nullptr, nullptr},
        {cmd::Cut, "잘라내기", "", nullptr, nullptr, nullptr},
        {cmd::Undo, "실행 취소", "", nullptr, nullptr, nullptr},
        {cmd::EditorExtra, "지우기", "", nullptr, nullptr, nullptr},
    };
    // The editions' commands come first; updateEditionTitles gives them their labels.
    static const std::vector<Command> table = [&] {
        std::vector<Command> rows;
        for (const Edition& edition : editionTable())
            rows.push_back({edition.menuCommand, "", "", openVersion, nullptr, nullptr});
        rows.insert(rows.end(), others.begin(), others.end());
        return rows;
    }();
    return table;
}

const CMainFrame::Command* CMainFrame::findCommand(int id) {
    for (const Command& command : commands())
        if (command.id == id)
            return &command;
    return nullptr;
}

bool CMainFrame::runsCommand(int commandId) const {
    const Command* command = findCommand(commandId);
    return command && command->run;
}

void CMainFrame::createActions() {
    for (const Command& c : commands()) {
        const QString label = QString::fromUtf8(c.label);
        auto* action = new QAction(commandIcon(c.id), label, this);
        action->setToolTip(label);
        action->setStatusTip(label);
        if (*c.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(c.shortcut)));
        action->setCheckable(c.checked != nullptr);
        action->setData(c.id);
        connect(action, &QAction::triggered, this, [this, id = c.id] { runCommand(id); });
        actions_[c.id] = action;
    }
    // The active window's panels and the linked move show their state.
    for (int id : {cmd::SyncMove, cmd::ToggleSectionTitles, cmd::ToggleRelated, cmd::ToggleNoteBar})
        action(id)->setCheckable(true);
    action(cmd::Copy)->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    // Keys work even for commands that sit in no menu.
    for (int id : {cmd::NextPane, cmd::PreviousPane})
        addAction(action(id));
    auto* colours = new QMenu(this);
    for (int id = cmd::Highlight1; id <= cmd::HighlightErase; ++id) {
        if (id == cmd::HighlightErase)
            colours->addSeparator();
        colours->addAction(action(id));
    }
    connect(colours, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
    action(cmd::HighlightMenu)->setMenu(colours);
}

void CMainFrame::addMenu(const QString& title, std::initializer_list<int> ids) {
    QMenu* menu = menuBar()->addMenu(title);
    addMenuItems(menu, ids);
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
}

void CMainFrame::addMenuItems(QMenu* menu, std::initializer_list<int> ids) {
    for (int id : ids) {
        if (id)
            menu->addAction(action(id));
        else
            menu->addSeparator();
    }
}

void CMainFrame::createMenus() {
    using namespace cmd;
    addMenu(QStringLiteral("파일(&F)"),
            {OpenVRA, OpenVRB, OpenVRC, OpenVRE, 0, OpenKJV, OpenNIV, OpenGNB, 0, ImportEdition,
             BibleLibrary, 0, Print, 0, Close, CloseAll, 0, AppExit});
    addMenu(QStringLiteral("편집(&E)"),
            {Copy, CopyVerse, SelectAll, 0, AddBookmark, 0, VerseSearch, WordSearch});
    addMenu(QStringLiteral("보기(&V)"),
            {ToggleShortcutBar, ToggleSectionTitles, ToggleRelated, ToggleNoteBar,
             ToggleBookmarkPanel, 0, SyncMove, Back, Forward, PreviousChapter, NextChapter, 0,
             ToggleViewMode, FontDialog, ColorDialog, ViewModeDialog});
    addMenu(QStringLiteral("성경(&B)"),
            {OpenVRA, OpenVRB, OpenVRC, OpenVRD, OpenVRE, OpenKJV, OpenNIV, OpenGNB, 0,
             OpenPARALLEL, ParallelDialog, OpenCOMPARE4, OpenCOMPAREHIS, 0, NoteList, HighlightList,
             0, DailyReading, ReadingPlan});
    addMenu(QStringLiteral("자료(&R)"), {OpenPROLOG, OpenBOOK, OpenTERM, OpenUNITS, OpenCRI, 0,
                                         OpenSHORT, OpenHIS, OpenMAP, OpenPHOTO, OpenCAME});
    QMenu* windows = menuBar()->addMenu(QStringLiteral("창(&W)"));
    connect(windows, &QMenu::aboutToShow, this, [this, windows] { fillWindowMenu(windows); });
    fillWindowMenu(windows);
    addMenu(QStringLiteral("도움말(&H)"),
            {OpenABOUT, Help, 0, ShowEditionInfo, SearchHelp, 0, About});
}

void CMainFrame::fillWindowMenu(QMenu* menu) {
    updateCommandStates();
    menu->clear();
    addMenuItems(menu, {cmd::CascadeWindows, cmd::TileHorizontally, cmd::TileVertically, 0,
                        cmd::PreviousWindow, cmd::NextWindow, 0, cmd::Close, cmd::CloseAll});
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    if (!windows.isEmpty())
        menu->addSeparator();
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        ++number;
        const QString text = number < 10
                                 ? QStringLiteral("&%1 %2").arg(number).arg(window->windowTitle())
                                 : window->windowTitle();
        QAction* item =
            menu->addAction(text, this, [this, window] { mdiArea_->setActiveSubWindow(window); });
        item->setCheckable(true);
        item->setChecked(window == mdiArea_->activeSubWindow());
    }
}

void CMainFrame::createToolBars() {
    const std::initializer_list<int> first = {cmd::ToggleShortcutBar,
                                              0,
                                              cmd::VerseSearch,
                                              cmd::WordSearch,
                                              0,
                                              cmd::NoteList,
                                              0,
                                              cmd::ToggleViewMode,
                                              cmd::FontDialog,
                                              cmd::ColorDialog,
                                              cmd::ParallelDialog,
                                              cmd::BibleLibrary,
                                              0,
                                              cmd::CascadeWindows,
                                              cmd::TileVertically,
                                              cmd::TileHorizontally,
                                              cmd::Help};
    const std::initializer_list<int> second = {cmd::Print,
                                               0,
                                               cmd::ToggleSectionTitles,
                                               cmd::ToggleRelated,
                                               cmd::ToggleNoteBar,
                                               cmd::HighlightMenu,
                                               0,
                                               cmd::SyncMove,
                                               0,
                                               cmd::Back,
                                               cmd::Forward,
                                               cmd::PreviousWindow,
                                               cmd::NextWindow};
    for (const auto& buttons : {first, second}) {
        QToolBar* bar = addToolBar(QString());
        bar->setObjectName(QStringLiteral("ToolBar%1").arg(buttons.size()));
        bar->setIconSize(QSize(24, 24));
        for (int id : buttons) {
            if (id)
                bar->addAction(action(id));
            else
                bar->addSeparator();
        }
        // The colours drop down at a click; the button itself does nothing.
        if (auto* button =
                qobject_cast<QToolButton*>(bar->widgetForAction(action(cmd::HighlightMenu))))
            button->setPopupMode(QToolButton::InstantPopup);
    }
}

void CMainFrame::createSearchDialogs() {
    // Both live hidden as long as the main window and keep their last results.
    // The opened window comes to the front; the dialog steps off the verse it shows.
    auto open = [this](const std::string& key) {
        CChildFrame* frame = openByCommandKey(key, false);
        if (!frame)
            return QRect();
        mdiArea_->setActiveSubWindow(frame);
        showAndActivate();
        return shownPlaceArea(frame);
    };
    const SearchDialogContext search{context_.paths.searchResultFile(),
                                     context_.paths.searchIndexFolder,
                                     context_.paths.wordIndexFolder, open};
    searchDialog_ = new CSearchDialog(search, this);
    searchWord_ = new CSearchWord(search, this);
    for (SearchDialogBase* dialog : {static_cast<SearchDialogBase*>(searchDialog_),
                                     static_cast<SearchDialogBase*>(searchWord_)})
        dialog->installEventFilter(this);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mdiArea_->viewport() && event->type() == QEvent::Resize &&
        !restoredPlaces_.empty())
        placeRestoredWindows();
    // The search buttons are checked while their dialog shows.
    if ((watched == searchDialog_ || watched == searchWord_) &&
        (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        QTimer::singleShot(0, this, &CMainFrame::updateCommandStates);
    return QMainWindow::eventFilter(watched, event);
}

CChildFrame* CMainFrame::activeFrame() const {
    return qobject_cast<CChildFrame*>(mdiArea_->activeSubWindow());
}

void CMainFrame::registerFrame(CChildFrame* frame) {
    registry_.add(frame);
    connect(frame, &QObject::destroyed, this, [this, frame] {
        registry_.remove(frame);
        giveBackMemory_->start();
        // The panel that a maximised window pushed aside comes back with the empty area.
        if (registry_.frames().empty() && shortcutBarHiddenByMaximize_) {
            shortcutBarHiddenByMaximize_ = false;
            shortcutBar_->show();
        }
        updateCommandStates();
    });
    connect(frame, &CChildFrame::commandStateChanged, this, &CMainFrame::updateCommandStates);
}

void CMainFrame::runCommand(int id) {
    if (const Command* command = findCommand(id); command && command->run)
        command->run(*this, id);
    else if (CChildFrame* frame = activeFrame())
        frame->handleCommand(id);
    updateCommandStates();
}

void CMainFrame::updateCommandStates() {
    CChildFrame* active = activeFrame();
    for (auto& [id, action] : actions_) {
        const Command* command = findCommand(id);
        if (command && command->run) {
            action->setEnabled(!command->enabled || command->enabled(*this));
            if (command->checked)
                action->setChecked(command->checked(*this));
        } else if (!active || !active->updateCommand(id, action)) {
            action->setEnabled(false);
        }
    }
}

void CMainFrame::showHelp() {
    const CChildFrame* active = activeFrame();
    if (active && isEditionSlot(active->code())) {
        openWindow("ABOUT", kEditionHelpTopic);
        return;
    }
    const auto topic = active ? kHelpTopics.find(active->code()) : kHelpTopics.end();
    openWindow("ABOUT", topic != kHelpTopics.end() ? topic->second : kMainWindowHelpTopic);
}

QRect CMainFrame::shownPlaceArea(const CChildFrame* frame) {
    const auto* bible = qobject_cast<const CBibleFrame*>(frame);
    if (!bible || !bible->view()->marker()->isVisible())
        return {frame->mapToGlobal(QPoint(0, 0)), frame->size()};
    // The lines from the marker of the current verse: the verse and what follows it.
    const QWidget* view = bible->view();
    const QRect shown(view->mapToGlobal(QPoint(0, 0)), view->size());
    const int top = bible->view()->marker()->mapToGlobal(QPoint(0, 0)).y();
    return QRect(shown.x(), top, shown.width(), 3 * view->fontMetrics().height())
        .intersected(shown);
}

void CMainFrame::placeNewWindow(QMdiSubWindow* window) {
    const QSize area = mdiArea_->viewport()->size();
    const int step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    const int others = static_cast<int>(mdiArea_->subWindowList().size()) - 1;
    const WindowRect place = cascadedPlace(others, area.width(), area.height(), step);
    // A place of our own also keeps the area from choosing one that sticks out.
    window->setGeometry(place.x, place.y, place.width, place.height);
}

std::vector<QMdiSubWindow*> CMainFrame::arrangedWindows() const {
    // From the least recently active; the active window is the last.
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::ActivationHistoryOrder))
        if (window->isVisible() && !window->isMinimized())
            windows.push_back(window);
    for (QMdiSubWindow* window : windows)
        if (window->isMaximized())
            window->showNormal();
    return windows;
}

WindowSize CMainFrame::leastSize(const QMdiSubWindow* window) {
    const QSize size = window->minimumSizeHint().expandedTo(window->minimumSize());
    return {size.width(), size.height()};
}

WindowSize CMainFrame::usableSize(const QMdiSubWindow* window) {
    // Room for the title bar and a few lines of each pane, whatever the panes claim.
    const WindowSize least = leastSize(window);
    return {std::max(least.width, kUsableWidth), std::max(least.height, kUsableHeight)};
}

void CMainFrame::cascadeChildren() {
    const std::vector<QMdiSubWindow*> windows = arrangedWindows();
    std::vector<WindowSize> minimums;
    for (const QMdiSubWindow* window : windows)
        minimums.push_back(usableSize(window));
    const QSize area = mdiArea_->viewport()->size();
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const std::vector<WindowRect> places =
        cascadeWindows(minimums, area.width(), area.height(), step);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        windows[i]->setGeometry(places[i].x, places[i].y, places[i].width, places[i].height);
        windows[i]->raise();
    }
}

void CMainFrame::tileChildren(Tiling tiling) {
    // The active window takes the first cell, then the others from the most recently active.
    std::vector<QMdiSubWindow*> windows = arrangedWindows();
    std::reverse(windows.begin(), windows.end());
    // Cells of the visible area only: the main window keeps its size. A window that needs
    // more than its cell overlaps its neighbour rather than losing its panes.
    const QSize area = mdiArea_->viewport()->size();
    const std::vector<WindowRect> cells =
        tileWindows(static_cast<int>(windows.size()), area.width(), area.height(), tiling);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const WindowRect cell =
            fitInside(cells[i], leastSize(windows[i]), area.width(), area.height());
        windows[i]->setGeometry(cell.x, cell.y, cell.width, cell.height);
    }
}

void CMainFrame::activateNeighbour(bool newer) {
    CChildFrame* active = activeFrame();
    if (!active)
        return;
    if (CChildFrame* target = newer ? registry_.newerThan(active) : registry_.olderThan(active))
        mdiArea_->setActiveSubWindow(target);
}

CChildFrame* CMainFrame::openBibleVersion(const std::string& versionCode) {
    const Edition* edition = findEdition(versionCode);
    const std::string code = edition ? edition->code : versionCode;
    const QMdiSubWindow* active = mdiArea_->activeSubWindow();
    const bool activeMaximized = active && active->isMaximized();
    auto* frame = static_cast<CBibleFrame*>(registry_.findByCode(code));
    if (frame) {
        // The window behind keeps its state: maximised windows stay maximised when back.
        activeMaximized ? frame->showMaximized() : frame->showNormal();
        frame->OpenAtKey(pendingPlace_, true);
        pendingPlace_.clear();
        mdiArea_->setActiveSubWindow(frame);
        return frame;
    }
    frame = new CBibleFrame(context_, code, this);
    mdiArea_->addSubWindow(frame);
    registerFrame(frame);
    // The commentary edition opens beside a maximised window, not over it.
    showNewWindow(frame, activeMaximized && !isCommentaryEdition(code), std::nullopt);
    frame->OpenAtKey(pendingPlace_, true);
    pendingPlace_.clear();
    return frame;
}

void CMainFrame::showNewWindow(QMdiSubWindow* window, bool maximized,
                               std::optional<NewWindowSize> size) {
    if (maximized) {
        window->showMaximized();
        return;
    }
    placeNewWindow(window);
    const QSize area = mdiArea_->viewport()->size();
    WindowRect place{window->x(), window->y(), window->width(), window->height()};
    if (size) {
        const QSize rest(area.width() - window->x(), area.height() - window->y());
        const QSize wanted =
            *size == NewWindowSize::RestOfArea ? rest : rest.boundedTo(roomySize(area));
        place.width = wanted.width();
        place.height = wanted.height();
    }
    // Fully inside the visible area, and never below the size its panes need.
    place = fitInside(place, leastSize(window), area.width(), area.height());
    window->setGeometry(place.x, place.y, place.width, place.height);
    window->show();
}

CChildFrame* CMainFrame::openComparison(const std::string& code) {
    auto* frame = static_cast<CCompareFrame*>(registry_.findByCode(code));
    const QMdiSubWindow* active = mdiArea_->activeSubWindow();
    const bool activeMaximized = active && active->isMaximized();
    if (frame) {
        activeMaximized ? frame->showMaximized() : frame->showNormal();
        mdiArea_->setActiveSubWindow(frame);
    } else {
        const auto links = [this](const std::string& key) { openByCommandKey(key, false); };
        const bool gospels = code == "COMPARE4";
        frame = gospels ? static_cast<CCompareFrame*>(new CCompare4Frame(context_, display_, links))
                        : new CCompareHisFrame(context_, display_, links);
        mdiArea_->addSubWindow(frame);
        registerFrame(frame);
        showNewWindow(frame, activeMaximized, NewWindowSize::Roomy);
        frame->SetPanelMode(gospels ? panelmode::Gospels : panelmode::HistoryBooks);
    }
    frame->OpenPlace(pendingPlace_);
    pendingPlace_.clear();
    return frame;
}

CChildFrame* CMainFrame::openTopic(const std::string& code) {
    bool created = false;
    // A new one gets the rest of the area: the panel and a topic beside it, or the chronology.
    auto* frame = singleWindow<CM14Frame>(
        code, NewWindowSize::RestOfArea, [&] { return new CM14Frame(context_, *this, code); },
        created);
    if (created)
        frame->Init(pendingPlace_);
    else if (!pendingPlace_.empty()) // an open window keeps its topic unless given another
        frame->Navigate(pendingPlace_, true);
    pendingPlace_.clear();
    mdiArea_->setActiveSubWindow(frame);
    return frame;
}

CChildFrame* CMainFrame::openParallel(const std::string& code) {
    // Without a place of its own it compares the verse the reader is at.
    if (auto* bible = dynamic_cast<CBibleFrame*>(activeFrame());
        bible && pendingPlace_.empty() && !bible->currentChapter().empty())
        pendingPlace_ =
            parallelPlaceKey(bible->currentBook(), bible->currentChapter(), bible->currentVerse());
    bool created = false;
    // A new one gets the rest of the area: room for the seven versions of a verse.
    auto* frame = singleWindow<CParallelFrame>(
        code, NewWindowSize::RestOfArea,
        [this] {
            return new CParallelFrame(context_, display_, [this](const std::string& key) {
                openByCommandKey(key, false);
            });
        },
        created);
    // The open window keeps its verse unless it is given another.
    if (created || !pendingPlace_.empty())
        frame->GoToVerseKey(pendingPlace_, true);
    pendingPlace_.clear();
    mdiArea_->setActiveSubWindow(frame);
    return frame;
}

template <typename Frame, typename Make>
Frame* CMainFrame::singleWindow(const std::string& code, NewWindowSize size, Make make,
                                bool& created) {
    const QMdiSubWindow* active = mdiArea_->activeSubWindow();
    const bool activeMaximized = active && active->isMaximized();
    auto* frame = static_cast<Frame*>(registry_.findByCode(code));
    created = !frame;
    if (frame) {
        activeMaximized ? frame->showMaximized() : frame->showNormal();
        return frame;
    }
    frame = make();
    mdiArea_->addSubWindow(frame);
    registerFrame(frame);
    showNewWindow(frame, activeMaximized, size);
    return frame;
}

CChildFrame* CMainFrame::openArticle(const std::string& code) {
    const int kind = articleKindOf(code);
    bool created = false;
    auto* frame = singleWindow<CGeneralFrame>(
        code, NewWindowSize::Roomy,
        [&] {
            return new CGeneralFrame(context_, display_, kind, [this](const std::string& key) {
                return openByCommandKey(key, false);
            });
        },
        created);
    if (created)
        frame->SetKind(kind);
    // Loading may open further windows through the pending place: take it first.
    const std::string place = std::exchange(pendingPlace_, std::string());
    if (!place.empty())
        frame->Load(place, true);
    mdiArea_->setActiveSubWindow(frame);
    return frame;
}

CChildFrame* CMainFrame::openIntroduction(const std::string& code) {
    bool created = false;
    auto* frame = singleWindow<CETCFrame>(
        code, NewWindowSize::Roomy, [this] { return new CETCFrame(context_, display_); }, created);
    frame->Load(CETCFrame::prologId());
    pendingPlace_.clear();
    mdiArea_->setActiveSubWindow(frame);
    return frame;
}

const std::map<std::string, CMainFrame::WindowOpener>& CMainFrame::windowOpeners() {
    static const std::map<std::string, WindowOpener> openers = [] {
        std::map<std::string, WindowOpener> table;
        for (const Edition& edition : editionTable())
            table.emplace(edition.code, &CMainFrame::openBibleVersion);
        table.emplace("COMPARE4", &CMainFrame::openComparison);
        table.emplace("COMPAREHIS", &CMainFrame::openComparison);
        table.emplace("PARALLEL", &CMainFrame::openParallel);
        for (int kind = 0; kind < articlekind::Count; ++kind)
            table.emplace(articleKindInfo(kind).documentType, &CMainFrame::openArticle);
        table.emplace("PROLOG", &CMainFrame::openIntroduction);
        for (const char* code : kTopicCodes)
            table.emplace(code, &CMainFrame::openTopic);
        return table;
    }();
    return openers;
}

CChildFrame* CMainFrame::openWindow(const std::string& code, const std::string& place) {
    const auto opener = windowOpeners().find(code);
    if (opener == windowOpeners().end())
        return nullptr;
    pendingPlace_ = place;
    CChildFrame* frame = (this->*opener->second)(code);
    pendingPlace_.clear();
    return frame;
}

CChildFrame* CMainFrame::openByCommandKey(const std::string& key, bool force) {
    pendingPlace_.clear();
    const std::optional<CommandKey> command = parseCommandKey(key);
    if (!command)
        return nullptr;
    pendingPlace_ = command->payload;
    CChildFrame* opened = nullptr;
    if (command->letter == 'B') {
        auto* existing = qobject_cast<CBibleFrame*>(registry_.findByCode(command->version));
        if (!force && existing) {
            existing->OpenAtKey(pendingPlace_, true);
            opened = existing;
        } else if (isBibleVersion(command->version)) {
            opened = openBibleVersion(command->version);
        }
    }
    if (const auto window = kWindowLetters.find(command->letter); window != kWindowLetters.end())
        if (const auto opener = windowOpeners().find(window->second);
            opener != windowOpeners().end())
            opened = (this->*opener->second)(window->second);
    pendingPlace_.clear();
    return opened;
}

void CMainFrame::openShortcutItem(int itemCode) {
    for (const Edition& edition : editionTable())
        if (edition.shortcutItem == itemCode) {
            openBibleVersion(edition.code);
            return;
        }
    if (const auto window = kShortcutWindows.find(itemCode); window != kShortcutWindows.end())
        openWindow(window->second, "");
    else if (itemCode == kShortcutDailyReading)
        startCompanion("qeldiary");
    else if (itemCode == kShortcutReadingPlan)
        startCompanion("qelplan");
}

QString CMainFrame::companionPath(const char* programName) const {
    // Beside the data, beside this program when it is installed apart from its data, or on
    // the PATH.
    for (const QString& folder : {QString::fromStdString(context_.paths.installRoot),
                                  QCoreApplication::applicationDirPath() + QLatin1Char('/')}) {
        const QFileInfo file(folder + QLatin1String(programName));
        if (file.isFile() && file.isExecutable())
            return file.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(QString::fromLatin1(programName));
}

bool CMainFrame::companionExists(const char* programName) const {
    return !companionPath(programName).isEmpty();
}

void CMainFrame::startCompanion(const char* programName) {
    const bool plan = std::string_view(programName) == "qelplan";
    // The plan program comes up over the reader, which lets go of the keyboard first.
    if (plan)
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
    const QString path = companionPath(programName);
    if (path.isEmpty() || !QProcess::startDetached(path))
        statusBar()->showMessage(QStringLiteral("'%1' 프로그램(%2)을 찾을 수 없습니다.")
                                     .arg(plan ? QStringLiteral("성경 읽기 진도표")
                                               : QStringLiteral("매일 성경 읽기(경건 일기장)"),
                                          QLatin1String(programName)),
                                 10000);
}

void CMainFrame::importEdition() {
    CImportDialog dialog(
        context_, QCoreApplication::applicationDirPath() + QStringLiteral("/qel-mkdb"), this);
    connect(&dialog, &CImportDialog::imported, this,
            [this](const QString& code) { contentReplaced(code.toStdString()); });
    dialog.exec();
}

// An import or an install replaced the content database (or made the reader's own): read
// the new one, and show the new text and the edition's name where they show.
void CMainFrame::contentReplaced(const std::string& code) {
    const std::string before = context_.paths.dbFolder;
    context_.paths.preferUserData();
    if (context_.paths.dbFolder != before) {
        // The search dialogs keep the index folders they were made with.
        delete std::exchange(searchDialog_, nullptr);
        delete std::exchange(searchWord_, nullptr);
        createSearchDialogs();
    }
    const std::string path = context_.paths.dbFolder + "Bible.m14";
    context_.contentDb.close();
    context_.contentDb.open(path, Database::Mode::ReadOnly);
    useEditionNames(readEditions(context_.contentDb));
    updateEditionTitles();
    for (CChildFrame* frame : registry_.frames())
        if (auto* bible = dynamic_cast<CBibleFrame*>(frame);
            bible && bible->versionCode() == code && !bible->currentChapter().empty())
            bible->ShowChapter(bible->currentBook(), bible->currentChapter(), bible->currentVerse(),
                               false);
    refreshAllViews();
}

void CMainFrame::openBibleLibrary(const QString& module) {
    CLibraryDialog dialog(
        context_, QCoreApplication::applicationDirPath() + QStringLiteral("/qel-mkdb"), this);
    connect(&dialog, &CLibraryDialog::installed, this,
            [this](const QString& code) { contentReplaced(code.toStdString()); });
    if (!module.isEmpty()) {
        // The whole Korean Bible of the sample bar is in CrossWire's repository.
        dialog.selectSource(QString::fromStdString(builtInSources().front().name));
        QTimer::singleShot(0, &dialog, [&dialog, module] { dialog.installWhenListed(module); });
    }
    dialog.exec();
}

// Menus, toolbars and window titles name each edition by its own name.
void CMainFrame::updateEditionTitles() {
    const auto titleOf = [](const char* code) {
        return QString::fromStdString(cp949ToUtf8(editionWindowTitle(code)));
    };
    shortcutBar_->updateEditionTitles(titleOf);
    for (const Edition& edition : editionTable())
        if (QAction* a = action(edition.menuCommand)) {
            const QString title = titleOf(edition.code);
            a->setText(title);
            a->setToolTip(title);
            a->setStatusTip(title);
        }
    for (CChildFrame* frame : registry_.frames())
        if (auto* bible = dynamic_cast<CBibleFrame*>(frame))
            bible->updateTitle();
    if (searchDialog_)
        searchDialog_->setWindowTitle(verseSearchTitle());
    if (searchWord_)
        searchWord_->updateVersionTitles();
}

void CMainFrame::showEditionInfo() {
    QString text;
    const auto u = [](const std::string& cp949) {
        return QString::fromStdString(cp949ToUtf8(cp949));
    };
    for (const EditionInfo& e : readEditions(context_.contentDb)) {
        text += QStringLiteral("%1  %2\n    출처: %3\n")
                    .arg(QString::fromLatin1(e.code.c_str()), u(e.name), u(e.source));
        if (!e.module.empty())
            text += QStringLiteral("    모듈: %1%2\n")
                        .arg(u(e.module), e.version.empty()
                                              ? QString()
                                              : QStringLiteral(" (판 %1)").arg(u(e.version)));
        text += QStringLiteral("    사용 조건: %1\n").arg(u(e.licence));
        if (!e.installed.empty())
            text += QStringLiteral("    설치한 날: %1\n").arg(u(e.installed));
        if (!editionIsSample(e) && slotHasSampleCopy(context_.contentDb, e.code))
            text += QStringLiteral("    견본으로 되돌리기: 파일 → 역본 설치...에서 이 자리를 "
                                   "고르십시오.\n");
        text += QLatin1Char('\n');
    }
    if (text.isEmpty())
        text = QStringLiteral("이 데이터에는 역본 정보가 없습니다.");
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("역본 정보"), text.trimmed(),
                    QMessageBox::NoButton, this);
    box.addButton(QStringLiteral("확인"), QMessageBox::AcceptRole);
    box.exec();
}

void CMainFrame::showAbout() {
    const QString title = QStringLiteral("프로그램 정보");
    QMessageBox box(QMessageBox::NoIcon, title,
                    QString::fromUtf8(kApplicationTitle) + QStringLiteral("\n버전 1.1"),
                    QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.addButton(QStringLiteral("확인"), QMessageBox::AcceptRole);
    // A message box sizes itself to its text; the title bar, with its buttons, needs more.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int width = box.fontMetrics().horizontalAdvance(title) * 2 + 160;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

template <typename Dialog> void CMainFrame::runSettingsDialog() {
    Dialog dialog(
        context_.settings, *context_.store, [this] { settingsChanged(); }, this);
    dialog.exec();
}

void CMainFrame::settingsChanged() {
    // The display font follows the font settings, as at start-up.
    const QScreen* screen = this->screen();
    context_.displayFont =
        makeDisplayFont(context_.settings, screen ? qRound(screen->logicalDotsPerInchY()) : 96);
    refreshAllViews();
}

void CMainFrame::refreshAllViews() {
    display_ = textDisplayOf(context_.settings, context_.displayFont);
    for (CChildFrame* frame : registry_.frames())
        frame->refreshView();
}

void CMainFrame::showAndActivate() {
    if (isMinimized() || isHidden())
        wasMaximized_ ? showMaximized() : showNormal();
    raise();
    activateWindow();
}

CChildFrame* CMainFrame::frameByCode(const std::string& code) const {
    return registry_.findByCode(code);
}

void CMainFrame::hideShortcutBar() {
    if (shortcutBar_->isVisible())
        shortcutBarHiddenByMaximize_ = true;
    shortcutBar_->hide();
}

void CMainFrame::handleInstanceMessage(const QByteArray& message, QLocalSocket* sender) {
    const QList<QByteArray> parts = message.split(' ');
    if (parts.value(0) == "1117") {
        showAndActivate();
    } else if (parts.value(0) == "1057") {
        if (sender)
            sender->write("1058 0\n");
        showAndActivate();
    } else if (parts.value(0) == "1058" && parts.size() >= 2) {
        // The companion sends a command key one character at a time; position 14 or more
        // ends the transfer.
        const int position = parts[1].toInt();
        if (position >= 0 && position < 14) {
            companionKey_[position] = static_cast<char>(parts.value(2).toInt() & 0xFF);
        } else if (position >= 14) {
            openByCommandKey(std::string(companionKey_.data()), false);
            showAndActivate();
        }
    }
}

void CMainFrame::openCommandLinePlace() {
    // A place asked for on the command line wins over the desk of the last session.
    if (isCommandVerseKey(pendingCommandKey_)) {
        const std::string key = std::exchange(pendingCommandKey_, std::string());
        openByCommandKey(key, true);
    } else {
        restoreDesk();
    }
}

void CMainFrame::saveDesk() {
    SettingsStore& store = *context_.store;
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    int count = 0;
    int active = -1;
    for (QMdiSubWindow* window : windows) {
        const auto* frame = qobject_cast<CChildFrame*>(window);
        if (!frame)
            continue;
        // A maximised window keeps the place it comes back to.
        const QRect place = window->isMaximized() ? window->normalGeometry() : window->geometry();
        const std::string entry = frame->code() + ' ' + std::to_string(place.x()) + ' ' +
                                  std::to_string(place.y()) + ' ' + std::to_string(place.width()) +
                                  ' ' + std::to_string(place.height()) + ' ' +
                                  (window->isMaximized() ? '1' : '0');
        if (window == mdiArea_->activeSubWindow())
            active = count;
        (void)store.writeString(kDeskSection, deskValue(count, "Place"), frame->placeKey());
        if (const auto* bible = qobject_cast<const CBibleFrame*>(frame)) {
            std::string panels;
            for (const DeskPanel& panel : kDeskPanels)
                if (bible->panelOpen(panel.command))
                    panels += std::string(panels.empty() ? "" : " ") + panel.name;
            (void)store.writeString(kDeskSection, deskValue(count, "Panels"), panels);
        }
        (void)store.writeString(kDeskSection, "Window" + std::to_string(count++), entry);
    }
    (void)store.writeInt(kDeskSection, "Windows", count);
    (void)store.writeInt(kDeskSection, "Active", active);
    (void)store.writeInt(kDeskSection, "Shortcut Bar", shortcutBar_->isVisible() ? 1 : 0);
    (void)store.writeInt(kDeskSection, "Bookmark Panel", bookmarkPanel_->isVisible() ? 1 : 0);
}

void CMainFrame::restoreDesk() {
    const SettingsStore& store = *context_.store;
    if (!store.contains(kDeskSection, "Windows"))
        return;
    shortcutBar_->setVisible(store.readInt(kDeskSection, "Shortcut Bar", 1) != 0);
    bookmarkPanel_->setVisible(store.readInt(kDeskSection, "Bookmark Panel", 0) != 0);
    const int count = store.readInt(kDeskSection, "Windows", 0);
    const int active = store.readInt(kDeskSection, "Active", -1);
    QMdiSubWindow* toActivate = nullptr;
    std::vector<QMdiSubWindow*> maximizedWindows;
    for (int i = 0; i < count; ++i) {
        std::istringstream entry(store.readString(kDeskSection, "Window" + std::to_string(i), ""));
        std::string code;
        int x = 0, y = 0, width = 0, height = 0, maximized = 0;
        if (!(entry >> code >> x >> y >> width >> height >> maximized))
            continue;
        // A window that can no longer open (an edition removed) is left out.
        CChildFrame* frame =
            openWindow(code, store.readString(kDeskSection, deskValue(i, "Place"), ""));
        if (!frame)
            continue;
        // Panels first: they decide the least size of the window.
        if (auto* bible = qobject_cast<CBibleFrame*>(frame);
            bible && store.contains(kDeskSection, deskValue(i, "Panels"))) {
            std::istringstream names(store.readString(kDeskSection, deskValue(i, "Panels"), ""));
            const std::set<std::string> open{std::istream_iterator<std::string>(names), {}};
            for (const DeskPanel& panel : kDeskPanels)
                bible->setPanelOpen(panel.command, open.count(panel.name) != 0);
        }
        frame->showNormal();
        restoredPlaces_.push_back({frame, {x, y, width, height}, {}});
        if (maximized)
            maximizedWindows.push_back(frame);
        if (i == active)
            toActivate = frame;
    }
    placeRestoredWindows();
    // Maximised once all are placed, so that the later windows do not open over them.
    for (QMdiSubWindow* window : maximizedWindows)
        window->showMaximized();
    if (toActivate)
        mdiArea_->setActiveSubWindow(toActivate);
}

void CMainFrame::placeRestoredWindows() {
    const QSize area = mdiArea_->viewport()->size();
    std::erase_if(restoredPlaces_, [](const RestoredPlace& r) {
        return !r.window || (!r.applied.isNull() && r.window->geometry() != r.applied &&
                             !r.window->isMaximized());
    });
    for (RestoredPlace& restored : restoredPlaces_) {
        if (restored.window->isMaximized())
            continue;
        const WindowRect place =
            fitInside(restored.saved, leastSize(restored.window), area.width(), area.height());
        restored.window->setGeometry(place.x, place.y, place.width, place.height);
        restored.applied = restored.window->geometry();
    }
}

void CMainFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        wasMaximized_ = isMaximized();
    QMainWindow::changeEvent(event);
}

void CMainFrame::endSession() {
    endingSession_ = true;
    for (QMdiSubWindow* window : mdiArea_->subWindowList())
        if (auto* bible = dynamic_cast<CBibleFrame*>(window); bible && bible->noteBar())
            bible->noteBar()->saveQuietly();
    // At logout the reader did not choose to close the windows: they come back next time.
    saveDesk();
    close();
    // Any dialog's loop ends too.
    QCoreApplication::exit(0);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (endingSession_) {
        event->accept();
        return;
    }
    if (confirmExit_ && !confirmExit_()) {
        event->ignore();
        return;
    }
    // Notes written since the last move are saved before the program ends; one that cannot
    // be saved keeps the program open the first time.
    for (QMdiSubWindow* window : mdiArea_->subWindowList())
        if (auto* bible = dynamic_cast<CBibleFrame*>(window);
            bible && bible->noteBar() && !bible->noteBar()->saveBeforeClose()) {
            event->ignore();
            return;
        }
    saveDesk();
    event->accept();
}

void CMainFrame::openNoteList() {
    // The list shows what was typed a moment ago too.
    for (QMdiSubWindow* window : mdiArea_->subWindowList())
        if (auto* bible = dynamic_cast<CBibleFrame*>(window); bible && bible->noteBar())
            bible->noteBar()->saveNow();
    CStudy list(
        context_.paths.studyDatabaseFile(),
        [this](const std::string& key) { openByCommandKey(key, false); }, this);
    list.exec();
}

std::pair<std::string, std::string> CMainFrame::bookmarkPlace() const {
    const CChildFrame* active = activeFrame();
    if (const auto* bible = dynamic_cast<const CBibleFrame*>(active); bible && bible->canBookmark())
        return {"B" + bible->currentKey(), bible->bookmarkName(bible->currentVerse())};
    // Articles and topics by the letter of their command keys.
    std::string place;
    if (const auto* article = dynamic_cast<const CGeneralFrame*>(active))
        place = article->currentId();
    else if (const auto* topic = dynamic_cast<const CM14Frame*>(active))
        place = topic->currentKey();
    if (place.empty())
        return {};
    for (const auto& [letter, code] : kWindowLetters)
        if (active->code() == code)
            return {letter + place, active->windowTitle().toStdString()};
    return {};
}

void CMainFrame::addBookmark(const std::string& key, const std::string& name) {
    bookmarkPanel_->askToAdd(key, name);
    updateCommandStates();
}

std::unique_ptr<CHighlightList> CMainFrame::highlightList() {
    // A chapter is read once however many of its verses are listed.
    std::map<std::string, std::vector<VerseRow>> chapters;
    auto verseText = [this, chapters](const NoteKey& key) mutable {
        const std::string chapter = key.version + ' ' + key.book + ' ' + key.chapter;
        auto found = chapters.find(chapter);
        if (found == chapters.end()) {
            std::vector<VerseRow> rows;
            try {
                rows = chapterRows(context_.contentDb, key.version, key.book, key.chapter);
            } catch (const DatabaseError& e) {
                logWarning(std::string("highlight list: ") + e.what());
            }
            found = chapters.emplace(chapter, std::move(rows)).first;
        }
        for (const VerseRow& row : found->second) {
            if (row.verse != key.verse)
                continue;
            MarkupNodeList body;
            MarkupParser::parse(&body, row.body);
            std::string text = countedText(body);
            std::replace_if(
                text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
            return std::string(trimmed(text));
        }
        return std::string();
    };
    return std::make_unique<CHighlightList>(
        context_.paths.studyDatabaseFile(), verseText,
        [this](const std::string& key) { openByCommandKey(key, false); }, this);
}

void CMainFrame::openHighlightList() {
    highlightList()->exec();
}

void CMainFrame::showStatus(const std::string& text) {
    constexpr int kShownMilliseconds = 8000;
    statusBar()->showMessage(QString::fromStdString(cp949ToUtf8(text)), kShownMilliseconds);
}

bool CMainFrame::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    // The central widget covers the frame, so the first paint of any part counts.
    if (!firstPaintDone_ &&
        (event->type() == QEvent::UpdateRequest || event->type() == QEvent::Paint)) {
        firstPaintDone_ = true;
        QTimer::singleShot(0, this, &CMainFrame::firstPainted);
    }
    return handled;
}

} // namespace qel
