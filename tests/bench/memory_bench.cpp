// What the program holds with every window kind open, after "열린창 모두 닫기", and how much
// it keeps per open and close: the resident size in counters (MB).
#include "app/fontresolver.h"
#include "app/mainframe.h"
#include "platform/appcontext.h"
#include "platform/commands.h"
#include "platform/heap.h"
#include "reference/articleload.h"
#include "reference/articletrees.h"
#include "widgets/sharedicons.h"

#include "../support/tempdir.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

double residentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

std::vector<std::string> everyWindowKind() {
    std::vector<std::string> codes{"VRA",  "VRB", "VRC",      "VRD",        "VRE",      "KJV",
                                   "NIV",  "GNB", "COMPARE4", "COMPAREHIS", "PARALLEL", "PROLOG",
                                   "CAME", "MAP", "PHOTO",    "SHORT",      "HIS",      "ABOUT"};
    for (int kind = 0; kind < qel::articlekind::Count; ++kind)
        codes.push_back(qel::articleKindInfo(kind).documentType);
    return codes;
}

double middleOf(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// After the closing: the windows are gone and the program has had its pause.
void settleAfterClosing() {
    settle();
    QEventLoop pause;
    QTimer::singleShot(700, &pause, &QEventLoop::quit);
    pause.exec();
}

// The built installation (content, indexes, topic files, maps) with settings of its own.
void BM_EveryWindowKindOpenAndClosed(benchmark::State& state) {
    const std::filesystem::path data =
        std::filesystem::path(QEL_BUILT_CONTENT_DB).parent_path().parent_path();
    TempDir dir;
    qel::AppContext context;
    context.paths.installRoot = dir.str() + "/";
    context.paths.dbFolder = data.string() + "/DB/";
    context.paths.searchIndexFolder = data.string() + "/DBF/";
    context.paths.wordIndexFolder = context.paths.topicFolder = data.string() + "/M14/";
    context.paths.mapFolder = data.string() + "/MAP/";
    context.store = std::make_unique<qel::SettingsStore>((dir.path() / "settings.ini").string());
    context.contentDb.open(context.paths.dbFolder + "Bible.m14", qel::Database::Mode::ReadOnly);
    qel::installFontSubstitutions();
    qel::shareStandardIcons();
    qel::tuneHeapForWindows();
    context.displayFont = qel::makeDisplayFont(context.settings, 96);

    const double idle = residentMb();
    qel::CMainFrame frame(context, "");
    frame.setExitConfirmation([] { return true; });
    frame.resize(1200, 900);
    frame.show();
    settle();
    const double started = residentMb();
    double open = 0;
    std::vector<double> closed;
    for (auto _ : state) {
        for (const std::string& code : everyWindowKind())
            frame.openWindow(code, "");
        settle();
        open = std::max(open, residentMb());
        frame.action(qel::cmd::CloseAll)->trigger();
        settleAfterClosing();
        closed.push_back(residentMb());
    }
    state.counters["idle_MB"] = idle;
    state.counters["started_MB"] = started;
    state.counters["all_open_MB"] = open;
    state.counters["all_closed_MB"] = closed.empty() ? 0 : closed.back();
    // The allocator gives pages back a little later some times than others: the middle of
    // the first ten closings against the middle of the last ten.
    const std::size_t n = closed.size(), k = std::min<std::size_t>(10, n / 2);
    if (k > 0)
        state.counters["growth_per_cycle_MB"] = (middleOf({closed.end() - k, closed.end()}) -
                                                 middleOf({closed.begin(), closed.begin() + k})) /
                                                double(n - k);
}
BENCHMARK(BM_EveryWindowKindOpenAndClosed)->Iterations(50)->Unit(benchmark::kMillisecond);

} // namespace
