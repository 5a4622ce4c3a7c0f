#include "records/GraphLog.h"

#include <cstdio>
#include <cstring>

#include "i18n/Language.h"
#include "platform/Text.h"
#include "records/StatusChartData.h"

#include "platform/Clock.h"
#include "platform/Files.h"
#include "records/LogFiles.h"
#include "records/StorageNotice.h"

namespace records {

namespace {

constexpr const char* kFolder = "\\Hard Disk\\GraphDataLog";
constexpr const char* kPattern = "\\Hard Disk\\GraphDataLog\\GRAPH_DATA_LOG_24HR??_??_??_??_??_??.DAT";
constexpr const char* kFilePrefix = "\\Hard Disk\\GraphDataLog\\GRAPH_DATA_LOG_24HR";
constexpr const char* kFileSuffix = ".DAT";

constexpr int kMaxWindowRecords = kGraphRecordsPerHour * 8;

struct GraphLogState {
  // The window is read here rather than on the stack: 8 hours are 51,840 bytes.
  SampleRecord window[kMaxWindowRecords];
  uint32_t generation = 1;
  LastLogWrite lastWrite{};
  // The newest record the card refused; an older one is replaced, not queued.
  bool keeping = false;
  SampleRecord keptSample{};
};
GraphLogState gGraphLog;

struct StepRow {
  int upToSpan;
  int step;
};
constexpr StepRow kStepRows[] = {
    {.upToSpan = 4, .step = 1},     {.upToSpan = 8, .step = 2},     {.upToSpan = 12, .step = 3},
    {.upToSpan = 20, .step = 5},    {.upToSpan = 40, .step = 10},   {.upToSpan = 80, .step = 20},
    {.upToSpan = 100, .step = 25},  {.upToSpan = 120, .step = 30},  {.upToSpan = 160, .step = 40},
    {.upToSpan = 200, .step = 50},
};
constexpr int kWideStep = 100;
constexpr int kStringHoursBack = 460;

LogResult StartNewFile(const SampleRecord& record) {
  char path[kLogPathChars];
  plat::LocalTime now;
  plat::GetLocalTime(now);
  if (!MakeStampedName(path, sizeof path, kFilePrefix, now, kFileSuffix)) return LogResult::NoStorage;
  plat::FileResult r = AppendRecordToFile(path, record, gGraphLog.lastWrite);
  NoteStorageWrite(StorageSource::GraphLog, r);
  if (r == plat::FileResult::Ok) return LogResult::Ok;
  return plat::FileExists(path) ? LogResult::WriteFailed : LogResult::NoStorage;
}

int FloorDiv(int a, int b) {
  int q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

int64_t TotalRecords(const LogFileList& list) {
  int64_t total = 0;
  for (int i = 0; i < list.count; ++i) total += WholeRecords(list.files[i].size);
  return total;
}

bool ReadSpan(const LogFileList& list, int64_t first, int64_t count, SampleRecord* out) {
  for (int i = 0; i < list.count && count > 0; ++i) {
    int64_t inFile = WholeRecords(list.files[i].size);
    if (first >= inFile) {
      first -= inFile;
      continue;
    }
    int64_t take = inFile - first < count ? inFile - first : count;
    if (ReadRecordsFromFile(list.files[i].path, list.files[i].size, first, static_cast<int>(take),
                            out) != plat::FileResult::Ok)
      return false;
    out += take;
    count -= take;
    first = 0;
  }
  return count == 0;
}

int32_t FieldOf(const SampleRecord& r, GraphTrace t) {
  switch (t) {
    case GraphTrace::MoistIn: return SampleU16(r, kSampleMoistIn);
    case GraphTrace::TempIn: return SampleS16(r, kSampleTempIn);
    case GraphTrace::MoistOut: return SampleU16(r, kSampleMoistOut);
    case GraphTrace::TempOut: return SampleS16(r, kSampleTempOut);
    case GraphTrace::GrainTemp: return SampleS16(r, kSampleGrainTemp);
    case GraphTrace::RollSpeed: return SampleU16(r, kSampleRollSpeed);
    case GraphTrace::Count: break;
  }
  return 0;
}

// Temperatures in tenths are shown in whole degrees.
int32_t Divisor(GraphTrace t, int k) {
  return (t == GraphTrace::TempIn || t == GraphTrace::TempOut) ? 10 * k : k;
}

GraphSampleTime TimeOf(const SampleRecord& r) {
  return {.present = true, .hour = r.b[kSampleHour], .minute = r.b[kSampleMinute],
          .month = r.b[kSampleMonth], .day = r.b[kSampleDay]};
}

}  // namespace

uint32_t GraphLogGeneration() { return gGraphLog.generation; }

namespace {

LogResult WriteGraphSample(const SampleRecord& record) {
  ++gGraphLog.generation;
  if (plat::FileResult r = plat::CreateFolder(kFolder); r != plat::FileResult::Ok) {
    NoteStorageWrite(StorageSource::GraphLog, r);
    return LogResult::NoStorage;
  }
  LogFileList list;
  BuildLogFileList(kFolder, kPattern, gGraphLog.lastWrite, list);
  if (list.count == 0) return StartNewFile(record);
  const LogFileEntry& newest = list.files[list.count - 1];
  if (newest.size < kGraphFileBytes) {
    plat::FileResult r = AppendRecordToFile(newest.path, record, gGraphLog.lastWrite);
    NoteStorageWrite(StorageSource::GraphLog, r);
    return r == plat::FileResult::Ok ? LogResult::Ok : LogResult::WriteFailed;
  }
  // The newest is full: keep it as the older of two and start a new one. The newest is the
  // one written last, so the file just filled survives whatever the clock says.
  for (int i = 0; i + 1 < list.count; ++i) {
    if (plat::FileResult r = plat::DeleteFile(list.files[i].path); r != plat::FileResult::Ok) {
      NoteStorageWrite(StorageSource::GraphLog, r);
      return LogResult::DeleteFailed;
    }
  }
  return StartNewFile(record);
}

}  // namespace

LogResult AppendGraphSample(const SampleRecord& record) {
  LogResult r = WriteGraphSample(record);
  gGraphLog.keeping = r != LogResult::Ok;
  if (gGraphLog.keeping) gGraphLog.keptSample = record;
  return r;
}

bool WriteKeptGraphSample() {
  if (gGraphLog.keeping) AppendGraphSample(gGraphLog.keptSample);
  return !gGraphLog.keeping;
}

void ForgetKeptGraphSample() { gGraphLog.keeping = false; }

int GraphHoursAvailable() {
  LogFileList list;
  BuildLogFileList(kFolder, kPattern, gGraphLog.lastWrite, list);
  uint64_t bytes = 0;
  for (int i = 0; i < list.count && i < 2; ++i) bytes += list.files[i].size;
  uint64_t hours = bytes / kGraphBytesPerHour;
  return hours > kGraphMaxHoursAvailable ? kGraphMaxHoursAvailable : static_cast<int>(hours);
}

GraphAxis ComputeGraphAxis(int min, int max) {
  int span = max - min + 3;
  int d = kWideStep;
  for (const StepRow& row : kStepRows) {
    if (span <= row.upToSpan) {
      d = row.step;
      break;
    }
  }
  int e = FloorDiv(min, d) * d;
  if (e + 4 * d < max) d += (max - e - 4 * d) / 4;
  GraphAxis axis;
  axis.step = d;
  for (int i = 0; i < kGraphTicks; ++i) axis.ticks[i] = e + i * d;
  return axis;
}

int GraphPointHeight(int value, const GraphAxis& axis) {
  double range = static_cast<double>(axis.ticks[kGraphTicks - 1] - axis.ticks[0]);
  int h = static_cast<int>(static_cast<double>(value - axis.ticks[0]) * kGraphPlotHeight / range);
  // The widened step is rounded down, so a peak can sit a little above the top tick.
  if (h < 0) return 0;
  return h > kGraphPlotHeight ? kGraphPlotHeight : h;
}

LogResult LoadGraphWindow(int scale, int scrollOffset, GraphWindow& out) {
  int k = GraphScaleHours(scale);
  LogFileList list;
  BuildLogFileList(kFolder, kPattern, gGraphLog.lastWrite, list);
  int64_t total = TotalRecords(list);
  int64_t maxScroll = total / kGraphRecordsPerHour - k;
  if (maxScroll < 0) maxScroll = 0;
  int64_t offset = scrollOffset < 0 ? 0 : scrollOffset;
  if (offset > maxScroll) offset = maxScroll;

  int64_t windowRecords = static_cast<int64_t>(k) * kGraphRecordsPerHour;
  int64_t end = total - offset * kGraphRecordsPerHour;
  int64_t start = end - windowRecords;
  int64_t readFirst = start < 0 ? 0 : start;
  int64_t missing = readFirst - start;  // the older part with no data reads as zeros
  std::memset(gGraphLog.window, 0, static_cast<size_t>(missing) * sizeof(SampleRecord));
  if (!ReadSpan(list, readFirst, end - readFirst, gGraphLog.window + missing)) return LogResult::ReadFailed;

  out.hours = k;
  out.scrollOffset = static_cast<int>(offset);
  out.maxScrollOffset = static_cast<int>(maxScroll);
  out.recordsRead = end - readFirst;
  out.first = out.recordsRead > 0 ? TimeOf(gGraphLog.window[missing]) : GraphSampleTime{};
  out.last = out.recordsRead > 0 ? TimeOf(gGraphLog.window[windowRecords - 1]) : GraphSampleTime{};
  for (int t = 0; t < kGraphTraceCount; ++t) {
    GraphTrace trace = static_cast<GraphTrace>(t);
    GraphTraceData& data = out.traces[t];
    int32_t div = Divisor(trace, k);
    int32_t lo = 0, hi = 0;
    for (int p = 0; p < kGraphPoints; ++p) {
      int32_t sum = 0;
      for (int j = 0; j < k; ++j) sum += FieldOf(gGraphLog.window[p * k + j], trace);
      int32_t v = sum / div;
      data.values[p] = v;
      if (p == 0 || v < lo) lo = v;
      if (p == 0 || v > hi) hi = v;
    }
    data.axis = ComputeGraphAxis(lo, hi);
    for (int p = 0; p < kGraphPoints; ++p)
      data.heights[p] = static_cast<uint8_t>(GraphPointHeight(data.values[p], data.axis));
  }
  return LogResult::Ok;
}

int FormatGraphTime(const GraphSampleTime& t, bool withDate, char* out, size_t size) {
  int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  const char* half = t.hour < 12 ? "AM" : "PM";
  if (withDate) return std::snprintf(out, size, "%d:%02d%s %d/%02d", hour12, t.minute, half, t.month, t.day);
  return std::snprintf(out, size, "%d:%02d%s", hour12, t.minute, half);
}

int FormatAxisLabel(GraphTrace trace, int tick, bool celsius, char* out, size_t size) {
  switch (trace) {
    case GraphTrace::MoistIn:
    case GraphTrace::MoistOut:
      return std::snprintf(out, size, "%d.%d%%", tick / 10, (tick < 0 ? -tick : tick) % 10);
    case GraphTrace::RollSpeed:
      return std::snprintf(out, size, "%d%%", tick);
    case GraphTrace::TempIn:
    case GraphTrace::TempOut:
    case GraphTrace::GrainTemp:
    case GraphTrace::Count:
      break;
  }
  return std::snprintf(out, size, "%d", celsius ? lnk::FahrenheitToCelsius(tick) : tick);
}

size_t FormatGraphScrollPosition(char16_t* out, size_t units, int scrollOffset, int hoursAvailable) {
  if (units == 0) return 0;
  if (scrollOffset == hoursAvailable) return plat::Latin1ToUtf16(out, units, "[END]");
  char number[16];
  std::snprintf(number, sizeof number, "[-%d ", scrollOffset);
  size_t n = plat::Latin1ToUtf16(out, units, number);
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(kStringHoursBack, text);
  n += plat::Utf16Copy(out + n, units - n, text);
  return n + plat::Latin1ToUtf16(out + n, units - n, "]");
}

}  // namespace records
