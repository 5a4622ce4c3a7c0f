#pragma once
// TIMER_SELECT_WINDOW without the windows: the timer presets with their limits and registers,
// the four panels of the screen, and every text a panel draws, built into fixed buffers so a
// paint never allocates.
#include <cstddef>
#include <cstdint>

#include "dialogs/KeypadLogic.h"
#include "i18n/Language.h"
#include "link/RegisterMap.h"
#include "platform/Canvas.h"

namespace lnk {
struct DryerStatus;
}

// String ids of the timer panels.
enum TimerText : uint16_t {
  kTimerTextLoadDelayTitle = 45,
  kTimerTextOutOfGrainTitle = 46,
  kTimerTextFanDelayTitle = 47,
  kTimerTextUnloadDelayTitle = 48,
  kTimerTextPreset = 49,
  kTimerTextMinutes = 50,
  kTimerTextSeconds = 51,
  kTimerTextLoadHelp1 = 52,
  kTimerTextLoadHelp2 = 53,
  kTimerTextLoadHelp3 = 54,
  kTimerTextLoadNote = 56,
  kTimerTextPreviousLoad = 57,
  kTimerTextOutOfGrainHelp1 = 60,
  kTimerTextOutOfGrainHelp2 = 61,
  kTimerTextOutOfGrainNote = 62,
  kTimerTextFanDelayHelp = 65,
  kTimerTextFanTimerHelp = 66,
  kTimerTextUnloadHelp1 = 67,
  kTimerTextUnloadHelp2 = 68,
  kTimerTextUnloadNote = 69,
};

// The presets whose keypads the timer screen opens, and the staged batch time, which the
// staged batch setup opens with the same rule.
enum class TimerPreset : uint8_t {
  LoadStartupDelay,
  OutOfGrain,
  FanDelay,
  FanSetup,
  UnloadCleanoutDelay,
  StagedBatch,
};
inline constexpr int kTimerPresetCount = 6;

struct TimerPresetInfo {
  TimerPreset preset;
  int presetByte;  // status byte of the minutes; the seconds follow
  lnk::CommandRow row;  // the request's two registers, minutes then seconds, and the pending flag
  TimerLimits limits;
};
const TimerPresetInfo& TimerPresetFor(TimerPreset preset);

// Fills the shared request for a preset: digit states cleared, the table's limits, and the
// current value loaded from the status record into the request registers (kept as they are
// while the row is still pending, so a value not yet echoed is what the keypad shows) and from
// there into the working minutes and seconds.
void OpenTimerPreset(TimerEntryRequest& r, TimerPreset preset);

// ---- The four panels ----

enum class TimerPanel : uint8_t { LoadDelay, OutOfGrain, Fan, UnloadDelay };
inline constexpr int kTimerPanelCount = 4;
inline constexpr int kMaxPanelButtons = 2;

struct TimerPanelButton {
  int command;
  TimerPreset preset;
  int bitmap;  // localised picture of the SETUP button
};

struct TimerPanelInfo {
  TimerPanel panel;
  const char* className;
  const char* caption;  // until the first paint puts the title string in its place
  uint16_t titleId;
  plat::Rect place;     // in the timer screen's client area
  int buttonCount;
  TimerPanelButton buttons[kMaxPanelButtons];
};
const TimerPanelInfo& TimerPanelFor(TimerPanel panel);
// The panel and preset behind a SETUP button's command; false for any other command.
bool TimerPresetForCommand(int command, TimerPreset& out);

inline constexpr uint16_t kTimerScreenTitleId = 44;
inline constexpr int kTimerExitBitmap = 41;

// Colours of the panel texts.
namespace timer_colour {
inline constexpr plat::Color kPresetLabel = plat::Rgb(0, 0, 255);
inline constexpr plat::Color kPresetValue = plat::Rgb(255, 0, 0);
inline constexpr plat::Color kPresetBox = plat::Rgb(211, 211, 211);
inline constexpr plat::Color kHelp = plat::Rgb(0, 0, 0);
inline constexpr plat::Color kLoadSwitchOn = plat::Rgb(0, 150, 0);
inline constexpr plat::Color kDefault = plat::Rgb(128, 0, 128);
inline constexpr plat::Color kNote = plat::Rgb(0, 0, 128);
}  // namespace timer_colour

// The fixed English lines of the out-of-grain panel while the load switch is in ON.
inline constexpr const char* kLoadSwitchOnLines[2] = {"Previous Load Timer is only",
                                                      "functional when load is in Auto"};
inline constexpr size_t kUnloadHelpWidth = 40;
inline constexpr int kUnloadHelpMaxLines = 3;

// Room for a label, two numbers and a second label.
inline constexpr size_t kPanelLineUnits = 2 * i18n::kStringDestUnits + 24;
inline constexpr int kMaxPanelLines = 8;

struct PanelLine {
  char16_t text[kPanelLineUnits];
  size_t length;
  plat::Color colour;
  int button;  // the SETUP button the line belongs under
};

// The preset box beside a SETUP button: string 49, then "%03d %s" and "%02d %s".
struct PresetBox {
  char16_t label[i18n::kStringDestUnits];
  char16_t minutes[kPanelLineUnits];
  char16_t seconds[kPanelLineUnits];
};

struct TimerPanelText {
  char16_t title[i18n::kStringDestUnits];
  int boxCount;
  PresetBox boxes[kMaxPanelButtons];
  int lineCount;
  PanelLine lines[kMaxPanelLines];
};

// Every text of one panel for the status record and the derived previous load time (seconds).
void BuildTimerPanelText(TimerPanel panel, const lnk::DryerStatus& s, uint32_t previousLoadSeconds,
                         TimerPanelText& out);

// Whether the load switch is in ON (bit 3 of byte 179).
bool LoadSwitchOn(const lnk::DryerStatus& s);

// "%s: %03d     %s: %02d" of the previous load time split into minutes and seconds.
size_t FormatPreviousLoadLine(uint32_t seconds, const char16_t* minutesUnit,
                              const char16_t* secondsUnit, char16_t* out, size_t size);
