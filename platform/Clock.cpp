#include "platform/Clock.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include "platform/Files.h"

namespace plat {

namespace {

// The panel clock is the host's local time plus this offset; the host clock itself is never
// changed. The offset lives in a file below the root so that it survives a restart.
constexpr const char* kOffsetFile = "panel-clock-offset";
constexpr const char* kOffsetTempFile = "panel-clock-offset.tmp";

std::atomic<bool> virtualActive{false};
std::atomic<uint64_t> virtualMs{0};
std::atomic<int64_t> virtualWallStartMs{0};

std::mutex offsetMutex;
std::atomic<int64_t> offsetMs{0};
char offsetRoot[512] = {};  // the root whose offset file was read; guarded by offsetMutex
bool offsetLoaded = false;

int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool ValidTime(const LocalTime& t) {
  return t.year >= 1601 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
         t.minute <= 59 && t.second >= 0 && t.second <= 59 && t.millisecond >= 0 &&
         t.millisecond <= 999;
}

int64_t ToEpochMs(const LocalTime& t) { return ToEpochSeconds(t) * 1000 + t.millisecond; }

LocalTime FromEpochMs(int64_t ms) {
  LocalTime t = FromEpochSeconds(FloorDiv(ms, 1000));
  t.millisecond = static_cast<int>(ms - FloorDiv(ms, 1000) * 1000);
  return t;
}

// The host's local time as milliseconds of a clock without time zone.
int64_t HostLocalMs() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm parts{};
  localtime_r(&ts.tv_sec, &parts);
  LocalTime t;
  t.year = parts.tm_year + 1900;
  t.month = parts.tm_mon + 1;
  t.day = parts.tm_mday;
  t.hour = parts.tm_hour;
  t.minute = parts.tm_min;
  t.second = parts.tm_sec > 59 ? 59 : parts.tm_sec;
  return ToEpochSeconds(t) * 1000 + ts.tv_nsec / 1000000;
}

// The offset file goes around the file layer's injected faults on purpose: tests that count
// file operations must not see the clock's own.
int64_t ReadOffsetFile() {
  char path[4096];
  if (!ResolvePath(kOffsetFile, path, sizeof(path))) return 0;
  int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  char text[32] = {};
  ssize_t got = ::read(fd, text, sizeof(text) - 1);
  ::close(fd);
  if (got <= 0) return 0;
  text[got] = 0;
  char* end = nullptr;
  long long value = std::strtoll(text, &end, 10);
  // Anything but one number and a line end is a torn or foreign file: no offset.
  if (end == text || (*end != 0 && *end != '\n')) return 0;
  return value;
}

bool WriteOffsetFile(int64_t value) {
  char path[4096];
  char temp[4096];
  if (!ResolvePath(kOffsetFile, path, sizeof(path)) ||
      !ResolvePath(kOffsetTempFile, temp, sizeof(temp)))
    return false;
  char text[32];
  int n = std::snprintf(text, sizeof(text), "%lld\n", static_cast<long long>(value));
  int fd = ::open(temp, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = ::write(fd, text, static_cast<size_t>(n)) == n && fsync(fd) == 0;
  ::close(fd);
  if (!ok || std::rename(temp, path) != 0) {
    ::unlink(temp);
    return false;
  }
  return true;
}

// Reads the offset again whenever the root changed since the last read.
void RefreshOffsetLocked() {
  const char* root = FileRoot();
  if (!root) root = "";
  if (offsetLoaded && std::strcmp(root, offsetRoot) == 0) return;
  std::snprintf(offsetRoot, sizeof(offsetRoot), "%s", root);
  offsetLoaded = true;
  offsetMs.store(root[0] ? ReadOffsetFile() : 0);
}

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

uint64_t NowMs() {
  if (virtualActive.load(std::memory_order_acquire)) return virtualMs.load();
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
}

void GetLocalTime(LocalTime& out) {
  if (virtualActive.load(std::memory_order_acquire)) {
    out = FromEpochMs(virtualWallStartMs.load() + static_cast<int64_t>(virtualMs.load()));
    return;
  }
  int64_t offset;
  {
    std::lock_guard<std::mutex> lock(offsetMutex);
    RefreshOffsetLocked();
    offset = offsetMs.load();
  }
  out = FromEpochMs(HostLocalMs() + offset);
}

bool SetLocalTime(const LocalTime& t) {
  if (!ValidTime(t)) return false;
  int64_t target = ToEpochMs(t);
  if (virtualActive.load(std::memory_order_acquire)) {
    virtualWallStartMs.store(target - static_cast<int64_t>(virtualMs.load()));
    return true;
  }
  std::lock_guard<std::mutex> lock(offsetMutex);
  RefreshOffsetLocked();
  int64_t offset = target - HostLocalMs();
  offsetMs.store(offset);
  // A failed save keeps the clock right for this run; it is lost at the next start only.
  if (offsetRoot[0]) WriteOffsetFile(offset);
  return true;
}

void UseVirtualClock(const LocalTime& start) {
  virtualWallStartMs.store(ToEpochMs(start));
  virtualMs.store(0);
  virtualActive.store(true, std::memory_order_release);
}

bool VirtualClockActive() { return virtualActive.load(std::memory_order_acquire); }

void AdvanceVirtualClock(uint64_t ms) { virtualMs.fetch_add(ms); }

void UseRealClock() { virtualActive.store(false, std::memory_order_release); }

int64_t ToEpochSeconds(const LocalTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

LocalTime FromEpochSeconds(int64_t seconds) {
  LocalTime t;
  int64_t days = FloorDiv(seconds, 86400);
  int64_t rest = seconds - days * 86400;
  CivilFromDays(days, t.year, t.month, t.day);
  t.hour = static_cast<int>(rest / 3600);
  t.minute = static_cast<int>(rest / 60 % 60);
  t.second = static_cast<int>(rest % 60);
  t.millisecond = 0;
  // 1 January 1970 was a Thursday.
  t.dayOfWeek = static_cast<int>(((days % 7) + 7 + 4) % 7);
  return t;
}

}  // namespace plat
