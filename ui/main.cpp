#include <windows.h>
#include <mbctype.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  _setmbcp(_MB_CP_ANSI);
  return 0;
}
