#pragma once
// The graph data log: one SampleRecord every 10 running seconds, 8,640 records (24 hours) per
// file in "\Hard Disk\GraphDataLog", and the six averaged traces of a 1 to 8 hour window.
#include <cstdint>

#include "records/SampleRecord.h"
#include "records/ShortTermLog.h"

namespace records {

inline constexpr uint64_t kGraphFileBytes = 155520;  // 8,640 records
inline constexpr int kGraphRecordsPerHour = 360;
inline constexpr uint64_t kGraphBytesPerHour = kGraphRecordsPerHour * kSampleBytes;  // 6,480
inline constexpr int kGraphMaxHoursAvailable = 24;
inline constexpr int kGraphPoints = 360;
inline constexpr int kGraphPlotHeight = 180;
inline constexpr int kGraphTicks = 5;
inline constexpr int kGraphScaleCount = 4;  // 0..3: 1, 2, 4, 8 hours

enum class GraphTrace : uint8_t { MoistIn, TempIn, MoistOut, TempOut, GrainTemp, RollSpeed, Count };
inline constexpr int kGraphTraceCount = static_cast<int>(GraphTrace::Count);

// The trace's bit in the "GRAPH_TRACES_ON_OFF" preference.
constexpr uint8_t TraceBit(GraphTrace t) { return static_cast<uint8_t>(1u << static_cast<int>(t)); }

constexpr int GraphScaleHours(int scale) {
  return (scale >= 0 && scale < kGraphScaleCount) ? (1 << scale) : 1;
}

struct GraphAxis {
  int step;
  int ticks[kGraphTicks];  // bottom first; ticks[4] is the top
};

struct GraphTraceData {
  int32_t values[kGraphPoints];   // moistures in tenths, temperatures in whole degrees F,
                                  // roll speed in percent; index 0 is the oldest point
  uint8_t heights[kGraphPoints];  // 0..kGraphPlotHeight above the bottom tick
  GraphAxis axis;
};

struct GraphSampleTime {
  bool present;
  uint8_t hour, minute, month, day;
};

struct GraphWindow {
  int hours;            // window length k
  int scrollOffset;     // hours back from the newest record, clamped to 0..maxScrollOffset
  int maxScrollOffset;  // (hours of data) - k, at least 0
  int64_t recordsRead;  // records inside the window that came from the files
  GraphSampleTime first, last;  // the oldest and newest record read
  GraphTraceData traces[kGraphTraceCount];
};

// Appends one record, starting a new file when the newest is full (at or above 155,520
// bytes) and deleting the older files then, so at most two stay. Ok when all 18 bytes were
// written. A record the card refuses is kept in memory until WriteKeptGraphSample writes it
// or a newer record replaces it.
LogResult AppendGraphSample(const SampleRecord& record);
// Writes the kept record, if any. True when none is kept afterwards.
bool WriteKeptGraphSample();
// Tests: lets the kept record go.
void ForgetKeptGraphSample();

// Changes whenever this program appends to the graph log.
uint32_t GraphLogGeneration();

// Hours of data in the listed files, at most 24.
int GraphHoursAvailable();

// Builds the traces of the window of `scale` (0..3) ending `scrollOffset` hours before the
// newest record. The part older than the data reads as zeros. On a failed read `out` is left
// as it was and ReadFailed is returned.
LogResult LoadGraphWindow(int scale, int scrollOffset, GraphWindow& out);

// The five ticks of a trace whose values lie in min..max. The bottom tick is a multiple of
// the step at or below min, negative minimums included.
GraphAxis ComputeGraphAxis(int min, int max);

// Height above the bottom tick, 0..kGraphPlotHeight.
int GraphPointHeight(int value, const GraphAxis& axis);

// Texts of the graph screen. A window time is "%d:%02dAM" on a 12-hour clock, with the
// date "%d/%02d" (month, day) after it when asked for.
int FormatGraphTime(const GraphSampleTime& t, bool withDate, char* out, size_t size);
// A tick label: moistures "%d.%d%%" of tenths, the roll speed "%d%%", temperatures in whole
// degrees of the display unit.
int FormatAxisLabel(GraphTrace trace, int tick, bool celsius, char* out, size_t size);
// "[-%d %s]" of the hours back and the "hours" text, or "[END]" when the offset equals the hours
// available.
size_t FormatGraphScrollPosition(char16_t* out, size_t units, int scrollOffset, int hoursAvailable);

}  // namespace records
