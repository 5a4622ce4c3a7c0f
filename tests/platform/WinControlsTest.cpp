// The standard controls: buttons and their states, scroll bars, lists, texts drawn.
#include <cstdio>
#include <string>

#include "WinSupport.h"

namespace wintest {
namespace {

class WinControlsTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    RegisterRecorder();
    main = MakeMain();
  }
  void Touch(Hwnd h, int dx, int dy, bool down) {
    Rect r = GetWindowRect(h);
    HeadlessInjectTouch(r.left + dx, r.top + dy, down);
    PumpUntilIdle();
  }
  Hwnd main = kNoWindow;
};

TEST_F(WinControlsTest, OwnerDrawnButtonIsPaintedPressedOnlyWhileTheFingerIsOnIt) {
  Hwnd b = CreateControl(main, ControlKind::OwnerDrawButton, 34817, RectXywh(20, 427, 105, 40),
                         "TIMERS", 0);
  PumpUntilIdle();
  EXPECT_GE(g_rec.drawItems, 1);
  EXPECT_EQ(g_rec.lastItemState & ItemState::Pressed, 0u);
  EXPECT_EQ(ScreenAt(70, 447), Rgb(0, 255, 0));

  Touch(b, 50, 20, true);
  EXPECT_TRUE(IsButtonHeld(b));
  EXPECT_NE(g_rec.lastItemState & ItemState::Pressed, 0u);
  EXPECT_EQ(ScreenAt(70, 447), Rgb(255, 0, 0));
  EXPECT_EQ(g_rec.commands, 0);  // nothing happens before the finger lifts

  Touch(b, 50, -30, true);  // slides off: released look, no click
  EXPECT_FALSE(IsButtonHeld(b));
  EXPECT_EQ(ScreenAt(70, 447), Rgb(0, 255, 0));
  Touch(b, 50, 20, true);  // back on
  EXPECT_TRUE(IsButtonHeld(b));
  Touch(b, 50, 20, false);
  EXPECT_FALSE(IsButtonHeld(b));
  EXPECT_EQ(g_rec.commands, 1);
  EXPECT_EQ(g_rec.lastCommandId, 34817);
  EXPECT_EQ(g_rec.lastNotify, Notify::Clicked);

  Touch(b, 50, 20, true);  // released outside: no click
  Touch(b, 50, -30, false);
  EXPECT_EQ(g_rec.commands, 1);

  EnableWindow(b, false);
  PumpUntilIdle();
  EXPECT_NE(g_rec.lastItemState & ItemState::Disabled, 0u);
  Touch(b, 50, 20, true);
  Touch(b, 50, 20, false);
  EXPECT_EQ(g_rec.commands, 1);
}

TEST_F(WinControlsTest, CheckBoxesToggleAndRadioGroupsKeepOneCheck) {
  Rect r = RectXywh(10, 10, 150, 30);
  Hwnd box = CreateControl(main, ControlKind::CheckBox, 1, r, "ON", 0);
  Hwnd indicator = CreateControl(main, ControlKind::CheckBox, 2, r.Offset(0, 40), "SORTED",
                                 ControlStyle::NoAuto);
  Hwnd r1 = CreateControl(main, ControlKind::RadioButton, 11, r.Offset(200, 0), "A",
                          ControlStyle::Group | ControlStyle::Checked);
  Hwnd r2 = CreateControl(main, ControlKind::RadioButton, 12, r.Offset(200, 40), "B", 0);
  Hwnd r3 = CreateControl(main, ControlKind::RadioButton, 13, r.Offset(200, 80), "C", 0);
  Hwnd s1 = CreateControl(main, ControlKind::RadioButton, 21, r.Offset(400, 0), "ON",
                          ControlStyle::Group | ControlStyle::Checked);
  Hwnd s2 = CreateControl(main, ControlKind::RadioButton, 22, r.Offset(400, 40), "OFF", 0);
  Hwnd push = CreateControl(main, ControlKind::CheckButton, 30, r.Offset(0, 120), "SELECT", 0);

  ClickWindow(box);
  EXPECT_TRUE(GetButtonCheck(box));
  ClickWindow(box);
  EXPECT_FALSE(GetButtonCheck(box));
  ClickWindow(indicator);  // tells the parent, leaves the check to the code
  EXPECT_FALSE(GetButtonCheck(indicator));
  EXPECT_EQ(g_rec.lastCommandId, 2);

  ClickWindow(r3);
  EXPECT_FALSE(GetButtonCheck(r1));
  EXPECT_FALSE(GetButtonCheck(r2));
  EXPECT_TRUE(GetButtonCheck(r3));
  EXPECT_TRUE(GetButtonCheck(s1));  // another group keeps its own check
  ClickWindow(s2);
  EXPECT_TRUE(GetButtonCheck(r3));
  EXPECT_FALSE(GetButtonCheck(s1));
  EXPECT_TRUE(GetButtonCheck(s2));

  ClickWindow(push);
  EXPECT_TRUE(GetButtonCheck(push));
  EXPECT_EQ(g_rec.commands, 6);
}

TEST_F(WinControlsTest, ScrollPositionIsClampedToMaxMinusPagePlusOne) {
  Hwnd bar = CreateControl(main, ControlKind::VScrollBar, 36893, RectXywh(361, 37, 30, 135), "", 0);
  // The status chart: range 0..count, page 8, position count (the newest page).
  EXPECT_EQ(SetScrollInfo(bar, ScrollInfo{.min = 0, .max = 9, .page = 8, .pos = 9}), 2);
  EXPECT_EQ(GetScrollPos(bar), 2);
  EXPECT_EQ(SetScrollPos(bar, -5), 0);
  EXPECT_EQ(SetScrollPos(bar, 1), 1);
  // Fewer rows than a page: the only position is 0, never negative.
  EXPECT_EQ(SetScrollInfo(bar, ScrollInfo{.min = 0, .max = 5, .page = 8, .pos = 5}), 0);
  EXPECT_EQ(GetScrollInfo(bar).page, 6);  // a page never exceeds the range
  // No page: up to max itself.
  EXPECT_EQ(SetScrollInfo(bar, ScrollInfo{.min = 0, .max = 23, .page = 0, .pos = 30}), 23);
  EXPECT_EQ(ScrollMaxPos(ScrollInfo{.min = 3, .max = 2, .page = 0, .pos = 0}), 3);
}

TEST_F(WinControlsTest, ScrollBarReportsCodesToItsParentAndDragsTheThumbWithinRange) {
  Hwnd bar = CreateControl(main, ControlKind::HScrollBar, 36899, RectXywh(5, 225, 380, 25), "", 0);
  SetScrollInfo(bar, ScrollInfo{.min = 0, .max = 23, .page = 2, .pos = 0});
  PumpUntilIdle();
  Touch(bar, 5, 12, true);  // left arrow
  EXPECT_EQ(g_rec.lastScroll, ScrollCode::LineUp);
  Touch(bar, 5, 12, false);
  EXPECT_EQ(g_rec.lastScroll, ScrollCode::EndScroll);
  Touch(bar, 370, 12, true);  // right arrow, held: repeats after a delay
  EXPECT_EQ(g_rec.lastScroll, ScrollCode::LineDown);
  int before = g_rec.scrolls;
  RunFor(1000);
  EXPECT_GE(g_rec.scrolls - before, 5);
  Touch(bar, 370, 12, false);
  int after = g_rec.scrolls;
  RunFor(500);
  EXPECT_EQ(g_rec.scrolls, after);  // stops when released

  Touch(bar, 200, 12, true);  // the trough right of the thumb
  EXPECT_EQ(g_rec.lastScroll, ScrollCode::PageDown);
  Touch(bar, 200, 12, false);

  // Drag the thumb (at the left, position 0) far right: tracked positions stop at 22.
  Touch(bar, 35, 12, true);
  Touch(bar, 600, 12, true);
  EXPECT_EQ(g_rec.lastScroll, ScrollCode::ThumbTrack);
  EXPECT_EQ(g_rec.lastScrollPos, 22);
  Touch(bar, 600, 12, false);
  EXPECT_EQ(g_rec.lastScroll, ScrollCode::EndScroll);
}

TEST_F(WinControlsTest, ListViewRowsInsertedAtTheTopComeFirst) {
  Hwnd view = CreateControl(main, ControlKind::ListView, 1105, RectXywh(10, 10, 600, 300), "", 0);
  ASSERT_TRUE(ListViewInsertColumn(view, 0, "Shutdown ID", 280));
  ASSERT_TRUE(ListViewInsertColumn(view, 1, "Node ID", 140));
  ASSERT_TRUE(ListViewInsertColumn(view, 2, "Date", 90));
  ASSERT_TRUE(ListViewSetColumnWidth(view, 0, 325));
  const char* oldestFirst[] = {"0F0C first", "0102 second", "0203 third"};
  for (const char* text : oldestFirst) {
    int row = ListViewInsertItem(view, 0, text);
    ASSERT_EQ(row, 0);
    ListViewSetItemText(view, row, 1, "FAN/HEATER #1");
    ListViewSetItemText(view, row, 2, "Oct 04, 2016");
  }
  ASSERT_EQ(ListItemCount(view), 3);
  EXPECT_EQ(ListItemText(view, 0)[0], u'0');
  EXPECT_EQ(ListItemText(view, 0)[3], u'3');  // "0203 third" on top
  EXPECT_EQ(ListItemText(view, 2)[3], u'C');
  EXPECT_EQ(ListItemText(view, 1, 1)[0], u'F');
  EXPECT_EQ(ListItemText(view, 7)[0], 0);

  StartTextCapture();
  PumpUntilIdle();
  const CapturedText* top = FindCapturedText("third", view);
  const CapturedText* bottom = FindCapturedText("first", view);
  ASSERT_NE(top, nullptr);
  ASSERT_NE(bottom, nullptr);
  EXPECT_LT(top->rect.top, bottom->rect.top);
  ASSERT_NE(FindCapturedText("Node ID", view), nullptr);
  EXPECT_EQ(FindCapturedText("Node ID", view)->rect.left, 10 + 2 + 325 + 4);

  // The selection follows its row when another is inserted above it.
  ASSERT_TRUE(ListSetSelection(view, 1));
  ListViewInsertItem(view, 0, "0304 fourth");
  EXPECT_EQ(ListGetSelection(view), 2);
  EXPECT_EQ(ListItemText(view, 2)[5], u's');  // still "0102 second"

  ListViewDeleteAllItems(view);
  EXPECT_EQ(ListItemCount(view), 0);
  EXPECT_EQ(ListGetSelection(view), -1);
}

TEST_F(WinControlsTest, TouchingARowSelectsItAndDraggingScrolls) {
  Hwnd box = CreateControl(main, ControlKind::ListBox, 1225, RectXywh(10, 10, 400, 200), "", 0);
  char line[32];
  for (int i = 0; i < 40; ++i) {
    std::snprintf(line, sizeof line, "line %d", i);
    ASSERT_EQ(ListBoxAddString(box, line), i);
  }
  int visible = ListVisibleRows(box);
  ASSERT_GT(visible, 2);
  ASSERT_LT(visible, 40);
  int rowHeight = 196 / visible;
  Touch(box, 50, 2 + rowHeight + rowHeight / 2, true);
  Touch(box, 50, 2 + rowHeight + rowHeight / 2, false);
  EXPECT_EQ(ListGetSelection(box), 1);
  EXPECT_EQ(g_rec.lastNotify, Notify::SelChange);
  EXPECT_EQ(g_rec.lastCommandId, 1225);

  Touch(box, 50, 150, true);
  Touch(box, 50, 150 - 3 * rowHeight - 2, true);
  Touch(box, 50, 150 - 3 * rowHeight - 2, false);
  EXPECT_EQ(ListTopRow(box), 3);
  EXPECT_EQ(ListGetSelection(box), 1);  // a drag selects nothing

  ListSetTopRow(box, 1000);
  EXPECT_EQ(ListTopRow(box), 40 - visible);
  ListSetSelection(box, 0);
  EXPECT_EQ(ListTopRow(box), 0);  // scrolled into view
  ListBoxResetContent(box);
  EXPECT_EQ(ListItemCount(box), 0);
}

TEST_F(WinControlsTest, ListStripStepsARowPerArrowAPageLessOneOnTheTrackAndRepeatsWhileHeld) {
  Hwnd box = CreateControl(main, ControlKind::ListBox, 1225, RectXywh(10, 10, 400, 200), "", 0);
  for (int i = 0; i < 40; ++i) ListBoxAddString(box, "row");
  const int visible = ListVisibleRows(box);
  ASSERT_GT(visible, 2);
  const int strip = 400 - 2 - 13, upArrow = 6, downArrow = 200 - 6, track = 120;
  auto press = [&](int y) {
    Touch(box, strip, y, true);
    Touch(box, strip, y, false);
  };
  press(downArrow);
  EXPECT_EQ(ListTopRow(box), 1);
  press(upArrow);
  EXPECT_EQ(ListTopRow(box), 0);
  press(track);
  EXPECT_EQ(ListTopRow(box), visible - 1);

  ListSetTopRow(box, 0);
  Touch(box, strip, downArrow, true);
  RunFor(1000);
  const int held = ListTopRow(box);
  EXPECT_GE(held, 1 + 5) << "the held arrow repeats after its delay";
  Touch(box, strip, downArrow, false);
  RunFor(500);
  EXPECT_EQ(ListTopRow(box), held);
}

// The owner of an owner-data list answers each cell with "row R col C", keeps the rows it was
// last told about, and notes a cell asked for outside them.
struct OwnerSeen {
  ListRowRange hint{.first = -1, .last = -1};
  int asks = 0;
  bool askedOutsideHint = false;
};
OwnerSeen g_owner;

LResult OwnerProc(Hwnd h, Msg msg, WParam w, LParam l) {
  if (msg == Msg::ListCacheHint) g_owner.hint = ListRowRangeFrom(l);
  if (msg != Msg::GetListText) return msg == Msg::ListCacheHint ? 0 : RecordingProc(h, msg, w, l);
  ListTextRequest& r = ListTextRequestFrom(l);
  ++g_owner.asks;
  g_owner.askedOutsideHint |= r.row < g_owner.hint.first || r.row > g_owner.hint.last;
  char text[32];
  std::snprintf(text, sizeof text, "row %d col %d", r.row, r.column);
  CopyText(r.text, static_cast<size_t>(r.units), text);
  return 0;
}

TEST_F(WinControlsTest, OwnerDataListReachesItsLastRowAndAsksOnlyForAnnouncedRows) {
  g_owner = OwnerSeen{};
  ASSERT_TRUE(RegisterClass(WindowClass{.name = "OWNER", .proc = OwnerProc}));
  Hwnd owner = MakeMain("OWNER");
  Hwnd view = CreateControl(owner, ControlKind::ListView, 1105, RectXywh(10, 10, 600, 300), "",
                            ControlStyle::OwnerData);
  ASSERT_TRUE(ListViewInsertColumn(view, 0, "Shutdown ID", 280));
  ASSERT_TRUE(ListViewInsertColumn(view, 1, "Node ID", 140));
  constexpr int kRows = 100000;  // far past the fixed store and a 16-bit count
  ASSERT_TRUE(ListViewSetItemCount(view, kRows));
  const int visible = ListVisibleRows(view);
  EXPECT_EQ(ListItemCount(view), kRows);
  EXPECT_EQ(g_owner.hint.controlId, 1105);
  EXPECT_EQ(g_owner.hint.last, visible - 1);
  EXPECT_EQ(ListViewInsertItem(view, 0, "x"), -1);  // its rows are its owner's

  StartTextCapture();
  PumpUntilIdle();
  EXPECT_NE(FindCapturedText("row 0 col 1", view), nullptr);
  EXPECT_EQ(g_owner.asks, 2 * visible);  // each cell of a paint once, only the columns it has

  // The thumb dragged to the bottom shows the last row at the bottom.
  Touch(view, 600 - 15, 2 + 26 + 6, true);
  Touch(view, 600 - 15, 297, true);
  Touch(view, 600 - 15, 297, false);
  EXPECT_EQ(ListTopRow(view), kRows - visible);
  EXPECT_EQ(g_owner.hint.last, kRows - 1);
  const CapturedText* last = FindCapturedText("row 99999 col 0", view);
  ASSERT_NE(last, nullptr);
  EXPECT_GT(last->rect.top, FindCapturedText("row 99998 col 0", view)->rect.top);
  EXPECT_FALSE(g_owner.askedOutsideHint);
  ASSERT_TRUE(ListSetSelection(view, kRows - 1));

  // A shorter count drops the selection past its end and brings the top back.
  ASSERT_TRUE(ListViewSetItemCount(view, 3));
  EXPECT_EQ(ListGetSelection(view), -1);
  EXPECT_EQ(ListTopRow(view), 0);
  EXPECT_EQ(g_owner.hint.last, 2);
}

TEST_F(WinControlsTest, ListStoresAreFixedAndRefuseRowsWhenFull) {
  Hwnd box = CreateControl(main, ControlKind::ListBox, 1, RectXywh(0, 0, 100, 100), "", 0);
  for (int i = 0; i < kMaxListRows; ++i) ASSERT_EQ(ListBoxAddString(box, "x"), i);
  EXPECT_EQ(ListBoxAddString(box, "one too many"), -1);
  Hwnd lists[kMaxListControls];
  int made = 1;
  for (; made < kMaxListControls; ++made) {
    lists[made] = CreateControl(main, ControlKind::ListView, 2, RectXywh(0, 0, 9, 9), "", 0);
    ASSERT_NE(lists[made], kNoWindow);
  }
  EXPECT_EQ(CreateControl(main, ControlKind::ListBox, 3, RectXywh(0, 0, 9, 9), "", 0), kNoWindow);
  DestroyWindow(box);  // its store is free again
  EXPECT_NE(CreateControl(main, ControlKind::ListBox, 3, RectXywh(0, 0, 9, 9), "", 0), kNoWindow);
}

TEST_F(WinControlsTest, TextsAreDrawnWithTheirWindowAndColour) {
  Hwnd label = CreateControl(main, ControlKind::Static, 1428, RectXywh(10, 10, 200, 30),
                             "CONNECTION TO DRYER LOST!", ControlStyle::Center);
  Hwnd edit = CreateControl(main, ControlKind::Edit, 1146, RectXywh(10, 50, 200, 30),
                            "18.5 %", 0);
  SetControlColors(label, Rgb(0, 0, 200), Rgb(40, 40, 40));
  Hwnd progress = CreateControl(main, ControlKind::ProgressBar, 1, RectXywh(10, 100, 200, 20), "", 0);
  SetProgressRange(progress, 0, 10);
  SetProgressPos(progress, 15);
  EXPECT_EQ(GetProgressPos(progress), 10);
  SetProgressPos(progress, 5);
  StartTextCapture();
  PumpUntilIdle();
  const CapturedText* lost = FindCapturedText("CONNECTION TO DRYER LOST!", label);
  ASSERT_NE(lost, nullptr);
  EXPECT_EQ(lost->color, Rgb(0, 0, 200));
  EXPECT_EQ(ScreenAt(12, 12), Rgb(40, 40, 40));
  ASSERT_NE(FindCapturedText("18.5 %", edit), nullptr);
  EXPECT_EQ(FindCapturedText("18.5 %", label), nullptr);
  // Half the bar is filled.
  EXPECT_EQ(ScreenAt(15, 110), Rgb(0, 128, 0));
  EXPECT_EQ(ScreenAt(200, 110), Rgb(255, 255, 255));

  ClearCapturedText();
  SetWindowText(edit, u"19.0 %");
  PumpUntilIdle();
  EXPECT_NE(FindCapturedText("19.0 %", edit), nullptr);
  EXPECT_EQ(FindCapturedText("CONNECTION", label), nullptr);  // only the edit repainted
}

}  // namespace
}  // namespace wintest
