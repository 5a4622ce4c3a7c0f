// Two days of a running dryer through the panel's own one-second tick: the simulator core answers
// the link in-process, the virtual clock moves one second per tick, and the logs on disk must
// come out as the logging rules say.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "i18n/Language.h"
#include "link/DryerStatus.h"
#include "link/Link.h"
#include "link/SettingRequest.h"
#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Dialog.h"
#include "platform/Files.h"
#include "records/LogTick.h"
#include "records/LongTermLog.h"
#include "records/Preferences.h"
#include "records/ShortTermLog.h"
#include "shell/Panel.h"
#include "shell/Ticks.h"
#include "sim/Simulator.h"
#include "tests/e2e/ProgramSupport.h"

namespace {

// The simulator core on the link's port: a request written is answered at once, and the answer
// is what the next cycle reads.
struct InProcessController {
  Simulator sim;
  SimReply reply;
  bool replyReady = false;
};

int ControllerRead(void* c, uint8_t* buffer, int capacity) {
  auto* x = static_cast<InProcessController*>(c);
  if (!x->replyReady) return 0;
  x->replyReady = false;
  const int n = x->reply.length < capacity ? x->reply.length : capacity;
  std::memcpy(buffer, x->reply.bytes, n);
  return n;
}

void ControllerWrite(void* c, const uint8_t* buffer, int length) {
  auto* x = static_cast<InProcessController*>(c);
  x->replyReady = SimHandleRequest(x->sim, buffer, length, x->reply) == SimAnswer::Sent;
}

void ControllerPurge(void*) {}

int AnswerNo(shell::TickQuestion, const char16_t*, const char16_t*) { return plat::IdNo; }

size_t CountLines(const char* panelPath) {
  plat::FileHandle f;
  if (plat::OpenFile(panelPath, plat::OpenMode::Read, f) != plat::FileResult::Ok) return 0;
  size_t lines = 0;
  char buffer[65536];
  size_t got = 0;
  while (plat::ReadFile(f, buffer, sizeof buffer, got) == plat::FileResult::Ok && got > 0)
    for (size_t i = 0; i < got; ++i) lines += buffer[i] == '\n';
  plat::CloseFile(f);
  return lines;
}

std::vector<std::string> List(const char* pattern) {
  std::vector<std::string> names;
  plat::FindHandle h;
  plat::FindData d;
  for (plat::FileResult r = plat::FindFirstFile(pattern, h, d); r == plat::FileResult::Ok;
       r = plat::FindNextFile(h, d))
    names.push_back(d.name);
  plat::FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

TEST(LoggingRun, FortyEightHoursThroughTheOneSecondTick) {
  e2e::TempDir root;
  ASSERT_TRUE(shell::PrepareRoot(root.path.c_str(), DRYER_BINARY_DIR "/assets/Languages"));
  plat::UseVirtualClock(plat::LocalTime{.year = 2016, .month = 10, .day = 4, .hour = 6, .dayOfWeek = 2});
  plat::SetFileRoot(root.path.c_str());
  ASSERT_EQ(plat::OpenDisplay(plat::DisplayOptions{.headless = true}), plat::DisplayKind::Headless);
  records::CurrentPreferences() = records::Preferences{};
  records::ResetLoggingState();
  shell::ResetTickState();
  shell::SetTickAsker(AnswerNo);

  static InProcessController controller;
  SimInit(controller.sim);
  controller.sim.physicsFrozen = true;  // a steady running dryer with the logger on
  controller.sim.reg[lnk::kStatusRunFlags] |= lnk::kRunFlagsRunning;
  controller.sim.reg[lnk::kStatusDataLogger] = 1;
  lnk::SetLinkPort(lnk::LinkPort{.context = &controller, .read = ControllerRead, .write = ControllerWrite,
                       .purge = ControllerPurge});
  lnk::PresetDryerStatus();

  constexpr int kTicks = 48 * 3600 + 600;
  int running = 0;
  for (int tick = 1; tick <= kTicks; ++tick) {
    plat::AdvanceVirtualClock(1000);
    // One cycle a second is enough here: each reads the answer to the one before.
    lnk::RunLinkCycle();
    shell::OneSecondTick();
    running += shell::Ticks().dryerRunning;
  }
  // The first frame is read by the second cycle, so the first tick sees the preset only.
  EXPECT_EQ(running, kTicks - 1);
  EXPECT_TRUE(lnk::LinkConnected());
  // The clock went out with every tick but the last, whose item is still to be sent.
  EXPECT_EQ(controller.sim.clockItems, static_cast<uint32_t>(kTicks - 1));
  EXPECT_EQ(controller.sim.lastClock[4], 16);

  // Long-term: the step at the first tick and every twelfth after; the first tick's dryer was
  // not yet known to run, so its line is missing.
  EXPECT_EQ(CountLines(records::kLongTermPath), static_cast<size_t>(kTicks / 12 - 1));
  // Graph: three days' files rotated down to the newest two; short-term: the 289th sample
  // started a new file.
  EXPECT_EQ(List("\\Hard Disk\\GraphDataLog\\GRAPH_DATA_LOG_24HR*.DAT").size(), 2u);
  EXPECT_EQ(List("\\Hard Disk\\ShortTermDataLog\\DATA_LOG_24HR*.DAT").size(), 2u);
  EXPECT_EQ(records::CountSamples(), 144);

  shell::SetTickAsker(nullptr);
  plat::CloseDisplay();
  records::ResetLoggingState();
  lnk::ResetLinkState();
  lnk::ResetDryerStatus();
  lnk::ResetSettingRequest();
  i18n::ResetLanguageState();
  plat::UseRealClock();
}

}  // namespace
