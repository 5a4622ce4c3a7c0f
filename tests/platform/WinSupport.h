#pragma once
// Shared by the window-system tests: a headless display on the virtual clock, and a small
// recording window class.
#include <gtest/gtest.h>

#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/Window.h"

namespace wintest {

using namespace plat;

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseVirtualClock(LocalTime{});
    ASSERT_EQ(OpenDisplay(DisplayOptions{.headless = true}), DisplayKind::Headless);
  }
  void TearDown() override {
    CloseDisplay();
    UseRealClock();
  }
};

// What a "REC" window saw; one record per test, reset by the fixture user.
struct Recorder {
  int paints = 0;
  Rect lastDirty;
  bool lastErase = false;
  int creates = 0;
  int destroys = 0;
  int commands = 0;
  int lastCommandId = 0;
  Notify lastNotify = Notify::Clicked;
  int timers = 0;
  uint64_t timerTimes[64] = {};
  uint32_t lastTimerId = 0;
  int user = 0;
  int drawItems = 0;
  uint32_t lastItemState = 0;
  int scrolls = 0;
  ScrollCode lastScroll = ScrollCode::EndScroll;
  int lastScrollPos = 0;
  int touches = 0;
  Point lastTouch;
};

inline Recorder g_rec;

inline LResult RecordingProc(Hwnd h, Msg msg, WParam w, LParam l) {
  switch (msg) {
    case Msg::Create:
      ++g_rec.creates;
      return 0;
    case Msg::Destroy:
      ++g_rec.destroys;
      return 0;
    case Msg::Paint:
      ++g_rec.paints;
      g_rec.lastDirty = PaintFrom(l).dirty;
      g_rec.lastErase = PaintFrom(l).erase;
      return 0;
    case Msg::Command:
      ++g_rec.commands;
      g_rec.lastCommandId = CommandId(w);
      g_rec.lastNotify = CommandNotify(w);
      return 0;
    case Msg::Timer:
      if (g_rec.timers < 64) g_rec.timerTimes[g_rec.timers] = NowMs();
      ++g_rec.timers;
      g_rec.lastTimerId = static_cast<uint32_t>(w);
      return 0;
    case Msg::DrawItem: {
      DrawItemInfo& item = DrawItemFrom(l);
      ++g_rec.drawItems;
      g_rec.lastItemState = item.state;
      item.canvas->FillRect(item.rect, (item.state & ItemState::Pressed) ? Rgb(255, 0, 0)
                                                                         : Rgb(0, 255, 0));
      return 1;
    }
    case Msg::VScroll:
    case Msg::HScroll:
      ++g_rec.scrolls;
      g_rec.lastScroll = ScrollCodeFrom(w);
      g_rec.lastScrollPos = ScrollPositionFrom(w);
      return 0;
    case Msg::TouchDown:
      ++g_rec.touches;
      g_rec.lastTouch = PointFrom(l);
      return 0;
    default:
      if (msg >= Msg::User) {
        ++g_rec.user;
        return 0;
      }
      return DefWindowProc(h, msg, w, l);
  }
}

inline void RegisterRecorder(const char* name = "REC", Color background = Rgb(0, 0, 0)) {
  g_rec = Recorder{};
  RegisterClass(WindowClass{.name = name, .proc = RecordingProc, .background = background});
}

inline Hwnd MakeMain(const char* cls = "REC") {
  return CreateWindow(WindowDesc{.className = cls, .title = "main",
                                 .rect = Rect{0, 0, kScreenWidth, kScreenHeight},
                                 .flags = WindowFlag::Visible | WindowFlag::Topmost});
}

inline Color ScreenAt(int x, int y) {
  PixelView v = ScreenPixels();
  return ColorOf(v.At(x, y));
}

inline Point CenterOf(Hwnd h) {
  Rect r = GetWindowRect(h);
  return Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace wintest
