#pragma once

namespace qel {

enum class CompanionKind { Plan, Diary };

// The main() of qelplan and qeldiary:
//   [--notes Study.mdb] [--date YYYY-MM-DD] [--screenshot FILE.png]
// One copy runs per user; a second start brings the first to the front and exits.
int runCompanion(int argc, char** argv, CompanionKind kind);

} // namespace qel
