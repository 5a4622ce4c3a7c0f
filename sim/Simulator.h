#pragma once
// A dryer controller as the panel sees it over the serial line: the full register image (two
// pages of 256 bytes), one 331-byte status frame for every poll, resync or command, command
// items applied to the registers, and a running dryer advanced on a simulated-time step.
// The core is pure: SimHandleRequest and SimStep do no input or output, so tests drive them
// directly; SimServer (SimServer.h) puts them on a line.
#include <cstdint>

#include "link/Framing.h"

inline constexpr int kSimRegisterBytes = 512;  // page-0 register r at r, page-1 register r at 256 + r
inline constexpr int kSimUnitSlots = 6;
inline constexpr int kSimRequestLogSize = 64;

// A light output or switch input of the control panel held at a value from a time on, whatever
// the plant does (--switch BYTE:BIT=0|1@S): status byte, bit mask, value, seconds of the line.
inline constexpr int kSimForcedBitMax = 16;
struct SimForcedBit {
  uint16_t byte = 0;
  uint8_t mask = 0;
  bool value = false;
  double fromS = 0;
};

// Faults injected on the answers. Answers are numbered from 1; "every Nth" means numbers
// N, 2N, 3N... A value of 0 turns the fault off.
struct SimFaults {
  uint32_t dropEvery = 0;     // the answer is not sent (the command is still applied)
  uint32_t corruptEvery = 0;  // one bit of the answer is flipped
  uint32_t splitEvery = 0;    // the answer goes out in two writes with a pause between
  uint32_t splitPauseMs = 400;  // long enough that the panel reads the halves in two cycles
  // From silentAfterS for silentForS seconds of simulated time the controller neither hears
  // nor answers. silentForS 0 means never.
  double silentAfterS = 0;
  double silentForS = 0;
  // A warning (node in byte 186, id in byte 185) reported from warningFromS up to warningToS.
  uint8_t warningNode = 0;
  uint8_t warningId = 0;
  double warningFromS = 0;
  double warningToS = 0;
  // Panel inputs and outputs held at a value.
  SimForcedBit forced[kSimForcedBitMax];
  int forcedCount = 0;
};

enum class SimRequestKind : uint8_t { Poll, Resync, Command };

enum class SimAnswer : uint8_t {
  Sent,     // reply holds the frame to write
  Dropped,  // a dropped answer: nothing to write
  Silent,   // the controller is silent: the request was not even heard
  Ignored,  // bad CRC or inconsistent frame: no answer
};

struct SimReply {
  uint8_t bytes[lnk::kStatusFrameLength];
  int length = 0;
  int splitAt = 0;  // above 0: write bytes [0, splitAt), pause, then the rest
  uint32_t pauseMs = 0;
};

// One well-formed request that came in, kept for tests and the trace.
struct SimLoggedRequest {
  SimRequestKind kind = SimRequestKind::Poll;
  bool unheard = false;  // it came while the controller was silent
  uint32_t number = 0;  // running number of logged requests, from 1
  double timeS = 0;
  int length = 0;
  uint8_t bytes[lnk::kMaxCommandFrameLength] = {};
};

struct SimCounters {
  uint32_t polls = 0;
  uint32_t resyncs = 0;
  uint32_t commands = 0;
  uint32_t itemsApplied = 0;
  uint32_t rejected = 0;  // bad CRC or inconsistent length
  uint32_t answered = 0;  // answers produced, faults included; the number the faults count
  uint32_t dropped = 0;
  uint32_t corrupted = 0;
  uint32_t split = 0;
  uint32_t unheard = 0;  // requests that arrived while silent
};

// ---- Scenarios: starting registers and plant parameters ----

enum class SimForm : uint8_t { U8, S16LowFirst, U16LowFirst, U16HighFirst, MinSec };

// One starting register value; `index` is page*256 + register, the value in the form's units
// (MinSec: seconds).
struct SimStartValue {
  int index;
  SimForm form;
  int value;
};

// A warning or shutdown that a node reports for a while. A shutdown of a fan/heater node
// locks its burner out; one of the main I/O node stops the load.
struct SimWarningEvent {
  double fromS;
  double toS;
  uint8_t node;
  uint8_t id;
  bool shutdown;
};

struct SimPlantParameters {
  double ambientF;
  double incomingMoisture;       // tenths of a percent, the middle of its slow swing
  double incomingSwing;          // tenths of a percent
  double startOutgoingMoisture;  // tenths of a percent
  bool startWarm;                // plenums and grain at their working temperatures
  bool running;                  // false: waiting for START
  double warningCycleS;          // the warnings repeat with this period; 0: once
};

struct SimScenario {
  const char* name;
  const char* summary;
  SimPlantParameters plant;
  const SimStartValue* values;
  int valueCount;
  const SimWarningEvent* warnings;
  int warningCount;
  // Auto-start controller: byte 188 bit 6 reports only that the dryer runs (AutoStartSequence.cpp).
  bool autoStart = false;
};

// The values every scenario starts from, before its own.
int SimBaseValueCount();
const SimStartValue* SimBaseValues();
// The scenarios, the default first.
int SimScenarioCount();
const SimScenario& SimScenarioAt(int i);
const SimScenario& SimDefaultScenario();
// The scenario of that name, or nullptr.
const SimScenario* SimFindScenario(const char* name);

// The physical state behind the registers; the registers are rewritten from it on each step.
struct SimPlant {
  double plenumTemp[kSimUnitSlots];
  bool burnerOn[kSimUnitSlots];
  double grainTemp[3];
  double incomingMoisture;  // tenths of a percent
  double outgoingMoisture;
  double meterSpeed;        // percent of the metering rolls' full speed
  double secondCarry;       // simulated time not yet spent on whole-second work
  uint32_t loadPhaseS;      // seconds into the current load (running) or pause (idle)
  uint32_t loadLengthS;     // how long the running load takes to fill the column
  uint32_t runSeconds;
  uint32_t sinceStartS;     // seconds since START: the fans come on one after the other
  uint32_t startPulseS;     // the START input reads pressed while above 0
  uint32_t controlS;        // seconds since the variable speed control last moved
  uint32_t noise;           // pseudo-random state, so runs are reproducible
};

// How the controller applies the drying mode: the dryer type it last ran and how long the
// running batch has been heated.
struct SimDryingState {
  uint8_t appliedType;
  uint32_t heatS;
};

// Auto-start sequence run by the controller itself (AutoStartSequence.cpp).
enum class SimAutoStartPhase : uint8_t { Idle, Preparing, Warming, Done };
inline constexpr int kSimAutoStartCounterBytes = 26;  // bytes 294..319: the per-unit times and the total
struct SimAutoStart {
  SimAutoStartPhase phase = SimAutoStartPhase::Idle;
  bool lastRequest = false;  // bit 0 of 1:23 at the last step, to see it rise
  uint32_t elapsedS = 0;
  double carry = 0;          // simulated time not yet spent on whole seconds
  uint8_t savedCounters[kSimAutoStartCounterBytes] = {};  // the plant's counters, given back at the end
};

struct Simulator {
  uint8_t reg[kSimRegisterBytes];
  double timeS;  // simulated seconds since SimInit
  SimFaults faults;
  SimCounters counters;
  SimPlant plant;
  const SimScenario* scenario;
  bool running;         // the dryer runs (run flag, fans, burners, unloading)
  bool physicsFrozen;   // time goes on (faults, warnings) but no register changes by itself
  bool forcedSilent;    // silent until lowered, whatever the fault times say
  uint32_t logged;      // well-formed requests that came in (silent or not), numbering the log
  SimLoggedRequest log[kSimRequestLogSize];  // ring; the newest at (logged - 1) % size
  uint8_t lastClock[5];  // the last panel clock item: minute, hour, day, month, year % 100
  uint32_t clockItems;
  SimDryingState drying;
  // Auto-start sequence.
  SimAutoStart autoStart;
};

// The default scenario: a running two-unit continuous-flow dryer of 20 ft drying corn.
void SimInit(Simulator& sim, const SimFaults& faults = {});
void SimInitScenario(Simulator& sim, const SimScenario& scenario, const SimFaults& faults = {});

// The drying mode, once a simulated second before the plant's own work (sim/DryingMode.cpp): a
// change of the dryer type starts or ends the batch cycle, and a staged batch leaves its heat
// when its drying criteria are met or a safety trips, not before.
void SimApplyDryingMode(Simulator& sim);

// Handles one received request frame: checks it, applies a command's items, and fills `reply`
// with the status frame to write (after the faults). Returns what to do with the reply.
SimAnswer SimHandleRequest(Simulator& sim, const uint8_t* request, int n, SimReply& reply);

// Advances simulated time: plant values move toward their targets, countdowns and counters run
// once per whole second.
void SimStep(Simulator& sim, double seconds);

// The 331-byte status frame of the current image: page 0, page 1 registers 0..72, CRC.
void SimBuildStatusFrame(const Simulator& sim, uint8_t* frame);

// True while the controller neither hears nor answers.
bool SimIsSilent(const Simulator& sim);

// The controller's own inputs.
void SimTurnKnob(Simulator& sim);  // toggles bit 7 of 0:159
void SimSetRunning(Simulator& sim, bool running);
void SimPressStart(Simulator& sim);  // the START button: starts a stopped dryer
void SimPressStop(Simulator& sim);   // the STOP button

// The newest logged requests, oldest first: fills up to `max` entries and returns how many.
int SimRecentRequests(const Simulator& sim, SimLoggedRequest* out, int max);

// Register readers and writers in the controller's byte orders (index: page*256 + register).
int16_t SimS16LowFirst(const Simulator& sim, int index);
void SimSetS16LowFirst(Simulator& sim, int index, int16_t value);
uint16_t SimU16HighFirst(const Simulator& sim, int index);
void SimSetU16HighFirst(Simulator& sim, int index, uint16_t value);
uint32_t SimU32LowFirst(const Simulator& sim, int index);
uint32_t SimMinSec(const Simulator& sim, int index);  // in seconds
void SimSetMinSec(Simulator& sim, int index, uint32_t seconds);

// ---- Receiving frames from a byte stream ----

// Splits the bytes of the line into request frames by their first byte: 0x06 is a 4-byte
// resync, any other value 4..112 a frame of that length (the poll is 7). Bytes that cannot
// start a frame, and frames whose CRC fails, are skipped one byte at a time; an incomplete
// frame is dropped after a quiet gap, so a lost byte cannot stall the line.
inline constexpr uint32_t kSimReceiveGapMs = 30;
struct SimReceiver {
  uint8_t buffer[1024];
  int have = 0;
  uint64_t lastByteMs = 0;
  uint32_t skipped = 0;  // bytes thrown away while looking for a frame
};

void SimReceiverPush(SimReceiver& rx, const uint8_t* data, int n, uint64_t nowMs);
// Takes the next frame whose CRC verifies into `out` (room for 112 bytes); returns its length,
// or 0 when no complete frame is waiting.
int SimReceiverTake(SimReceiver& rx, uint8_t* out, uint64_t nowMs);
