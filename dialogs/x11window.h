// The few window properties the program writes and reads itself on X11, through the display
// connection Qt opened. Each does nothing (or gives nothing) on another platform.
#pragma once

#include <QMargins>

#include <cstdint>
#include <optional>

class QWidget;

namespace dialogs {

// The Motif window-manager hints: which functions (MWM_FUNC_*) and decorations (MWM_DECOR_*)
// the window has; both fields are written, so neither falls back to "all".
struct MotifHints {
  std::uint32_t functions = 0;
  std::uint32_t decorations = 0;
};
inline constexpr std::uint32_t kMwmFuncResize = 1u << 1;
inline constexpr std::uint32_t kMwmFuncMove = 1u << 2;
inline constexpr std::uint32_t kMwmFuncMinimize = 1u << 3;
inline constexpr std::uint32_t kMwmFuncMaximize = 1u << 4;
inline constexpr std::uint32_t kMwmFuncClose = 1u << 5;
inline constexpr std::uint32_t kMwmDecorBorder = 1u << 1;
inline constexpr std::uint32_t kMwmDecorResizeHandle = 1u << 2;
inline constexpr std::uint32_t kMwmDecorTitle = 1u << 3;
inline constexpr std::uint32_t kMwmDecorMenu = 1u << 4;
inline constexpr std::uint32_t kMwmDecorMinimize = 1u << 5;
inline constexpr std::uint32_t kMwmDecorMaximize = 1u << 6;

void WriteMotifHints(QWidget* window, MotifHints hints);

// WM_CLASS: instance and class name, ASCII.
void WriteClassHint(QWidget* window, const char* instance, const char* className);

// Asks a running window manager for the frame it will put around the (not yet mapped) window
// and waits up to timeoutMs for the answer.
std::optional<QMargins> AskFrameExtents(QWidget* window, int timeoutMs);

}  // namespace dialogs
