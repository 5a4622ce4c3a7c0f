#pragma once
// The panel's wanted register values and the pending flag of each command item. A screen or
// dialog writes the value and raises the flag; the link sends the item in every cycle until
// the controller echoes the value. Writing a value and raising its flag, comparing an echo and
// lowering it, the link's own rewrites and the builder's copy all take one short lock, so an
// edit made while an older value is in flight is never lost and no 16-bit value goes out torn.
// The flags are atomics and may be read without the lock.
#include <cstdint>

#include "link/RegisterMap.h"

namespace lnk {

inline constexpr int kSettingRequestBytes = 512;

// Where an item's data bytes come from.
enum class RowData : uint8_t {
  Request,  // the request array at the item's registers
  Status,   // the status record, from `source` on
};

// How an item's flag is lowered.
enum class RowRetire : uint8_t {
  StatusEcho,         // every status byte of the item equals the request
  SetpointEcho,       // as StatusEcho, against the previous frame's stored values
  CountdownEcho,      // the received countdown bytes equal the request
  OneShot,            // lowered when written
  OneShotAndEcho,     // lowered when written, and by status echo
  MeterRollDialog,    // only the meter-roll dialog lowers it
  ChangesToRequest,   // the status byte changes in a frame to the requested value
  MeterRollEcho,      // requests 0:159..0:162 equal the received bytes 159..162
  Request161Echo,     // received byte 161 equals request 0:161
  RestoreEcho,        // received bytes 160..162 equal received bytes 156..158
  OptionBits2Echo,    // byte 279 equals the request with bits 4..6 masked off
};

struct CommandRowInfo {
  CommandRow row;
  uint8_t page;
  uint8_t reg;
  uint8_t count;
  RowData data = RowData::Request;
  uint16_t source = 0;  // first status byte when data is Status
  RowRetire retire = RowRetire::StatusEcho;
  bool neverSkips = false;
};

constexpr int RowRegister(const CommandRowInfo& r) { return RegisterIndex(r.page, r.reg); }

// The item table in builder order; entry i is row i + 1.
inline constexpr CommandRowInfo kCommandRows[kCommandRowCount] = {
    {.row = CommandRow::FanHeaterCount, .page = 0, .reg = 3, .count = 1, .neverSkips = true},
    {.row = CommandRow::ModuleCount, .page = 0, .reg = 4, .count = 1},
    {.row = CommandRow::FuelType, .page = 0, .reg = 5, .count = 1},
    {.row = CommandRow::LoadSystem, .page = 0, .reg = 6, .count = 1},
    {.row = CommandRow::DryerLength, .page = 0, .reg = 7, .count = 1},
    {.row = CommandRow::DryerType, .page = 0, .reg = 8, .count = 1},
    {.row = CommandRow::HiHeatTime, .page = 0, .reg = 11, .count = 2},
    {.row = CommandRow::HiHeatCountdownReset, .page = 0, .reg = 9, .count = 2, .retire = RowRetire::CountdownEcho},
    {.row = CommandRow::LoHeatTime, .page = 0, .reg = 254, .count = 2},
    {.row = CommandRow::LoHeatCountdownReset, .page = 0, .reg = 252, .count = 2, .retire = RowRetire::CountdownEcho},
    {.row = CommandRow::CoolTime, .page = 0, .reg = 16, .count = 2},
    {.row = CommandRow::CoolCountdownReset, .page = 0, .reg = 14, .count = 2, .retire = RowRetire::CountdownEcho},
    {.row = CommandRow::UnloadTime, .page = 0, .reg = 21, .count = 2},
    {.row = CommandRow::UnloadCountdownReset, .page = 0, .reg = 19, .count = 2, .retire = RowRetire::CountdownEcho},
    {.row = CommandRow::OutOfGrainTime, .page = 0, .reg = 26, .count = 2},
    {.row = CommandRow::LoadStartupDelay, .page = 0, .reg = 31, .count = 2},
    {.row = CommandRow::UnloadCleanoutDelay, .page = 0, .reg = 41, .count = 2},
    {.row = CommandRow::FanDelay, .page = 0, .reg = 46, .count = 2},
    {.row = CommandRow::SetupByte49, .page = 0, .reg = 49, .count = 1},
    {.row = CommandRow::SetupByte50, .page = 0, .reg = 50, .count = 1},
    {.row = CommandRow::Clock, .page = 0, .reg = 53, .count = 5, .retire = RowRetire::OneShot, .neverSkips = true},
    {.row = CommandRow::PlenumSetpoint1, .page = 0, .reg = 59, .count = 2, .retire = RowRetire::SetpointEcho},
    {.row = CommandRow::PlenumSetpoint2, .page = 0, .reg = 61, .count = 2, .retire = RowRetire::SetpointEcho},
    {.row = CommandRow::PlenumSetpoint3, .page = 0, .reg = 63, .count = 2, .retire = RowRetire::SetpointEcho},
    {.row = CommandRow::PlenumSetpoint4, .page = 0, .reg = 65, .count = 2, .retire = RowRetire::SetpointEcho},
    {.row = CommandRow::PlenumSetpoint5, .page = 0, .reg = 67, .count = 2, .retire = RowRetire::SetpointEcho},
    {.row = CommandRow::PlenumSetpoint6, .page = 0, .reg = 69, .count = 2, .retire = RowRetire::SetpointEcho},
    {.row = CommandRow::PlenumDifferential1, .page = 0, .reg = 95, .count = 1},
    {.row = CommandRow::PlenumDifferential2, .page = 0, .reg = 96, .count = 1},
    {.row = CommandRow::PlenumDifferential3, .page = 0, .reg = 97, .count = 1},
    {.row = CommandRow::PlenumDifferential4, .page = 0, .reg = 98, .count = 1},
    {.row = CommandRow::PlenumDifferential5, .page = 0, .reg = 99, .count = 1},
    {.row = CommandRow::PlenumDifferential6, .page = 0, .reg = 100, .count = 1},
    {.row = CommandRow::BurnerMode1, .page = 0, .reg = 101, .count = 1},
    {.row = CommandRow::BurnerMode2, .page = 0, .reg = 102, .count = 1},
    {.row = CommandRow::BurnerMode3, .page = 0, .reg = 103, .count = 1},
    {.row = CommandRow::BurnerMode4, .page = 0, .reg = 104, .count = 1},
    {.row = CommandRow::BurnerMode5, .page = 0, .reg = 105, .count = 1},
    {.row = CommandRow::BurnerMode6, .page = 0, .reg = 106, .count = 1},
    {.row = CommandRow::GrainTempSetpoint1, .page = 0, .reg = 149, .count = 2, .retire = RowRetire::SetpointEcho},
    {.row = CommandRow::GrainTempSetpoint2, .page = 0, .reg = 151, .count = 2, .retire = RowRetire::SetpointEcho},
    {.row = CommandRow::GrainTempSetpoint3, .page = 0, .reg = 153, .count = 2, .retire = RowRetire::SetpointEcho},
    {.row = CommandRow::MeterRollSpeedMode, .page = 0, .reg = 159, .count = 1, .retire = RowRetire::MeterRollDialog},
    {.row = CommandRow::MeterRollValue1, .page = 0, .reg = 156, .count = 1, .retire = RowRetire::ChangesToRequest},
    {.row = CommandRow::MeterRollValue2, .page = 0, .reg = 157, .count = 1, .retire = RowRetire::ChangesToRequest},
    {.row = CommandRow::MeterRollValue3, .page = 0, .reg = 158, .count = 1, .retire = RowRetire::ChangesToRequest},
    {.row = CommandRow::MeterRollCopyOver, .page = 0, .reg = 159, .count = 4, .data = RowData::Status,
     .source = kStatusMeterRoll0, .retire = RowRetire::MeterRollEcho},
    {.row = CommandRow::MeterRollFromStatus230, .page = 0, .reg = 161, .count = 1, .data = RowData::Status,
     .source = kStatusMeterRollValue230, .retire = RowRetire::Request161Echo},
    {.row = CommandRow::BushelCalibration, .page = 0, .reg = 163, .count = 1},
    {.row = CommandRow::MoistureControlMode, .page = 0, .reg = 187, .count = 1},
    {.row = CommandRow::MeterRollRestore, .page = 0, .reg = 160, .count = 3, .data = RowData::Status,
     .source = kStatusMeterRoll1, .retire = RowRetire::RestoreEcho},
    {.row = CommandRow::MeterRollSpeeds, .page = 0, .reg = 159, .count = 4, .retire = RowRetire::MeterRollEcho},
    {.row = CommandRow::MoistureSetpoint, .page = 0, .reg = 199, .count = 2},
    {.row = CommandRow::MaxUnloadRate, .page = 0, .reg = 206, .count = 2},
    {.row = CommandRow::MinUnloadRate, .page = 0, .reg = 208, .count = 2},
    {.row = CommandRow::BatchCounter, .page = 0, .reg = 221, .count = 2},
    {.row = CommandRow::DryingCriteria, .page = 0, .reg = 224, .count = 1},
    {.row = CommandRow::Trim1, .page = 0, .reg = 226, .count = 1},
    {.row = CommandRow::Trim2, .page = 0, .reg = 227, .count = 1},
    {.row = CommandRow::Trim3, .page = 0, .reg = 228, .count = 1},
    {.row = CommandRow::Trim4, .page = 0, .reg = 229, .count = 1},
    {.row = CommandRow::MoistureCalibration1, .page = 0, .reg = 232, .count = 2},
    {.row = CommandRow::MoistureCalibration2, .page = 0, .reg = 234, .count = 2},
    {.row = CommandRow::SensorSetting236, .page = 0, .reg = 236, .count = 1},
    {.row = CommandRow::SensorSetting237, .page = 0, .reg = 237, .count = 1},
    {.row = CommandRow::SensorCommand, .page = 0, .reg = 238, .count = 1},
    {.row = CommandRow::MoistureCalibration3, .page = 0, .reg = 241, .count = 2},
    {.row = CommandRow::MoistureCalibration4, .page = 0, .reg = 243, .count = 2},
    {.row = CommandRow::Watchdog, .page = 0, .reg = 246, .count = 1},
    {.row = CommandRow::OptionBits, .page = 1, .reg = 1, .count = 1},
    {.row = CommandRow::PlenumSetpoint7, .page = 1, .reg = 2, .count = 2, .retire = RowRetire::SetpointEcho},
    {.row = CommandRow::PlenumSetpoint8, .page = 1, .reg = 4, .count = 2, .retire = RowRetire::SetpointEcho},
    {.row = CommandRow::DisplayOptions, .page = 1, .reg = 10, .count = 1, .retire = RowRetire::OneShotAndEcho},
    {.row = CommandRow::FanSetupTime, .page = 1, .reg = 13, .count = 2},
    {.row = CommandRow::StagedBatchTime, .page = 1, .reg = 18, .count = 2},
    {.row = CommandRow::Setting121, .page = 1, .reg = 21, .count = 2},
    {.row = CommandRow::OptionBits2, .page = 1, .reg = 23, .count = 1, .retire = RowRetire::OptionBits2Echo},
    {.row = CommandRow::Setting125, .page = 1, .reg = 25, .count = 2},
    {.row = CommandRow::AutoStart, .page = 1, .reg = 29, .count = 1, .neverSkips = true},
    {.row = CommandRow::MoistureSensorSelection, .page = 1, .reg = 31, .count = 1},
    {.row = CommandRow::DataLogger, .page = 1, .reg = 33, .count = 1},
    {.row = CommandRow::HardwareOption137, .page = 1, .reg = 37, .count = 1},
};

constexpr const CommandRowInfo& RowInfo(CommandRow row) { return kCommandRows[RowIndex(row)]; }

// ---- UI side ----

// Writes the row's bytes (its count, in register order) into the request, then raises the flag.
void RequestSetting(CommandRow row, const uint8_t* bytes);
// The hardware setup dialog's ACCEPT: writes the row's bytes and raises the flag when they
// differ from the status record. Bytes equal to the record replace an older pending value; the
// flag is then lowered, unless that older value has gone out and may still be applied, in which
// case these bytes go out after it. True when the flag is left raised.
bool RequestSettingIfChanged(CommandRow row, const uint8_t* bytes);
// Writes one request byte, then raises `row`.
void RequestByte(int reg, uint8_t value, CommandRow row);
// Loads the request byte from the status record (unless `row` is pending or a value it sent is
// not yet echoed), sets and clears the given bits, then raises `row`. The form for every bit
// change of a shared register. The one-shot command bits of 1:10 are never loaded.
void RequestBits(int reg, uint8_t setMask, uint8_t clearMask, CommandRow row);
// The panel clock: writes registers 53..57 and then raises row 21, under the lock, so no cycle
// sends a half-written clock. `year` is taken modulo 100.
void RequestClock(int minute, int hour, int day, int month, int year);

// A countdown reset (rows 8, 10, 12, 14): the countdown request takes the status bytes of the
// timer's preset, then the row is raised. Other rows are ignored.
void RequestCountdownReset(CommandRow row);

// The meter-roll speed mode rule, run before row 43 is raised: only while the low 6 bits of
// status byte 187 are 1, request 0:159 becomes 1 when bit 1 of byte 179 is set, else 2 when
// bit 6 of byte 187 is set or the request is 0, else 0 when it is 2.
void ApplyMeterRollSpeedModeRule();

uint8_t ReadRequestByte(int reg);
// Writes a request byte without raising anything (the meter-roll dialog's working values).
void WriteRequestByte(int reg, uint8_t value);

bool IsPending(CommandRow row);
void RaisePending(CommandRow row);

// Tests only: called on the raising thread right after RequestSetting, RequestByte,
// RequestBits, RequestClock or RaisePending has raised a row, outside the lock, so a test can run the
// builder at the very moment a flag rises. Null removes it.
using RaiseObserver = void (*)(CommandRow row);
void SetRaiseObserver(RaiseObserver observer);
void LowerPending(CommandRow row);

// A register changed bit by bit or compared with its echo is loaded first: copies the status
// byte(s) of the row's registers into the request unless the row's flag is raised or a value it
// sent is not yet echoed. Returns true when the copy was made.
bool LoadRequestFromStatus(CommandRow row);
// The same for one register, guarded by the flag of `row`.
bool LoadRequestByteFromStatus(int reg, CommandRow row);

// ---- Link side ----

// Fills the transmit buffer with a command frame (length byte, item count, items; the CRC is
// left to the caller, over the first L-2 bytes). Returns true when at least one item was placed.
bool BuildCommandFrame(uint8_t* tx);

// Back to the start state: all requests 0, no flag raised (tests and the simulator's panel).
void ResetSettingRequest();

}  // namespace lnk
