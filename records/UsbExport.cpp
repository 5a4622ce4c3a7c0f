#include "records/UsbExport.h"

#include <cstdio>

#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "records/LogFiles.h"
#include "records/LongTermLog.h"

namespace records {

namespace {

constexpr const char* kCopyPrefix = "LongTermDataLog";
constexpr const char* kCopySuffix = ".TXT";
constexpr const char* kTrimTempPath = "\\Hard Disk\\DataLog\\LongTermDataLog.tmp";
constexpr size_t kChunkBytes = 4096;

uint8_t gChunk[kChunkBytes];

constexpr const char* kCopyResultTexts[] = {"copied", "no USB stick", "no data log file",
                                            "target exists", "copy failed"};
static_assert(sizeof kCopyResultTexts / sizeof kCopyResultTexts[0] ==
              static_cast<size_t>(CopyResult::Count));
constexpr const char* kTrimResultTexts[] = {"deleted", "newer lines kept", "nothing to remove",
                                            "failed"};
static_assert(sizeof kTrimResultTexts / sizeof kTrimResultTexts[0] ==
              static_cast<size_t>(TrimResult::Count));

// Copies `count` bytes from the current position of `from` to `to`.
plat::FileResult CopyBytes(plat::FileHandle from, plat::FileHandle to, uint64_t count) {
  while (count > 0) {
    size_t want = count < kChunkBytes ? static_cast<size_t>(count) : kChunkBytes;
    size_t got = 0;
    plat::FileResult r = plat::ReadFile(from, gChunk, want, got);
    if (r != plat::FileResult::Ok) return r;
    if (got == 0) return plat::FileResult::EndOfFile;
    r = plat::WriteFile(to, gChunk, got);
    if (r != plat::FileResult::Ok) return r;
    count -= got;
  }
  return plat::FileResult::Ok;
}

// Writes bytes [from, end) of the log into a new file at `toPath`, synced.
plat::FileResult WriteTail(uint64_t from, uint64_t end, const char* toPath) {
  plat::FileHandle src, dst;
  plat::FileResult r = plat::OpenFile(kLongTermPath, plat::OpenMode::Read, src);
  if (r != plat::FileResult::Ok) return r;
  r = plat::OpenFile(toPath, plat::OpenMode::CreateAlways, dst);
  if (r == plat::FileResult::Ok) {
    r = plat::SeekFile(src, static_cast<int64_t>(from), plat::SeekFrom::Begin);
    if (r == plat::FileResult::Ok) r = CopyBytes(src, dst, end - from);
    if (r == plat::FileResult::Ok) r = plat::SyncFile(dst);
    plat::CloseFile(dst);
  }
  plat::CloseFile(src);
  return r;
}

}  // namespace

const char* CopyResultText(CopyResult r) {
  size_t i = static_cast<size_t>(r);
  return i < static_cast<size_t>(CopyResult::Count) ? kCopyResultTexts[i] : "";
}

const char* TrimResultText(TrimResult r) {
  size_t i = static_cast<size_t>(r);
  return i < static_cast<size_t>(TrimResult::Count) ? kTrimResultTexts[i] : "";
}

bool UsbStickPresent() { return plat::FolderExists(kUsbRoot); }

bool MakeLongTermCopyNames(const plat::LocalTime& now, LongTermCopy& out) {
  out.copiedBytes = 0;
  if (!MakeStampedName(out.displayName, sizeof out.displayName, kCopyPrefix, now, kCopySuffix))
    return false;
  int n = std::snprintf(out.destination, sizeof out.destination, "%s\\%s", kUsbRoot, out.displayName);
  return n > 0 && static_cast<size_t>(n) < sizeof out.destination;
}

CopyResult CopyLongTermLogToStick(const plat::LocalTime& now, LongTermCopy& out) {
  if (!MakeLongTermCopyNames(now, out)) return CopyResult::Failed;
  if (!UsbStickPresent()) return CopyResult::NoStick;
  plat::FileHandle src;
  if (plat::OpenFile(kLongTermPath, plat::OpenMode::Read, src) != plat::FileResult::Ok)
    return CopyResult::NoSource;
  uint64_t size = 0;
  if (plat::GetFileSize(src, size) != plat::FileResult::Ok) {
    plat::CloseFile(src);
    return CopyResult::Failed;
  }
  plat::FileHandle dst;
  plat::FileResult r = plat::OpenFile(out.destination, plat::OpenMode::CreateNew, dst);
  if (r != plat::FileResult::Ok) {
    plat::CloseFile(src);
    return r == plat::FileResult::AlreadyExists ? CopyResult::TargetExists : CopyResult::Failed;
  }
  r = CopyBytes(src, dst, size);
  // The stick may be pulled right after the message, so the data must be on it first.
  if (r == plat::FileResult::Ok) r = plat::SyncFile(dst);
  plat::CloseFile(dst);
  plat::CloseFile(src);
  if (r != plat::FileResult::Ok) {
    plat::DeleteFile(out.destination);
    return CopyResult::Failed;
  }
  out.copiedBytes = size;
  return CopyResult::Copied;
}

TrimResult RemoveCopiedLongTermLines(const LongTermCopy& copy) {
  uint64_t size = 0;
  if (plat::FileSizeByPath(kLongTermPath, size) != plat::FileResult::Ok)
    return TrimResult::NothingToRemove;
  // A smaller log was deleted and started again since the copy: none of it was copied.
  if (copy.copiedBytes == 0 || size < copy.copiedBytes) return TrimResult::NothingToRemove;
  if (size == copy.copiedBytes)
    return plat::DeleteFile(kLongTermPath) == plat::FileResult::Ok ? TrimResult::Deleted
                                                                   : TrimResult::Failed;
  if (WriteTail(copy.copiedBytes, size, kTrimTempPath) != plat::FileResult::Ok ||
      plat::MoveFile(kTrimTempPath, kLongTermPath) != plat::FileResult::Ok) {
    plat::DeleteFile(kTrimTempPath);
    return TrimResult::Failed;
  }
  return TrimResult::KeptNewerLines;
}

bool DeleteLongTermLog() { return plat::DeleteFile(kLongTermPath) == plat::FileResult::Ok; }

uint64_t LongTermLogSize() {
  uint64_t size = 0;
  if (plat::FileSizeByPath(kLongTermPath, size) != plat::FileResult::Ok) return 0;
  return size;
}

size_t FormatBytesLine(char16_t* out, size_t units, const char16_t* label, uint64_t bytes) {
  if (units == 0) return 0;
  char number[48];
  std::snprintf(number, sizeof number, ": %llu Bytes", static_cast<unsigned long long>(bytes));
  size_t n = plat::Utf16Copy(out, units, label);
  return n + plat::Latin1ToUtf16(out + n, units - n, number);
}

int FormatUsedSpace(char* out, size_t size, int percent) {
  return std::snprintf(out, size, "%d %%", percent);
}

}  // namespace records
