#include "searchui/choicedialog.h"
#include "searchui/searchdialog.h"
#include "searchui/searchword.h"
#include "widgets/gridctrl.h"

#include "../support/tempdir.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

std::string builtFolder(const char* name) {
    return (std::filesystem::path(QEL_BUILT_CONTENT_DB).parent_path().parent_path() / name)
               .string() +
           "/";
}

// From "찾기" to the worker's end, with every row in the grid's model. The dialogs stay
// hidden: painting the visible rows follows on its own schedule and is not part of it.
void runDialog(benchmark::State& state, qel::SearchDialogBase& dialog, const QString& query) {
    dialog.queryBox()->setCurrentText(query);
    QEventLoop loop;
    QObject::connect(&dialog, &qel::SearchDialogBase::searchFinished, &loop, &QEventLoop::quit);
    for (auto _ : state) {
        dialog.findButton()->click();
        loop.exec();
    }
    state.counters["rows"] = dialog.grid()->GetRowCount() - 1;
}

void BM_WordSearchDialogFillTheKjv(benchmark::State& state) {
    TempDir dir;
    qel::CSearchWord dialog({dir.str() + "/", builtFolder("DBF"), builtFolder("M14"), {}}, nullptr);
    dialog.versionBox()->setCurrentIndex(4);
    runDialog(state, dialog, QStringLiteral("the"));
}
BENCHMARK(BM_WordSearchDialogFillTheKjv)->Unit(benchmark::kMillisecond);

// "취소" pressed as soon as the search starts: the time until the dialog is idle again.
void BM_WordSearchDialogStopTheKjv(benchmark::State& state) {
    TempDir dir;
    qel::CSearchWord dialog({dir.str() + "/", builtFolder("DBF"), builtFolder("M14"), {}}, nullptr);
    dialog.versionBox()->setCurrentIndex(4);
    dialog.queryBox()->setCurrentText(QStringLiteral("the"));
    QEventLoop loop;
    QObject::connect(&dialog, &qel::SearchDialogBase::searchFinished, &loop, &QEventLoop::quit);
    for (auto _ : state) {
        dialog.findButton()->click();
        dialog.OnCancel();
        loop.exec();
    }
}
BENCHMARK(BM_WordSearchDialogStopTheKjv)->Unit(benchmark::kMillisecond);

void BM_VerseSearchDialogVra(benchmark::State& state) {
    TempDir dir;
    qel::CSearchDialog dialog({dir.str() + "/out.dat", builtFolder("DBF"), builtFolder("M14"), {}},
                              nullptr);
    runDialog(state, dialog, QStringLiteral("하나님"));
}
BENCHMARK(BM_VerseSearchDialogVra)->Unit(benchmark::kMillisecond);

} // namespace
