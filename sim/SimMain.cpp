// dryer-sim: a dryer controller on a serial device or a new pseudo-terminal.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "sim/Plant.h"
#include "sim/SimServer.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitStartFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: dryer-sim (--port PATH | --pty) [options]\n"
    "  --port PATH              serve on that serial device\n"
    "  --pty                    create a pseudo-terminal and print its slave path first\n"
    "  --drop-every N           do not send every Nth answer\n"
    "  --corrupt-every N        flip one bit of every Nth answer\n"
    "  --split-every N          send every Nth answer in two writes with a pause\n"
    "  --split-pause MS         the pause of a split answer (default 400)\n"
    "  --silent-after S         go silent S seconds after start ...\n"
    "  --silent-for S           ... for S seconds\n"
    "  --warning NODE:ID@S-S    report warning ID of NODE from second S to second S\n"
    "  --switch BYTE:BIT=V@S    from second S hold bit BIT of panel light or switch byte BYTE\n"
    "                           (177..183, 225, 239, 240) at V (0 or 1), whatever the dryer\n"
    "                           does; @S may be left out (from the start); up to 16 times\n"
    "  --scenario NAME          the dryer to simulate (default: corn; see below)\n"
    "  --speed N                run simulated time N times faster (0.1..1000; default 1)\n"
    "  --run-for SECONDS        exit after that long (default: run until stopped)\n"
    "  --fast                   answer at once instead of at 38400 baud\n"
    "  --trace                  hex dumps of requests and answers on stderr\n"
    "  --help                   this text\n"
    "Fault times are seconds of the line, at any speed. SIGUSR1 presses START, SIGUSR2 STOP.\n";

volatile std::sig_atomic_t gStopSignal = 0;
volatile std::sig_atomic_t gStartSignal = 0;
volatile std::sig_atomic_t gStopButtonSignal = 0;

void OnSignal(int) { gStopSignal = 1; }
void OnStartSignal(int) { gStartSignal = 1; }
void OnStopButtonSignal(int) { gStopButtonSignal = 1; }

void PrintScenarios(std::FILE* out) {
  std::fputs("Scenarios:\n", out);
  for (int i = 0; i < SimScenarioCount(); ++i)
    std::fprintf(out, "  %-24s %s\n", SimScenarioAt(i).name, SimScenarioAt(i).summary);
}

constexpr double kMinSpeed = 0.1;
constexpr double kMaxSpeed = 1000;

struct Arguments {
  const char* port = nullptr;
  bool pty = false;
  double runFor = 0;
  bool silentAfterGiven = false;
  bool silentForGiven = false;
  SimServerOptions options;
};

bool ParseCount(const char* text, uint32_t& out) {
  char* end = nullptr;
  unsigned long v = std::strtoul(text, &end, 10);
  if (!text[0] || *end || text[0] == '-' || v > 1000000000UL) return false;
  out = static_cast<uint32_t>(v);
  return true;
}

bool ParseSeconds(const char* text, double& out) {
  char* end = nullptr;
  double v = std::strtod(text, &end);
  if (!text[0] || *end || !(v >= 0) || v > 1e9) return false;
  out = v;
  return true;
}

// NODE:ID@FROM-TO, node and id 1..255 (either may be 0, not both), FROM before TO.
bool ParseWarning(const char* text, SimFaults& f) {
  unsigned node = 0, id = 0;
  double from = 0, to = 0;
  int used = 0;
  if (std::sscanf(text, "%u:%u@%lf-%lf%n", &node, &id, &from, &to, &used) != 4 || text[used] != '\0') return false;
  if (node > 255 || id > 255 || (node == 0 && id == 0) || from < 0 || to <= from) return false;
  f.warningNode = static_cast<uint8_t>(node);
  f.warningId = static_cast<uint8_t>(id);
  f.warningFromS = from;
  f.warningToS = to;
  return true;
}

// BYTE:BIT=0|1[@S]: a light or switch byte of the panel, a bit 0..7, the value it is held at,
// and from which second on.
bool ParseForcedBit(const char* text, SimFaults& f) {
  unsigned byte = 0, bit = 0, value = 0;
  double from = 0;
  int used = 0;
  const int got = std::sscanf(text, "%u:%u=%u%n@%lf%n", &byte, &bit, &value, &used, &from, &used);
  if (got < 3 || text[used] != '\0' || (got == 3 && std::strchr(text, '@') != nullptr)) return false;
  if (!PanelIoByte(static_cast<int>(byte)) || bit > 7 || value > 1 || from < 0 || f.forcedCount >= kSimForcedBitMax)
    return false;
  f.forced[f.forcedCount++] = SimForcedBit{.byte = static_cast<uint16_t>(byte), .mask = static_cast<uint8_t>(1u << bit),
                                           .value = value == 1, .fromS = from};
  return true;
}

constexpr const char* kValueOptions[] = {
    "--port", "--drop-every", "--corrupt-every", "--split-every", "--split-pause",
    "--silent-after", "--silent-for", "--warning", "--run-for", "--scenario", "--speed",
    "--switch",
};

bool TakesValue(const char* opt) {
  for (const char* name : kValueOptions)
    if (std::strcmp(opt, name) == 0) return true;
  return false;
}

int Usage(const char* message, const char* detail) {
  std::fprintf(stderr, "dryer-sim: %s%s%s\n%s", message, detail ? ": " : "", detail ? detail : "", kUsage);
  return kExitUsage;
}

// Returns kExitOk when the arguments are good, or the exit code to leave with.
int Parse(int argc, char** argv, Arguments& a, bool& help) {
  SimFaults& f = a.options.faults;
  for (int i = 1; i < argc; ++i) {
    const char* opt = argv[i];
    if (std::strcmp(opt, "--help") == 0) {
      help = true;
      return kExitOk;
    }
    if (std::strcmp(opt, "--pty") == 0) {
      a.pty = true;
      continue;
    }
    if (std::strcmp(opt, "--fast") == 0) {
      a.options.realPace = false;
      continue;
    }
    if (std::strcmp(opt, "--trace") == 0) {
      a.options.trace = true;
      continue;
    }
    if (!TakesValue(opt)) return Usage("unknown option", opt);
    if (i + 1 >= argc) return Usage("missing value for", opt);
    const char* value = argv[++i];
    bool ok = true;
    if (std::strcmp(opt, "--port") == 0) {
      a.port = value;
    } else if (std::strcmp(opt, "--drop-every") == 0) {
      ok = ParseCount(value, f.dropEvery);
    } else if (std::strcmp(opt, "--corrupt-every") == 0) {
      ok = ParseCount(value, f.corruptEvery);
    } else if (std::strcmp(opt, "--split-every") == 0) {
      ok = ParseCount(value, f.splitEvery);
    } else if (std::strcmp(opt, "--split-pause") == 0) {
      ok = ParseCount(value, f.splitPauseMs);
    } else if (std::strcmp(opt, "--silent-after") == 0) {
      ok = ParseSeconds(value, f.silentAfterS);
      a.silentAfterGiven = true;
    } else if (std::strcmp(opt, "--silent-for") == 0) {
      ok = ParseSeconds(value, f.silentForS);
      a.silentForGiven = true;
    } else if (std::strcmp(opt, "--warning") == 0) {
      ok = ParseWarning(value, f);
    } else if (std::strcmp(opt, "--switch") == 0) {
      ok = ParseForcedBit(value, f);
    } else if (std::strcmp(opt, "--scenario") == 0) {
      a.options.scenario = SimFindScenario(value);
      ok = a.options.scenario != nullptr;
    } else if (std::strcmp(opt, "--speed") == 0) {
      ok = ParseSeconds(value, a.options.speed) && a.options.speed >= kMinSpeed && a.options.speed <= kMaxSpeed;
    } else if (std::strcmp(opt, "--run-for") == 0) {
      ok = ParseSeconds(value, a.runFor) && a.runFor > 0;
    }
    if (!ok) {
      std::fprintf(stderr, "dryer-sim: bad value for %s: %s\n%s", opt, value, kUsage);
      if (std::strcmp(opt, "--scenario") == 0) PrintScenarios(stderr);
      return kExitUsage;
    }
  }
  if (a.pty == (a.port != nullptr)) return Usage("give exactly one of --port PATH and --pty", nullptr);
  if (a.silentAfterGiven != a.silentForGiven) return Usage("--silent-after and --silent-for go together", nullptr);
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  bool help = false;
  int code = Parse(argc, argv, args, help);
  if (code != kExitOk) return code;
  if (help) {
    std::fputs(kUsage, stdout);
    PrintScenarios(stdout);
    return kExitOk;
  }

  std::signal(SIGTERM, OnSignal);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGUSR1, OnStartSignal);
  std::signal(SIGUSR2, OnStopButtonSignal);

  SimServer server;
  SimServerResult r = args.pty ? server.StartOnPty(args.options) : server.StartOnDevice(args.port, args.options);
  if (r != SimServerResult::Ok) {
    std::fprintf(stderr, "dryer-sim: %s%s%s\n", SimServerResultText(r), args.port ? ": " : "", args.port ? args.port : "");
    return kExitStartFailed;
  }
  std::printf("%s\n", server.SlavePath());
  std::fflush(stdout);

  const auto start = std::chrono::steady_clock::now();
  while (!gStopSignal) {
    if (args.runFor > 0 && std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >= args.runFor) break;
    if (gStartSignal) {
      gStartSignal = 0;
      server.PressStart();
    }
    if (gStopButtonSignal) {
      gStopButtonSignal = 0;
      server.PressStop();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  server.Stop();
  return kExitOk;
}
