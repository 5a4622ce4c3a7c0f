#pragma once
// Conditions of the panel's storage that the operator must be told about. The stores report
// them from any thread; the user-interface thread takes them and shows one message box per
// change, so a condition that lasts is told once and a store never opens a window itself.
#include <cstdint>

#include "platform/Files.h"

namespace records {

enum class StorageCondition : uint8_t {
  Ok,
  HistoryStartedAfresh,  // the shutdown history was damaged and a new, empty one replaced it
  HistoryNotWritable,    // shutdowns cannot be recorded
  CardFull,              // the card has no room left: what it refuses waits in memory
  CardNotWritable,       // the card refuses writes (read-only or failing): the same
  CardFullMemoryFull,    // as CardFull, and the memory that keeps the records is full too
  CardNotWritableMemoryFull,
  WritableAgain,  // told once when a condition above that refused writes has ended
  Count,
};

// The stores that write to the card. The card counts as refusing writes while any of them
// has a write refused since its last write that went through.
enum class StorageSource : uint8_t { LongTermLog, ShortTermLog, GraphLog, History, Preferences, Count };

struct StorageNoticeText {
  const char* caption;
  const char* text;
};
// The fixed English texts of a condition's message box; empty for Ok.
StorageNoticeText StorageNoticeTextOf(StorageCondition c);

// Any thread. The condition becomes the current one.
void ReportStorageCondition(StorageCondition c);
// Any thread. Back to Ok when `c` is the current condition (the store works again).
void ClearStorageCondition(StorageCondition c);

// Any thread. What a write of `source` came to: Ok clears the source; NoSpace marks it full;
// ReadOnly and IoError mark it not writable. Other results (a card that is not there, a bad
// path) leave the source as it was.
void NoteStorageWrite(StorageSource source, plat::FileResult r);
// Any thread. A write was refused for a reason the store cannot tell apart (full or read-only).
void NoteStorageRefused(StorageSource source);
// Any thread. Something kept in memory for the card had to be let go for lack of room; told
// with the card's condition until the card takes writes again.
void NoteStorageMemoryFull();

// The condition the operator should know of now: the card's while any source is refused,
// otherwise the last one reported.
StorageCondition CurrentStorageCondition();

// User-interface thread: what to tell when the current condition changed since the last
// call: the new condition, WritableAgain when a refusing condition ended, or Ok when there is
// nothing new to tell.
StorageCondition TakeStorageNotice();

// Tests: back to the state at start.
void ResetStorageNotice();

}  // namespace records
