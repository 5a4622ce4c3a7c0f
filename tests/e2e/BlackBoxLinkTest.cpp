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
  uint8_t bytes[lnk::kMaxCommandFrameLength];
};

struct ClockItem {
  int minute, hour, day, month, year;
  struct tm local;  // when it arrived
  Clock::time_point at;
};

// Splits what arrived into frames: the 7-byte poll, the 4-byte resync (first byte 6) or a command
// of the length its first byte gives. Returns the bytes used, 0 when a frame is incomplete.
int TakeFrame(const uint8_t* data, int n, Request& out) {
  if (n < 1) return 0;
  int length = data[0] == lnk::kResyncFrame[0] ? lnk::kResyncFrameLength : data[0];
  if (length < lnk::kResyncFrameLength || length > lnk::kMaxCommandFrameLength) return 1;  // skip a stray byte
  if (n < length) return 0;
  out.length = length;
  std::memcpy(out.bytes, data, length);
  return length;
}

// The clock item (page 0, register 53, five bytes) of a command frame, if it holds one.
bool FindClockItem(const Request& r, ClockItem& out) {
  if (r.length < 4 || r.bytes[0] != r.length || !lnk::VerifyChecksum(r.bytes, r.length - 2)) return false;
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

// The controller's register image, as the status frame carries it (byte k is frame byte k).
struct Image {
  uint8_t b[lnk::kStatusPayloadLength] = {};
};

// A command's items land in the image, so the next status frames echo them.
void ApplyItems(const Request& r, Image& image) {
  if (r.length < 4 || r.bytes[0] != r.length || !lnk::VerifyChecksum(r.bytes, r.length - 2)) return;
  int pos = 2;
  for (int i = 0; i < r.bytes[1] && pos + 3 <= r.length - 2; ++i) {
    const int first = r.bytes[pos] * 256 + r.bytes[pos + 1];
    const int count = r.bytes[pos + 2];
    for (int k = 0; k < count; ++k)
      if (first + k < lnk::kStatusPayloadLength) image.b[first + k] = r.bytes[pos + 3 + k];
    pos += 3 + count;
  }
}

void MakeStatusFrame(uint8_t (&frame)[lnk::kStatusFrameLength], const Image& image, int serial) {
  std::memcpy(frame, image.b, lnk::kStatusPayloadLength);
  frame[71] = static_cast<uint8_t>(100 + serial % 50);  // a plenum temperature that moves
  lnk::AppendChecksum(frame, lnk::kStatusPayloadLength);
}

// Answers every request on the pty until the panel exits or `limit` passes; returns the
// requests in the order they came.
std::vector<Request> Serve(plat::PtyPair& pty, pid_t pid, Image& image, std::chrono::seconds limit) {
  std::vector<Request> requests;
  uint8_t pending[1024];
  int have = 0;
  const auto start = Clock::now();
  while (Clock::now() - start < limit) {
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
      if (r.length < lnk::kResyncFrameLength) continue;
      r.at = Clock::now();
      requests.push_back(r);
      ApplyItems(r, image);
      uint8_t frame[lnk::kStatusFrameLength];
      MakeStatusFrame(frame, image, static_cast<int>(requests.size()));
      pty.Write(frame, lnk::kStatusFrameLength);
    }
  }
  return requests;
}

TEST(BlackBoxLink, FirstRequestCadenceOverAMinuteAndTheClockOnceASecond) {
  plat::PtyPair pty;
  ASSERT_EQ(pty.Open(), plat::PtyResult::Ok);
  e2e::TempDir root;
  constexpr int kSeconds = 60;
  const pid_t pid = e2e::StartPanel({"--headless", "--port", pty.SlavePath(), "--root", root.path,
                                     "--run-for", std::to_string(kSeconds)});
  ASSERT_GT(pid, 0);

  Image image;
  image.b[171] = 0xA0;
  const std::vector<Request> requests = Serve(pty, pid, image, std::chrono::seconds(kSeconds + 20));
  std::vector<ClockItem> clocks;
  for (const Request& r : requests) {
    ClockItem c{};
    if (FindClockItem(r, c)) {
      // The local time when the item came: the frame was read a moment after it was built.
      const time_t when = time(nullptr) - static_cast<time_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                                                   Clock::now() - r.at).count());
      localtime_r(&when, &c.local);
      c.at = r.at;
      clocks.push_back(c);
    }
  }
  EXPECT_EQ(e2e::WaitExit(pid, 10000), 0);

  ASSERT_GE(requests.size(), 10u);
  // The first request is a poll, before any clock second has passed.
  EXPECT_EQ(requests[0].length, lnk::kPollFrameLength);
  EXPECT_EQ(std::memcmp(requests[0].bytes, lnk::kPollFrame, lnk::kPollFrameLength), 0);

  // One request every 350 ms: the median gap, no long pause, and the count over the minute
  // (60 s / 350 ms is 171; a loaded machine may lose a few ticks).
  std::vector<double> gaps;
  for (size_t i = 1; i < requests.size(); ++i)
    gaps.push_back(std::chrono::duration<double, std::milli>(requests[i].at - requests[i - 1].at).count());
  std::sort(gaps.begin(), gaps.end());
  const double median = gaps[gaps.size() / 2];
  EXPECT_GT(median, 300.0);
  EXPECT_LT(median, 400.0);
  EXPECT_LT(gaps.back(), 1000.0) << "the longest gap";
  EXPECT_GE(requests.size(), 160u);
  EXPECT_LE(requests.size(), 174u);
  const double spanMs = std::chrono::duration<double, std::milli>(requests.back().at - requests.front().at).count();
  EXPECT_NEAR(spanMs / 350.0, static_cast<double>(requests.size() - 1), 3.0);

  // A clock item about once a second, with the local time and a two-digit year. It goes out
  // in the first cycle after each second, so two items lie 700 or 1050 ms apart.
  ASSERT_GE(clocks.size(), static_cast<size_t>(kSeconds - 3));
  EXPECT_LE(clocks.size(), static_cast<size_t>(kSeconds + 1));
  for (size_t i = 1; i < clocks.size(); ++i) {
    const double gap = std::chrono::duration<double, std::milli>(clocks[i].at - clocks[i - 1].at).count();
    EXPECT_GT(gap, 600.0) << "clock item " << i;
    EXPECT_LT(gap, 1500.0) << "clock item " << i;
  }
  const double clockSpanMs =
      std::chrono::duration<double, std::milli>(clocks.back().at - clocks.front().at).count();
  EXPECT_NEAR(clockSpanMs / static_cast<double>(clocks.size() - 1), 1000.0, 50.0);
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


// The grain temperature setpoint item (page 0, register 149, two bytes low first), -1 if none.
int GrainSetpointItem(const Request& r) {
  if (r.length < 4 || r.bytes[0] != r.length) return -1;
  int pos = 2;
  for (int i = 0; i < r.bytes[1] && pos + 3 <= r.length - 2; ++i) {
    const int count = r.bytes[pos + 2];
    if (r.bytes[pos] == 0 && r.bytes[pos + 1] == 149 && count == 2) return r.bytes[pos + 3] | (r.bytes[pos + 4] << 8);
    pos += 3 + count;
  }
  return -1;
}

TEST(BlackBoxLink, SetpointTypedOnTheKeypadGoesOutAndIsRetiredByTheEcho) {
  plat::PtyPair pty;
  ASSERT_EQ(pty.Open(), plat::PtyResult::Ok);
  e2e::TempDir root;
  // The fifth button in moisture-control mode 5 opens the grain setpoint keypad (dialog 101):
  // CLEAR, 1, 2, 0, ACCEPT.
  const std::string script = root.path + "/keypad.txt";
  {
    std::FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("wait 1500\ntouch 568 447\nwait 400\npress 1015\npress 1003\npress 1007\npress 1002\n"
               "wait 100\npress 1013\n", f);
    std::fclose(f);
  }
  const pid_t pid = e2e::StartPanel({"--headless", "--port", pty.SlavePath(), "--root", root.path,
                                     "--script", script, "--run-for", "6"});
  ASSERT_GT(pid, 0);
  Image image;
  image.b[171] = 0xA0;
  image.b[187] = 5;    // moisture-control mode 5
  image.b[149] = 90;   // grain setpoint 1 at 90 F
  const std::vector<Request> requests = Serve(pty, pid, image, std::chrono::seconds(12));
  EXPECT_EQ(e2e::WaitExit(pid, 10000), 0);

  size_t first = requests.size(), last = 0, carrying = 0;
  for (size_t i = 0; i < requests.size(); ++i) {
    const int v = GrainSetpointItem(requests[i]);
    if (v < 0) continue;
    EXPECT_EQ(v, 120) << "request " << i;
    first = std::min(first, i);
    last = i;
    ++carrying;
  }
  ASSERT_GT(carrying, 0u) << "the typed setpoint never reached the wire";
  EXPECT_EQ(image.b[149], 120);
  // Retired by the echo: sent for a cycle or two after it, then never again.
  EXPECT_LE(carrying, 3u);
  EXPECT_EQ(last - first + 1, carrying);
  EXPECT_GT(requests.size(), last + 3);
}

}  // namespace
