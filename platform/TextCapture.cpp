#include "platform/Window.h"

#include "platform/WindowState.h"

// Text capture: tests read what was drawn, where, in which colour and by which window.
namespace plat {
namespace {
bool g_capturing = false;
CapturedText g_captured[kMaxCapturedTexts];
int g_capturedCount = 0;
}  // namespace

using namespace detail;

void StartTextCapture() {
  g_capturing = true;
  g_capturedCount = 0;
}
void StopTextCapture() { g_capturing = false; }
void ClearCapturedText() { g_capturedCount = 0; }
int CapturedTextCount() { return g_capturedCount; }
const CapturedText* CapturedTextAt(int index) {
  return (index >= 0 && index < g_capturedCount) ? &g_captured[index] : nullptr;
}

namespace {
bool IsSelfOrDescendant(Hwnd h, Hwnd ancestor) {
  for (int s = Slot(h); s != kNone; s = g_windows[s].parent) {
    if (MakeHandle(s) == ancestor) return true;
  }
  return false;
}
}  // namespace

const CapturedText* FindCapturedText(const char* needle, Hwnd window) {
  char16_t wanted[kMaxWindowText];
  size_t n = CopyText(wanted, kMaxWindowText, TextRef(needle));
  for (int i = g_capturedCount - 1; i >= 0; --i) {
    const CapturedText& t = g_captured[i];
    if (window != kNoWindow && !IsSelfOrDescendant(t.window, window)) continue;
    for (size_t at = 0; t.text[at] != 0 || n == 0; ++at) {
      size_t k = 0;
      while (k < n && t.text[at + k] == wanted[k]) ++k;
      if (k == n) return &t;
      if (t.text[at] == 0) break;
    }
  }
  return nullptr;
}

namespace detail {
// Called by the canvas for every text drawn while a window paints.
void RecordText(const Canvas& canvas, const Rect& logicalRect, const char16_t* wide,
                const char* narrow, size_t length, Color color) {
  if (!g_capturing || g_paintingWindow == kNoWindow || g_capturedCount >= kMaxCapturedTexts) {
    return;
  }
  CapturedText& t = g_captured[g_capturedCount++];
  t.window = g_paintingWindow;
  Point o = canvas.Origin();
  t.rect = logicalRect.Offset(o.x, o.y);
  t.color = color;
  size_t n = 0;
  for (; n < length && n + 1 < static_cast<size_t>(kMaxWindowText); ++n) {
    t.text[n] = wide != nullptr ? wide[n] : static_cast<unsigned char>(narrow[n]);
  }
  t.text[n] = 0;
}
}  // namespace detail

}  // namespace plat

