#pragma once
// Shared by the control families' sources (Controls.cpp and one file per family); not for
// the rest of the program. Every family keeps its own state per window slot.
#include <cstdint>

#include "platform/Controls.h"

namespace plat::detail {

inline constexpr int kRepeatTimerId = 1;
inline constexpr uint32_t kRepeatDelayMs = 400;
inline constexpr uint32_t kRepeatPeriodMs = 100;
inline constexpr Color kWhite = Rgb(255, 255, 255);

// What every control has, whatever its kind.
struct ControlData {
  bool used = false;
  ControlKind kind = ControlKind::Static;
  uint32_t style = 0;
  bool customColors = false;
  Color text = kTextColor;
  Color back = kFaceColor;
  FontHandle font;
};

// The control behind a window, nullptr when the window is not one.
ControlData* ControlOf(Hwnd h);
FontHandle FontOf(const ControlData& d);
void NotifyParent(Hwnd h, Notify n);
TextFlags AlignFlags(uint32_t style);

// What a control's paint starts from, worked out once for every kind.
struct ControlLook {
  Rect rect;  // the client area
  bool enabled = true;
  const char16_t* text = u"";
  Color back;  // behind the face: the control's own colour or its parent's background
  Color fore;  // text
};

// --- buttons, check boxes, radios (ButtonControls.cpp) ---
bool IsButtonKind(ControlKind k);
void InitButton(int slot, uint32_t style);
void ForgetButton(int slot);
void PaintButton(Hwnd h, const ControlData& d, const ControlLook& look, Canvas& c);
void ButtonTouch(Hwnd h, const ControlData& d, Msg msg, Point p);

// --- statics, edits, group boxes (TextControls.cpp) ---
void PaintTextControl(const ControlData& d, const ControlLook& look, Canvas& c);

// --- scroll bars (ScrollBarControl.cpp), whose geometry list controls share ---
enum class Part : uint8_t { None, ArrowUp, ArrowDown, PageUp, PageDown, Thumb, Rows };
struct BarLayout {
  Rect arrowUp;
  Rect arrowDown;
  Rect track;
  Rect thumb;
  bool vertical = true;
};
BarLayout LayoutBar(const Rect& r, bool vertical, const ScrollInfo& info);
void PaintBar(Canvas& c, const Rect& r, bool vertical, const ScrollInfo& info, Part pressed,
              bool enabled);
Part BarPartAt(const BarLayout& b, Point p);
int ClampPos(const ScrollInfo& info, int pos);
int ThumbPosAt(const BarLayout& b, const ScrollInfo& info, int delta, int startPos);

bool IsScrollBarKind(ControlKind k);
void ForgetScrollBar(int slot);
void PaintScrollBar(Hwnd h, const ControlData& d, const ControlLook& look, Canvas& c);
void ScrollBarTouch(Hwnd h, const ControlData& d, Msg msg, Point p);
void ScrollBarRepeat(Hwnd h, const ControlData& d);

// --- list boxes and report list views (ListControls.cpp) ---
bool IsListKind(ControlKind k);
// Whether a row store is left for a new list.
bool ListStoreFree();
void InitList(int slot, ControlKind kind, uint32_t style);
void ForgetList(int slot);
void ResetLists();
void PaintListControl(Hwnd h, const ControlData& d, const ControlLook& look, Canvas& c);
void ListTouch(Hwnd h, const ControlData& d, Msg msg, Point p);
void ListRepeat(Hwnd h, const ControlData& d);

// --- progress bars (ProgressBarControl.cpp) ---
void ForgetProgressBar(int slot);
void PaintProgressBar(Hwnd h, const ControlLook& look, Canvas& c);

}  // namespace plat::detail
