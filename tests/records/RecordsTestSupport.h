#pragma once
// A panel root in a fresh temporary folder with "Hard Disk" and "Hard Disk2", the virtual
// clock, and helpers to read and write the files the tests check byte by byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "records/GraphLog.h"
#include "records/LongTermLog.h"
#include "records/ShortTermLog.h"
#include "records/StorageNotice.h"

namespace records_test {

inline int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
  return ::remove(path);
}

inline plat::LocalTime MakeTime(int year, int month, int day, int hour, int minute, int second) {
  plat::LocalTime t;
  t.year = year;
  t.month = month;
  t.day = day;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  return t;
}

class PanelRoot : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/records-test-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    ASSERT_NE(::mkdtemp(buf.data()), nullptr);
    root_ = buf.data();
    plat::SetFileRoot(root_.c_str());
    plat::SetUsbDir((root_ + "/Hard Disk2").c_str());
    ASSERT_EQ(plat::CreateFolder("\\Hard Disk"), plat::FileResult::Ok);
    ASSERT_EQ(plat::CreateFolder("\\Hard Disk2"), plat::FileResult::Ok);
    plat::UseVirtualClock(MakeTime(2016, 10, 4, 19, 5, 9));
  }
  void TearDown() override {
    plat::ClearFileFaults();
    // What a test left waiting in memory for the card must not reach the next test's files.
    records::ForgetKeptLongTermLines();
    records::ForgetKeptSample();
    records::ForgetKeptGraphSample();
    records::ResetStorageNotice();
    plat::UseRealClock();
    ::nftw(root_.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
  }

  std::string Host(const char* panelPath) const {
    char out[4096];
    EXPECT_TRUE(plat::ResolvePath(panelPath, out, sizeof out));
    return out;
  }

  static std::string ReadAll(const char* panelPath) {
    std::string data;
    plat::FileHandle f;
    if (plat::OpenFile(panelPath, plat::OpenMode::Read, f) != plat::FileResult::Ok) return data;
    char chunk[4096];
    size_t got = 0;
    while (plat::ReadFile(f, chunk, sizeof chunk, got) == plat::FileResult::Ok && got > 0)
      data.append(chunk, got);
    plat::CloseFile(f);
    return data;
  }

  static void WriteAll(const char* panelPath, const std::string& data) {
    plat::FileHandle f;
    ASSERT_EQ(plat::OpenFile(panelPath, plat::OpenMode::CreateAlways, f), plat::FileResult::Ok);
    ASSERT_EQ(plat::WriteFile(f, data.data(), data.size()), plat::FileResult::Ok);
    plat::CloseFile(f);
  }

  static uint64_t SizeOf(const char* panelPath) {
    uint64_t size = 0;
    if (plat::FileSizeByPath(panelPath, size) != plat::FileResult::Ok) return 0;
    return size;
  }

  // Names in a panel folder matching `pattern`, sorted.
  static std::vector<std::string> List(const char* panelPattern) {
    std::vector<std::string> names;
    plat::FindHandle h;
    plat::FindData fd;
    for (plat::FileResult r = plat::FindFirstFile(panelPattern, h, fd); r == plat::FileResult::Ok;
         r = plat::FindNextFile(h, fd))
      if (!fd.isFolder) names.push_back(fd.name);
    plat::FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
  }

  void SetClock(const plat::LocalTime& t) { plat::UseVirtualClock(t); }

  // Sets a file's modification time to `secondsAgo` before the system clock's now, as if it
  // had last been written then.
  void SetWrittenAgo(const std::string& panelPath, int secondsAgo) {
    struct timespec times[2];
    ::clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec -= secondsAgo;
    times[1] = times[0];
    ASSERT_EQ(::utimensat(AT_FDCWD, Host(panelPath.c_str()).c_str(), times, 0), 0) << panelPath;
  }

  std::string root_;
};

// Runs `run` once for every n = 1, 2, ... with the nth operation of `op` failing, until
// `completed` (asked with the fault cleared) says the operation went through. Before each run
// `setUp` rebuilds the starting state; after each failed run `intact` checks that nothing
// earlier was lost. Returns the number of runs that failed, or -1 when the operation never
// completed within `limit` runs.
inline int RunFaultLoop(plat::FileOp op, plat::FileResult result, const std::function<void()>& setUp,
                        const std::function<void()>& run, const std::function<bool()>& completed,
                        const std::function<void()>& intact, int limit = 64) {
  for (int n = 1; n <= limit; ++n) {
    setUp();
    plat::InjectFileFault(op, n, result, false);
    run();
    plat::ClearFileFaults();
    if (completed()) return n - 1;
    intact();
    if (::testing::Test::HasFatalFailure()) return -1;
  }
  return -1;
}

// A status record of a running dryer with the logger on and readable values.
inline lnk::DryerStatus RunningStatus() {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusRunFlags2] = lnk::kRunFlags2Running;
  s.b[lnk::kStatusDataLogger] = 1;
  s.b[lnk::kStatusGrainTempSelect] = 0;
  s.b[lnk::kStatusGrainTemp3] = 112;  // low byte first
  s.b[lnk::kStatusGrainTemp3 + 1] = 0;
  s.b[lnk::kStatusMoisture2] = 0;  // incoming moisture 23.7 %, high byte first
  s.b[lnk::kStatusMoisture2 + 1] = 237;
  s.b[lnk::kStatusMoisture4] = 610 >> 8;  // incoming temperature 61.0
  s.b[lnk::kStatusMoisture4 + 1] = 610 & 0xFF;
  s.b[lnk::kStatusMoisture1] = 0;  // outgoing moisture 15.2
  s.b[lnk::kStatusMoisture1 + 1] = 152;
  s.b[lnk::kStatusMoisture3] = 845 >> 8;  // outgoing temperature 84.5
  s.b[lnk::kStatusMoisture3 + 1] = 845 & 0xFF;
  s.b[lnk::kStatusLogged245] = 40;
  return s;
}

}  // namespace records_test

namespace records_test {

// An English strings file whose line k is string id k: "S<k>" unless `texts` names it.
inline void WriteEnglishStrings(const std::vector<std::pair<int, std::u16string>>& texts, int lines = 500) {
  ASSERT_EQ(plat::CreateFolder("\\Hard Disk\\Languages"), plat::FileResult::Ok);
  ASSERT_EQ(plat::CreateFolder("\\Hard Disk\\Languages\\EN"), plat::FileResult::Ok);
  std::string bytes = "\xFF\xFE";
  for (int id = 1; id <= lines; ++id) {
    std::u16string line;
    for (const auto& t : texts)
      if (t.first == id) line = t.second;
    if (line.empty())
      for (char c : "S" + std::to_string(id)) line.push_back(static_cast<char16_t>(c));
    for (char16_t c : line + u"\r\n") {
      bytes.push_back(static_cast<char>(c & 0xFF));
      bytes.push_back(static_cast<char>(c >> 8));
    }
  }
  plat::FileHandle f;
  ASSERT_EQ(plat::OpenFile("\\Hard Disk\\Languages\\EN\\EnglishStrings.txt", plat::OpenMode::CreateAlways, f),
            plat::FileResult::Ok);
  ASSERT_EQ(plat::WriteFile(f, bytes.data(), bytes.size()), plat::FileResult::Ok);
  plat::CloseFile(f);
}

}  // namespace records_test

namespace records_test {

// The shipped English strings (assets/source/EN/strings.txt, "id<TAB>text" in UTF-8) as the
// panel reads them, so screenshots show the real texts.
inline void WriteShippedEnglishStrings() {
  std::string path = std::string(DRYER_SOURCE_DIR) + "/assets/source/EN/strings.txt";
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr) << path;
  std::vector<std::pair<int, std::u16string>> texts;
  char line[1024];
  while (std::fgets(line, sizeof line, f)) {
    char* tab = std::strchr(line, '\t');
    if (!tab) continue;
    int id = std::atoi(line);
    std::u16string text;
    for (const unsigned char* p = reinterpret_cast<unsigned char*>(tab + 1); *p && *p != '\n' && *p != '\r';) {
      uint32_t c = *p++;
      int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
      if (more) c &= 0x3F >> more;
      for (; more > 0 && (*p & 0xC0) == 0x80; --more) c = (c << 6) | (*p++ & 0x3F);
      text.push_back(static_cast<char16_t>(c));
    }
    texts.emplace_back(id, text.empty() ? u" " : text);
  }
  std::fclose(f);
  WriteEnglishStrings(texts, 1000);
}

}  // namespace records_test
