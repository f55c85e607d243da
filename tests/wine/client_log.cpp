#include "tests/wine/client_log.h"

#include <cstdlib>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/wine/support.h"

namespace autopause::wine {

namespace {

std::string readWholeFile(const std::string& path) {
  std::string text;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

bool parseHex(const std::string& token, unsigned long* value) {
  if (token.size() < 3 || token.size() > 10 || token.compare(0, 2, "0x") != 0 ||
      token.find_first_not_of("0123456789abcdef", 2) != std::string::npos)
    return false;
  *value = std::strtoul(token.c_str() + 2, nullptr, 16);
  return true;
}

bool parseDecimal(const std::string& token, unsigned long* value) {
  if (token.empty() || token.size() > 10 || token.find_first_not_of("0123456789") != std::string::npos)
    return false;
  *value = std::strtoul(token.c_str(), nullptr, 10);
  return true;
}

bool parseLine(const std::string& line, ClientEvent* event) {
  std::istringstream in(line);
  std::vector<std::string> tokens;
  for (std::string token; in >> token;) tokens.push_back(token);
  if (tokens.size() == 3) {
    event->window = tokens[0];
    event->what = tokens[1];
    return parseDecimal(tokens[2], &event->tick);
  }
  if (tokens.size() == 5) {
    event->window = tokens[0];
    event->what = tokens[1];
    return parseHex(tokens[2], &event->wParam) && parseHex(tokens[3], &event->lParam) &&
           parseDecimal(tokens[4], &event->tick);
  }
  return false;
}

}  // namespace

std::string newClientLogPath() {
  const std::string path = freshTempDir() + "client.log";
  DeleteFileA(path.c_str());
  return path;
}

Process startStandinClient(const std::string& dir, const std::string& log, const std::string& mode) {
  return Process(copyBeside("standin_client.exe", dir, "client.exe"), "\"" + log + "\" " + mode);
}

std::vector<ClientEvent> readClientLog(const std::string& path) {
  const std::string text = readWholeFile(path);
  std::vector<ClientEvent> events;
  size_t begin = 0;
  for (size_t end; (end = text.find('\n', begin)) != std::string::npos; begin = end + 1) {
    const std::string line = text.substr(begin, end - begin);
    ClientEvent event;
    if (parseLine(line, &event)) {
      events.push_back(event);
    } else {
      ADD_FAILURE() << "malformed line in " << path << ": \"" << line << '"';
    }
  }
  return events;
}

int count(const std::vector<ClientEvent>& events, const std::string& window, const std::string& what) {
  int n = 0;
  for (const ClientEvent& event : events)
    if (event.window == window && event.what == what) ++n;
  return n;
}

bool waitForClientEvent(const std::string& path, const std::string& window, const std::string& what,
                        int n, DWORD timeoutMs) {
  return waitUntil([&] { return count(readClientLog(path), window, what) >= n; }, timeoutMs);
}

std::string describe(const std::vector<ClientEvent>& events) {
  std::ostringstream out;
  for (const ClientEvent& event : events) {
    out << event.window << ' ' << event.what << std::hex << " 0x" << event.wParam << " 0x"
        << event.lParam << std::dec << ' ' << event.tick << '\n';
  }
  return out.str();
}

}  // namespace autopause::wine
