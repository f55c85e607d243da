#pragma once
// A process list of our own behind the toolhelp calls, with failures on
// demand and a count of opened and closed snapshots.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "monitor/ports.h"

namespace autopause::fake {

// Equality as the multibyte comparison finds it in code page 936: lead bytes
// 0x81-0xFE start a double-byte character, ASCII letters fold, double-byte
// characters fold as whole characters, and a trail byte never folds alone.
bool equalCp936(const char* a, const char* b, bool caseSensitive);

struct ProcessRecord {
  std::uint32_t dwSize;
  std::uint32_t cntUsage;
  std::uint32_t th32ProcessID;
  std::uintptr_t th32DefaultHeapID;
  std::uint32_t th32ModuleID;
  std::uint32_t cntThreads;
  std::uint32_t th32ParentProcessID;
  std::int32_t pcPriClassBase;
  std::uint32_t dwFlags;
  char szExeFile[260];
};

struct Toolhelp {
  struct Process {
    ProcessId pid;
    std::string name;  // raw bytes; 260 of them leave no terminating zero
  };
  static std::vector<Process> processes;
  static bool snapshotFails;
  static bool firstFails;
  static int opened;
  static int closed;
  static int walkCalls;  // first + next
  static std::size_t cursor;
  static bool sizeSetBeforeWalk;

  using Entry = ProcessRecord;
  using Handle = int;
  static constexpr Handle kSnapshot = 42;

  static void reset() {
    processes.clear();
    snapshotFails = firstFails = false;
    opened = closed = walkCalls = 0;
    cursor = 0;
    sizeSetBeforeWalk = true;
  }
  static Handle invalid() { return -1; }
  static Handle snapshot() {
    if (snapshotFails) return invalid();
    ++opened;
    return kSnapshot;
  }
  static bool first(Handle h, Entry* e) {
    cursor = 0;
    return step(h, e, !firstFails);
  }
  static bool next(Handle h, Entry* e) {
    ++cursor;
    return step(h, e, true);
  }
  static void close(Handle h) { closed += (h == kSnapshot) ? 1 : 1000; }
  static bool equal(const char* a, const char* b, bool caseSensitive) {
    return equalCp936(a, b, caseSensitive);
  }

 private:
  static bool step(Handle h, Entry* e, bool ok) {
    ++walkCalls;
    if (e->dwSize != sizeof(Entry)) sizeSetBeforeWalk = false;
    if (h != kSnapshot || !ok || cursor >= processes.size()) return false;
    std::memset(e->szExeFile, 0, sizeof e->szExeFile);
    const std::string& name = processes[cursor].name;
    std::memcpy(e->szExeFile, name.data(), std::min(name.size(), sizeof e->szExeFile));
    e->th32ProcessID = processes[cursor].pid;
    return true;
  }
};

}  // namespace autopause::fake
