#pragma once
// The one line of DRYER_RIGHT_STATUS_BAR_WINDOW: nine rules in a fixed order of priority; the
// first that applies decides the text, the colour and whether it blinks.
#include <cstddef>
#include <cstdint>

#include "platform/Canvas.h"

namespace lnk {
struct DryerStatus;
}

// String ids of the status bar lines.
enum StatusBarText : uint16_t {
  kStatusBarTextAlarm = 311,
  kStatusBarTextOutOfGrain = 307,
  kStatusBarTextHoldTime = 310,
  kStatusBarTextLearning = 309,
  kStatusBarTextDeviation = 308,
  kStatusBarTextRunning = 306,
  kStatusBarTextStoppedBlue = 304,
  kStatusBarTextStoppedRed = 302,
  kStatusBarTextIdle = 303,
  kStatusBarTextIdleOption = 305,
};

enum class StatusBarRule : uint8_t {
  Alarm = 1,             // byte 118 bit 5
  QuickStart,            // the quick-start option and the auto-start state
  HoldTime,              // the last three minutes of the hour counted in bytes 290/291
  LearningPeriod,        // moisture-control learning period
  TemperatureDeviation,  // grain temperature below its setpoint
  OutOfGrain,            // attention state: the out-of-grain timer
  Running,
  Stopped,
  Idle,
};

// How the label and the numbers are joined.
enum class StatusBarForm : uint8_t {
  Label,           // "%s"
  LabelLabel,      // "%s %s"
  LabelTime,       // "%s %d:%02d"
  LabelWideTime,   // "%s  %d:%02d"
  LabelHoldTime,   // "%s [%02d:%02d]"
  LabelMinutes,    // "%s %d Minutes"
  LabelDeviation,  // "%s [- %d %cF]" or "%s [- %d %cC]"
  Blank,           // the dark phase of a blinking line: sixteen spaces
};

struct StatusBarLine {
  StatusBarRule rule;
  StatusBarForm form;
  uint16_t textId;        // GetString id of the label
  uint16_t secondTextId;  // LabelLabel only
  plat::Color colour;
  bool left;              // left-aligned instead of centred
  bool smallFont;         // height 25, weight 500 instead of 28, 700
  bool blinking;
  int first;              // minutes, or the single number of the form
  int second;             // seconds
  bool celsius;           // LabelDeviation: the unit letter
};

// `blinkOn` is bit 0 of the display-state word.
StatusBarLine ChooseStatusBarLine(const lnk::DryerStatus& s, bool blinkOn);

// Joins the labels (already looked up) and the numbers of `line`. Returns units written.
size_t FormatStatusBarLine(const StatusBarLine& line, const char16_t* text,
                           const char16_t* secondText, char16_t* out, size_t size);

// The out-of-grain colour for a time `v` counted against the preset `p`, both in seconds:
// green above half, yellow above a quarter, red at or below a quarter and when there is no
// preset to count against.
plat::Color OutOfGrainColour(int v, int p);
