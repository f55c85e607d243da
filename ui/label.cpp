#include "ui/label.h"

namespace autopause {
namespace {

void paint(HWND label) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(label, &ps);
  RECT rect;
  GetClientRect(label, &rect);
  FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
  char text[256];
  int length = GetWindowTextA(label, text, sizeof text);
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(GetWindowLongPtrA(label, GWLP_USERDATA)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  DrawTextA(dc, text, length, &rect, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
  SelectObject(dc, oldFont);
  EndPaint(label, &ps);
}

LRESULT CALLBACK labelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paint(label);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_SETFONT:
      SetWindowLongPtrA(label, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam)) InvalidateRect(label, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrA(label, GWLP_USERDATA);
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(label, message, wParam, lParam);
      InvalidateRect(label, nullptr, TRUE);
      return result;
    }
    default:
      return DefWindowProcA(label, message, wParam, lParam);
  }
}

}  // namespace

bool registerLabelClass(HINSTANCE instance) {
  WNDCLASSA cls{};
  cls.lpfnWndProc = labelProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cls.lpszClassName = kLabelClass;
  return RegisterClassA(&cls) != 0;
}

}  // namespace autopause
