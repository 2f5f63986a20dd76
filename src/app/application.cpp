#include "app/application.h"

#include "bible/editions.h"

#include "app/appicon.h"
#include "app/endsignals.h"
#include "app/fontresolver.h"
#include "app/introwindow.h"
#include "app/mainframe.h"
#include "bible/biblequeries.h"
#include "platform/apptitle.h"
#include "platform/codec.h"
#include "platform/heap.h"
#include "platform/messagesink.h"
#include "platform/singleinstance.h"
#include "study/studyeditor.h"
#include "widgets/sharedicons.h"

#include <QAction>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace qel {
namespace {

QString fromCp949(std::string_view text) {
    return QString::fromStdString(cp949ToUtf8(text));
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromUtf8(kApplicationTitle));
    // The icon of the desktop entry, which desktops match by this name.
    setDesktopFileName(QStringLiteral("qelbible"));
    setWindowIcon(appIcon());
    std::vector<std::string> args;
    for (const QString& arg : arguments().mid(1))
        args.push_back(arg.toStdString());
    commandLine_ = parseCommandLine(args);
}

Application::~Application() {
    // Windows go before the database they read from.
    mainFrame_.reset();
    context_.contentDb.close();
}

std::optional<int> Application::start() {
    if (!commandLine_.error.empty()) {
        std::fprintf(stderr, "qelbible: %s\n", commandLine_.error.c_str());
        return 2;
    }
    const bool screenshotRun = !commandLine_.screenshotFile.empty();
    loadQtTranslations();
    setMessageHandler([screenshotRun](const std::string& text, const std::string& caption) {
        // A screenshot run must never wait for a click; stderr already has the text.
        if (!screenshotRun)
            QMessageBox::information(nullptr, fromCp949(caption), fromCp949(text));
    });

    singleInstance_ = std::make_unique<SingleInstance>();
    if (!singleInstance_->claim())
        return 0;

    context_.store = std::make_unique<SettingsStore>(SettingsStore::defaultFilePath());
    context_.paths = AppPaths::compute(*context_.store, applicationFilePath().toStdString());
    context_.settings = AppSettings::read(*context_.store);

    if (!openContentDatabase())
        return 1;

    installFontSubstitutions();
    shareStandardIcons();
    tuneHeapForWindows();
    context_.displayFont =
        makeDisplayFont(context_.settings, qRound(primaryScreen()->logicalDotsPerInchY()));

    // A screenshot run opens any command key, not only a verse key; the frame opens the
    // verse key of an ordinary start itself.
    mainFrame_ = std::make_unique<CMainFrame>(
        context_, screenshotRun ? std::string() : utf8ToCp949(commandLine_.commandKey));
    connect(singleInstance_.get(), &SingleInstance::messageReceived, mainFrame_.get(),
            &CMainFrame::handleInstanceMessage);
    mainFrame_->showMaximized();
    endOnSignals();

    if (context_.settings.showIntro && !commandLine_.noLogo && !screenshotRun)
        (new IntroWindow(mainFrame_.get()))->show();
    // Connected after the frame's own first-paint handler, so its place opens first. Queued
    // and apart, so that a window failing to open (a damaged page) still leaves a picture.
    connect(mainFrame_.get(), &CMainFrame::firstPainted, this, &Application::openCommandLineWindows,
            Qt::QueuedConnection);
    if (screenshotRun)
        connect(mainFrame_.get(), &CMainFrame::firstPainted, this, &Application::takeScreenshotSoon,
                Qt::QueuedConnection);
    return std::nullopt;
}

void Application::endOnSignals() {
    auto* ends = new EndSignals(this);
    connect(ends, &EndSignals::received, this, [this](int signal) {
        logWarning("signal " + std::to_string(signal) + ": saving the notes and ending");
        mainFrame_->endSession();
    });
    // The display connection broke: the platform ends the process with exit() from inside
    // the event loop, so the notes are written from an exit handler.
    static bool registered = false;
    if (!std::exchange(registered, true))
        std::atexit([] { CStudyEditor::saveAllAtExit(); });
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const DatabaseError& e) {
        reportFault(e.what(), true);
    } catch (const std::exception& e) {
        reportFault(e.what(), false);
    } catch (...) {
        reportFault("unknown exception", false);
    }
    return false;
}

void Application::reportFault(std::string_view what, bool databaseFault) noexcept {
    logWarning(what);
    // A handler that fails again while the box is open (a repaint) is only logged.
    if (reportingFault_)
        return;
    reportingFault_ = true;
    try {
        if (databaseFault)
            showMessage(utf8ToCp949("데이타 파일을 읽는 중에 오류가 생겼습니다.\n데이타 파일이 "
                                    "손상되었을 수 있습니다."),
                        utf8ToCp949("데이타베이스 오류"));
        else
            showMessage(utf8ToCp949("작업을 마치지 못했습니다."), utf8ToCp949("QEL CD-ROM 성경"));
    } catch (...) {
        // Out of memory while reporting: the program still goes on.
    }
    reportingFault_ = false;
}

bool Application::openContentDatabase() {
    const std::string file = context_.paths.dbFolder + "Bible.m14";
    try {
        context_.contentDb.open(file, Database::Mode::ReadOnly);
        if (!hasContentTables(context_.contentDb))
            throw DatabaseError(file + " lacks the content tables");
        useEditionNames(readEditions(context_.contentDb));
        return true;
    } catch (const DatabaseError& e) {
        logWarning(e.what());
        context_.contentDb.close();
        showMessage(
            utf8ToCp949("데이타 파일을 열 수 없습니다...\nCD-ROM 드라이브를 확인하시고 다시 "
                        "실행시켜 주십시오."),
            utf8ToCp949("데이타베이스 오류"));
        return false;
    }
}

void Application::loadQtTranslations() {
    // Qt's own dialogs (print, colour, file) speak the program's language.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Korean, QLocale::SouthKorea), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    else
        logWarning("Qt's Korean translations (qtbase_ko.qm) are missing");
}

void Application::failWith(const std::string& message) {
    std::fprintf(stderr, "qelbible: %s\n", message.c_str());
    commandLineFailed_ = true;
    exit(2);
}

void Application::openCommandLineWindows() {
    const bool screenshotRun = !commandLine_.screenshotFile.empty();
    if (screenshotRun && !commandLine_.commandKey.empty() &&
        !mainFrame_->openByCommandKey(utf8ToCp949(commandLine_.commandKey), true))
        return failWith("the command key " + commandLine_.commandKey + " opens no window");
    if (!commandLine_.windowCode.empty() &&
        !mainFrame_->openWindow(commandLine_.windowCode, utf8ToCp949(commandLine_.windowPlace)))
        return failWith("--window " + commandLine_.windowCode + " opened no window");
    for (int id : commandLine_.commands) {
        QAction* command = mainFrame_->action(id);
        if (!command || !command->isEnabled())
            return failWith("--command " + std::to_string(id) + " is not available here");
        command->trigger();
    }
}

void Application::takeScreenshotSoon() {
    if (commandLineFailed_)
        return;
    // The windows just opened paint before the picture is taken.
    QTimer::singleShot(0, this, [this] {
        const QString file = QString::fromStdString(commandLine_.screenshotFile);
        QPixmap picture = mainFrame_->grab();
        // A dialog that a command opened (the note list) shows over the window.
        if (QWidget* dialog = activeModalWidget(); dialog && dialog != mainFrame_.get()) {
            QPainter painter(&picture);
            painter.drawPixmap(mainFrame_->mapFromGlobal(dialog->mapToGlobal(QPoint(0, 0))),
                               dialog->grab());
        }
        const bool saved = picture.save(file, "PNG");
        if (!saved)
            std::fprintf(stderr, "qelbible: cannot write %s\n", qPrintable(file));
        exit(saved ? 0 : 1);
    });
}

int runApplication(int argc, char** argv) {
    Application app(argc, argv);
    if (const std::optional<int> exitCode = app.start())
        return *exitCode;
    return app.exec();
}

} // namespace qel
