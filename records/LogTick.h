#pragma once
// The data-log work of the one-second tick: the 12-second long-term step, the short-term
// sample every period and the graph record every 10 running seconds. The tick calls
// RunLoggingSecond once a second with a snapshot of the status and does what the result asks
// (repaint the chart, the graph or the data-logger dialog; ask the size question).
#include <cstdint>

#include "records/LongTermLog.h"
#include "records/ShortTermLog.h"

namespace lnk {
struct DryerStatus;
}

namespace records {

inline constexpr const char* kSizeWarningCaption = "DATA LOG FILE SIZE WARNING";
inline constexpr const char* kSizeWarningText =
    "Data Logger close to full.  Do you wish to open Data Logger \n Setup Window?";
inline constexpr int kLongTermStepTicks = 12;
inline constexpr int kGraphStepTicks = 10;

struct LoggingSecond {
  bool dryerRunning;
  bool longTermStep;       // the 12-second step ran this second
  bool loggerOn;           // the controller's data logger was on at that step
  LongTermResult longTerm; // when loggerOn
  int usedPercent;         // long-term log, refreshed by the step
  bool askSizeWarning;     // show the size question now (at most once per run)
  bool shortTermSampled;   // a short-term sample was due; repaint the status chart
  LogResult shortTerm;
  bool graphSampled;       // a graph record was due; repaint the graph
  LogResult graph;
};

bool DataLoggerOn(const lnk::DryerStatus& s);

// One second of logging, with the local time of the panel clock.
void RunLoggingSecond(const lnk::DryerStatus& s, LoggingSecond& out);

// The long-term log's used percentage as the last step left it.
int LastLongTermUsedPercent();

// Back to the state of a fresh process (counters, records, the size warning); for tests.
void ResetLoggingState();

}  // namespace records
