// Memory: working set and private bytes of the idle baseline, of the idle
// program, and of the program after a number of game exits, each taken from
// several instances that run side by side (one sample per instance).
//   memory_bench.exe <instances> <exits> <baseline.exe>...
// Prints "mem_<baseline name|idle|after1|after>_<ws|private> <median KiB>",
// where after1 is taken after the first exit and after after the last.
// Private bytes are the commit charge: PrivateUsage, or PagefileUsage where
// PrivateUsage reads 0 (Wine fills only the latter for other processes; on
// Windows both are the same figure).
#include <windows.h>
#include <psapi.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "bench/bench.h"
#include "tests/wine/app.h"
#include "tests/wine/client_log.h"

using namespace autopause::bench;
using namespace autopause::wine;

namespace {

constexpr char kPlaying[] = "正常游戏中";

PROCESS_MEMORY_COUNTERS_EX countersOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX c{};
  c.cb = sizeof c;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c), sizeof c);
  return c;
}

// Waits until no process's working set moves between two readings 300 ms apart
// (at most 10 s), then reports the medians over the processes.
void reportSettled(const char* what, const std::vector<HANDLE>& processes) {
  std::vector<SIZE_T> before(processes.size());
  const DWORD start = GetTickCount();
  for (bool still = false; !still && GetTickCount() - start < 10000;) {
    still = true;
    for (size_t i = 0; i < processes.size(); ++i) {
      const SIZE_T now = countersOf(processes[i]).WorkingSetSize;
      still = still && now == before[i];
      before[i] = now;
    }
    if (!still) Sleep(300);
  }
  std::vector<double> ws, priv;
  for (HANDLE p : processes) {
    const PROCESS_MEMORY_COUNTERS_EX c = countersOf(p);
    ws.push_back(c.WorkingSetSize / 1024.0);
    priv.push_back((c.PrivateUsage ? c.PrivateUsage : c.PagefileUsage) / 1024.0);
  }
  report((std::string("mem_") + what + "_ws").c_str(), median(ws));
  report((std::string("mem_") + what + "_private").c_str(), median(priv));
}

// The visible notice of the process; ownerless counts too (it happens under load).
HWND noticeOf(DWORD processId, bool* owned) {
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
    DWORD id = 0;
    GetWindowThreadProcessId(w, &id);
    if (id != processId || !IsWindowVisible(w)) continue;
    *owned = GetWindow(w, GW_OWNER) != nullptr;
    return w;
  }
  return nullptr;
}

bool fail(const char* what) {
  std::fprintf(stderr, "memory_bench: %s\n", what);
  return false;
}

bool measureBaseline(int instances, const std::string& baseline) {
  std::vector<Process> baselines;
  std::vector<HANDLE> handles;
  for (int i = 0; i < instances; ++i) baselines.emplace_back(exeDir() + baseline);
  for (Process& b : baselines) {
    if (!waitUntil([&] { return visibleWindowOf(b.id()) != nullptr; })) return fail("no baseline window");
    handles.push_back(b.handle());
  }
  reportSettled(baseline.substr(0, baseline.size() - 4).c_str(), handles);
  for (Process& b : baselines) PostMessageA(visibleWindowOf(b.id()), WM_CLOSE, 0, 0);
  for (Process& b : baselines) b.waitExit();
  return true;
}

bool run(int instances, int exits) {
  const std::string dir = freshTempDir(), gameDir = freshTempDir(), log = dir + "client.log";
  Process client = startStandinClient(dir, log, "keep-prompt");
  if (!waitForClientEvent(log, "main", "ready")) return fail("the stand-in client did not start");
  const std::string gameExe = copyBeside("standin_game.exe", gameDir, "bf1.exe");
  Process game(gameExe);

  std::vector<std::unique_ptr<App>> apps;
  std::vector<HANDLE> handles;
  for (int i = 0; i < instances; ++i) {
    apps.push_back(std::make_unique<App>());
    if (apps.back()->window() == nullptr) return fail("no main window");
    handles.push_back(apps.back()->process().handle());
  }
  reportSettled("idle", handles);

  for (auto& app : apps) PostMessageA(app->startButton(), BM_CLICK, 0, 0);
  int ownerless = 0;
  for (int exit = 0; exit < exits; ++exit) {
    if (exit > 0) game = Process(gameExe);
    for (auto& app : apps)
      if (!app->waitStatus(kPlaying, 15000)) return fail("the game was not seen");
    game.terminate();
    for (auto& app : apps) {
      HWND notice = nullptr;
      bool owned = false;
      if (!waitUntil([&] { return (notice = noticeOf(app->process().id(), &owned)) != nullptr; }, 15000)) {
        std::fprintf(stderr, "exit %d, status \"%s\": ", exit, app->status().c_str());
        return fail("no notice after the game ended");
      }
      ownerless += owned ? 0 : 1;
      PostMessageA(notice, WM_COMMAND, IDOK, 0);
    }
    bool owned = false;
    for (auto& app : apps)
      if (!waitUntil([&] { return IsWindowEnabled(app->startButton()) && !noticeOf(app->process().id(), &owned); }))
        return fail("the notice stayed or the start button stayed disabled");
    if (exit == 0) reportSettled("after1", handles);
  }
  reportSettled("after", handles);
  report("notices_ownerless", ownerless);

  for (auto& app : apps) PostMessageA(app->window(), WM_CLOSE, 0, 0);
  for (auto& app : apps)
    if (app->waitExit() != 0) return fail("autopause.exe did not exit cleanly");
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  for (int i = 3; i < argc; ++i)
    if (!measureBaseline(std::atoi(argv[1]), argv[i])) return 1;
  return run(std::atoi(argv[1]), std::atoi(argv[2])) ? 0 : 1;
}
