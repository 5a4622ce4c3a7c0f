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
SDL_Renderer* g_renderer = nullptr;
SDL_Texture* g_texture = nullptr;
std::atomic<Uint32> g_wakeEvent{0};  // read by the threads that wake the loop
bool g_mouseDown = false;
SDL_FingerID g_finger = 0;
bool g_fingerDown = false;
PixelView g_lastScreen;

void Close();

bool Open(const DisplayOptions& options) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "display: SDL video not available (%s), running headless\n",
                 SDL_GetError());
    return false;
  }
  // Touches arrive as finger events; the mouse events SDL makes from them would double them.
  SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
  int scale = options.scale < 1 ? 1 : options.scale;
  Uint32 flags = SDL_WINDOW_SHOWN;
  if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  g_window = SDL_CreateWindow(options.title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              kScreenWidth * scale, kScreenHeight * scale, flags);
  if (g_window != nullptr) g_renderer = SDL_CreateRenderer(g_window, -1, 0);
  if (g_renderer != nullptr) {
    SDL_RenderSetLogicalSize(g_renderer, kScreenWidth, kScreenHeight);
    g_texture = SDL_CreateTexture(g_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                  kScreenWidth, kScreenHeight);
  }
  if (g_texture == nullptr) {
    std::fprintf(stderr, "display: SDL window failed (%s), running headless\n", SDL_GetError());
    Close();
    return false;
  }
  if (g_wakeEvent == 0) g_wakeEvent = SDL_RegisterEvents(1);
  g_mouseDown = g_fingerDown = false;
  return true;
}

void Close() {
  if (g_texture != nullptr) SDL_DestroyTexture(g_texture);
  if (g_renderer != nullptr) SDL_DestroyRenderer(g_renderer);
  if (g_window != nullptr) SDL_DestroyWindow(g_window);
  g_texture = nullptr;
  g_renderer = nullptr;
  g_window = nullptr;
  g_lastScreen = PixelView{};
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void Show() {
  SDL_RenderClear(g_renderer);
  SDL_RenderCopy(g_renderer, g_texture, nullptr, nullptr);
  SDL_RenderPresent(g_renderer);
}

void Present(const PixelView& screen, const Rect& dirty) {
  if (g_texture == nullptr) return;
  g_lastScreen = screen;
  Rect r = Intersect(dirty, Rect{0, 0, screen.width, screen.height});
  if (r.Empty()) return;
  SDL_Rect area{r.left, r.top, r.Width(), r.Height()};
  const uint32_t* first = screen.pixels + static_cast<size_t>(r.top) * screen.stride + r.left;
  SDL_UpdateTexture(g_texture, &area, first, screen.stride * 4);
  Show();
}

// Finger positions are fractions of the window; the renderer letterboxes the panel in it.
Point FingerToPanel(float fx, float fy) {
  int w = 0, h = 0;
  SDL_GetWindowSize(g_window, &w, &h);
  float scale = static_cast<float>(w) / kScreenWidth;
  float scaleY = static_cast<float>(h) / kScreenHeight;
  if (scaleY < scale) scale = scaleY;
  float left = (w - kScreenWidth * scale) / 2;
  float top = (h - kScreenHeight * scale) / 2;
  return Point{static_cast<int>((fx * w - left) / scale), static_cast<int>((fy * h - top) / scale)};
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
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_RESIZED) {
        Show();
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button == SDL_BUTTON_LEFT && e.button.which != SDL_TOUCH_MOUSEID) {
        g_mouseDown = true;
        PostTouch(TouchPhase::Down, e.button.x, e.button.y);
      }
      break;
    case SDL_MOUSEMOTION:
      if (g_mouseDown && e.motion.which != SDL_TOUCH_MOUSEID) {
        PostTouch(TouchPhase::Move, e.motion.x, e.motion.y);
      }
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT && g_mouseDown) {
        g_mouseDown = false;
        PostTouch(TouchPhase::Up, e.button.x, e.button.y);
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
