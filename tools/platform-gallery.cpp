// Shows the window system's gallery: every control, a message box and text in each font size.
//   platform-gallery [--headless] [--screenshot FILE] [--message] [--run-for S] [--scale N]
//                    [--fullscreen] [--script FILE]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Backend.h"
#include "platform/Gallery.h"
#include "platform/Script.h"
#include "platform/Window.h"

namespace {

constexpr uint32_t kRunForTimer = 1;
constexpr uint32_t kMessageTimer = 2;

const char kUsage[] =
    "usage: platform-gallery [--headless] [--screenshot FILE] [--message] [--run-for S]\n"
    "                        [--scale N] [--fullscreen] [--script FILE]\n"
    "  --screenshot FILE  write the screen as PNG once painted, then exit\n"
    "  --message          open the gallery's message box at the start\n";

// Runs the gallery's own timers: the end of --run-for and the opening of --message.
plat::LResult TimersProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg != plat::Msg::Timer) return plat::DefWindowProc(h, msg, w, l);
  plat::KillTimer(h, static_cast<uint32_t>(w));
  if (w == kRunForTimer) plat::PostQuitMessage(0);
  if (w == kMessageTimer) plat::ShowGalleryMessage(plat::GetParent(h));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  plat::DisplayOptions options;
  const char* screenshot = nullptr;
  const char* script = nullptr;
  bool message = false;
  double runFor = 0;
  for (int i = 1; i < argc; ++i) {
    auto value = [&](const char* name) -> const char* {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "platform-gallery: %s needs a value\n%s", name, kUsage);
        std::exit(2);
      }
      return argv[++i];
    };
    if (std::strcmp(argv[i], "--headless") == 0) {
      options.headless = true;
    } else if (std::strcmp(argv[i], "--fullscreen") == 0) {
      options.fullscreen = true;
    } else if (std::strcmp(argv[i], "--message") == 0) {
      message = true;
    } else if (std::strcmp(argv[i], "--screenshot") == 0) {
      screenshot = value("--screenshot");
    } else if (std::strcmp(argv[i], "--script") == 0) {
      script = value("--script");
    } else if (std::strcmp(argv[i], "--run-for") == 0) {
      runFor = std::atof(value("--run-for"));
    } else if (std::strcmp(argv[i], "--scale") == 0) {
      options.scale = std::atoi(value("--scale"));
    } else if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      std::fprintf(stderr, "platform-gallery: unknown option %s\n%s", argv[i], kUsage);
      return 2;
    }
  }
  options.title = "Platform gallery";
  plat::DisplayKind kind = plat::OpenDisplay(options);
  std::fprintf(stderr, "platform-gallery: %s display\n",
               kind == plat::DisplayKind::Sdl ? "SDL" : "headless");
  plat::Hwnd gallery = plat::CreateGalleryWindow();
  if (gallery == plat::kNoWindow) {
    std::fprintf(stderr, "platform-gallery: the gallery window could not be created\n");
    return 1;
  }
  plat::SetMainWindow(gallery);
  plat::RegisterClass(plat::WindowClass{.name = "GALLERY_TIMERS", .proc = TimersProc,
                                        .background = plat::Rgb(0, 0, 0)});
  plat::Hwnd timers = plat::CreateWindow(plat::WindowDesc{
      .className = "GALLERY_TIMERS", .parent = gallery, .rect = plat::RectXywh(0, 0, 0, 0)});
  if (runFor > 0) plat::SetTimer(timers, kRunForTimer, static_cast<uint32_t>(runFor * 1000));
  if (message) plat::SetTimer(timers, kMessageTimer, 10);
  std::string shot;
  if (screenshot != nullptr) {
    // Through the message queue, so that it is taken inside the message box's loop too.
    shot = std::string("wait 100\nscreenshot ") + screenshot + "\nquit\n";
    plat::StartScriptText(shot.c_str());
  } else if (script != nullptr) {
    plat::ScriptResult r = plat::StartScriptFile(script);
    if (r != plat::ScriptResult::Ok) {
      std::fprintf(stderr, "platform-gallery: %s: %s\n", script, plat::ScriptResultText(r));
    }
  }
  plat::Message m;
  while (plat::GetMessage(m)) plat::DispatchMessage(m);
  int code = plat::ExitCode();
  bool failed = screenshot != nullptr && plat::ScriptErrorLine() != 0;
  plat::CloseDisplay();
  return failed ? 1 : code;
}
