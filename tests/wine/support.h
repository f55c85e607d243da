#pragma once
// Helpers of the Wine test drivers: processes started from copies of the
// stand-in executables, and waiting on conditions with a deadline.
#include <windows.h>

#include <functional>
#include <vector>
#include <string>

namespace autopause::wine {

// The folder of the running test executable, with a trailing backslash.
std::string exeDir();

// A fresh empty folder under the temporary folder, with a trailing backslash.
std::string freshTempDir();

// Copies a file that sits beside the test executable to dir + newName.
std::string copyBeside(const std::string& file, const std::string& dir, const std::string& newName);

// Polls until cond holds or timeoutMs passes; true when it held.
bool waitUntil(const std::function<bool()>& cond, DWORD timeoutMs = 20000);

// A child process, ended and waited for when the object goes.
class Process {
 public:
  Process() = default;
  explicit Process(const std::string& exePath, const std::string& arguments = "");
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }
  // Waits for the process to end; returns its exit code or STILL_ACTIVE on time-out.
  DWORD waitExit(DWORD timeoutMs = 20000);
  void terminate();

 private:
  PROCESS_INFORMATION info_{};
};

// Ids of the running processes with this executable name, in snapshot order.
std::vector<DWORD> processIdsNamed(const std::string& exeName);

}  // namespace autopause::wine
