// Stands in for the accelerator client: a main window titled "Zorvath加速器"
// and, on demand, a "uiErrorPrompt" window that a click closes. Every button
// message either window receives is appended to a log the tests read while it
// runs.
//
//   standin_client.exe <logPath> <mode>
//
// Modes:
//   normal          a button-down on the main window shows the prompt and returns
//   keep-prompt     the same, but clicks leave the prompt up
//   prompt-in-down  like normal, but the button-down returns only once the
//                   prompt has been closed (or after 10 s)
//   prompt-in-up    the same as prompt-in-down, done in the button-up instead
//   hung            the main window is shown, then its thread stops answering
//
// The log is started afresh; its lines are flushed one by one:
//   <window> <message> <wParam hex> <lParam hex> <tick>   e.g. main down 0x1 0x1cd03ec 123456
//   <window> <event> <tick>                               main ready, prompt shown, prompt closed
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kMainClass[] = "StandinClientMain";
const char kMainTitle[] = "Zorvath加速器";
const char kPromptName[] = "uiErrorPrompt";
const DWORD kPromptWaitMs = 10000;

enum class Mode { Normal, KeepPrompt, PromptInDown, PromptInUp, Hung };

HANDLE g_log = INVALID_HANDLE_VALUE;
Mode g_mode = Mode::Normal;
HWND g_prompt = nullptr;

void writeLine(const char* line) {
  DWORD written = 0;
  WriteFile(g_log, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  FlushFileBuffers(g_log);
}

void logEvent(const char* window, const char* event) {
  char line[128];
  std::snprintf(line, sizeof line, "%s %s %lu\n", window, event, GetTickCount());
  writeLine(line);
}

void logButton(const char* window, UINT message, WPARAM wParam, LPARAM lParam) {
  char line[128];
  std::snprintf(line, sizeof line, "%s %s 0x%lx 0x%lx %lu\n", window,
                message == WM_LBUTTONDOWN ? "down" : "up", static_cast<unsigned long>(wParam),
                static_cast<unsigned long>(lParam), GetTickCount());
  writeLine(line);
}

void showPrompt() {
  if (g_prompt) return;
  g_prompt = CreateWindowExA(0, kPromptName, kPromptName, WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE,
                             460, 120, 260, 120, nullptr, nullptr, GetModuleHandleA(nullptr),
                             nullptr);
  if (g_prompt) logEvent("prompt", "shown");
}

// Runs the thread's messages, sent ones included, until the prompt is gone.
void waitForPromptClosed() {
  const DWORD start = GetTickCount();
  while (g_prompt) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= kPromptWaitMs) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, kPromptWaitMs - elapsed, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

LRESULT CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
      logButton("main", message, wParam, lParam);
      const bool down = message == WM_LBUTTONDOWN;
      if ((g_mode == Mode::Normal || g_mode == Mode::KeepPrompt) && down) {
        showPrompt();
      } else if ((g_mode == Mode::PromptInDown && down) || (g_mode == Mode::PromptInUp && !down)) {
        showPrompt();
        waitForPromptClosed();
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK promptProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      logButton("prompt", message, wParam, lParam);
      return 0;
    case WM_LBUTTONUP:
      logButton("prompt", message, wParam, lParam);
      if (g_mode != Mode::KeepPrompt) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      if (g_prompt == window) g_prompt = nullptr;
      logEvent("prompt", "closed");
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool parseMode(const char* text, Mode* mode) {
  if (std::strcmp(text, "normal") == 0) *mode = Mode::Normal;
  else if (std::strcmp(text, "keep-prompt") == 0) *mode = Mode::KeepPrompt;
  else if (std::strcmp(text, "prompt-in-down") == 0) *mode = Mode::PromptInDown;
  else if (std::strcmp(text, "prompt-in-up") == 0) *mode = Mode::PromptInUp;
  else if (std::strcmp(text, "hung") == 0) *mode = Mode::Hung;
  else return false;
  return true;
}

bool registerClass(const char* name, WNDPROC proc, HINSTANCE instance) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = proc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  cls.lpszClassName = name;
  return RegisterClassA(&cls) != 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc != 3 || !parseMode(__argv[2], &g_mode)) return 2;
  g_log = CreateFileA(__argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (g_log == INVALID_HANDLE_VALUE) return 3;
  if (!registerClass(kMainClass, mainProc, instance) ||
      !registerClass(kPromptName, promptProc, instance))
    return 4;

  HWND main = CreateWindowExA(0, kMainClass, kMainTitle, WS_OVERLAPPEDWINDOW, 40, 40, 400, 300,
                              nullptr, nullptr, instance, nullptr);
  if (!main) return 5;
  ShowWindow(main, SW_SHOWNORMAL);
  UpdateWindow(main);
  logEvent("main", "ready");

  if (g_mode == Mode::Hung) Sleep(INFINITE);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  CloseHandle(g_log);
  return static_cast<int>(msg.wParam);
}
