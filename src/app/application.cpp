#include "app/application.h"

#include "app/fontresolver.h"
#include "app/introwindow.h"
#include "app/mainframe.h"
#include "bible/biblequeries.h"
#include "platform/apptitle.h"
#include "platform/codec.h"
#include "platform/messagesink.h"
#include "platform/singleinstance.h"

#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdio>

namespace qel {
namespace {

QString fromCp949(std::string_view text) {
    return QString::fromStdString(cp949ToUtf8(text));
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromUtf8(kApplicationTitle));
    const QStringList args = arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--nologo"))
            noLogo_ = true;
        else if (args[i] == QLatin1String("--screenshot") && i + 1 < args.size())
            screenshotFile_ = args[++i];
        else if (!args[i].startsWith(QLatin1String("--")) && pendingCommandKey_.empty())
            pendingCommandKey_ = utf8ToCp949(args[i].toStdString());
    }
}

Application::~Application() {
    // Windows go before the database they read from.
    mainFrame_.reset();
    context_.contentDb.close();
}

std::optional<int> Application::start() {
    const bool screenshotRun = !screenshotFile_.isEmpty();
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
    context_.displayFont =
        makeDisplayFont(context_.settings, qRound(primaryScreen()->logicalDotsPerInchY()));

    mainFrame_ = std::make_unique<CMainFrame>(context_, pendingCommandKey_);
    connect(singleInstance_.get(), &SingleInstance::messageReceived, mainFrame_.get(),
            &CMainFrame::handleInstanceMessage);
    mainFrame_->showMaximized();

    if (context_.settings.showIntro && !noLogo_ && !screenshotRun)
        (new IntroWindow(mainFrame_.get()))->show();
    if (screenshotRun)
        takeScreenshotWhenPainted();
    return std::nullopt;
}

bool Application::openContentDatabase() {
    const std::string file = context_.paths.dbFolder + "Bible.m14";
    try {
        context_.contentDb.open(file, Database::Mode::ReadOnly);
        if (!hasContentTables(context_.contentDb))
            throw DatabaseError(file + " lacks the content tables");
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

void Application::takeScreenshotWhenPainted() {
    auto save = [this] {
        // The place of the command line opens at the first paint, before this runs.
        QTimer::singleShot(0, this, [this] {
            const bool saved = mainFrame_->grab().save(screenshotFile_, "PNG");
            if (!saved)
                std::fprintf(stderr, "qelbible: cannot write %s\n", qPrintable(screenshotFile_));
            exit(saved ? 0 : 1);
        });
    };
    if (mainFrame_->firstPaintDone())
        save();
    else
        connect(mainFrame_.get(), &CMainFrame::firstPainted, this, save);
}

int runApplication(int argc, char** argv) {
    Application app(argc, argv);
    if (const std::optional<int> exitCode = app.start())
        return *exitCode;
    return app.exec();
}

} // namespace qel
