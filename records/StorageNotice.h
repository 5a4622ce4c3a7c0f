#pragma once
// Conditions of the panel's storage that the operator must be told about. The stores report
// them from any thread; the user-interface thread takes them and shows one message box per
// change, so a condition that lasts is told once and a store never opens a window itself.
#include <cstdint>

namespace records {

enum class StorageCondition : uint8_t {
  Ok,
  HistoryStartedAfresh,  // the shutdown history was damaged and a new, empty one replaced it
  HistoryNotWritable,    // shutdowns cannot be recorded
  Count,
};

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
StorageCondition CurrentStorageCondition();

// User-interface thread: the current condition when it changed since the last call and is
// not Ok; Ok when there is nothing new to tell.
StorageCondition TakeStorageNotice();

// Tests: back to the state at start.
void ResetStorageNotice();

}  // namespace records
