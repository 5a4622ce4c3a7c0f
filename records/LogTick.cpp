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

LoggingState gLogging;

void LongTermStep(const lnk::DryerStatus& s, LoggingSecond& out) {
  plat::LocalTime now;
  plat::GetLocalTime(now);
  FillLongTermRecord(gLogging.longTerm, s, now);
  out.longTermStep = true;
  out.loggerOn = DataLoggerOn(s);
  if (out.loggerOn) {
    int percent = gLogging.usedPercent;
    out.longTerm = AppendLongTermLine(gLogging.longTerm, percent);
    gLogging.usedPercent = percent;
    if (percent > kLongTermWarnPercent && gLogging.sizeWarningArmed) {
      gLogging.sizeWarningArmed = false;
      out.askSizeWarning = true;
    }
  } else {
    WriteKeptLongTermLines();
    gLogging.usedPercent = LongTermUsedPercent();
  }
}

// What the card refused is tried again every second, running or not, so the card is known to
// take writes again as soon as it does.
void WriteKeptSamples() {
  WriteKeptSample();
  WriteKeptGraphSample();
}

}  // namespace

bool DataLoggerOn(const lnk::DryerStatus& s) { return s.b[lnk::kStatusDataLogger] == kDataLoggerOnValue; }

void RunLoggingSecond(const lnk::DryerStatus& s, LoggingSecond& out) {
  out = LoggingSecond{};
  out.dryerRunning = lnk::DryerRunning(s);
  WriteKeptSamples();
  // The enable flag is refreshed before the step, so a dryer already running at the first
  // tick gets its first line then.
  SetLongTermEnabled(out.dryerRunning);
  uint32_t taken = gLogging.longTermCounter++;
  if (taken >= kLongTermCounterStart - 1) {
    gLogging.longTermCounter = 0;
    LongTermStep(s, out);
  }
  out.usedPercent = gLogging.usedPercent;
  if (!out.dryerRunning) return;

  plat::LocalTime now;
  plat::GetLocalTime(now);
  FillSampleRecord(gLogging.sample, s, now);
  int32_t countdown = gLogging.shortTermCountdown--;
  if (countdown <= 0) {
    gLogging.shortTermCountdown = CurrentPreferences().sampleMinutes * 60;
    out.shortTermSampled = true;
    out.shortTerm = AppendSample(gLogging.sample);
  }
  if (gLogging.graphCountdown == 0) {
    gLogging.graphCountdown = kGraphStepTicks - 1;
    out.graphSampled = true;
    out.graph = AppendGraphSample(gLogging.sample);
  } else {
    --gLogging.graphCountdown;
  }
}

int LastLongTermUsedPercent() { return gLogging.usedPercent; }

void ResetLoggingState() {
  gLogging = LoggingState{};
  SetLongTermEnabled(false);
  ForgetKeptLongTermLines();
  ForgetKeptSample();
  ForgetKeptGraphSample();
}

}  // namespace records
