#include <windows.h>
#include <tlhelp32.h>
#include <mbstring.h>

#include "automation/process_lookup.h"

namespace autopause {
namespace {

#ifndef _WIN64
static_assert(sizeof(PROCESSENTRY32) == 296, "the ANSI process record is 296 bytes");
#endif

struct Toolhelp {
  using Entry = PROCESSENTRY32;
  using Handle = HANDLE;
  static Handle invalid() { return INVALID_HANDLE_VALUE; }
  static Handle snapshot() { return CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0); }
  static bool first(Handle h, Entry* e) { return Process32First(h, e) != FALSE; }
  static bool next(Handle h, Entry* e) { return Process32Next(h, e) != FALSE; }
  static void close(Handle h) { CloseHandle(h); }
  // Multibyte comparison in the ANSI code page chosen at start-up (_setmbcp).
  static bool equal(const char* a, const char* b, bool caseSensitive) {
    auto ua = reinterpret_cast<const unsigned char*>(a);
    auto ub = reinterpret_cast<const unsigned char*>(b);
    return (caseSensitive ? _mbscmp(ua, ub) : _mbsicmp(ua, ub)) == 0;
  }
};

}  // namespace

ProcessId findProcessIdByName(const char* exeName, bool caseSensitive) {
  return findProcessIdByNameWith<Toolhelp>(exeName, caseSensitive);
}

}  // namespace autopause
