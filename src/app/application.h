#pragma once

#include "app/apppaths.h"
#include "app/appsettings.h"
#include "platform/database.h"
#include "platform/settingsstore.h"

#include <QApplication>
#include <QFont>
#include <memory>
#include <optional>
#include <string>

namespace qel {

class CMainFrame;
class SingleInstance;

// The application object: process-wide state made once at start-up and read by every
// window.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    ~Application() override;

    static Application* instance() { return static_cast<Application*>(qApp); }

    // Runs the start-up steps; returns the exit code to end with when the program must
    // not go on (a second instance: 0; a database that cannot be opened: 1).
    std::optional<int> start();

    const AppPaths& paths() const { return paths_; }
    AppSettings& settings() { return settings_; }
    SettingsStore& settingsStore() { return *store_; }
    const QFont& displayFont() const { return displayFont_; }
    Database& contentDb() { return contentDb_; }
    CMainFrame* mainFrame() const { return mainFrame_.get(); }

private:
    bool openContentDatabase();
    void takeScreenshotWhenPainted();

    std::unique_ptr<SingleInstance> singleInstance_;
    std::unique_ptr<SettingsStore> store_;
    AppPaths paths_;
    AppSettings settings_;
    QFont displayFont_;
    Database contentDb_;
    std::unique_ptr<CMainFrame> mainFrame_;

    bool noLogo_ = false;
    QString screenshotFile_;
    std::string pendingCommandKey_;
};

int runApplication(int argc, char** argv);

} // namespace qel
