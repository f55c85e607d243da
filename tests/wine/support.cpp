#include "tests/wine/support.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

namespace autopause::wine {

std::string exeDir() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n);
  return p.substr(0, p.find_last_of('\\') + 1);
}

std::string freshTempDir() {
  // Process ids come back after the Wine server restarts and the prefix's
  // Temp folder stays: only a folder this call created is fresh.
  static unsigned counter = 0;
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  for (;;) {
    std::string dir = std::string(base) + "autopause-" + std::to_string(GetCurrentProcessId()) + "-" +
                      std::to_string(GetTickCount()) + "-" + std::to_string(++counter) + "\\";
    if (CreateDirectoryA(dir.c_str(), nullptr)) return dir;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      ADD_FAILURE() << "cannot create " << dir;
      return dir;
    }
  }
}

std::string copyBeside(const std::string& file, const std::string& dir, const std::string& newName) {
  std::string target = dir + newName;
  if (!CopyFileA((exeDir() + file).c_str(), target.c_str(), FALSE)) {
    ADD_FAILURE() << "cannot copy " << file << " to " << target;
  }
  return target;
}

bool waitUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!cond()) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

Process::Process(const std::string& exePath, const std::string& arguments) {
  std::string commandLine = "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info_)) {
    ADD_FAILURE() << "cannot start " << exePath << " (error " << GetLastError() << ")";
    info_ = {};
  }
}

Process::Process(Process&& other) noexcept : info_(other.info_) { other.info_ = {}; }

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    terminate();
    info_ = other.info_;
    other.info_ = {};
  }
  return *this;
}

Process::~Process() { terminate(); }

DWORD Process::waitExit(DWORD timeoutMs) {
  if (!started()) return STILL_ACTIVE;
  if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void Process::terminate() {
  if (!started()) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 10000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
  info_ = {};
}

std::vector<DWORD> processIdsNamed(const std::string& exeName) {
  std::vector<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (exeName == entry.szExeFile) ids.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return ids;
}

}  // namespace autopause::wine
