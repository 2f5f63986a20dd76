#pragma once

#include "platform/appcontext.h"

#include <QApplication>
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

    AppContext& context() { return context_; }
    CMainFrame* mainFrame() const { return mainFrame_.get(); }

private:
    bool openContentDatabase();
    void takeScreenshotWhenPainted();

    std::unique_ptr<SingleInstance> singleInstance_;
    AppContext context_;
    std::unique_ptr<CMainFrame> mainFrame_;

    bool noLogo_ = false;
    QString screenshotFile_;
    std::string pendingCommandKey_;
};

int runApplication(int argc, char** argv);

} // namespace qel
