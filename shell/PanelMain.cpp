// dryer-panel: the operator panel of the grain dryer.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Process.h"
#include "shell/Panel.h"
#include "shell/ShippedData.h"
#include "sim/Simulator.h"

namespace {

constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: dryer-panel [options]\n"
    "  --port PATH        the controller's serial device (default: the built-in simulator\n"
    "                     on a pseudo-terminal)\n"
    "  --root DIR         the panel's storage root, holding \"Hard Disk\" (default:\n"
    "                     $XDG_DATA_HOME/dryer-panel or ~/.local/share/dryer-panel)\n"
    "  --usb DIR|auto     where the USB stick (\"Hard Disk2\") is mounted; auto: the mounted\n"
    "                     removable drive of the moment (default: auto when installed, else\n"
    "                     \"Hard Disk2\" below the root)\n"
    "  --pack DIR         language packs copied into a new root (default: those shipped\n"
    "                     beside the program)\n"
    "  --scenario NAME    the built-in simulator's dryer (dryer-sim --help lists them)\n"
    "  --speed N          the built-in simulator's time runs N times faster (0.1..1000)\n"
    "  --headless         no display; draw off screen only (on when there is no display)\n"
    "  --script FILE      run an automation script (wait, touch, press, screenshot, quit)\n"
    "  --run-for SECONDS  exit cleanly after that long\n"
    "  --scale N          window magnification on a desktop (1..4); refused when the\n"
    "                     window would not fit on the screen\n"
    "  --fullscreen       fill the screen: the panel magnified by the largest whole factor\n"
    "                     that fits, centred; refused when there is no display\n"
    "  --trace-link       hex dumps of every frame on standard error\n"
    "  --help             this text\n";

void OnSignal(int) { shell::RequestPanelStop(); }

// The per-user data folder, made when missing; false when no home is known.
bool DefaultRoot(char* out, size_t size) {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  int n = 0;
  if (xdg != nullptr && xdg[0] == '/') {
    n = std::snprintf(out, size, "%s/dryer-panel", xdg);
  } else if (home != nullptr && home[0] != 0) {
    char base[900];
    std::snprintf(base, sizeof base, "%s/.local", home);
    plat::MakeHostFolder(base);
    std::snprintf(base, sizeof base, "%s/.local/share", home);
    plat::MakeHostFolder(base);
    n = std::snprintf(out, size, "%s/.local/share/dryer-panel", home);
  } else {
    return false;
  }
  if (n <= 0 || static_cast<size_t>(n) >= size) return false;
  plat::MakeHostFolder(out);
  return true;
}

bool ParseSeconds(const char* text, double& out) {
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  if (!text[0] || *end || !(v > 0) || v > 1e9) return false;
  out = v;
  return true;
}

bool ParseScale(const char* text, int& out) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (!text[0] || *end || v < 1 || v > 4) return false;
  out = static_cast<int>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  shell::PanelOptions o;
  o.pack = shell::DefaultPackDir();
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(a, "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (std::strcmp(a, "--headless") == 0) {
      o.headless = true;
    } else if (std::strcmp(a, "--fullscreen") == 0) {
      o.fullscreen = true;
    } else if (std::strcmp(a, "--trace-link") == 0) {
      o.traceLink = true;
    } else if (hasValue && std::strcmp(a, "--port") == 0) {
      o.port = argv[++i];
    } else if (hasValue && std::strcmp(a, "--root") == 0) {
      o.root = argv[++i];
    } else if (hasValue && std::strcmp(a, "--usb") == 0) {
      o.usb = argv[++i];
    } else if (hasValue && std::strcmp(a, "--pack") == 0) {
      o.pack = argv[++i];
    } else if (hasValue && std::strcmp(a, "--script") == 0) {
      o.script = argv[++i];
    } else if (hasValue && std::strcmp(a, "--run-for") == 0) {
      if (!ParseSeconds(argv[++i], o.runForSeconds)) {
        std::fprintf(stderr, "dryer-panel: bad --run-for value '%s'\n%s", argv[i], kUsage);
        return kExitUsage;
      }
    } else if (hasValue && std::strcmp(a, "--scenario") == 0) {
      o.scenario = argv[++i];
      if (SimFindScenario(o.scenario) == nullptr) {
        std::fprintf(stderr, "dryer-panel: no scenario '%s'\n%s", o.scenario, kUsage);
        return kExitUsage;
      }
    } else if (hasValue && std::strcmp(a, "--speed") == 0) {
      if (!ParseSeconds(argv[++i], o.simSpeed) || o.simSpeed < 0.1 || o.simSpeed > 1000) {
        std::fprintf(stderr, "dryer-panel: bad --speed value '%s' (0.1..1000)\n%s", argv[i], kUsage);
        return kExitUsage;
      }
    } else if (hasValue && std::strcmp(a, "--scale") == 0) {
      if (!ParseScale(argv[++i], o.scale)) {
        std::fprintf(stderr, "dryer-panel: bad --scale value '%s' (1..4)\n%s", argv[i], kUsage);
        return kExitUsage;
      }
    } else {
      std::fprintf(stderr, "dryer-panel: unknown or incomplete option '%s'\n%s", a, kUsage);
      return kExitUsage;
    }
  }
  if (o.usb == nullptr && shell::FindShippedData().installed) o.usb = shell::kUsbAuto;
  char root[1024];
  if (o.root == nullptr) {
    if (!DefaultRoot(root, sizeof root)) {
      std::fprintf(stderr, "dryer-panel: no home folder; give --root DIR\n");
      return kExitUsage;
    }
    o.root = root;
  }
  if (!shell::PrepareRoot(o.root, o.pack))
    std::fprintf(stderr, "dryer-panel: no English language pack in %s; texts stay empty\n", o.root);

  plat::OnStopRequest(OnSignal);
  return shell::RunPanel(o);
}
