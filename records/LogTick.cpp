#include "records/LogTick.h"

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "platform/Clock.h"
#include "records/GraphLog.h"
#include "records/Preferences.h"
#include "records/SampleRecord.h"

namespace records {

namespace {

constexpr uint8_t kDataLoggerOnValue = 1;
constexpr uint32_t kLongTermCounterStart = kLongTermStepTicks;
constexpr int32_t kShortTermCountdownStart = 0;
constexpr int32_t kGraphCountdownStart = kGraphStepTicks;

struct LoggingState {
  uint32_t longTermCounter = kLongTermCounterStart;
  int32_t shortTermCountdown = kShortTermCountdownStart;
  int32_t graphCountdown = kGraphCountdownStart;
  bool sizeWarningArmed = true;
  int usedPercent = 0;
  LongTermRecord longTerm{};
  SampleRecord sample{};
};

LoggingState g_state;

void LongTermStep(const DryerStatus& s, LoggingSecond& out) {
  plat::LocalTime now;
  plat::GetLocalTime(now);
  FillLongTermRecord(g_state.longTerm, s, now);
  out.longTermStep = true;
  out.loggerOn = DataLoggerOn(s);
  if (out.loggerOn) {
    int percent = g_state.usedPercent;
    out.longTerm = AppendLongTermLine(g_state.longTerm, percent);
    g_state.usedPercent = percent;
    if (percent > kLongTermWarnPercent && g_state.sizeWarningArmed) {
      g_state.sizeWarningArmed = false;
      out.askSizeWarning = true;
    }
  } else {
    WriteKeptLongTermLines();
    g_state.usedPercent = LongTermUsedPercent();
  }
}

// What the card refused is tried again every second, running or not, so the card is known to
// take writes again as soon as it does.
void WriteKeptSamples() {
  WriteKeptSample();
  WriteKeptGraphSample();
}

}  // namespace

bool DataLoggerOn(const DryerStatus& s) { return s.b[kStatusDataLogger] == kDataLoggerOnValue; }

void RunLoggingSecond(const DryerStatus& s, LoggingSecond& out) {
  out = LoggingSecond{};
  out.dryerRunning = ::DryerRunning(s);
  WriteKeptSamples();
  // The enable flag is refreshed before the step, so a dryer already running at the first
  // tick gets its first line then.
  SetLongTermEnabled(out.dryerRunning);
  uint32_t taken = g_state.longTermCounter++;
  if (taken >= kLongTermCounterStart - 1) {
    g_state.longTermCounter = 0;
    LongTermStep(s, out);
  }
  out.usedPercent = g_state.usedPercent;
  if (!out.dryerRunning) return;

  plat::LocalTime now;
  plat::GetLocalTime(now);
  FillSampleRecord(g_state.sample, s, now);
  int32_t countdown = g_state.shortTermCountdown--;
  if (countdown <= 0) {
    g_state.shortTermCountdown = CurrentPreferences().sampleMinutes * 60;
    out.shortTermSampled = true;
    out.shortTerm = AppendSample(g_state.sample);
  }
  if (g_state.graphCountdown == 0) {
    g_state.graphCountdown = kGraphStepTicks - 1;
    out.graphSampled = true;
    out.graph = AppendGraphSample(g_state.sample);
  } else {
    --g_state.graphCountdown;
  }
}

int LastLongTermUsedPercent() { return g_state.usedPercent; }

void ResetLoggingState() {
  g_state = LoggingState{};
  SetLongTermEnabled(false);
  ForgetKeptLongTermLines();
  ForgetKeptSample();
  ForgetKeptGraphSample();
}

}  // namespace records
