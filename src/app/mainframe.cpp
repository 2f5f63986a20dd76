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
#include "platform/codec.h"
#include "platform/commands.h"
#include "reference/articleload.h"
#include "reference/articletrees.h"
#include "reference/etcframe.h"
#include "reference/generalframe.h"
#include "reference/m14frame.h"
#include "searchui/searchdialog.h"
#include "searchui/searchword.h"
#include "study/study.h"
#include "study/studyeditor.h"
#include "widgets/childframe.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalSocket>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace qel {
namespace {

struct CommandLabel {
    int id;
    const char* label;
};

// Short labels of the commands that the menu, toolbars and tooltips show.
const CommandLabel kCommandLabels[] = {
    {cmd::OpenVRA, "성경전서 역본 가"},
    {cmd::OpenVRB, "역본 나 성서"},
    {cmd::OpenVRC, "성경전서 역본 다"},
    {cmd::OpenVRD, "해설 라"},
    {cmd::OpenVRE, "성경전서 역본 마"},
    {cmd::OpenKJV, "King James Version"},
    {cmd::OpenNIV, "New International Version"},
    {cmd::OpenGNB, "Today's English Version"},
    {cmd::OpenBOOK, "책별 안내"},
    {cmd::OpenTERM, "용어 해설"},
    {cmd::OpenPHOTO, "사진 자료"},
    {cmd::OpenHIS, "연대표"},
    {cmd::OpenCAME, "성서가 우리에게 오기까지"},
    {cmd::OpenUNITS, "도량형 및 화폐 단위"},
    {cmd::OpenCRI, "본문 비평 주"},
    {cmd::OpenSHORT, "주제별 단편 성서"},
    {cmd::OpenABOUT, "QEL 소개"},
    {cmd::OpenMAP, "성서 지도"},
    {cmd::DailyReading, "매일성경일기(성경일기)"},
    {cmd::OpenPROLOG, "일러두기"},
    {cmd::ReadingPlan, "성경 읽기 진도표"},
    {cmd::OpenPARALLEL, "절별 비교"},
    {cmd::About, "정보"},
    {cmd::Help, "도움말"},
    {cmd::VerseSearch, "성구찾기"},
    {cmd::WordSearch, "단어찾기"},
    {cmd::ViewModeDialog, "보기방식 지정"},
    {cmd::FontDialog, "글꼴 지정"},
    {cmd::ToggleViewMode, "보기방식전환"},
    {cmd::ColorDialog, "글자색 지정"},
    {cmd::ParallelDialog, "절별 비교 지정"},
    {cmd::OpenCOMPARE4, "4복음서 대조"},
    {cmd::OpenCOMPAREHIS, "역사서 대조"},
    {cmd::NoteList, "사용자 노트 목록"},
    {cmd::CloseAll, "모든창 닫기"},
    {cmd::Close, "닫기"},
    {cmd::ToggleShortcutBar, "바로가기 창"},
    {cmd::NextWindow, "다음 창"},
    {cmd::PreviousWindow, "이전 창"},
    {cmd::NextPane, "다음 창 영역"},
    {cmd::PreviousPane, "이전 창 영역"},
    {cmd::CascadeWindows, "계단식 배열"},
    {cmd::TileHorizontally, "가로 바둑판식 배열"},
    {cmd::TileVertically, "세로 바둑판식 배열"},
    {cmd::Print, "인쇄"},
    {cmd::AppExit, "종료"},
    // Handled by the active window.
    {cmd::ToggleSectionTitles, "책별 소제목창 여닫기"},
    {cmd::ToggleRelated, "관련내용창 여닫기"},
    {cmd::ToggleNoteBar, "사용자 노트창 여닫기"},
    {cmd::SyncMove, "동시 이동"},
    {cmd::Back, "뒤로"},
    {cmd::Forward, "앞으로"},
    {cmd::PreviousChapter, "이전 장"},
    {cmd::NextChapter, "다음 장"},
    {cmd::Copy, "복사"},
    {cmd::CopyVerse, "절 복사(인용)"},
    {cmd::SelectAll, "모두 선택"},
    // The note editor's own; its keys and context menu do the same.
    {cmd::Paste, "붙여넣기"},
    {cmd::Cut, "잘라내기"},
    {cmd::Undo, "실행 취소"},
    {cmd::EditorExtra, "지우기"},
};

struct VersionCommand {
    int id;
    const char* code;
};
const VersionCommand kVersionCommands[] = {
    {cmd::OpenVRA, "VRA"}, {cmd::OpenVRB, "VRB"}, {cmd::OpenVRC, "VRC"}, {cmd::OpenVRD, "VRD"},
    {cmd::OpenVRE, "VRE"}, {cmd::OpenKJV, "KJV"}, {cmd::OpenNIV, "NIV"}, {cmd::OpenGNB, "GNB"}};

// Shortcut items that open a version.
const std::map<int, const char*> kShortcutVersions = {{101, "VRA"}, {201, "VRB"}, {301, "VRC"},
                                                      {401, "VRE"}, {501, "VRD"}, {601, "KJV"},
                                                      {701, "NIV"}, {801, "GNB"}};

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

// "역본 가져오기..." has no number of the program's own; this one lets --command open it.
constexpr int kImportEditionCommand = 32890;

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
      pendingCommandKey_(std::move(pendingCommandKey)),
      confirmExit_([this] { return askToExit(this); }) {
    // A child made with this window as parent sends it events at once, so children are made
    // only once every member is set.
    mdiArea_ = new QMdiArea(this);
    shortcutBar_ = new ShortcutBar(context, this);
    // The heap a closed window freed goes back to the system once the closing is over; the
    // allocator would otherwise keep it for the program's life.
    giveBackMemory_ = new QTimer(this);
    giveBackMemory_->setSingleShot(true);
    giveBackMemory_->setInterval(500);
    connect(giveBackMemory_, &QTimer::timeout, this, [] {
#ifdef __GLIBC__
        malloc_trim(0);
#endif
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

QAction* CMainFrame::addCommand(int id, const QString& label) {
    auto* action = new QAction(commandIcon(id), label, this);
    action->setToolTip(label);
    action->setStatusTip(label);
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    actions_[id] = action;
    return action;
}

void CMainFrame::createActions() {
    for (const CommandLabel& c : kCommandLabels)
        addCommand(c.id, QString::fromUtf8(c.label));
    addCommand(cmd::BibleLibrary, QStringLiteral("역본 설치..."))
        ->setToolTip(QStringLiteral("성경 자료실: 역본 설치"));
    for (int id : {cmd::SyncMove, cmd::ToggleShortcutBar, cmd::ToggleSectionTitles,
                   cmd::ToggleRelated, cmd::ToggleNoteBar, cmd::VerseSearch, cmd::WordSearch})
        action(id)->setCheckable(true);
    action(cmd::Print)->setShortcut(QKeySequence::Print);
    action(cmd::Copy)->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    action(cmd::SelectAll)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    // Panes belong to the active window; one with a single pane leaves them disabled.
    action(cmd::NextPane)->setShortcut(QKeySequence(Qt::Key_F6));
    action(cmd::PreviousPane)->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    // Shortcuts work even though these commands sit in no menu.
    for (int id : {cmd::Copy, cmd::SelectAll, cmd::NextPane, cmd::PreviousPane})
        addAction(action(id));
}

void CMainFrame::createMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("파일(&F)"));
    QMenu* open = file->addMenu(QStringLiteral("성경 열기"));
    for (int id : {cmd::OpenVRA, cmd::OpenVRB, cmd::OpenVRC, cmd::OpenVRE})
        open->addAction(action(id));
    open->addSeparator();
    for (int id : {cmd::OpenKJV, cmd::OpenNIV, cmd::OpenGNB})
        open->addAction(action(id));
    file->addAction(action(cmd::OpenPARALLEL));
    file->addAction(action(cmd::ParallelDialog));
    // The articles, as the shortcut panel groups them.
    QMenu* articles = file->addMenu(QStringLiteral("해설 전서 라"));
    for (int id : {cmd::OpenPROLOG, cmd::OpenBOOK, cmd::OpenTERM, cmd::OpenUNITS, cmd::OpenCRI})
        articles->addAction(action(id));
    file->addSeparator();
    action(cmd::Close)->setText(QStringLiteral("닫기(&C)"));
    file->addAction(action(cmd::Close));
    action(cmd::CloseAll)->setText(QStringLiteral("열린창 모두 닫기"));
    file->addAction(action(cmd::CloseAll));
    file->addSeparator();
    file->addAction(action(cmd::Print));
    action(cmd::Print)->setText(QStringLiteral("인쇄(&P)..."));
    file->addSeparator();
    actions_[kImportEditionCommand] =
        file->addAction(QStringLiteral("역본 가져오기..."), this, &CMainFrame::importEdition);
    file->addAction(action(cmd::BibleLibrary));
    file->addSeparator();
    action(cmd::AppExit)->setText(QStringLiteral("종료(&X)"));
    file->addAction(action(cmd::AppExit));
    connect(file, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);

    QMenu* help = menuBar()->addMenu(QStringLiteral("도움말(&H)"));
    help->addAction(action(cmd::About));
    help->addAction(QStringLiteral("역본 정보"), this, &CMainFrame::showEditionInfo);
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
    }
}

void CMainFrame::createSearchDialogs() {
    // Both live hidden as long as the main window and keep their last results.
    auto open = [this](const std::string& key) { openByCommandKey(key, false); };
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
    if (!handleFrameCommand(id))
        if (CChildFrame* frame = activeFrame())
            frame->handleCommand(id);
    updateCommandStates();
}

bool CMainFrame::handleFrameCommand(int id) {
    if (id == cmd::BibleLibrary) {
        openBibleLibrary();
        return true;
    }
    for (const VersionCommand& v : kVersionCommands)
        if (v.id == id) {
            openBibleVersion(v.code);
            return true;
        }
    if (const auto window = kWindowCommands.find(id); window != kWindowCommands.end()) {
        openWindow(window->second, "");
        return true;
    }
    switch (id) {
    case cmd::Close:
        if (QMdiSubWindow* window = mdiArea_->activeSubWindow())
            window->close();
        return true;
    case cmd::CloseAll:
        mdiArea_->closeAllSubWindows();
        return true;
    case cmd::NextWindow:
    case cmd::PreviousWindow:
        activateNeighbour(id == cmd::NextWindow);
        return true;
    case cmd::ToggleShortcutBar:
        shortcutBarHiddenByMaximize_ = false;
        shortcutBar_->setVisible(!shortcutBar_->isVisible());
        return true;
    case cmd::VerseSearch:
        searchWord_->hide();
        searchDialog_->showAndRestore();
        return true;
    case cmd::WordSearch:
        searchDialog_->hide();
        searchWord_->showAndRestore();
        return true;
    case cmd::ToggleViewMode:
        context_.settings.viewMode = (context_.settings.viewMode + 1) % 3;
        context_.store->writeInt("Settings", "View Mode", context_.settings.viewMode);
        refreshAllViews();
        return true;
    case cmd::FontDialog:
        runSettingsDialog<CFontDialog>();
        return true;
    case cmd::ViewModeDialog:
        runSettingsDialog<CViewModeDialog>();
        return true;
    case cmd::ColorDialog:
        runSettingsDialog<CColorDialog>();
        return true;
    case cmd::CascadeWindows:
        mdiArea_->cascadeSubWindows();
        return true;
    case cmd::TileHorizontally:
        tileChildren(Tiling::Horizontal);
        return true;
    case cmd::TileVertically:
        tileChildren(Tiling::Vertical);
        return true;
    case cmd::ParallelDialog:
        runSettingsDialog<CParallelDialog>();
        return true;
    case cmd::DailyReading:
        startCompanion("qeldiary");
        return true;
    case cmd::ReadingPlan:
        startCompanion("qelplan");
        return true;
    case cmd::About:
        showAbout();
        return true;
    case cmd::NoteList:
        openNoteList();
        return true;
    case cmd::AppExit:
        close();
        return true;
    default:
        return false;
    }
}

void CMainFrame::updateCommandStates() {
    CChildFrame* active = activeFrame();
    for (auto& [id, action] : actions_) {
        // Windows of later kinds do not exist yet.
        bool enabled = kWindowCommands.contains(id);
        for (const VersionCommand& v : kVersionCommands)
            enabled = enabled || v.id == id;
        switch (id) {
        case cmd::Close:
        case cmd::CloseAll:
            enabled = active != nullptr;
            break;
        case cmd::NextWindow:
            enabled = active && registry_.newerThan(active);
            break;
        case cmd::PreviousWindow:
            enabled = active && registry_.olderThan(active);
            break;
        case cmd::ToggleShortcutBar:
            enabled = true;
            action->setChecked(shortcutBar_->isVisible());
            break;
        case cmd::VerseSearch:
            enabled = true;
            action->setChecked(searchDialog_ && searchDialog_->isVisible());
            break;
        case cmd::WordSearch:
            enabled = true;
            action->setChecked(searchWord_ && searchWord_->isVisible());
            break;
        case cmd::ToggleViewMode:
        case cmd::FontDialog:
        case cmd::ViewModeDialog:
        case cmd::ColorDialog:
        case cmd::CascadeWindows:
        case cmd::TileHorizontally:
        case cmd::TileVertically:
        case cmd::ParallelDialog:
        case cmd::DailyReading:
        case cmd::ReadingPlan:
        case cmd::About:
        case cmd::NoteList:
        case cmd::AppExit:
        case kImportEditionCommand:
        case cmd::BibleLibrary:
            enabled = true;
            break;
        default:
            break;
        }
        if (!enabled && active && active->updateCommand(id, action))
            continue;
        action->setEnabled(enabled);
    }
}

void CMainFrame::placeNewWindow(QMdiSubWindow* window) {
    const QSize area = mdiArea_->viewport()->size();
    const int step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    const int others = static_cast<int>(mdiArea_->subWindowList().size()) - 1;
    const WindowRect place = cascadedPlace(others, area.width(), area.height(), step);
    // A place of our own also keeps the area from choosing one that sticks out.
    window->setGeometry(place.x, place.y, place.width, place.height);
}

void CMainFrame::tileChildren(Tiling tiling) {
    // The active window takes the first cell, then the others from the most recently active.
    const QList<QMdiSubWindow*> history = mdiArea_->subWindowList(QMdiArea::ActivationHistoryOrder);
    std::vector<QMdiSubWindow*> windows;
    for (auto it = history.rbegin(); it != history.rend(); ++it)
        if ((*it)->isVisible() && !(*it)->isMinimized())
            windows.push_back(*it);
    for (QMdiSubWindow* window : windows)
        if (window->isMaximized())
            window->showNormal();
    // Cells of the visible area only: the main window keeps its size.
    const QSize area = mdiArea_->viewport()->size();
    const std::vector<WindowRect> cells =
        tileWindows(static_cast<int>(windows.size()), area.width(), area.height(), tiling);
    for (std::size_t i = 0; i < windows.size(); ++i)
        windows[i]->setGeometry(cells[i].x, cells[i].y, cells[i].width, cells[i].height);
}

void CMainFrame::activateNeighbour(bool newer) {
    CChildFrame* active = activeFrame();
    if (!active)
        return;
    if (CChildFrame* target = newer ? registry_.newerThan(active) : registry_.olderThan(active))
        mdiArea_->setActiveSubWindow(target);
}

CChildFrame* CMainFrame::openBibleVersion(const std::string& versionCode) {
    const std::string code = versionCode == "TEV" ? "GNB" : versionCode;
    QMdiSubWindow* active = mdiArea_->activeSubWindow();
    const bool activeMaximized = active && active->isMaximized();
    auto* frame = static_cast<CBibleFrame*>(registry_.findByCode(code));
    if (frame) {
        if (active && active != frame)
            active->showNormal();
        activeMaximized ? frame->showMaximized() : frame->showNormal();
        frame->OpenAtKey(pendingPlace_, true);
        pendingPlace_.clear();
        mdiArea_->setActiveSubWindow(frame);
        return frame;
    }
    // The commentary edition opens without touching the other windows' state.
    const bool followMaximized = activeMaximized && code != "VRD";
    if (followMaximized)
        active->showNormal();
    frame = new CBibleFrame(context_, code, this);
    mdiArea_->addSubWindow(frame);
    registerFrame(frame);
    if (followMaximized) {
        frame->showMaximized();
    } else {
        placeNewWindow(frame);
        frame->show();
    }
    frame->OpenAtKey(pendingPlace_, true);
    pendingPlace_.clear();
    return frame;
}

CChildFrame* CMainFrame::openComparison(const std::string& code) {
    auto* frame = static_cast<CCompareFrame*>(registry_.findByCode(code));
    if (frame) {
        const QMdiSubWindow* active = mdiArea_->activeSubWindow();
        if (active && !active->isMaximized())
            frame->showNormal();
        mdiArea_->setActiveSubWindow(frame);
    } else {
        const auto links = [this](const std::string& key) { openByCommandKey(key, false); };
        const bool gospels = code == "COMPARE4";
        frame = gospels ? static_cast<CCompareFrame*>(new CCompare4Frame(context_, display_, links))
                        : new CCompareHisFrame(context_, display_, links);
        mdiArea_->addSubWindow(frame);
        registerFrame(frame);
        frame->resize(roomySize(mdiArea_->size()));
        frame->show();
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
    if (activeMaximized) {
        frame->showMaximized();
        return frame;
    }
    placeNewWindow(frame);
    const QSize area = mdiArea_->viewport()->size();
    const QSize rest(area.width() - frame->x(), area.height() - frame->y());
    frame->resize(size == NewWindowSize::RestOfArea ? rest : rest.boundedTo(roomySize(area)));
    frame->show();
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
        for (const VersionCommand& v : kVersionCommands)
            table.emplace(v.code, &CMainFrame::openBibleVersion);
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
    if (const auto version = kShortcutVersions.find(itemCode); version != kShortcutVersions.end())
        openBibleVersion(version->second);
    else if (const auto window = kShortcutWindows.find(itemCode); window != kShortcutWindows.end())
        openWindow(window->second, "");
    else if (itemCode == kShortcutDailyReading)
        startCompanion("qeldiary");
    else if (itemCode == kShortcutReadingPlan)
        startCompanion("qelplan");
}

void CMainFrame::startCompanion(const char* programName) {
    const bool plan = std::string_view(programName) == "qelplan";
    // The plan program comes up over the reader, which lets go of the keyboard first.
    if (plan)
        if (QWidget* focused = QApplication::focusWidget())
            focused->clearFocus();
    // Beside the data, or beside this program when it is installed apart from its data.
    QString program;
    for (const QString& folder : {QString::fromStdString(context_.paths.installRoot),
                                  QCoreApplication::applicationDirPath() + QLatin1Char('/')}) {
        const QFileInfo file(folder + QLatin1String(programName));
        if (file.isFile() && file.isExecutable()) {
            program = file.absoluteFilePath();
            break;
        }
    }
    if (program.isEmpty() || !QProcess::startDetached(program, {}))
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
    for (const VersionCommand& v : kVersionCommands)
        if (QAction* a = action(v.id)) {
            const QString title = titleOf(v.code);
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
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("프로그램 정보"),
                    QStringLiteral("QEL CD-ROM 성경\n버전 1.1"), QMessageBox::NoButton, this);
    box.addButton(QStringLiteral("확인"), QMessageBox::AcceptRole);
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
    if (isCommandVerseKey(pendingCommandKey_)) {
        const std::string key = std::exchange(pendingCommandKey_, std::string());
        openByCommandKey(key, true);
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
