#pragma once
// An X server of the test's own (Xvfb on a display number it picks itself), and a look at the
// windows a client maps on it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

extern char** environ;

namespace e2e {

inline bool XvfbInstalled() {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    const size_t end = dirs.find(':', start);
    const std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!dir.empty() && ::access((dir + "/Xvfb").c_str(), X_OK) == 0) return true;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return false;
}

class XServer {
 public:
  ~XServer() { Stop(); }

  // Starts Xvfb with one screen of `size` ("800x480x24"); false when it did not come up.
  bool Start(const char* size) {
    int fds[2];
    if (::pipe(fds) != 0) return false;
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    std::string fd = std::to_string(fds[1]);
    std::string args[] = {"Xvfb", "-displayfd", fd, "-screen", "0", size, "-nolisten", "tcp"};
    char* argv[] = {args[0].data(), args[1].data(), args[2].data(), args[3].data(), args[4].data(),
                    args[5].data(), args[6].data(), args[7].data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int r = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (r != 0) {
      pid_ = -1;
      ::close(fds[0]);
      return false;
    }
    // Xvfb writes the display number once it accepts clients.
    char text[16] = {};
    int have = 0;
    pollfd p{fds[0], POLLIN, 0};
    while (have < 15 && ::poll(&p, 1, 20000) > 0) {
      const ssize_t n = ::read(fds[0], text + have, sizeof text - 1 - have);
      if (n <= 0) break;
      have += static_cast<int>(n);
      if (text[have - 1] == '\n') break;
    }
    ::close(fds[0]);
    if (have == 0) {
      Stop();
      return false;
    }
    display_ = ":" + std::to_string(std::atoi(text));
    return true;
  }

  // Ends the server as a crash or a restart of the display would.
  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }

  const std::string& Name() const { return display_; }
  std::string Env() const { return "DISPLAY=" + display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

struct MappedWindow {
  int x = 0, y = 0, width = 0, height = 0;
};

// Waits (bounded) for a top-level window mapped on `display`; false when none came.
inline bool WaitForMappedWindow(const std::string& display, int limitMs, MappedWindow& out) {
  Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return false;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  bool found = false;
  while (!found && std::chrono::steady_clock::now() < until) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count) != 0) {
      for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, children[i], &a) != 0 && a.map_state == IsViewable) {
          out = MappedWindow{a.x, a.y, a.width, a.height};
          found = true;
        }
      }
      if (children != nullptr) XFree(children);
    }
    if (!found) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  XCloseDisplay(d);
  return found;
}

// The colour of the screen pixel at (x, y), 0xRRGGBB.
inline unsigned long ScreenPixel(const std::string& display, int x, int y) {
  Display* d = XOpenDisplay(display.c_str());
  if (d == nullptr) return ~0ul;
  XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
  unsigned long pixel = ~0ul;
  if (image != nullptr) {
    pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
  }
  XCloseDisplay(d);
  return pixel;
}

}  // namespace e2e
