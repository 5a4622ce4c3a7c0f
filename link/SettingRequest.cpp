#include "link/SettingRequest.h"

#include <atomic>

#include "link/LinkInternal.h"

namespace lnk {

using detail::gRequests;

namespace {

std::mutex gRequestMutex;

constexpr int kBuilderRoomMark = 100;

static_assert([] {
  for (int i = 0; i < kCommandRowCount; ++i)
    if (RowIndex(kCommandRows[i].row) != i) return false;
  return true;
}(), "the item table must list rows 1..82 in order");

bool ValidRegister(int reg) { return reg >= 0 && reg < kSettingRequestBytes; }

// What of a status byte a request may take over: the controller reports the one-shot command
// bits of 1:10 while it works on them, and sending them back would repeat the command.
uint8_t LoadableStatusByte(int k, uint8_t value) {
  if (k == kRequestDisplayOptions) return static_cast<uint8_t>(value & ~kDisplayOptionsOneShotBits);
  return value;
}

// Copies the status bytes of a row's registers into the request; bytes the record never
// stores keep their request value. Both locks held by the caller.
void CopyStatusIntoRequest(int first, int count) {
  const DryerStatus& s = detail::LiveStatus();
  for (int k = first; k < first + count; ++k)
    if (StatusByteStored(k)) gRequests.bytes[k] = LoadableStatusByte(k, s.b[k]);
}

// The request is the panel's newest word on the row while it is pending or while a value it
// sent may still be applied; loading the status byte then would throw that word away.
bool RequestIsNewer(int rowIndex) {
  return detail::Pending(rowIndex) || detail::AwaitingEcho(rowIndex);
}

// The controller has taken the row's request when its stored status bytes equal it, with the
// bits the controller reports differently masked off. Both locks held by the caller.
bool RequestEchoed(const CommandRowInfo& info, const DryerStatus& s) {
  if (info.data != RowData::Request) return false;
  const int first = RowRegister(info);
  for (int k = first; k < first + info.count; ++k) {
    if (!StatusByteStored(k)) return false;
    uint8_t ignored = 0;
    if (k == kRequestDisplayOptions) ignored = kDisplayOptionsOneShotBits;
    if (info.retire == RowRetire::OptionBits2Echo) ignored = kOptionBits2EchoIgnored;
    if ((s.b[k] & ~ignored) != (gRequests.bytes[k] & ~ignored)) return false;
  }
  return true;
}

}  // namespace

namespace detail {
std::mutex& RequestMutex() { return gRequestMutex; }
RequestState gRequests;

void AgeAwaitedEchoes(const DryerStatus& status) {
  for (int i = 0; i < kCommandRowCount; ++i) {
    uint8_t& left = gRequests.awaitingEcho[i];
    if (left == 0) continue;
    left = RequestEchoed(kCommandRows[i], status) ? 0 : static_cast<uint8_t>(left - 1);
  }
}
}  // namespace detail

using detail::SetPending;

namespace {
std::atomic<RaiseObserver> gRaiseObserver{nullptr};

// Outside the lock, so an observer may build a frame as the link thread would at that moment.
void NotifyRaised(CommandRow row) {
  if (RaiseObserver observer = gRaiseObserver.load()) observer(row);
}
}  // namespace

void SetRaiseObserver(RaiseObserver observer) { gRaiseObserver.store(observer); }

void RequestSetting(CommandRow row, const uint8_t* bytes) {
  const CommandRowInfo& info = RowInfo(row);
  {
    std::lock_guard<std::mutex> lock(gRequestMutex);
    if (bytes && info.data == RowData::Request) detail::CopyBytes(gRequests.bytes + RowRegister(info), bytes, info.count);
    SetPending(RowIndex(row), true);
  }
  NotifyRaised(row);
}

bool RequestSettingIfChanged(CommandRow row, const uint8_t* bytes) {
  const CommandRowInfo& info = RowInfo(row);
  if (!bytes || info.data != RowData::Request) return false;
  const int first = RowRegister(info);
  const int i = RowIndex(row);
  std::lock_guard<std::mutex> statusLock(detail::StatusMutex());
  std::lock_guard<std::mutex> lock(gRequestMutex);
  const DryerStatus& s = detail::LiveStatus();
  bool differs = false;
  for (int k = 0; k < info.count; ++k) differs |= s.b[first + k] != bytes[k];
  // The bytes are written in every case: an edit taken back to the controller's value must
  // replace an older value that is still pending.
  detail::CopyBytes(gRequests.bytes + first, bytes, info.count);
  if (differs) {
    SetPending(i, true);
    return true;
  }
  // Back at the controller's value: nothing to send, unless the older value has gone out and
  // may still be applied; then this one goes out after it and its echo retires the row.
  if (detail::Pending(i) && !detail::AwaitingEcho(i)) SetPending(i, false);
  return detail::Pending(i);
}

void RequestByte(int reg, uint8_t value, CommandRow row) {
  if (!ValidRegister(reg)) return;
  {
    std::lock_guard<std::mutex> lock(gRequestMutex);
    gRequests.bytes[reg] = value;
    SetPending(RowIndex(row), true);
  }
  NotifyRaised(row);
}

void RequestBits(int reg, uint8_t setMask, uint8_t clearMask, CommandRow row) {
  if (!ValidRegister(reg)) return;
  {
    std::lock_guard<std::mutex> statusLock(detail::StatusMutex());
    std::lock_guard<std::mutex> lock(gRequestMutex);
    if (!RequestIsNewer(RowIndex(row))) CopyStatusIntoRequest(reg, 1);
    gRequests.bytes[reg] = static_cast<uint8_t>((gRequests.bytes[reg] & ~clearMask) | setMask);
    SetPending(RowIndex(row), true);
  }
  NotifyRaised(row);
}

void RequestClock(int minute, int hour, int day, int month, int year) {
  {
    std::lock_guard<std::mutex> lock(gRequestMutex);
    gRequests.bytes[kRequestClockMinute] = static_cast<uint8_t>(minute);
    gRequests.bytes[kRequestClockHour] = static_cast<uint8_t>(hour);
    gRequests.bytes[kRequestClockDay] = static_cast<uint8_t>(day);
    gRequests.bytes[kRequestClockMonth] = static_cast<uint8_t>(month);
    gRequests.bytes[kRequestClockYear] = static_cast<uint8_t>(((year % 100) + 100) % 100);
    SetPending(RowIndex(CommandRow::Clock), true);
  }
  NotifyRaised(CommandRow::Clock);
}

void RequestCountdownReset(CommandRow row) {
  const CommandRowInfo& info = RowInfo(row);
  if (info.retire != RowRetire::CountdownEcho) return;
  // Each countdown's preset is the min:s field right after it (9 -> 11, 14 -> 16, ...).
  const int countdown = RowRegister(info);
  const int preset = countdown + 2;
  std::lock_guard<std::mutex> statusLock(detail::StatusMutex());
  std::lock_guard<std::mutex> lock(gRequestMutex);
  const DryerStatus& s = detail::LiveStatus();
  gRequests.bytes[countdown] = s.b[preset];
  gRequests.bytes[countdown + 1] = s.b[preset + 1];
  SetPending(RowIndex(row), true);
}

void ApplyMeterRollSpeedModeRule() {
  std::lock_guard<std::mutex> statusLock(detail::StatusMutex());
  std::lock_guard<std::mutex> lock(gRequestMutex);
  const DryerStatus& s = detail::LiveStatus();
  const uint8_t mode = s.b[kStatusMoistureControlMode];
  if ((mode & kMoistureModeLow6Mask) != 1) return;
  uint8_t& request = gRequests.bytes[kRequestMeterRollMode];
  if (s.b[kStatusLoadFlags] & kLoadFlagsBit1)
    request = 1;
  else if ((mode & kMoistureModeBit6) != 0 || request == 0)
    request = 2;
  else if (request == 2)
    request = 0;
}

uint8_t ReadRequestByte(int reg) {
  if (!ValidRegister(reg)) return 0;
  std::lock_guard<std::mutex> lock(gRequestMutex);
  return gRequests.bytes[reg];
}

void WriteRequestByte(int reg, uint8_t value) {
  if (!ValidRegister(reg)) return;
  std::lock_guard<std::mutex> lock(gRequestMutex);
  gRequests.bytes[reg] = value;
}

bool IsPending(CommandRow row) { return detail::Pending(RowIndex(row)); }

void RaisePending(CommandRow row) {
  {
    std::lock_guard<std::mutex> lock(gRequestMutex);
    SetPending(RowIndex(row), true);
  }
  NotifyRaised(row);
}

void LowerPending(CommandRow row) {
  std::lock_guard<std::mutex> lock(gRequestMutex);
  SetPending(RowIndex(row), false);
}

bool LoadRequestFromStatus(CommandRow row) {
  const CommandRowInfo& info = RowInfo(row);
  std::lock_guard<std::mutex> statusLock(detail::StatusMutex());
  std::lock_guard<std::mutex> lock(gRequestMutex);
  if (RequestIsNewer(RowIndex(row))) return false;
  CopyStatusIntoRequest(RowRegister(info), info.count);
  return true;
}

bool LoadRequestByteFromStatus(int reg, CommandRow row) {
  if (!ValidRegister(reg)) return false;
  std::lock_guard<std::mutex> statusLock(detail::StatusMutex());
  std::lock_guard<std::mutex> lock(gRequestMutex);
  if (RequestIsNewer(RowIndex(row))) return false;
  CopyStatusIntoRequest(reg, 1);
  return true;
}

bool BuildCommandFrame(uint8_t* tx) {
  std::lock_guard<std::mutex> statusLock(detail::StatusMutex());
  std::lock_guard<std::mutex> lock(gRequestMutex);
  const DryerStatus& s = detail::LiveStatus();
  int pos = 2;
  int items = 0;
  tx[1] = 0;
  for (int i = 0; i < kCommandRowCount; ++i) {
    if (!detail::Pending(i)) continue;
    const CommandRowInfo& info = kCommandRows[i];
    if (pos >= kBuilderRoomMark && !info.neverSkips) continue;
    tx[pos++] = info.page;
    tx[pos++] = info.reg;
    tx[pos++] = info.count;
    const uint8_t* src = info.data == RowData::Status ? s.b + info.source : gRequests.bytes + RowRegister(info);
    detail::CopyBytes(tx + pos, src, info.count);
    pos += info.count;
    ++items;
    gRequests.awaitingEcho[i] = detail::kEchoWaitFrames;
    if (info.retire == RowRetire::OneShot || info.retire == RowRetire::OneShotAndEcho) {
      SetPending(i, false);
      if (info.row == CommandRow::DisplayOptions) gRequests.bytes[kRequestDisplayOptions] &= static_cast<uint8_t>(~kDisplayOptionsOneShotBits);
    }
  }
  tx[0] = static_cast<uint8_t>(pos + 2);
  tx[1] = static_cast<uint8_t>(items);
  return items != 0;
}

void ResetSettingRequest() {
  std::lock_guard<std::mutex> lock(gRequestMutex);
  gRequests.Reset();
}

}  // namespace lnk
