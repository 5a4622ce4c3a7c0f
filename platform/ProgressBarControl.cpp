#include "platform/Controls.h"

#include "platform/ControlsInternal.h"
#include "platform/Verify.h"
#include "platform/WindowInternal.h"

// Progress bars.
namespace plat {
namespace detail {
namespace {

constexpr Color kProgressColor = Rgb(0, 128, 0);

struct ProgressData {
  int min = 0;
  int max = 100;
  int pos = 0;
};

ProgressData g_progress[kMaxWindows];

ProgressData* ProgressOf(Hwnd h) {
  if (ControlOf(h) == nullptr) return nullptr;
  return &g_progress[SlotOf(h)];
}

}  // namespace

void ForgetProgressBar(int slot) { g_progress[slot] = ProgressData{}; }

void PaintProgressBar(Hwnd h, const ControlLook& look, Canvas& c) {
  const ProgressData& d = g_progress[SlotOf(h)];
  const Rect& r = look.rect;
  c.FillRect(r, kWhite);
  c.FrameRect(r, kFrameColor, 2);
  int span = d.max - d.min;
  Rect inner{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
  if (span > 0 && !inner.Empty()) {
    int done = static_cast<int>(static_cast<int64_t>(inner.Width()) * (d.pos - d.min) / span);
    c.FillRect(Rect{inner.left, inner.top, inner.left + done, inner.bottom}, kProgressColor);
  }
}

}  // namespace detail

void SetProgressRange(Hwnd bar, int min, int max) {
  detail::ProgressData* d = detail::ProgressOf(bar);
  VERIFY(d != nullptr);
  if (d == nullptr || (d->min == min && d->max == max)) return;
  d->min = min;
  d->max = max < min ? min : max;
  SetProgressPos(bar, d->pos);
  InvalidateRect(bar, nullptr, false);
}

void SetProgressPos(Hwnd bar, int pos) {
  detail::ProgressData* d = detail::ProgressOf(bar);
  VERIFY(d != nullptr);
  if (d == nullptr) return;
  if (pos < d->min) pos = d->min;
  if (pos > d->max) pos = d->max;
  if (pos == d->pos) return;
  d->pos = pos;
  InvalidateRect(bar, nullptr, false);
}

int GetProgressPos(Hwnd bar) {
  detail::ProgressData* d = detail::ProgressOf(bar);
  return d == nullptr ? 0 : d->pos;
}

}  // namespace plat
