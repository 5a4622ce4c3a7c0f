// The panel program against a controller of this test's own on a pseudo-terminal: every request
// is answered with a valid status frame, and what the panel sends is checked on the wire.
#include <time.h>

#include <algorithm>
#include <cstring>

#include "link/Framing.h"
#include "platform/Pty.h"
#include "tests/e2e/ProgramSupport.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Request {
  Clock::time_point at;
  int length;
  uint8_t bytes[kMaxCommandFrameLength];
};

struct ClockItem {
  int minute, hour, day, month, year;
  struct tm local;  // when it arrived
};

// Splits what arrived into frames: the 7-byte poll, the 4-byte resync (first byte 6) or a command
// of the length its first byte gives. Returns the bytes used, 0 when a frame is incomplete.
int TakeFrame(const uint8_t* data, int n, Request& out) {
  if (n < 1) return 0;
  int length = data[0] == kResyncFrame[0] ? kResyncFrameLength : data[0];
  if (length < kResyncFrameLength || length > kMaxCommandFrameLength) return 1;  // skip a stray byte
  if (n < length) return 0;
  out.length = length;
  std::memcpy(out.bytes, data, length);
  return length;
}

// The clock item (page 0, register 53, five bytes) of a command frame, if it holds one.
bool FindClockItem(const Request& r, ClockItem& out) {
  if (r.length < 4 || r.bytes[0] != r.length || !VerifyChecksum(r.bytes, r.length - 2)) return false;
  int pos = 2;
  for (int i = 0; i < r.bytes[1] && pos + 3 <= r.length - 2; ++i) {
    const int page = r.bytes[pos], reg = r.bytes[pos + 1], count = r.bytes[pos + 2];
    if (page == 0 && reg == 53 && count == 5) {
      out.minute = r.bytes[pos + 3];
      out.hour = r.bytes[pos + 4];
      out.day = r.bytes[pos + 5];
      out.month = r.bytes[pos + 6];
      out.year = r.bytes[pos + 7];
      return true;
    }
    pos += 3 + count;
  }
  return false;
}

void MakeStatusFrame(uint8_t (&frame)[kStatusFrameLength], int serial) {
  std::memset(frame, 0, sizeof frame);
  frame[171] = 0xA0;
  frame[8] = 0;
  frame[71] = static_cast<uint8_t>(100 + serial % 50);  // a plenum temperature that moves
  AppendChecksum(frame, kStatusPayloadLength);
}

TEST(BlackBoxLink, FirstRequestCadenceAndTheClockOnceASecond) {
  plat::PtyPair pty;
  ASSERT_EQ(pty.Open(), plat::PtyResult::Ok);
  e2e::TempDir root;
  constexpr int kSeconds = 8;
  const auto start = Clock::now();
  const pid_t pid = e2e::StartPanel({"--headless", "--port", pty.SlavePath(), "--root", root.path,
                                     "--run-for", std::to_string(kSeconds)});
  ASSERT_GT(pid, 0);

  std::vector<Request> requests;
  std::vector<ClockItem> clocks;
  uint8_t pending[1024];
  int have = 0;
  while (Clock::now() - start < std::chrono::seconds(kSeconds + 5)) {
    if (!pty.WaitReadable(50)) {
      // Looked at without reaping, so WaitExit still gets the exit code.
      siginfo_t info{};
      if (::waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid) break;
      continue;
    }
    int got = 0;
    if (pty.Read(pending + have, static_cast<int>(sizeof pending) - have, got) != plat::PtyResult::Ok) break;
    have += got;
    for (;;) {
      Request r{};
      const int used = TakeFrame(pending, have, r);
      if (used == 0) break;
      std::memmove(pending, pending + used, have - used);
      have -= used;
      if (r.length < kResyncFrameLength) continue;
      r.at = Clock::now();
      requests.push_back(r);
      ClockItem c{};
      if (FindClockItem(r, c)) {
        const time_t now = time(nullptr);
        localtime_r(&now, &c.local);
        clocks.push_back(c);
      }
      uint8_t frame[kStatusFrameLength];
      MakeStatusFrame(frame, static_cast<int>(requests.size()));
      pty.Write(frame, kStatusFrameLength);
    }
  }
  EXPECT_EQ(e2e::WaitExit(pid, 10000), 0);

  ASSERT_GE(requests.size(), 10u);
  // The first request is a poll, before any clock second has passed.
  EXPECT_EQ(requests[0].length, kPollFrameLength);
  EXPECT_EQ(std::memcmp(requests[0].bytes, kPollFrame, kPollFrameLength), 0);

  // One request every 350 ms: the median gap, and the count over the run.
  std::vector<double> gaps;
  for (size_t i = 1; i < requests.size(); ++i)
    gaps.push_back(std::chrono::duration<double, std::milli>(requests[i].at - requests[i - 1].at).count());
  std::sort(gaps.begin(), gaps.end());
  const double median = gaps[gaps.size() / 2];
  EXPECT_GT(median, 300.0);
  EXPECT_LT(median, 400.0);
  const double spanMs = std::chrono::duration<double, std::milli>(requests.back().at - requests.front().at).count();
  EXPECT_NEAR(spanMs / 350.0, static_cast<double>(requests.size() - 1), 3.0);

  // A clock item about once a second, with the local time and a two-digit year.
  ASSERT_GE(clocks.size(), static_cast<size_t>(kSeconds - 3));
  EXPECT_LE(clocks.size(), static_cast<size_t>(kSeconds + 1));
  for (const ClockItem& c : clocks) {
    EXPECT_EQ(c.year, c.local.tm_year % 100);
    EXPECT_EQ(c.month, c.local.tm_mon + 1);
    EXPECT_EQ(c.day, c.local.tm_mday);
    // The item may have been built just before a minute boundary that the arrival is after.
    const int sent = c.hour * 60 + c.minute;
    const int seen = c.local.tm_hour * 60 + c.local.tm_min;
    EXPECT_LE((seen - sent + 1440) % 1440, 1) << c.hour << ":" << c.minute;
  }
}

}  // namespace
