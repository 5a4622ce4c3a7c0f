#pragma once
// The long-term log's copy to the USB stick ("\Hard Disk2"), its deletion, and the texts the
// data-logger dialogs show. The dialogs ask the questions; this side does the file work and
// says how it went.
#include <cstddef>
#include <cstdint>

namespace plat {
struct LocalTime;
}

namespace records {

inline constexpr const char* kUsbRoot = "\\Hard Disk2";

// Texts of the copy and delete questions, exactly as the operator sees them.
inline constexpr const char* kNoStickCaption = "USB FLASH CARD NOT PRESENT";
inline constexpr const char* kNoStickText = "Please instert flash card into USB port.";
inline constexpr const char* kCopyAskCaption = "DATA LOG FILE TO USB FLASH CARD";
inline constexpr const char* kCopyAskText =
    "Copy dryer data log file to usb flash drive as DryerDataLog.dat.";
inline constexpr const char* kCopiedCaption = "Successfully copied following file to USB Flash Drive.";
inline constexpr const char* kDeleteCaption = "DELETE?";
inline constexpr const char* kDeleteAfterCopyText = "Copy successful.  Delete old data log file?";
inline constexpr const char* kDeleteAskText = "Delete data log file?";
inline constexpr const char* kCopyFailedCaption = "FAILED TO COPY";
inline constexpr const char* kCopyFailedText = "Could not copy file to flashdrive.";

inline constexpr int kUsbNameChars = 160;

struct LongTermCopy {
  char destination[kUsbNameChars];  // panel path on the stick
  char displayName[kUsbNameChars];  // the name shown after a good copy
  uint64_t copiedBytes;             // how much of the log the copy holds
};

enum class CopyResult : uint8_t { Copied, NoStick, NoSource, TargetExists, Failed, Count };
const char* CopyResultText(CopyResult r);

enum class TrimResult : uint8_t { Deleted, KeptNewerLines, NothingToRemove, Failed, Count };
const char* TrimResultText(TrimResult r);

// True when a search for "\Hard Disk2" finds the stick's folder.
bool UsbStickPresent();

// "LongTermDataLog" + "yy_MM_dd_" + "HH_mm_ss" + ".TXT" for `now`, both as the panel path on
// the stick and as the name shown.
bool MakeLongTermCopyNames(const plat::LocalTime& now, LongTermCopy& out);

// Copies the long-term log to the stick under the names for `now`, never over an existing
// file. A copy that fails part-way removes what it wrote. `out.copiedBytes` tells how much
// was copied.
CopyResult CopyLongTermLogToStick(const plat::LocalTime& now, LongTermCopy& out);

// Removes from the long-term log what `copy` holds: the whole file when nothing was added
// since, otherwise only the first copiedBytes, so lines logged after the copy stay. The log is
// replaced in one rename, so a failure leaves the whole log in place.
TrimResult RemoveCopiedLongTermLines(const LongTermCopy& copy);

// Deletes the long-term log (the dialog's DELETE button); false when it stays.
bool DeleteLongTermLog();

// Size of the long-term log in bytes, 0 when there is none.
uint64_t LongTermLogSize();

// "<label>: <bytes> Bytes" with the whole 64-bit value.
size_t FormatBytesLine(char16_t* out, size_t units, const char16_t* label, uint64_t bytes);
// "<percent> %" as the data-logger dialog shows the used space.
int FormatUsedSpace(char* out, size_t size, int percent);

}  // namespace records
