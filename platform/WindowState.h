#pragma once
// The window system's tables, shared by its own sources only: the window tree and z-order
// (Window.cpp), the message queue, timers and touch routing (MessageQueue.cpp), painting and
// screen composition (Screen.cpp) and text capture for tests (TextCapture.cpp).
#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/WindowInternal.h"

namespace plat::detail {

inline constexpr int kMaxTopLevels = 12;
inline constexpr int kNone = -1;

struct ClassEntry {
  bool used = false;
  char name[kMaxClassName] = {};
  WindowProc proc = nullptr;
  Color background;
  bool erase = true;
};

// Children form a list in z-order, bottom first; top-level windows form the same kind of list
// from g_topFirst.
struct WindowEntry {
  bool used = false;
  bool destroying = false;
  bool popup = false;  // a dialog: above every top-level window there was when it opened
  uint16_t generation = 0;
  uint32_t serial = 0;  // creation order
  int16_t classIndex = kNone;
  int16_t parent = kNone;
  int16_t owner = kNone;
  int16_t firstChild = kNone;
  int16_t lastChild = kNone;
  int16_t prev = kNone;
  int16_t next = kNone;
  int16_t backbuffer = kNone;
  Rect rect;
  WindowFlags flags = 0;
  int id = 0;
  void* data = nullptr;
  char16_t text[kMaxWindowText] = {};
};

// What other threads may touch, under g_lock.
struct DirtyEntry {
  uint16_t generation = 0;
  bool dirty = false;
  bool whole = false;
  bool erase = false;
  Rect rect;  // client coordinates
};

struct TimerEntry {
  bool used = false;
  Hwnd window = kNoWindow;
  uint32_t id = 0;
  uint32_t period = 0;
  uint64_t due = 0;
};

// --- window tree (Window.cpp) ---
extern ClassEntry g_classes[kMaxWindowClasses];
extern WindowEntry g_windows[kMaxWindows];
extern int g_topFirst;
extern int g_topLast;
extern Hwnd g_capture;
extern Hwnd g_mainWindow;

Hwnd MakeHandle(int slot);
int Slot(Hwnd h);  // kNone when not a window
Rect ClientInWindow(const WindowEntry& w);
Rect ScreenRectOf(int slot);
Rect ClientScreenRectOf(int slot);
// The part of the window on screen, inside every ancestor's client area; empty when it or
// an ancestor is hidden.
Rect VisibleScreenRect(int slot);
int TopLevelOf(int slot);
void Unlink(int slot);
// Topmost windows stay above the others; a top-level window with an owner (a dialog) goes
// above everything there is.
void LinkOnTop(int slot);
void ResetWindowTree();

// --- message queue and timers (MessageQueue.cpp) ---
extern std::mutex g_lock;
extern TimerEntry g_timers[kMaxTimers];
extern int g_exitCode;

// Wakes the loop from any thread.
void Wake();
void ResetMessageQueue();

// --- painting and composition (Screen.cpp) ---
// Under g_lock.
extern DirtyEntry g_dirty[kMaxWindows];
extern bool g_anyDirty;
extern Canvas* g_backbuffers[kMaxTopLevels];
extern bool g_backbufferUsed[kMaxTopLevels];
extern Rect g_damage[kMaxWindows];
// Read by other threads when they wake the loop.
extern std::atomic<const BackendOps*> g_backend;
extern Hwnd g_paintingWindow;  // the window whose Paint runs, kNoWindow outside painting

// Records that pixels under `screenRect` must be painted again.
void Damage(int slot, const Rect& screenRect);

}  // namespace plat::detail
