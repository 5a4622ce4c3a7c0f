#include "records/StorageNotice.h"

#include <atomic>

namespace records {

namespace {

constexpr StorageNoticeText kTexts[] = {
    {"", ""},
    {"SHUTDOWN HISTORY",
     "The shutdown history was damaged and has been started afresh.\nThe damaged file was kept "
     "on the storage card."},
    {"SHUTDOWN HISTORY",
     "The shutdown history cannot be written.\nShutdowns are not recorded until the storage card "
     "can be written again."},
};
static_assert(sizeof kTexts / sizeof kTexts[0] == static_cast<size_t>(StorageCondition::Count));

std::atomic<uint8_t> g_current{static_cast<uint8_t>(StorageCondition::Ok)};
uint8_t g_told = static_cast<uint8_t>(StorageCondition::Ok);  // user-interface thread only

}  // namespace

StorageNoticeText StorageNoticeTextOf(StorageCondition c) {
  size_t i = static_cast<size_t>(c);
  return i < static_cast<size_t>(StorageCondition::Count) ? kTexts[i] : kTexts[0];
}

void ReportStorageCondition(StorageCondition c) { g_current.store(static_cast<uint8_t>(c)); }

void ClearStorageCondition(StorageCondition c) {
  uint8_t expected = static_cast<uint8_t>(c);
  g_current.compare_exchange_strong(expected, static_cast<uint8_t>(StorageCondition::Ok));
}

StorageCondition CurrentStorageCondition() { return static_cast<StorageCondition>(g_current.load()); }

StorageCondition TakeStorageNotice() {
  uint8_t now = g_current.load();
  if (now == g_told) return StorageCondition::Ok;
  g_told = now;
  return static_cast<StorageCondition>(now);
}

void ResetStorageNotice() {
  g_current.store(static_cast<uint8_t>(StorageCondition::Ok));
  g_told = static_cast<uint8_t>(StorageCondition::Ok);
}

}  // namespace records
