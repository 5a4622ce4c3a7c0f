#include "records/StorageNotice.h"

#include <atomic>

namespace records {

namespace {

constexpr const char* kCardCaption = "STORAGE CARD";

constexpr StorageNoticeText kTexts[] = {
    {"", ""},
    {"SHUTDOWN HISTORY",
     "The shutdown history was damaged and has been started afresh.\nThe damaged file was kept "
     "on the storage card."},
    {"SHUTDOWN HISTORY",
     "The shutdown history cannot be written.\nShutdowns are not recorded until the storage card "
     "can be written again."},
    {kCardCaption,
     "The storage card is full: data logs and the shutdown history are not being recorded.\n"
     "The latest records are kept in memory until the card can be written."},
    {kCardCaption,
     "The storage card cannot be written: data logs and the shutdown history are not being "
     "recorded.\nThe latest records are kept in memory until the card can be written."},
    {kCardCaption,
     "The storage card is full: data logs and the shutdown history are not being recorded.\n"
     "The memory that keeps them is full too: the oldest records are being lost."},
    {kCardCaption,
     "The storage card cannot be written: data logs and the shutdown history are not being "
     "recorded.\nThe memory that keeps them is full too: the oldest records are being lost."},
    {kCardCaption, "The storage card is writable again: recording has resumed."},
};
static_assert(sizeof kTexts / sizeof kTexts[0] == static_cast<size_t>(StorageCondition::Count));

constexpr uint8_t ToByte(StorageCondition c) { return static_cast<uint8_t>(c); }
constexpr uint32_t Bit(StorageSource s) { return 1u << static_cast<unsigned>(s); }

struct NoticeState {
  std::atomic<uint8_t> reported{ToByte(StorageCondition::Ok)};
  std::atomic<uint32_t> full{0};     // sources whose last write found no room
  std::atomic<uint32_t> refused{0};  // sources whose last write was refused otherwise
  std::atomic<bool> memoryFull{false};
  uint8_t told = ToByte(StorageCondition::Ok);  // user-interface thread only
};
NoticeState gNotice;

bool RefusesWrites(StorageCondition c) {
  switch (c) {
    case StorageCondition::HistoryNotWritable:
    case StorageCondition::CardFull:
    case StorageCondition::CardNotWritable:
    case StorageCondition::CardFullMemoryFull:
    case StorageCondition::CardNotWritableMemoryFull:
      return true;
    case StorageCondition::Ok:
    case StorageCondition::HistoryStartedAfresh:
    case StorageCondition::WritableAgain:
    case StorageCondition::Count:
      break;
  }
  return false;
}

void SetSource(std::atomic<uint32_t>& set, std::atomic<uint32_t>& other, StorageSource s) {
  set.fetch_or(Bit(s));
  other.fetch_and(~Bit(s));
}

}  // namespace

StorageNoticeText StorageNoticeTextOf(StorageCondition c) {
  size_t i = static_cast<size_t>(c);
  return i < static_cast<size_t>(StorageCondition::Count) ? kTexts[i] : kTexts[0];
}

void ReportStorageCondition(StorageCondition c) { gNotice.reported.store(ToByte(c)); }

void ClearStorageCondition(StorageCondition c) {
  uint8_t expected = ToByte(c);
  gNotice.reported.compare_exchange_strong(expected, ToByte(StorageCondition::Ok));
}

void NoteStorageWrite(StorageSource source, plat::FileResult r) {
  switch (r) {
    case plat::FileResult::Ok:
      gNotice.full.fetch_and(~Bit(source));
      gNotice.refused.fetch_and(~Bit(source));
      break;
    case plat::FileResult::NoSpace:
      SetSource(gNotice.full, gNotice.refused, source);
      break;
    case plat::FileResult::ReadOnly:
    case plat::FileResult::IoError:
      SetSource(gNotice.refused, gNotice.full, source);
      break;
    case plat::FileResult::NotFound:
    case plat::FileResult::AlreadyExists:
    case plat::FileResult::BadPath:
    case plat::FileResult::EndOfFile:
      break;
  }
}

void NoteStorageRefused(StorageSource source) { SetSource(gNotice.refused, gNotice.full, source); }

void NoteStorageMemoryFull() { gNotice.memoryFull.store(true); }

StorageCondition CurrentStorageCondition() {
  const uint32_t full = gNotice.full.load();
  const uint32_t refused = gNotice.refused.load();
  if (full == 0 && refused == 0) return static_cast<StorageCondition>(gNotice.reported.load());
  const bool lost = gNotice.memoryFull.load();
  // A full card is the likelier cause of the other refusals, whose stores cannot tell.
  if (full != 0) return lost ? StorageCondition::CardFullMemoryFull : StorageCondition::CardFull;
  return lost ? StorageCondition::CardNotWritableMemoryFull : StorageCondition::CardNotWritable;
}

StorageCondition TakeStorageNotice() {
  const StorageCondition now = CurrentStorageCondition();
  if (gNotice.full.load() == 0 && gNotice.refused.load() == 0) gNotice.memoryFull.store(false);
  const StorageCondition before = static_cast<StorageCondition>(gNotice.told);
  if (now == before) return StorageCondition::Ok;
  gNotice.told = ToByte(now);
  if (now == StorageCondition::Ok) return RefusesWrites(before) ? StorageCondition::WritableAgain : now;
  return now;
}

void ResetStorageNotice() {
  gNotice.reported.store(ToByte(StorageCondition::Ok));
  gNotice.full.store(0);
  gNotice.refused.store(0);
  gNotice.memoryFull.store(false);
  gNotice.told = ToByte(StorageCondition::Ok);
}

}  // namespace records
