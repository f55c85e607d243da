#pragma once
#include <windows.h>

namespace autopause {

// A one-line text label: button-face background, black text at the left,
// centred vertically, repainted whenever its text changes.
inline constexpr char kLabelClass[] = "AutopauseLabel";
bool registerLabelClass(HINSTANCE instance);

}  // namespace autopause
