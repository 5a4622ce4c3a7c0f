// The SDL2 display: a 640 x 480 window (magnified by --scale, or the whole screen with the panel
// centred on it) showing the composed screen; mouse buttons and fingers become touches in panel
// coordinates.
#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/Placement.h"
#include "platform/WindowInternal.h"

// Last: Xlib's macros (None, Status, ...) would clash with the names above.
#include <SDL_syswm.h>

namespace plat {
namespace {

SDL_Window* g_window = nullptr;
SDL_Surface* g_source = nullptr;  // wraps the composed screen's pixels, made once
const uint32_t* g_sourcePixels = nullptr;
std::atomic<Uint32> g_wakeEvent{0};  // read by the threads that wake the loop
bool g_mouseDown = false;
SDL_FingerID g_finger = 0;
bool g_fingerDown = false;

// Where the panel lies in the window: the whole window for a magnified desktop window, centred
// on the screen by a whole factor when full screen. Taken from the window surface's own size,
// so what is drawn and where touches land always agree.
Rect g_panel{0, 0, kScreenWidth, kScreenHeight};

void PlacePanel() {
  SDL_Surface* target = g_window != nullptr ? SDL_GetWindowSurface(g_window) : nullptr;
  if (target != nullptr) g_panel = FullScreenPanelRect(target->w, target->h);
}

Point WindowToPanel(int x, int y) { return ScreenToPanel(g_panel, x, y); }

// Xlib ends the process when its connection breaks (it calls exit() once this returns), so the
// panel leaves here, through the same exit: its handlers stop the link thread; the status says
// the display went away, so whatever started the panel starts it again.
int OnDisplayConnectionLost(Display*) {
  std::fputs("display: the connection to the display was lost; ending\n", stderr);
  std::exit(kExitDisplayLost);
}

void WatchDisplayConnection() {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(g_window, &info) && info.subsystem == SDL_SYSWM_X11)
    XSetIOErrorHandler(OnDisplayConnectionLost);
}

// Only the display servers named in the environment: SDL would otherwise fall back to a
// driver that opens an invisible window, and the panel would run unseen.
void ChooseVideoDriver() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const bool hasX = x != nullptr && x[0] != 0;
  const bool hasWayland = wayland != nullptr && wayland[0] != 0;
  const char* drivers = hasX && hasWayland ? "x11,wayland" : hasX ? "x11" : "wayland";
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, drivers, SDL_HINT_DEFAULT);
}

void Close();

DisplayResult Open(const DisplayOptions& options) {
  ChooseVideoDriver();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    const char* x = std::getenv("DISPLAY");
    std::fprintf(stderr, "display: cannot reach the display %s (%s)\n",
                 x != nullptr && x[0] != 0 ? x : std::getenv("WAYLAND_DISPLAY"), SDL_GetError());
    return DisplayResult::Unreachable;
  }
  // Touches arrive as finger events; the mouse events SDL makes from them would double them.
  SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
  // The window surface as the display's own framebuffer (X11 shared memory): a panel drawn in
  // software gains nothing from a GL texture, which without a GPU costs a software rasteriser.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Rect screen{0, 0, kScreenWidth, kScreenHeight};
  if (SDL_GetDisplayBounds(0, &screen) != 0) screen = SDL_Rect{0, 0, kScreenWidth, kScreenHeight};
  const int scale = options.scale < 1 ? 1 : options.scale;
  int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
  int w = kScreenWidth * scale, h = kScreenHeight * scale;
  Uint32 flags = SDL_WINDOW_SHOWN;
  if (options.fullscreen) {
    // Made at the screen's size, so the window is the screen even with no window manager to
    // carry out the full-screen request.
    x = screen.x;
    y = screen.y;
    w = screen.w;
    h = screen.h;
    flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP;
  } else if (!ScaledWindowFits(scale, screen.w, screen.h)) {
    std::fprintf(stderr, "display: a window magnified %d times needs %d x %d; the screen has %d x %d\n",
                 scale, w, h, screen.w, screen.h);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return DisplayResult::ScaleTooLarge;
  }
  g_window = SDL_CreateWindow(options.title, x, y, w, h, flags);
  if (g_window == nullptr || SDL_GetWindowSurface(g_window) == nullptr) {
    std::fprintf(stderr, "display: SDL window failed (%s)\n", SDL_GetError());
    Close();
    return DisplayResult::WindowFailed;
  }
  WatchDisplayConnection();
  PlacePanel();
  if (g_wakeEvent.load() == 0) g_wakeEvent.store(SDL_RegisterEvents(1));
  g_mouseDown = g_fingerDown = false;
  return DisplayResult::Ok;
}

void Close() {
  if (g_source != nullptr) SDL_FreeSurface(g_source);
  if (g_window != nullptr) SDL_DestroyWindow(g_window);
  g_source = nullptr;
  g_sourcePixels = nullptr;
  g_window = nullptr;
  g_panel = Rect{0, 0, kScreenWidth, kScreenHeight};
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// Copies `dirty` of the composed screen to the window and shows only that part: a software
// drawn panel needs no renderer, and a 100 ms animation then moves only its own pixels.
void Show(const Rect& dirty) {
  SDL_Surface* target = g_window != nullptr ? SDL_GetWindowSurface(g_window) : nullptr;
  if (target == nullptr || g_source == nullptr) return;
  const Rect& p = g_panel;
  SDL_Rect from{dirty.left, dirty.top, dirty.Width(), dirty.Height()};
  // Edges rounded outwards, so a shrunk panel leaves no seams between partial updates.
  const int left = p.left + dirty.left * p.Width() / kScreenWidth;
  const int top = p.top + dirty.top * p.Height() / kScreenHeight;
  const int right = p.left + (dirty.right * p.Width() + kScreenWidth - 1) / kScreenWidth;
  const int bottom = p.top + (dirty.bottom * p.Height() + kScreenHeight - 1) / kScreenHeight;
  SDL_Rect to{left, top, right - left, bottom - top};
  if (p.Width() == kScreenWidth && p.Height() == kScreenHeight) {
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

Point FingerInWindow(float fx, float fy) {
  int w = 0, h = 0;
  SDL_GetWindowSize(g_window, &w, &h);
  return Point{static_cast<int>(fx * w), static_cast<int>(fy * h)};
}

Point FingerToPanel(float fx, float fy) {
  const Point p = FingerInWindow(fx, fy);
  return WindowToPanel(p.x, p.y);
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
        PlacePanel();
        ShowAll();
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
      // A touch on the bars around a centred panel touches nothing.
      if (e.button.button == SDL_BUTTON_LEFT && e.button.which != SDL_TOUCH_MOUSEID &&
          g_panel.Contains(e.button.x, e.button.y)) {
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
      if (!g_fingerDown && g_panel.Contains(FingerInWindow(e.tfinger.x, e.tfinger.y).x,
                                            FingerInWindow(e.tfinger.x, e.tfinger.y).y)) {
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
