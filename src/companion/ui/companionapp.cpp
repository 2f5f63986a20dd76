#include "companion/ui/companionapp.h"

#include "companion/ui/diarywindow.h"
#include "companion/ui/planwindow.h"
#include "companion/ui/readerlink.h"
#include "platform/apppaths.h"
#include "platform/settingsstore.h"
#include "platform/singleinstance.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

namespace qel {
namespace {

struct Options {
    QString notes, screenshot;
    CivilDate today = qel::today();
};

Options parse(const QApplication& app) {
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption notes("notes", "Study.mdb", "file");
    const QCommandLineOption date("date", "today", "YYYY-MM-DD");
    const QCommandLineOption shot("screenshot", "PNG of the window, then exit", "file");
    parser.addOptions({notes, date, shot});
    parser.process(app);
    Options options;
    options.notes = parser.value(notes);
    options.screenshot = parser.value(shot);
    if (const auto d = parseIsoDate(parser.value(date).toStdString()))
        options.today = *d;
    if (options.notes.isEmpty()) {
        const SettingsStore settings(SettingsStore::defaultFilePath());
        options.notes = QString::fromStdString(
            AppPaths::compute(settings, QCoreApplication::applicationFilePath().toStdString())
                .studyDatabaseFile());
    }
    return options;
}

std::unique_ptr<QMainWindow> makeWindow(CompanionKind kind, std::shared_ptr<JournalStore> store,
                                        ReaderLink* reader, const CivilDate& today) {
    if (kind == CompanionKind::Plan)
        return std::make_unique<CPlanWindow>(std::move(store), reader, today);
    return std::make_unique<CDiaryWindow>(std::move(store), reader, today);
}

} // namespace

int runCompanion(int argc, char** argv, CompanionKind kind) {
    QApplication app(argc, argv);
    const Options options = parse(app);
    const bool screenshot = !options.screenshot.isEmpty();
    SingleInstance instance(nullptr, kind == CompanionKind::Plan ? QStringLiteral("QEL_PLAN")
                                                                 : QStringLiteral("QEL_DIARY"));
    if (!screenshot && !instance.claim())
        return 0;
    std::shared_ptr<JournalStore> store;
    try {
        store = std::make_shared<JournalStore>(options.notes.toStdString());
    } catch (const DatabaseError& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        QMessageBox::critical(nullptr, QStringLiteral("QEL 성경"),
                              QStringLiteral("읽기 기록 파일을 열 수 없습니다.\n%1\n%2")
                                  .arg(options.notes, QString::fromUtf8(e.what())));
        return 1;
    }
    ReaderLink reader(QCoreApplication::applicationDirPath() + QStringLiteral("/qelbible"));
    std::unique_ptr<QMainWindow> window = makeWindow(kind, store, &reader, options.today);
    QObject::connect(&instance, &SingleInstance::messageReceived, window.get(), [&window] {
        window->showNormal();
        window->raise();
        window->activateWindow();
    });
    window->show();
    if (screenshot) {
        QTimer::singleShot(0, window.get(), [&] {
            const bool saved = window->grab().save(options.screenshot);
            app.exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}

} // namespace qel
