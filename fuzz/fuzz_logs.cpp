// The short-term and graph log readers on arbitrary file bytes. The first bytes choose how
// many files of each log there are, how the rest of the input is split among them, how often
// the graph's bytes repeat (so that windows of several hours are reached) and which page or
// window is read; the readers must return a count within bounds, traces within the plot and
// axes whose ticks rise.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <ftw.h>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "records/GraphLog.h"
#include "records/ShortTermLog.h"

namespace {

constexpr const char* kShortFolder = "\\Hard Disk\\ShortTermDataLog";
constexpr const char* kGraphFolder = "\\Hard Disk\\GraphDataLog";
constexpr const char* kShortNames[] = {"DATA_LOG_24HR16_10_01_10_00_00.DAT", "DATA_LOG_24HR16_10_02_10_00_00.DAT",
                                       "DATA_LOG_24HR16_10_03_10_00_00.DAT"};
constexpr const char* kGraphNames[] = {"GRAPH_DATA_LOG_24HR16_10_01_10_00_00.DAT",
                                       "GRAPH_DATA_LOG_24HR16_10_02_10_00_00.DAT",
                                       "GRAPH_DATA_LOG_24HR99_12_31_23_59_59.DAT"};

char root[512];

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }
void RemoveRoot() { ::nftw(root, RemoveEntry, 16, FTW_DEPTH | FTW_PHYS); }

bool Setup() {
  const char* tmp = std::getenv("TMPDIR");
  std::snprintf(root, sizeof root, "%s/fuzz-logs-XXXXXX", tmp && *tmp ? tmp : "/tmp");
  if (!mkdtemp(root)) std::abort();
  std::atexit(RemoveRoot);
  plat::SetFileRoot(root);
  plat::CreateFolder("\\Hard Disk");
  plat::CreateFolder(kShortFolder);
  plat::CreateFolder(kGraphFolder);
  plat::LocalTime t;
  t.year = 2016;
  t.month = 10;
  t.day = 4;
  plat::UseVirtualClock(t);
  return true;
}

void Write(const char* folder, const char* name, const uint8_t* data, size_t size, int repeat) {
  std::string path = std::string(folder) + "\\" + name;
  plat::FileHandle f;
  if (plat::OpenFile(path.c_str(), plat::OpenMode::CreateAlways, f) != plat::FileResult::Ok) std::abort();
  for (int i = 0; i < repeat; ++i) plat::WriteFile(f, data, size);
  plat::CloseFile(f);
}

void Remove(const char* folder, const char* const* names, int count) {
  for (int i = 0; i < count; ++i) plat::DeleteFile((std::string(folder) + "\\" + names[i]).c_str());
}

void CheckWindow(const records::GraphWindow& w) {
  if (w.scrollOffset < 0 || w.scrollOffset > w.maxScrollOffset) std::abort();
  if (w.recordsRead < 0 || w.recordsRead > static_cast<int64_t>(w.hours) * records::kGraphRecordsPerHour)
    std::abort();
  for (const records::GraphTraceData& t : w.traces) {
    if (t.axis.step <= 0) std::abort();
    for (int i = 1; i < records::kGraphTicks; ++i)
      if (t.axis.ticks[i] - t.axis.ticks[i - 1] != t.axis.step) std::abort();
    for (int p = 0; p < records::kGraphPoints; ++p) {
      if (t.heights[p] > records::kGraphPlotHeight) std::abort();
      if (t.values[p] < t.axis.ticks[0]) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = Setup();
  (void)ready;
  if (size < 4) return 0;
  int shortFiles = data[0] & 3;
  int graphFiles = (data[0] >> 2) & 3;
  int scale = (data[0] >> 4) & 3;
  int repeat = 1 + (data[1] & 31);
  int offset = data[2];
  size_t split = size > 4 ? data[3] % (size - 3) : 0;
  const uint8_t* body = data + 4;
  size_t bodySize = size - 4;
  size_t shortBytes = split < bodySize ? split : bodySize;

  Remove(kShortFolder, kShortNames, 3);
  Remove(kGraphFolder, kGraphNames, 3);
  for (int i = 0; i < shortFiles; ++i) {
    size_t from = shortBytes * i / shortFiles, to = shortBytes * (i + 1) / shortFiles;
    Write(kShortFolder, kShortNames[i], body + from, to - from, 1);
  }
  const uint8_t* graph = body + shortBytes;
  size_t graphBytes = bodySize - shortBytes;
  for (int i = 0; i < graphFiles; ++i) {
    size_t from = graphBytes * i / graphFiles, to = graphBytes * (i + 1) / graphFiles;
    Write(kGraphFolder, kGraphNames[i], graph + from, to - from, repeat);
  }

  int count = records::CountSamples();
  if (count < 0 || count > records::kShortTermMaxCount) std::abort();
  records::SampleRecord page[records::kChartRows];
  for (int rows : {records::kChartRows, 3}) {
    int n = records::ReadSamplePage(rows, page, offset);
    if (n != records::kSampleReadFailed && (n < 0 || n > rows)) std::abort();
  }

  static records::GraphWindow window;
  if (records::LoadGraphWindow(scale, offset % 50, window) == records::LogResult::Ok) CheckWindow(window);
  int hours = records::GraphHoursAvailable();
  if (hours < 0 || hours > records::kGraphMaxHoursAvailable) std::abort();
  return 0;
}
