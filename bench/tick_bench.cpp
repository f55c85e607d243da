// One watch tick: the program's findProcessIdByName for a name nobody runs
// (a full walk of the process list) against a bare toolhelp walk, with 10, 50
// and 100 extra stand-in processes running. Samples alternate which of the two
// goes first.
//   tick_bench.exe <samples> <calls per sample>
// Prints "tick_<n>_program <median us per call>" and "tick_<n>_bare <...>".
#include <windows.h>
#include <tlhelp32.h>
#include <mbctype.h>

#include <cstdlib>
#include <string>

#include "automation/process_lookup.h"
#include "bench/bench.h"
#include "tests/wine/support.h"

using namespace autopause;
using namespace autopause::bench;

namespace {

constexpr char kAbsent[] = "autopause-bench-absent.exe";
volatile unsigned sink;

unsigned bareWalk() {
  unsigned seen = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) ++seen;
  CloseHandle(snapshot);
  return seen;
}

// Microseconds per call of f over calls calls.
template <class F>
double perCallUs(int calls, F f) {
  const double start = nowMs();
  for (int i = 0; i < calls; ++i) f();
  return 1000.0 * (nowMs() - start) / calls;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  _setmbcp(_MB_CP_ANSI);  // as the program does at start
  const int samples = std::atoi(argv[1]), calls = std::atoi(argv[2]);
  const std::string dir = wine::freshTempDir();
  const std::string filler = wine::copyBeside("standin_game.exe", dir, "filler.exe");
  std::vector<wine::Process> extra;
  for (size_t size : {10u, 50u, 100u}) {
    while (extra.size() < size) extra.emplace_back(filler);
    if (!wine::waitUntil([&] { return wine::processIdsNamed("filler.exe").size() == size; }, 60000)) {
      std::fprintf(stderr, "tick_bench: %u fillers did not all start\n", static_cast<unsigned>(size));
      return 1;
    }
    auto program = [] { sink = sink + findProcessIdByName(kAbsent); };
    auto bare = [] { sink = sink + bareWalk(); };
    perCallUs(calls / 4 + 1, program);  // warm-up
    perCallUs(calls / 4 + 1, bare);
    std::vector<double> p, b;
    for (int s = 0; s < samples; ++s) {
      if (s % 2) {
        p.push_back(perCallUs(calls, program));
        b.push_back(perCallUs(calls, bare));
      } else {
        b.push_back(perCallUs(calls, bare));
        p.push_back(perCallUs(calls, program));
      }
    }
    report(("tick_" + std::to_string(size) + "_program").c_str(), median(p));
    report(("tick_" + std::to_string(size) + "_bare").c_str(), median(b));
    report(("tick_" + std::to_string(size) + "_processes").c_str(), bareWalk());
  }
  return 0;
}
