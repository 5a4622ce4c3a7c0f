#include "screens/StatusBarRules.h"

#include <cstdio>

#include "link/Temperature.h"
#include "i18n/LineText.h"
#include "i18n/StringIds.h"
#include "screens/StatusReading.h"

namespace {


constexpr uint8_t kNormalStateMask = kRunFlagsGrainPresent | kRunFlagsColumnFull;

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

bool QuickStartLine(const DryerStatus& s, bool blinkOn, StatusBarLine& line) {
  if ((s.b[kStatusOptionBits2] & kOptionBits2QuickStart) == 0) return false;
  line = Line(StatusBarRule::QuickStart, i18n::kStringAutoStart, colour::kWhite);
  if ((s.b[kStatusRunFlags] & kNormalStateMask) == kNormalStateMask) {
    if (StatusHas(s, kStatusOptionWithdraw, kAutoStartWaitingBit)) {
      line.textId = i18n::kStringAutoStartWaiting;
      line.left = true;
    } else if (StatusHas(s, kStatusOptionWithdraw, kOptionWithdrawAutoStartActive)) {
      // The remaining auto-start time is a 16-bit count of seconds, low byte first.
      int remaining = StatusU16LowFirst(s, kStatusRunTimeCounter2);
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

bool HoldTimeLine(const DryerStatus& s, StatusBarLine& line) {
  int left = kHourSeconds - StatusS16LowFirst(s, kStatusStatusBar290);
  int mode = MoistureControlMode(s);
  if (left >= kHoldTimeWarnSeconds || !StatusHas(s, kStatusSwitches, kSwitchesBit6) ||
      !StatusHas(s, kStatusDryingCriteria, kDryingCriteriaHoldTime) ||
      (mode != kModeMoisture5Speed && mode != kModeTemperature5Speed))
    return false;
  if (left < 0) left = 0;
  line = Line(StatusBarRule::HoldTime, kStatusBarTextHoldTime, colour::kRed);
  line.form = StatusBarForm::LabelHoldTime;
  line.first = left / 60;
  line.second = left % 60;
  line.blinking = true;
  return true;
}

bool LearningLine(const DryerStatus& s, StatusBarLine& line) {
  int minutes = s.b[kStatusLearningCounter];
  bool active = minutes != 0 && (s.b[kStatusLoadFlags] & kLoadFlagsBit2) != 0;
  if (!active || !StatusHas(s, kStatusRunFlags, kRunFlagsLearning) ||
      MoistureControlMode(s) != kModeMoistureVariable)
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

bool DeviationLine(const DryerStatus& s, StatusBarLine& line) {
  if (!StatusHas(s, kStatusDryingCriteria, kDryingCriteriaDeviation) ||
      !StatusHas(s, kStatusSwitches, kSwitchesBit6))
    return false;
  int setpointByte = kStatusGrainTempSetpoint1;
  // Sources 1 and 2 always count against the first setpoint.
  if (s.b[kStatusGrainTempSelect] == kGrainTempSelectThird && StatusHas(s, kStatusOptionBits, kOptionBitsTwoHeat))
    setpointByte = StatusHas(s, kStatusSetpointChoice, kSetpointChoiceSecond)
                       ? kStatusGrainTempSetpoint2
                       : kStatusGrainTempSetpoint3;
  int deltaF = StatusS16LowFirst(s, setpointByte) - DryerGrainTemperature(s);
  bool celsius = IsCelsius(s);
  line = Line(StatusBarRule::TemperatureDeviation, kStatusBarTextDeviation, colour::kGreen);
  line.form = StatusBarForm::LabelDeviation;
  line.first = celsius ? FahrenheitDeltaToCelsius(deltaF) : deltaF;
  line.celsius = celsius;
  return true;
}

bool OutOfGrainLine(const DryerStatus& s, StatusBarLine& line) {
  if ((s.b[kStatusRunFlags] & kNormalStateMask) == kNormalStateMask) return false;
  int v = static_cast<int>(StatusMinSecSeconds(s, kStatusOutOfGrainCountdown));
  int p = static_cast<int>(StatusMinSecSeconds(s, kStatusOutOfGrainTime));
  line = Line(StatusBarRule::OutOfGrain, kStatusBarTextOutOfGrain, OutOfGrainColour(v, p));
  if (StatusHas(s, kStatusStatusBar28, kStatusBar28ShowElapsed)) {
    int left = p > v ? p - v : 0;
    line.form = StatusBarForm::LabelWideTime;
    line.first = left / 60;
    line.second = left % 60;
  }
  return true;
}

StatusBarLine RestingLine(const DryerStatus& s) {
  if (IsDryerRunning(s)) {
    StatusBarLine line = Line(StatusBarRule::Running, kStatusBarTextRunning, colour::kBlue);
    if (StatusHas(s, kStatusStatusBar43, kStatusBar43ShowRunTime)) {
      line.form = StatusBarForm::LabelWideTime;
      line.first = s.b[kStatusStatusBar39];
      line.second = s.b[kStatusStatusBar39 + 1];
    }
    return line;
  }
  if (!StatusHas(s, kStatusSwitches, kSwitchesBit6)) {
    bool blue = (s.b[kStatusStatusBar271] & kStopReasonBits) == kStopReasonNoGrain;
    return blue ? Line(StatusBarRule::Stopped, kStatusBarTextStoppedBlue, colour::kBlue)
                : Line(StatusBarRule::Stopped, kStatusBarTextStoppedRed, colour::kRed);
  }
  if (!StatusHas(s, kStatusOptionBits, kOptionBitsIdleOption) || DryerType(s) != kDryerTypeBatchOption)
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

StatusBarLine ChooseStatusBarLine(const DryerStatus& s, bool blinkOn) {
  StatusBarLine line{};
  if (StatusHas(s, kStatusStatus118, kStatus118Alarm)) {
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
      std::snprintf(numbers, sizeof numbers, " [- %d %c%c]", line.first, kDegreeSign,
                    line.celsius ? 'C' : 'F');
      break;
  }
  return t.Add(text).AddLatin1(numbers).Length();
}
