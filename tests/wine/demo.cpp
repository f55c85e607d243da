// Shows the whole road of a game exit with the stand-in game and client and
// saves screenshots of the window and of the notice:
//   demo.exe <folder for screenshots>
// Texts are printed as the program shows them (GBK).
#include <windows.h>
#include <mbctype.h>

#include <cstdio>
#include <functional>
#include <string>

#include "tests/wine/app.h"
#include "tests/wine/client_log.h"

using namespace autopause::wine;

namespace {

bool saveScreenshot(RECT r, const std::string& path) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD rowBytes = ((width * 3 + 3) / 4) * 4, imageBytes = rowBytes * height;
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageBytes),
                        0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  FILE* out = std::fopen(path.c_str(), "wb");
  bool ok = out != nullptr;
  if (ok) {
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
    std::fwrite(bits, imageBytes, 1, out);
    std::fclose(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

RECT around(HWND a, HWND b) {
  RECT ra, rb, both;
  GetWindowRect(a, &ra);
  GetWindowRect(b ? b : a, &rb);
  UnionRect(&both, &ra, &rb);
  InflateRect(&both, 8, 8);
  return both;
}

// Prints the status line whenever it changes, until cond holds or time runs out.
bool followStatus(const App& app, std::string& last, const std::function<bool()>& cond, DWORD ms = 15000) {
  return waitUntil([&] {
    const std::string now = app.status();
    if (now != last) std::printf("status: %s\n", (last = now).c_str());
    std::fflush(stdout);
    return cond();
  }, ms);
}

}  // namespace

int main(int argc, char** argv) {
  _setmbcp(_MB_CP_ANSI);
  const std::string out = argc > 1 ? std::string(argv[1]) + "\\" : exeDir();
  const std::string dir = freshTempDir(), log = dir + "client.log";
  Process client = startStandinClient(dir, log, "normal");
  if (!waitForClientEvent(log, "main", "ready")) return 1;
  std::printf("stand-in client \"Zorvath加速器\" is running\n");

  App app;
  if (app.window() == nullptr) return 1;
  std::string status;
  followStatus(app, status, [] { return true; });
  Sleep(300);  // let the first paint finish
  saveScreenshot(around(app.window(), nullptr), out + "screenshot-window.bmp");

  Process game(copyBeside("standin_game.exe", freshTempDir(), "bf1.exe"));
  std::printf("stand-in game bf1.exe started; pressing \"开始监控\"\n");
  PostMessageA(app.startButton(), BM_CLICK, 0, 0);
  if (!followStatus(app, status, [&] { return status == "正常游戏中"; })) return 1;

  std::printf("ending the game\n");
  game.terminate();
  HWND notice = nullptr;
  if (!followStatus(app, status, [&] { return (notice = noticeOf(app.window())) != nullptr; })) return 1;
  followStatus(app, status, [&] { return status == "等待打开游戏"; }, 3000);
  std::printf("notice \"%s\" is up\n", textOf(notice).c_str());
  RedrawWindow(app.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  Sleep(300);  // let the repaint finish
  saveScreenshot(around(app.window(), notice), out + "screenshot-notice.bmp");

  waitForClientEvent(log, "prompt", "up");
  std::printf("the client received:\n%s", describe(readClientLog(log)).c_str());
  std::printf("answering the notice (Wine's box does not close itself)\n");
  PostMessageA(notice, WM_COMMAND, IDOK, 0);
  waitUntil([&] { return IsWindowEnabled(app.startButton()) != FALSE; });
  std::printf("start button enabled again; closing the window\n");
  PostMessageA(app.window(), WM_CLOSE, 0, 0);
  const DWORD code = app.waitExit();
  std::printf("autopause.exe exited with code %lu\n", code);
  return code == 0 ? 0 : 1;
}
