#include "screens/StatusBarRules.h"

#include <cstdio>

#include "link/Temperature.h"
#include "i18n/LineText.h"
#include "i18n/StringIds.h"
#include "screens/StatusReading.h"

namespace {


constexpr int kAlarmBit = 5;                // byte 118
constexpr int kAutoStartFinishedBit = 2;    // byte 280
constexpr uint8_t kNormalStateMask = 0xA0;  // byte 171 bits 7 and 5
constexpr int kLearningEnableBit = 3;       // byte 171
constexpr int kHoldTimeBit = 7;             // byte 224
constexpr int kDeviationBit = 3;            // byte 224
constexpr int kIdleOptionBit = 0;           // byte 257
constexpr int kSetpointChoiceByte = lnk::kStatusUnitStatusD1 + 5;  // byte 148
constexpr int kSecondSetpointBit = 4;
constexpr int kShowRemainingBit = 0;        // byte 28
constexpr int kShowRunTimeBit = 0;          // byte 43
constexpr uint8_t kStopReasonMask = 0x03;   // byte 271
constexpr uint8_t kStopReasonBlue = 0x01;

constexpr int kHourSeconds = 3600;
constexpr int kHoldTimeWarnSeconds = 180;
constexpr int kLearningWarnMinutes = 6;

constexpr plat::Color kLearningWarnColour = plat::Rgb(200, 0, 0);
constexpr plat::Color kLearningColour = plat::Rgb(100, 255, 0);

StatusBarLine Line(StatusBarRule rule, uint16_t textId, plat::Color colour) {
  StatusBarLine line{};
  line.rule = rule;
  line.form = StatusBarForm::Label;
  line.textId = textId;
  line.colour = colour;
  return line;
}

bool QuickStartLine(const lnk::DryerStatus& s, bool blinkOn, StatusBarLine& line) {
  if ((s.b[lnk::kStatusOptionBits2] & lnk::kOptionBits2QuickStart) == 0) return false;
  line = Line(StatusBarRule::QuickStart, i18n::kStringAutoStart, colour::kWhite);
  if ((s.b[lnk::kStatusRunFlags] & kNormalStateMask) == kNormalStateMask) {
    if (StatusBit(s, lnk::kStatusOptionWithdraw, kAutoStartFinishedBit)) {
      line.textId = i18n::kStringAutoStartWaiting;
      line.left = true;
    } else if (StatusHas(s, lnk::kStatusOptionWithdraw, lnk::kOptionWithdrawAutoStartActive)) {
      // The remaining auto-start time is a 16-bit count of seconds, low byte first.
      int remaining = lnk::StatusU16LowFirst(s, lnk::kStatusRunTimeCounter2);
      line.form = StatusBarForm::LabelTime;
      line.first = remaining / 60;
      line.second = remaining % 60;
      line.left = true;
    }
    return true;
  }
  line.left = true;
  if (!blinkOn) {
    line.form = StatusBarForm::LabelLabel;
    line.secondTextId = kStatusBarTextOutOfGrain;
  }
  return true;
}

bool HoldTimeLine(const lnk::DryerStatus& s, StatusBarLine& line) {
  int left = kHourSeconds - lnk::StatusS16LowFirst(s, lnk::kStatusStatusBar290);
  int mode = MoistureControlMode(s);
  if (left >= kHoldTimeWarnSeconds || !StatusHas(s, lnk::kStatusSwitches, lnk::kSwitchesBit6) ||
      !StatusBit(s, lnk::kStatusDryingCriteria, kHoldTimeBit) ||
      (mode != lnk::kModeMoisture5Speed && mode != lnk::kModeTemperature5Speed))
    return false;
  if (left < 0) left = 0;
  line = Line(StatusBarRule::HoldTime, kStatusBarTextHoldTime, colour::kRed);
  line.form = StatusBarForm::LabelHoldTime;
  line.first = left / 60;
  line.second = left % 60;
  line.blinking = true;
  return true;
}

bool LearningLine(const lnk::DryerStatus& s, StatusBarLine& line) {
  int minutes = s.b[lnk::kStatusLearningCounter];
  bool active = minutes != 0 && (s.b[lnk::kStatusLoadFlags] & lnk::kLoadFlagsBit2) != 0;
  if (!active || !StatusBit(s, lnk::kStatusRunFlags, kLearningEnableBit) ||
      MoistureControlMode(s) != lnk::kModeMoistureVariable)
    return false;
  bool warn = minutes < kLearningWarnMinutes;
  line = Line(StatusBarRule::LearningPeriod, kStatusBarTextLearning,
              warn ? kLearningWarnColour : kLearningColour);
  line.form = StatusBarForm::LabelMinutes;
  line.first = minutes;
  line.smallFont = true;
  line.blinking = warn;
  return true;
}

bool DeviationLine(const lnk::DryerStatus& s, StatusBarLine& line) {
  if (!StatusBit(s, lnk::kStatusDryingCriteria, kDeviationBit) ||
      !StatusHas(s, lnk::kStatusSwitches, lnk::kSwitchesBit6))
    return false;
  int setpointByte = lnk::kStatusGrainTempSetpoint1;
  // Sources 1 and 2 always count against the first setpoint.
  if (s.b[lnk::kStatusGrainTempSelect] == 0 && StatusHas(s, lnk::kStatusOptionBits, lnk::kOptionBitsTwoHeat))
    setpointByte = StatusBit(s, kSetpointChoiceByte, kSecondSetpointBit)
                       ? lnk::kStatusGrainTempSetpoint2
                       : lnk::kStatusGrainTempSetpoint3;
  int deltaF = lnk::StatusS16LowFirst(s, setpointByte) - DryerGrainTemperature(s);
  bool celsius = IsCelsius(s);
  line = Line(StatusBarRule::TemperatureDeviation, kStatusBarTextDeviation, colour::kGreen);
  line.form = StatusBarForm::LabelDeviation;
  line.first = celsius ? lnk::FahrenheitDeltaToCelsius(deltaF) : deltaF;
  line.celsius = celsius;
  return true;
}

bool OutOfGrainLine(const lnk::DryerStatus& s, StatusBarLine& line) {
  if ((s.b[lnk::kStatusRunFlags] & kNormalStateMask) == kNormalStateMask) return false;
  int v = static_cast<int>(lnk::StatusMinSecSeconds(s, lnk::kStatusOutOfGrainCountdown));
  int p = static_cast<int>(lnk::StatusMinSecSeconds(s, lnk::kStatusOutOfGrainTime));
  line = Line(StatusBarRule::OutOfGrain, kStatusBarTextOutOfGrain, OutOfGrainColour(v, p));
  if (StatusBit(s, lnk::kStatusStatusBar28, kShowRemainingBit)) {
    int left = p > v ? p - v : 0;
    line.form = StatusBarForm::LabelWideTime;
    line.first = left / 60;
    line.second = left % 60;
  }
  return true;
}

StatusBarLine RestingLine(const lnk::DryerStatus& s) {
  if (IsDryerRunning(s)) {
    StatusBarLine line = Line(StatusBarRule::Running, kStatusBarTextRunning, colour::kBlue);
    if (StatusBit(s, lnk::kStatusStatusBar43, kShowRunTimeBit)) {
      line.form = StatusBarForm::LabelWideTime;
      line.first = s.b[lnk::kStatusStatusBar39];
      line.second = s.b[lnk::kStatusStatusBar39 + 1];
    }
    return line;
  }
  if (!StatusHas(s, lnk::kStatusSwitches, lnk::kSwitchesBit6)) {
    bool blue = (s.b[lnk::kStatusStatusBar271] & kStopReasonMask) == kStopReasonBlue;
    return blue ? Line(StatusBarRule::Stopped, kStatusBarTextStoppedBlue, colour::kBlue)
                : Line(StatusBarRule::Stopped, kStatusBarTextStoppedRed, colour::kRed);
  }
  if (!StatusBit(s, lnk::kStatusOptionBits, kIdleOptionBit) || DryerType(s) != lnk::kDryerTypeBatchOption)
    return Line(StatusBarRule::Idle, kStatusBarTextIdle, colour::kGreen);
  return Line(StatusBarRule::Idle, kStatusBarTextIdleOption, colour::kRed);
}

}  // namespace

plat::Color OutOfGrainColour(int v, int p) {
  if (p <= 0) return colour::kRed;
  double r = static_cast<double>(v) / p;
  if (r > 0.5) return colour::kGreen;
  if (r > 0.25) return colour::kYellow;
  return colour::kRed;
}

StatusBarLine ChooseStatusBarLine(const lnk::DryerStatus& s, bool blinkOn) {
  StatusBarLine line{};
  if (StatusBit(s, lnk::kStatusStatus118, kAlarmBit)) {
    line = Line(StatusBarRule::Alarm, kStatusBarTextAlarm, colour::kRed);
    line.blinking = true;
  } else if (!QuickStartLine(s, blinkOn, line) && !HoldTimeLine(s, line) &&
             !LearningLine(s, line) && !DeviationLine(s, line) && !OutOfGrainLine(s, line)) {
    line = RestingLine(s);
  }
  if (line.blinking && !blinkOn) line.form = StatusBarForm::Blank;
  return line;
}

size_t FormatStatusBarLine(const StatusBarLine& line, const char16_t* text,
                           const char16_t* secondText, char16_t* out, size_t size) {
  LineText t(out, size);
  char numbers[32] = "";
  switch (line.form) {
    case StatusBarForm::Blank:
      return t.AddLatin1("                ").Length();
    case StatusBarForm::Label:
      break;
    case StatusBarForm::LabelLabel:
      t.Add(text).AddLatin1(" ").Add(secondText);
      return t.Length();
    case StatusBarForm::LabelTime:
      std::snprintf(numbers, sizeof numbers, " %d:%02d", line.first, line.second);
      break;
    case StatusBarForm::LabelWideTime:
      std::snprintf(numbers, sizeof numbers, "  %d:%02d", line.first, line.second);
      break;
    case StatusBarForm::LabelHoldTime:
      std::snprintf(numbers, sizeof numbers, " [%02d:%02d]", line.first, line.second);
      break;
    case StatusBarForm::LabelMinutes:
      std::snprintf(numbers, sizeof numbers, " %d Minutes", line.first);
      break;
    case StatusBarForm::LabelDeviation:
      std::snprintf(numbers, sizeof numbers, " [- %d %c%c]", line.first, lnk::kDegreeSign,
                    line.celsius ? 'C' : 'F');
      break;
  }
  return t.Add(text).AddLatin1(numbers).Length();
}
