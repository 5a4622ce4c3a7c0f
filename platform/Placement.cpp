#include "platform/Placement.h"

#include "platform/Window.h"

namespace plat {

Rect FullScreenPanelRect(int screenWidth, int screenHeight) {
  if (screenWidth <= 0 || screenHeight <= 0) return Rect{0, 0, kScreenWidth, kScreenHeight};
  int scale = screenWidth / kScreenWidth;
  if (screenHeight / kScreenHeight < scale) scale = screenHeight / kScreenHeight;
  int width = kScreenWidth * scale;
  int height = kScreenHeight * scale;
  if (scale == 0) {
    // Shrunk to the narrower side; 64-bit products, since screens are given in pixels.
    if (static_cast<long long>(screenWidth) * kScreenHeight <= static_cast<long long>(screenHeight) * kScreenWidth) {
      width = screenWidth;
      height = static_cast<int>(static_cast<long long>(screenWidth) * kScreenHeight / kScreenWidth);
    } else {
      height = screenHeight;
      width = static_cast<int>(static_cast<long long>(screenHeight) * kScreenWidth / kScreenHeight);
    }
  }
  const int left = (screenWidth - width) / 2;
  const int top = (screenHeight - height) / 2;
  return Rect{left, top, left + width, top + height};
}

bool ScaledWindowFits(int scale, int screenWidth, int screenHeight) {
  return scale >= 1 && kScreenWidth * scale <= screenWidth && kScreenHeight * scale <= screenHeight;
}

Point ScreenToPanel(const Rect& panel, int x, int y) {
  if (panel.Empty()) return Point{x, y};
  int px = static_cast<int>(static_cast<long long>(x - panel.left) * kScreenWidth / panel.Width());
  int py = static_cast<int>(static_cast<long long>(y - panel.top) * kScreenHeight / panel.Height());
  if (x < panel.left) px = 0;
  if (y < panel.top) py = 0;
  if (px > kScreenWidth - 1) px = kScreenWidth - 1;
  if (py > kScreenHeight - 1) py = kScreenHeight - 1;
  return Point{px, py};
}

}  // namespace plat
