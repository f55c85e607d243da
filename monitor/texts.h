#pragma once
// The program's own texts. Sources are UTF-8; the compiler stores every literal
// in GBK (code page 936), the bytes the window and the notice show at run time.

namespace autopause {

inline constexpr char kStatusUnknown[] = "未知";
inline constexpr char kStatusWaiting[] = "等待打开游戏";
inline constexpr char kStatusPlaying[] = "正常游戏中";
inline constexpr char kStatusClosed[] = "游戏已经关闭";
inline constexpr char kNoticeText[] = "已为您自动断开Zorvath加速";
inline constexpr char kNoticeCaption[] = "友情提醒";
inline constexpr char kClientMainTitle[] = "Zorvath加速器";
inline constexpr char kClientPromptName[] = "uiErrorPrompt";

}  // namespace autopause
