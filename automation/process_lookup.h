#pragma once
// Finding a running process by its executable name.
#include <cstring>

#include "monitor/ports.h"

namespace autopause {

// Id of the first process in snapshot order whose executable name equals
// exeName as a whole text (case ignored unless caseSensitive); 0 when there
// is none or the process list cannot be read. Null counts as the empty text.
ProcessId findProcessIdByName(const char* exeName, bool caseSensitive = false);

// The walk itself, over a toolhelp-shaped API:
//   Api::Entry, Api::Handle, Api::invalid(), Api::snapshot(), Api::first(h, e),
//   Api::next(h, e), Api::close(h), Api::equal(a, b, caseSensitive).
template <class Api>
ProcessId findProcessIdByNameWith(const char* exeName, bool caseSensitive) {
  const char* wanted = exeName ? exeName : "";
  typename Api::Entry entry;
  std::memset(&entry, 0, sizeof entry);
  typename Api::Handle snapshot = Api::snapshot();
  if (snapshot == Api::invalid()) return 0;
  entry.dwSize = sizeof entry;
  for (bool more = Api::first(snapshot, &entry); more; more = Api::next(snapshot, &entry)) {
    // szExeFile need not hold a terminating zero: all its bytes are the name then.
    char name[sizeof entry.szExeFile + 1];
    std::memcpy(name, entry.szExeFile, sizeof entry.szExeFile);
    name[sizeof entry.szExeFile] = '\0';
    if (Api::equal(wanted, name, caseSensitive)) {
      ProcessId id = entry.th32ProcessID;
      Api::close(snapshot);
      return id;
    }
  }
  Api::close(snapshot);
  return 0;
}

}  // namespace autopause
