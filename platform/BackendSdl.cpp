// The SDL2 display: a 640 x 480 window (magnified by --scale, or full screen) showing the
// composed screen; mouse buttons and fingers become touches in panel coordinates.
#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/WindowInternal.h"

namespace plat {
namespace {

SDL_Window* g_window = nullptr;
SDL_Surface* g_source = nullptr;  // wraps the composed screen's pixels, made once
const uint32_t* g_sourcePixels = nullptr;
std::atomic<Uint32> g_wakeEvent{0};  // read by the threads that wake the loop
bool g_mouseDown = false;
SDL_FingerID g_finger = 0;
bool g_fingerDown = false;

// Where the panel lies in the window: magnified by a whole or fractional factor and centred
// (letterboxed) when the window is not the panel's shape.
struct Placement {
  float scale = 1;
  int left = 0;
  int top = 0;
};

Placement PlacementIn(int w, int h) {
  Placement p;
  p.scale = static_cast<float>(w) / kScreenWidth;
  float scaleY = static_cast<float>(h) / kScreenHeight;
  if (scaleY < p.scale) p.scale = scaleY;
  if (p.scale <= 0) p.scale = 1;
  p.left = static_cast<int>((w - kScreenWidth * p.scale) / 2);
  p.top = static_cast<int>((h - kScreenHeight * p.scale) / 2);
  return p;
}

Placement WindowPlacement() {
  int w = kScreenWidth, h = kScreenHeight;
  if (g_window != nullptr) SDL_GetWindowSize(g_window, &w, &h);
  return PlacementIn(w, h);
}

Point WindowToPanel(int x, int y) {
  Placement p = WindowPlacement();
  return Point{static_cast<int>((x - p.left) / p.scale), static_cast<int>((y - p.top) / p.scale)};
}

void Close();

bool Open(const DisplayOptions& options) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "display: SDL video not available (%s), running headless\n",
                 SDL_GetError());
    return false;
  }
  // Touches arrive as finger events; the mouse events SDL makes from them would double them.
  SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
  // The window surface as the display's own framebuffer (X11 shared memory): a panel drawn in
  // software gains nothing from a GL texture, which without a GPU costs a software rasteriser.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  int scale = options.scale < 1 ? 1 : options.scale;
  Uint32 flags = SDL_WINDOW_SHOWN;
  if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  g_window = SDL_CreateWindow(options.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              kScreenWidth * scale, kScreenHeight * scale, flags);
  if (g_window == nullptr || SDL_GetWindowSurface(g_window) == nullptr) {
    std::fprintf(stderr, "display: SDL window failed (%s), running headless\n", SDL_GetError());
    Close();
    return false;
  }
  if (g_wakeEvent.load() == 0) g_wakeEvent.store(SDL_RegisterEvents(1));
  g_mouseDown = g_fingerDown = false;
  return true;
}

void Close() {
  if (g_source != nullptr) SDL_FreeSurface(g_source);
  if (g_window != nullptr) SDL_DestroyWindow(g_window);
  g_source = nullptr;
  g_sourcePixels = nullptr;
  g_window = nullptr;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// Copies `dirty` of the composed screen to the window and shows only that part: a software
// drawn panel needs no renderer, and a 100 ms animation then moves only its own pixels.
void Show(const Rect& dirty) {
  SDL_Surface* target = g_window != nullptr ? SDL_GetWindowSurface(g_window) : nullptr;
  if (target == nullptr || g_source == nullptr) return;
  Placement p = PlacementIn(target->w, target->h);
  SDL_Rect from{dirty.left, dirty.top, dirty.Width(), dirty.Height()};
  SDL_Rect to{p.left + static_cast<int>(dirty.left * p.scale), p.top + static_cast<int>(dirty.top * p.scale),
              static_cast<int>(dirty.Width() * p.scale + 0.999f),
              static_cast<int>(dirty.Height() * p.scale + 0.999f)};
  if (p.scale == 1) {
    SDL_BlitSurface(g_source, &from, target, &to);
  } else {
    SDL_BlitScaled(g_source, &from, target, &to);
  }
  SDL_UpdateWindowSurfaceRects(g_window, &to, 1);
}

void Present(const PixelView& screen, const Rect& dirty) {
  if (g_window == nullptr) return;
  if (g_source == nullptr || g_sourcePixels != screen.pixels) {
    if (g_source != nullptr) SDL_FreeSurface(g_source);
    g_source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(screen.pixels), screen.width,
                                                  screen.height, 32, screen.stride * 4,
                                                  SDL_PIXELFORMAT_RGB888);
    g_sourcePixels = screen.pixels;
  }
  Rect r = Intersect(dirty, Rect{0, 0, screen.width, screen.height});
  if (!r.Empty()) Show(r);
}

void ShowAll() {
  SDL_Surface* target = g_window != nullptr ? SDL_GetWindowSurface(g_window) : nullptr;
  if (target == nullptr) return;
  SDL_FillRect(target, nullptr, 0);
  SDL_UpdateWindowSurface(g_window);
  Show(Rect{0, 0, kScreenWidth, kScreenHeight});
}

Point FingerToPanel(float fx, float fy) {
  int w = 0, h = 0;
  SDL_GetWindowSize(g_window, &w, &h);
  return WindowToPanel(static_cast<int>(fx * w), static_cast<int>(fy * h));
}

void Handle(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      if (MainWindow() != kNoWindow) {
        PostMessage(MainWindow(), Msg::Close);
      } else {
        PostQuitMessage(0);
      }
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
          e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        ShowAll();
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button == SDL_BUTTON_LEFT && e.button.which != SDL_TOUCH_MOUSEID) {
        g_mouseDown = true;
        Point p = WindowToPanel(e.button.x, e.button.y);
        PostTouch(TouchPhase::Down, p.x, p.y);
      }
      break;
    case SDL_MOUSEMOTION:
      if (g_mouseDown && e.motion.which != SDL_TOUCH_MOUSEID) {
        Point p = WindowToPanel(e.motion.x, e.motion.y);
        PostTouch(TouchPhase::Move, p.x, p.y);
      }
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT && g_mouseDown) {
        g_mouseDown = false;
        Point p = WindowToPanel(e.button.x, e.button.y);
        PostTouch(TouchPhase::Up, p.x, p.y);
      }
      break;
    case SDL_FINGERDOWN:
      if (!g_fingerDown) {
        g_fingerDown = true;
        g_finger = e.tfinger.fingerId;
        Point p = FingerToPanel(e.tfinger.x, e.tfinger.y);
        PostTouch(TouchPhase::Down, p.x, p.y);
      }
      break;
    case SDL_FINGERMOTION:
      if (g_fingerDown && e.tfinger.fingerId == g_finger) {
        Point p = FingerToPanel(e.tfinger.x, e.tfinger.y);
        PostTouch(TouchPhase::Move, p.x, p.y);
      }
      break;
    case SDL_FINGERUP:
      if (g_fingerDown && e.tfinger.fingerId == g_finger) {
        g_fingerDown = false;
        Point p = FingerToPanel(e.tfinger.x, e.tfinger.y);
        PostTouch(TouchPhase::Up, p.x, p.y);
      }
      break;
    default:
      break;
  }
}

void Wait(int timeoutMs) {
  SDL_Event e;
  int got = timeoutMs < 0 ? SDL_WaitEvent(&e) : SDL_WaitEventTimeout(&e, timeoutMs);
  if (got == 0) return;
  Handle(e);
  while (SDL_PollEvent(&e) != 0) Handle(e);
}

void WakeUp() {
  Uint32 type = g_wakeEvent.load();
  if (type == 0 || type == static_cast<Uint32>(-1)) return;
  SDL_Event e{};
  e.type = type;
  SDL_PushEvent(&e);
}

void Raise() {
  if (g_window != nullptr) SDL_RaiseWindow(g_window);
}

constexpr detail::BackendOps kSdl{Open, Close, Present, Wait, WakeUp, Raise};

}  // namespace

const detail::BackendOps& detail::SdlBackend() { return kSdl; }

bool detail::DisplayAvailable() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x != nullptr && x[0] != 0) || (wayland != nullptr && wayland[0] != 0);
}

}  // namespace plat
