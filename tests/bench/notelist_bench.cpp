#include "study/notestore.h"
#include "study/study.h"
#include "widgets/gridctrl.h"

#include "../support/tempdir.h"

#include <benchmark/benchmark.h>

namespace {

// Opening the note list over 10,000 notes of several versions and books: reading the
// sorted rows and filling the grid, until the dialog could be shown.
void BM_NoteListOpen10000(benchmark::State& state) {
    TempDir dir;
    const std::string file = dir.str() + "/Study.mdb";
    {
        qel::NoteStore store(file);
        std::vector<qel::Note> notes;
        const char* versions[] = {"VRA", "VRB", "VRC", "KJV", "GNB"};
        const char* books[] = {"gen", "psa", "isa", "mat", "jhn", "rom", "1co", "rev"};
        for (int i = 0; i < 10000; ++i)
            notes.push_back({{versions[i % 5], books[(i / 5) % 8], std::to_string(1 + i % 50),
                              std::to_string(1 + i / 400)},
                             "노트 " + std::to_string(i) + "번째 줄\r\n둘째 줄에 쓴 생각"});
        store.merge(notes);
    }
    for (auto _ : state) {
        qel::CStudy list(file, [](const std::string&) {});
        benchmark::DoNotOptimize(list.grid()->GetRowCount());
    }
    state.counters["notes"] = 10000;
}
BENCHMARK(BM_NoteListOpen10000)->Unit(benchmark::kMillisecond);

} // namespace
