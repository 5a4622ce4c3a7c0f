// Checks that stop a test build where the code would otherwise go on quietly: a control
// setter given a window that is not a control, and a paint that changes window state.
#include <gtest/gtest.h>

#include "platform/Files.h"
#include "platform/Verify.h"
#include "WinSupport.h"

namespace wintest {
namespace {

class WinVerifyTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    RegisterRecorder();
    main_ = MakeMain();
    ASSERT_NE(main_, kNoWindow);
  }
  void TearDown() override {
    SetPaintChecks(false);
    HeadlessTest::TearDown();
  }
  Hwnd main_ = kNoWindow;
};

TEST_F(WinVerifyTest, ControlSettersStopWhenTheWindowIsNotAControl) {
  ASSERT_TRUE(VerifyIsFatal()) << "tests are built with fatal checks";
  struct Case {
    const char* name;
    void (*set)(Hwnd);
  };
  static constexpr Case kCases[] = {
      {"SetButtonCheck", [](Hwnd h) { SetButtonCheck(h, true); }},
      {"SetControlColors", [](Hwnd h) { SetControlColors(h, Rgb(1, 2, 3), Rgb(4, 5, 6)); }},
      {"SetControlFont", [](Hwnd h) { SetControlFont(h, FontHandle{}); }},
      {"SetScrollPos", [](Hwnd h) { SetScrollPos(h, 3); }},
      {"SetScrollInfo", [](Hwnd h) { SetScrollInfo(h, ScrollInfo{0, 10, 2, 1}); }},
      {"SetProgressRange", [](Hwnd h) { SetProgressRange(h, 0, 50); }},
      {"SetProgressPos", [](Hwnd h) { SetProgressPos(h, 5); }},
  };
  Hwnd check = CreateControl(main_, ControlKind::CheckBox, 7, Rect{10, 10, 200, 40}, "on",
                             ControlStyle::Left);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_DEATH(c.set(main_), "VERIFY failed") << "a plain window";
    EXPECT_DEATH(c.set(kNoWindow), "VERIFY failed") << "no window at all";
  }
  // A real control takes them all.
  for (const Case& c : kCases) c.set(check);
  EXPECT_TRUE(GetButtonCheck(check));
}

// What a paint of the "PAINTER" class does besides painting; set by each case.
void (*g_duringPaint)(Hwnd self) = nullptr;
Hwnd g_other = kNoWindow;

LResult PainterProc(Hwnd h, Msg msg, WParam w, LParam l) {
  if (msg == Msg::Paint && g_duringPaint != nullptr) g_duringPaint(h);
  return DefWindowProc(h, msg, w, l);
}

TEST_F(WinVerifyTest, APaintThatChangesWindowStateOrOpensAFileStops) {
  ASSERT_TRUE(RegisterClass(WindowClass{.name = "PAINTER", .proc = PainterProc}));
  Hwnd painter = CreateWindow(WindowDesc{.className = "PAINTER", .title = "p", .parent = main_,
                                         .rect = Rect{0, 0, 100, 100},
                                         .flags = WindowFlag::Visible});
  g_other = CreateControl(main_, ControlKind::CheckBox, 8, Rect{200, 10, 400, 40}, "x",
                          ControlStyle::Left);
  ASSERT_NE(painter, kNoWindow);
  struct Case {
    const char* name;
    void (*change)(Hwnd);
  };
  static constexpr Case kCases[] = {
      {"SetWindowText", [](Hwnd h) { SetWindowText(h, "caption"); }},
      {"ShowWindow", [](Hwnd) { ShowWindow(g_other, false); }},
      {"EnableWindow", [](Hwnd) { EnableWindow(g_other, false); }},
      {"SetButtonCheck", [](Hwnd) { SetButtonCheck(g_other, true); }},
      {"OpenFile", [](Hwnd) {
         FileHandle f;
         OpenFile("\\Log.txt", OpenMode::Read, f);
       }},
      {"FileSizeByPath", [](Hwnd) {
         uint64_t size = 0;
         FileSizeByPath("\\Log.txt", size);
       }},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    g_duringPaint = c.change;
    SetPaintChecks(true);
    InvalidateRect(painter, nullptr, true);
    EXPECT_DEATH(UpdateWindow(painter), std::string("VERIFY failed: ") + c.name + " while a PAINTER");
    // The same call outside painting is fine, and with the checks off a paint goes on.
    g_duringPaint = nullptr;
    PumpUntilIdle();
    c.change(painter);
    g_duringPaint = c.change;
    SetPaintChecks(false);
    InvalidateRect(painter, nullptr, true);
    UpdateWindow(painter);
    g_duringPaint = nullptr;
    ShowWindow(g_other, true);
    EnableWindow(g_other, true);
  }
}

}  // namespace
}  // namespace wintest
