// Stands in for a game: a process that does nothing until it is ended.
// Tests copy it under the names they need.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Sleep(INFINITE);
  return 0;
}
