#pragma once

#include "app/commandline.h"
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
    // not go on (a second instance: 0; a database that cannot be opened: 1; arguments
    // that cannot be used: 2).
    std::optional<int> start();

    AppContext& context() { return context_; }
    CMainFrame* mainFrame() const { return mainFrame_.get(); }

    // An exception from an event handler (a damaged database page, a query the content
    // cannot answer) is reported in a message box and the program goes on.
    bool notify(QObject* receiver, QEvent* event) override;

private:
    [[nodiscard]] bool openContentDatabase();
    void loadQtTranslations();
    // At the first paint: the windows the command line asks for, then the picture.
    void openCommandLineWindows();
    void takeScreenshotSoon();
    void endOnSignals();
    void failWith(const std::string& message);
    void reportFault(std::string_view what, bool databaseFault) noexcept;

    std::unique_ptr<SingleInstance> singleInstance_;
    AppContext context_;
    std::unique_ptr<CMainFrame> mainFrame_;

    CommandLine commandLine_;
    bool reportingFault_ = false;
    bool commandLineFailed_ = false;
};

int runApplication(int argc, char** argv);

} // namespace qel
