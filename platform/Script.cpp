#include "platform/Script.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "platform/WindowInternal.h"

namespace plat {
namespace {

constexpr size_t kMaxErrorText = 160;
constexpr size_t kMaxWords = 4;
constexpr size_t kMaxWordLength = 512;

struct ScriptState {
  bool running = false;
  char text[kMaxScriptBytes + 1] = {};
  size_t length = 0;
  size_t pos = 0;
  int line = 0;
  uint64_t due = UINT64_MAX;
  int errorLine = 0;
  char error[kMaxErrorText] = {};
};

ScriptState g_script;

struct Words {
  size_t count = 0;
  char word[kMaxWords][kMaxWordLength] = {};
};

// Splits at spaces and tabs; false when there are more words than a command can have or a
// word is too long.
bool SplitWords(const char* begin, const char* end, Words& out) {
  out.count = 0;
  const char* p = begin;
  while (p < end) {
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r')) ++p;
    if (p == end) break;
    const char* start = p;
    while (p < end && *p != ' ' && *p != '\t' && *p != '\r') ++p;
    size_t n = static_cast<size_t>(p - start);
    if (out.count == kMaxWords || n >= kMaxWordLength) return false;
    std::memcpy(out.word[out.count], start, n);
    out.word[out.count][n] = 0;
    ++out.count;
  }
  return true;
}

bool ParseInt(const char* s, long min, long max, long& out) {
  if (*s == 0) return false;
  char* end = nullptr;
  long v = std::strtol(s, &end, 10);
  if (*end != 0 || v < min || v > max) return false;
  out = v;
  return true;
}

void Fail(const char* what, const char* detail) {
  g_script.errorLine = g_script.line;
  std::snprintf(g_script.error, sizeof g_script.error, "%s%s%s", what, detail[0] ? ": " : "",
                detail);
  std::fprintf(stderr, "script line %d: %s\n", g_script.line, g_script.error);
  g_script.running = false;
  g_script.due = UINT64_MAX;
}

// The control with that id among the window's descendants; a visible one wins over a
// hidden one with the same id.
Hwnd FindControl(Hwnd h, int id, bool visibleOnly) {
  for (Hwnd c = detail::FirstChild(h); c != kNoWindow; c = detail::NextSibling(c)) {
    if (GetDlgCtrlID(c) == id && (!visibleOnly || IsWindowVisible(c))) return c;
    Hwnd inner = FindControl(c, id, visibleOnly);
    if (inner != kNoWindow) return inner;
  }
  return kNoWindow;
}

Hwnd FindControl(Hwnd h, int id) {
  Hwnd shown = FindControl(h, id, true);
  return shown != kNoWindow ? shown : FindControl(h, id, false);
}

bool EnabledWithAncestors(Hwnd h) {
  for (; h != kNoWindow; h = GetParent(h)) {
    if (!IsWindowEnabled(h)) return false;
  }
  return true;
}

// The part of the window on the screen, inside every ancestor's client area.
Rect OnScreenPart(Hwnd h) {
  Rect r = Intersect(GetWindowRect(h), Rect{0, 0, kScreenWidth, kScreenHeight});
  for (Hwnd p = GetParent(h); p != kNoWindow; p = GetParent(p)) {
    Point o = ClientToScreen(p, Point{0, 0});
    r = Intersect(r, GetClientRect(p).Offset(o.x, o.y));
  }
  return r;
}

// A point of the control a finger can touch: on screen and not under another window. Tries
// the centre of the visible part first, then a grid over it.
bool TouchablePoint(Hwnd target, Point& out) {
  Rect r = OnScreenPart(target);
  if (r.Empty()) return false;
  Point centre{r.left + r.Width() / 2, r.top + r.Height() / 2};
  if (WindowFromPoint(centre.x, centre.y) == target) {
    out = centre;
    return true;
  }
  constexpr int kSteps = 8;
  for (int i = 0; i < kSteps; ++i) {
    for (int j = 0; j < kSteps; ++j) {
      Point p{r.left + (2 * j + 1) * r.Width() / (2 * kSteps),
              r.top + (2 * i + 1) * r.Height() / (2 * kSteps)};
      if (WindowFromPoint(p.x, p.y) == target) {
        out = p;
        return true;
      }
    }
  }
  return false;
}

// Reaches only what a finger could: a control hidden, disabled, off the screen or covered is
// a bad line, so a test cannot pass on a control the operator cannot touch.
void Press(long id) {
  Hwnd top = ActiveTopLevel();
  if (top == kNoWindow) {
    Fail("no window to press in", "");
    return;
  }
  Hwnd target = FindControl(top, static_cast<int>(id));
  char idText[24];
  std::snprintf(idText, sizeof idText, "%ld", id);
  if (target == kNoWindow) {
    Fail("no control with this id in the topmost window", idText);
    return;
  }
  if (!IsWindowVisible(target) || !EnabledWithAncestors(target)) {
    Fail("control is hidden or disabled", idText);
    return;
  }
  if (OnScreenPart(target).Empty()) {
    Fail("control is outside the screen", idText);
    return;
  }
  Point at;
  if (!TouchablePoint(target, at)) {
    Fail("control is covered by another window", idText);
    return;
  }
  ClickWindow(target);
}

// Holds the UI thread in real time, as a handler that hangs would: no message, timer or paint
// runs meanwhile, while other threads go on.
void StallThread(long ms) {
  timespec left{.tv_sec = ms / 1000, .tv_nsec = (ms % 1000) * 1000000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

// A touch on a disabled control of the window that takes input is a bad line. A touch beside
// a modal dialog is delivered as a finger's would be, and the window system ignores it.
void Touch(int x, int y) {
  Hwnd top = ActiveTopLevel();
  Hwnd under = top != kNoWindow && GetWindowRect(top).Contains(x, y)
                   ? detail::VisibleWindowAt(top, x, y)
                   : kNoWindow;
  if (under != kNoWindow && !EnabledWithAncestors(under)) {
    char idText[24];
    std::snprintf(idText, sizeof idText, "%d", GetDlgCtrlID(under));
    Fail("control under the touch is disabled", idText);
    return;
  }
  PostTouch(TouchPhase::Down, x, y);
  PostTouch(TouchPhase::Up, x, y);
}

// Runs one command; returns false when the line was bad (already reported).
void RunLine(const char* begin, const char* end) {
  Words w;
  if (!SplitWords(begin, end, w)) {
    Fail("line too long or too many words", "");
    return;
  }
  if (w.count == 0 || w.word[0][0] == '#') return;
  const char* cmd = w.word[0];
  long a = 0, b = 0;
  if (std::strcmp(cmd, "wait") == 0) {
    if (w.count != 2 || !ParseInt(w.word[1], 0, 86400000L, a)) return Fail("usage: wait MS", "");
    g_script.due = NowMs() + static_cast<uint64_t>(a);
  } else if (std::strcmp(cmd, "touch") == 0) {
    if (w.count != 3 || !ParseInt(w.word[1], 0, kScreenWidth - 1, a) ||
        !ParseInt(w.word[2], 0, kScreenHeight - 1, b)) {
      return Fail("usage: touch X Y (inside 640 x 480)", "");
    }
    Touch(static_cast<int>(a), static_cast<int>(b));
  } else if (std::strcmp(cmd, "press") == 0) {
    if (w.count != 2 || !ParseInt(w.word[1], -32768, 65535, a)) {
      return Fail("usage: press CONTROL_ID", "");
    }
    Press(a);
  } else if (std::strcmp(cmd, "screenshot") == 0) {
    if (w.count != 2) return Fail("usage: screenshot FILE.png", "");
    if (!ScreenshotPng(w.word[1])) Fail("screenshot could not be written", w.word[1]);
  } else if (std::strcmp(cmd, "stall") == 0) {
    if (w.count != 2 || !ParseInt(w.word[1], 0, 600000L, a)) return Fail("usage: stall MS", "");
    StallThread(a);
  } else if (std::strcmp(cmd, "quit") == 0) {
    if (w.count != 1) return Fail("usage: quit", "");
    g_script.running = false;
    g_script.due = UINT64_MAX;
    PostQuitMessage(0);
  } else {
    Fail("unknown command", cmd);
  }
}

}  // namespace

const char* ScriptResultText(ScriptResult r) {
  switch (r) {
    case ScriptResult::Ok: return "ok";
    case ScriptResult::OpenFailed: return "the script file could not be read";
    case ScriptResult::TooLong: return "the script is longer than 64 KB";
  }
  return "?";
}

ScriptResult StartScriptText(const char* text) {
  size_t n = std::strlen(text);
  if (n > kMaxScriptBytes) return ScriptResult::TooLong;
  std::memcpy(g_script.text, text, n);
  g_script.text[n] = 0;
  g_script.length = n;
  g_script.pos = 0;
  g_script.line = 0;
  g_script.errorLine = 0;
  g_script.error[0] = 0;
  g_script.running = true;
  g_script.due = NowMs();
  return ScriptResult::Ok;
}

ScriptResult StartScriptFile(const char* hostPath) {
  std::FILE* f = std::fopen(hostPath, "rb");
  if (f == nullptr) return ScriptResult::OpenFailed;
  static char buffer[kMaxScriptBytes + 2];
  size_t n = std::fread(buffer, 1, kMaxScriptBytes + 1, f);
  bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return ScriptResult::OpenFailed;
  if (n > kMaxScriptBytes) return ScriptResult::TooLong;
  buffer[n] = 0;
  return StartScriptText(buffer);
}

void StopScript() {
  g_script.running = false;
  g_script.due = UINT64_MAX;
}

bool ScriptRunning() { return g_script.running; }
int ScriptErrorLine() { return g_script.errorLine; }
const char* ScriptErrorText() { return g_script.error; }

uint64_t ScriptNextDueMs() { return g_script.running ? g_script.due : UINT64_MAX; }

// One command per step, and the next step is due at once (or after the wait), so that what
// the command queued is handled before the next command runs. The line is consumed before it
// runs: a press that opens a modal dialog runs the following lines from the dialog's loop.
void RunScriptStep() {
  while (g_script.running && NowMs() >= g_script.due) {
    if (g_script.pos >= g_script.length) {
      StopScript();
      return;
    }
    const char* begin = g_script.text + g_script.pos;
    const char* nl = static_cast<const char*>(
        std::memchr(begin, '\n', g_script.length - g_script.pos));
    const char* end = nl != nullptr ? nl : g_script.text + g_script.length;
    g_script.pos = static_cast<size_t>(end - g_script.text) + (nl != nullptr ? 1 : 0);
    ++g_script.line;
    Words probe;
    bool blank = SplitWords(begin, end, probe) && (probe.count == 0 || probe.word[0][0] == '#');
    if (blank) continue;
    bool last = g_script.pos >= g_script.length;
    if (last) g_script.running = false;
    RunLine(begin, end);
    return;
  }
}

}  // namespace plat
