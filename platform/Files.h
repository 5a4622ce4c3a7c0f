#pragma once
// Files by panel path. "\Hard Disk\DataLog\LongTermDataLog.dat" and relative names resolve
// below the root (--root); "\Hard Disk2\..." resolves to the USB folder (--usb). Backslashes
// become slashes and every path component is matched without regard to case, as on the
// original file system. No exceptions, no errno: every call returns a FileResult.
#include <cstddef>
#include <cstdint>

namespace plat {

enum class FileResult : uint8_t {
  Ok,
  NotFound,
  AlreadyExists,
  NoSpace,
  ReadOnly,
  IoError,
  BadPath,
  EndOfFile,
};
const char* FileResultText(FileResult r);

void SetFileRoot(const char* rootDir);
void SetUsbDir(const char* usbDir);  // default: "Hard Disk2" below the root
// "\Hard Disk2" becomes the mounted removable drive of the moment (FindRemovableMount); with
// none mounted, its paths do not resolve, so the stick counts as absent.
void SetUsbAutoDetect();
const char* FileRoot();

// Host path for a panel path; existing components are matched case-insensitively, missing
// ones keep the case given. False when it does not fit `size`.
bool ResolvePath(const char* panelPath, char* out, size_t size);

enum class OpenMode : uint8_t {
  Read,          // existing file, read only
  ReadWrite,     // existing file
  OpenAlways,    // read/write, created when missing
  CreateAlways,  // read/write, truncated or created
  CreateNew,     // read/write, AlreadyExists when present
  Append,        // write at the end, created when missing
};
enum class SeekFrom : uint8_t { Begin, Current, End };

struct FileHandle {
  int fd = -1;
  bool valid() const { return fd >= 0; }
};

FileResult OpenFile(const char* panelPath, OpenMode mode, FileHandle& out);
void CloseFile(FileHandle& f);
// `got` may be less than `size` at the end of the file (0 at the end).
FileResult ReadFile(FileHandle f, void* buffer, size_t size, size_t& got);
// Writes all bytes or reports why not; a short write is an error (NoSpace/IoError).
FileResult WriteFile(FileHandle f, const void* data, size_t size);
FileResult SeekFile(FileHandle f, int64_t offset, SeekFrom from, uint64_t* newPos = nullptr);
FileResult GetFileSize(FileHandle f, uint64_t& size);
FileResult TruncateFile(FileHandle f, uint64_t size);
FileResult SyncFile(FileHandle f);
// Makes the entries of a folder (a rename into it) durable; counts as a Sync operation.
FileResult SyncFolder(const char* panelPath);

bool FileExists(const char* panelPath);
bool FolderExists(const char* panelPath);
FileResult FileSizeByPath(const char* panelPath, uint64_t& size);
struct FileInfo {
  uint64_t size = 0;  // 0 for a folder
  bool isFolder = false;
  bool readOnly = false;
  int64_t modifiedEpochSeconds = 0;
};
FileResult GetFileInfo(const char* panelPath, FileInfo& out);  // the file's attributes
FileResult DeleteFile(const char* panelPath);
// Fails with AlreadyExists when the target exists and failIfExists is set; a failed copy
// removes its partial target.
FileResult CopyFile(const char* fromPanelPath, const char* toPanelPath, bool failIfExists);
FileResult MoveFile(const char* fromPanelPath, const char* toPanelPath);  // replaces the target
FileResult CreateFolder(const char* panelPath);  // Ok when it exists already

// Find first/next over one folder with a pattern of '?' and '*' in the last component.
struct FindData {
  char name[256];
  uint64_t size;
  bool isFolder;
};
struct FindHandle {
  void* dir = nullptr;
  char pattern[256] = {};
};
FileResult FindFirstFile(const char* panelPattern, FindHandle& h, FindData& out);
FileResult FindNextFile(FindHandle& h, FindData& out);  // NotFound when there are no more
void FindClose(FindHandle& h);
bool WildcardMatch(const char* pattern, const char* name);  // case-insensitive

// Fault injection for tests: the Nth operation of a kind (counted from the call, 1-based)
// fails with `result`; with `persistent` every later one fails too. Cut files short with
// TruncateFile to stand for a power loss. CopyFile counts as one Copy and then goes through
// OpenFile, ReadFile, WriteFile and SyncFile, so their faults hit a copy too; MoveFile is the
// Rename operation.
enum class FileOp : uint8_t { Open, Write, Sync, Rename, Read, Delete, Copy, Count };
void InjectFileFault(FileOp op, int nth, FileResult result, bool persistent);
void ClearFileFaults();
// For the platform's other stores (the database): counts one operation of `op` against the
// injected faults and returns the injected result, or Ok.
FileResult TakeInjectedFault(FileOp op);

}  // namespace plat
