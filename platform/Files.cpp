#include "platform/Files.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <strings.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/RemovableDrive.h"
#include "platform/WindowInternal.h"

namespace plat {

namespace {

constexpr size_t kHostPathMax = 4096;
constexpr size_t kCopyChunk = 16384;

constexpr const char* kFileResultTexts[] = {
    "ok", "not found", "already exists", "no space", "read only", "input/output error",
    "bad path", "end of file",
};
static_assert(sizeof(kFileResultTexts) / sizeof(kFileResultTexts[0]) ==
              static_cast<size_t>(FileResult::EndOfFile) + 1);

// Root and USB folder are set once at start-up, before any other thread touches files.
char rootDir[kHostPathMax] = ".";
char usbDir[kHostPathMax] = {};  // empty: "Hard Disk2" below the root
bool usbAuto = false;            // the stick is whatever removable drive is mounted now

struct Fault {
  bool armed = false;
  bool persistent = false;
  int nth = 0;
  int seen = 0;
  FileResult result = FileResult::IoError;
};
std::mutex faultMutex;
Fault faults[static_cast<size_t>(FileOp::Count)];
std::atomic<int> armedFaults{0};

// Ok, or the injected failure of this call.
FileResult CheckFault(FileOp op) {
  if (armedFaults.load(std::memory_order_relaxed) == 0) return FileResult::Ok;
  std::lock_guard<std::mutex> lock(faultMutex);
  Fault& f = faults[static_cast<size_t>(op)];
  if (!f.armed) return FileResult::Ok;
  ++f.seen;
  if (f.seen < f.nth) return FileResult::Ok;
  if (!f.persistent) {
    f.armed = false;
    armedFaults.fetch_sub(1);
  }
  return f.result;
}

FileResult FromErrno(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return FileResult::NotFound;
    case EEXIST:
    case ENOTEMPTY:
      return FileResult::AlreadyExists;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return FileResult::NoSpace;
    case EROFS:
    case EACCES:
    case EPERM:
      return FileResult::ReadOnly;
    case ENAMETOOLONG:
    case EINVAL:
    case EISDIR:
      return FileResult::BadPath;
    default:
      return FileResult::IoError;
  }
}

bool Append(char* out, size_t size, size_t& len, const char* text, size_t n) {
  if (len + n + 1 > size) return false;
  std::memcpy(out + len, text, n);
  len += n;
  out[len] = 0;
  return true;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Finds the entry of `dir` whose name equals `name` without regard to case; the exact name
// wins when present. Writes the name as it is on disk into `found`.
bool MatchComponent(const char* dir, const char* name, size_t nameLen, char* found) {
  char probe[kHostPathMax];
  int n = std::snprintf(probe, sizeof(probe), "%s/%.*s", dir, static_cast<int>(nameLen), name);
  struct stat st;
  if (n > 0 && static_cast<size_t>(n) < sizeof(probe) && lstat(probe, &st) == 0) {
    std::memcpy(found, name, nameLen);
    found[nameLen] = 0;
    return true;
  }
  DIR* d = opendir(dir);
  if (!d) return false;
  bool ok = false;
  while (dirent* e = readdir(d)) {
    if (std::strlen(e->d_name) == nameLen && strncasecmp(e->d_name, name, nameLen) == 0) {
      std::memcpy(found, e->d_name, nameLen + 1);
      ok = true;
      break;
    }
  }
  closedir(d);
  return ok;
}

struct HostPath {
  char path[kHostPathMax];
  bool ok;
};

HostPath Resolve(const char* panelPath) {
  HostPath h{};
  h.ok = panelPath && ResolvePath(panelPath, h.path, sizeof(h.path));
  return h;
}

// Splits "<folder>/<last>" of a host path; the folder of a bare name is ".".
void SplitLast(const char* path, char* folder, size_t folderSize, const char** last) {
  const char* slash = std::strrchr(path, '/');
  if (!slash) {
    std::snprintf(folder, folderSize, ".");
    *last = path;
    return;
  }
  size_t n = static_cast<size_t>(slash - path);
  if (n == 0) n = 1;  // the root folder itself
  std::snprintf(folder, folderSize, "%.*s", static_cast<int>(n), path);
  *last = slash + 1;
}

// A rename survives a power cut only once the folder that holds it is on disk.
void SyncHostFolderOf(const char* hostPath) {
  char folder[kHostPathMax];
  const char* last = nullptr;
  SplitLast(hostPath, folder, sizeof(folder), &last);
  int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  ::close(fd);
}

bool FillFindData(DIR* d, const char* name, FindData& out) {
  struct stat st;
  if (fstatat(dirfd(d), name, &st, 0) != 0) return false;
  std::snprintf(out.name, sizeof(out.name), "%s", name);
  out.isFolder = S_ISDIR(st.st_mode);
  out.size = out.isFolder ? 0 : static_cast<uint64_t>(st.st_size);
  return true;
}

}  // namespace

const char* FileResultText(FileResult r) {
  auto i = static_cast<size_t>(r);
  return i < sizeof(kFileResultTexts) / sizeof(kFileResultTexts[0]) ? kFileResultTexts[i]
                                                                    : "unknown";
}

void SetFileRoot(const char* dir) {
  std::snprintf(rootDir, sizeof(rootDir), "%s", dir && dir[0] ? dir : ".");
  size_t n = std::strlen(rootDir);
  while (n > 1 && rootDir[n - 1] == '/') rootDir[--n] = 0;
}

void SetUsbDir(const char* dir) {
  usbAuto = false;
  std::snprintf(usbDir, sizeof(usbDir), "%s", dir ? dir : "");
  size_t n = std::strlen(usbDir);
  while (n > 1 && usbDir[n - 1] == '/') usbDir[--n] = 0;
}

void SetUsbAutoDetect() {
  usbDir[0] = 0;
  usbAuto = true;
}

const char* FileRoot() { return rootDir; }

bool ResolvePath(const char* panelPath, char* out, size_t size) {
  if (!panelPath || !out || size == 0) return false;
  size_t len = 0;
  out[0] = 0;
  const char* p = panelPath;
  bool absolute = IsSeparator(*p);
  while (IsSeparator(*p)) ++p;

  // "\Hard Disk2" is the USB stick, which may live anywhere; everything else is below the root.
  const char* first = p;
  size_t firstLen = 0;
  while (first[firstLen] && !IsSeparator(first[firstLen])) ++firstLen;
  const bool usbPath = absolute && firstLen == 10 && strncasecmp(first, "Hard Disk2", 10) == 0;
  if (usbPath && usbAuto) {
    // Looked up at every use: the stick comes and goes while the panel runs.
    char mount[kHostPathMax];
    if (!FindRemovableMount(mount, sizeof mount) || !Append(out, size, len, mount, std::strlen(mount)))
      return false;
    p = first + firstLen;
  } else if (usbPath && usbDir[0]) {
    if (!Append(out, size, len, usbDir, std::strlen(usbDir))) return false;
    p = first + firstLen;
  } else if (!Append(out, size, len, rootDir, std::strlen(rootDir))) {
    return false;
  }

  bool matching = true;  // stops at the first component that does not exist
  while (*p) {
    while (IsSeparator(*p)) ++p;
    if (!*p) break;
    const char* start = p;
    while (*p && !IsSeparator(*p)) ++p;
    size_t n = static_cast<size_t>(p - start);
    if (n == 1 && start[0] == '.') continue;
    if (n == 2 && start[0] == '.' && start[1] == '.') return false;  // never above the root
    if (n >= 256) return false;
    char found[256];
    if (matching && MatchComponent(out, start, n, found)) {
      if (!Append(out, size, len, "/", 1) || !Append(out, size, len, found, n)) return false;
    } else {
      matching = false;
      if (!Append(out, size, len, "/", 1) || !Append(out, size, len, start, n)) return false;
    }
  }
  return true;
}

FileResult OpenFile(const char* panelPath, OpenMode mode, FileHandle& out) {
  detail::VerifyNotPainting("OpenFile");
  out.fd = -1;
  if (FileResult fault = CheckFault(FileOp::Open); fault != FileResult::Ok) return fault;
  HostPath h = Resolve(panelPath);
  if (!h.ok) return FileResult::BadPath;
  int flags = O_CLOEXEC;
  switch (mode) {
    case OpenMode::Read: flags |= O_RDONLY; break;
    case OpenMode::ReadWrite: flags |= O_RDWR; break;
    case OpenMode::OpenAlways: flags |= O_RDWR | O_CREAT; break;
    case OpenMode::CreateAlways: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    case OpenMode::CreateNew: flags |= O_RDWR | O_CREAT | O_EXCL; break;
    case OpenMode::Append: flags |= O_WRONLY | O_CREAT | O_APPEND; break;
  }
  int fd = ::open(h.path, flags, 0644);
  if (fd < 0) return FromErrno(errno);
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return FileResult::BadPath;
  }
  out.fd = fd;
  return FileResult::Ok;
}

void CloseFile(FileHandle& f) {
  if (f.fd >= 0) ::close(f.fd);
  f.fd = -1;
}

FileResult ReadFile(FileHandle f, void* buffer, size_t size, size_t& got) {
  got = 0;
  if (!f.valid()) return FileResult::BadPath;
  if (FileResult fault = CheckFault(FileOp::Read); fault != FileResult::Ok) return fault;
  auto* bytes = static_cast<uint8_t*>(buffer);
  while (got < size) {
    ssize_t n = ::read(f.fd, bytes + got, size - got);
    if (n > 0) {
      got += static_cast<size_t>(n);
      continue;
    }
    if (n == 0) break;
    if (errno == EINTR) continue;
    return FromErrno(errno);
  }
  return FileResult::Ok;
}

FileResult WriteFile(FileHandle f, const void* data, size_t size) {
  if (!f.valid()) return FileResult::BadPath;
  if (FileResult fault = CheckFault(FileOp::Write); fault != FileResult::Ok) return fault;
  const auto* bytes = static_cast<const uint8_t*>(data);
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::write(f.fd, bytes + done, size - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return n == 0 ? FileResult::NoSpace : FromErrno(errno);
  }
  return FileResult::Ok;
}

FileResult SeekFile(FileHandle f, int64_t offset, SeekFrom from, uint64_t* newPos) {
  if (!f.valid()) return FileResult::BadPath;
  int whence = from == SeekFrom::Begin ? SEEK_SET : from == SeekFrom::Current ? SEEK_CUR : SEEK_END;
  off_t pos = lseek(f.fd, static_cast<off_t>(offset), whence);
  if (pos < 0) return FromErrno(errno);
  if (newPos) *newPos = static_cast<uint64_t>(pos);
  return FileResult::Ok;
}

FileResult GetFileSize(FileHandle f, uint64_t& size) {
  size = 0;
  if (!f.valid()) return FileResult::BadPath;
  struct stat st;
  if (fstat(f.fd, &st) != 0) return FromErrno(errno);
  size = static_cast<uint64_t>(st.st_size);
  return FileResult::Ok;
}

FileResult TruncateFile(FileHandle f, uint64_t size) {
  if (!f.valid()) return FileResult::BadPath;
  if (ftruncate(f.fd, static_cast<off_t>(size)) != 0) return FromErrno(errno);
  return FileResult::Ok;
}

FileResult SyncFile(FileHandle f) {
  if (!f.valid()) return FileResult::BadPath;
  if (FileResult fault = CheckFault(FileOp::Sync); fault != FileResult::Ok) return fault;
  if (fsync(f.fd) != 0) return FromErrno(errno);
  return FileResult::Ok;
}

FileResult SyncFolder(const char* panelPath) {
  HostPath h = Resolve(panelPath);
  if (!h.ok) return FileResult::BadPath;
  if (FileResult fault = CheckFault(FileOp::Sync); fault != FileResult::Ok) return fault;
  int fd = ::open(h.path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return FromErrno(errno);
  int rc = fsync(fd);
  int err = errno;
  ::close(fd);
  return rc == 0 ? FileResult::Ok : FromErrno(err);
}

bool FileExists(const char* panelPath) {
  HostPath h = Resolve(panelPath);
  struct stat st;
  return h.ok && stat(h.path, &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FolderExists(const char* panelPath) {
  HostPath h = Resolve(panelPath);
  struct stat st;
  return h.ok && stat(h.path, &st) == 0 && S_ISDIR(st.st_mode);
}

FileResult FileSizeByPath(const char* panelPath, uint64_t& size) {
  detail::VerifyNotPainting("FileSizeByPath");
  FileInfo info;
  FileResult r = GetFileInfo(panelPath, info);
  size = info.size;
  return r;
}

FileResult GetFileInfo(const char* panelPath, FileInfo& out) {
  detail::VerifyNotPainting("GetFileInfo");
  out = FileInfo{};
  HostPath h = Resolve(panelPath);
  if (!h.ok) return FileResult::BadPath;
  struct stat st;
  if (stat(h.path, &st) != 0) return FromErrno(errno);
  out.isFolder = S_ISDIR(st.st_mode);
  out.size = out.isFolder ? 0 : static_cast<uint64_t>(st.st_size);
  out.readOnly = access(h.path, W_OK) != 0;
  out.modifiedEpochSeconds = static_cast<int64_t>(st.st_mtime);
  return FileResult::Ok;
}

FileResult DeleteFile(const char* panelPath) {
  if (FileResult fault = CheckFault(FileOp::Delete); fault != FileResult::Ok) return fault;
  HostPath h = Resolve(panelPath);
  if (!h.ok) return FileResult::BadPath;
  if (unlink(h.path) != 0) return FromErrno(errno);
  return FileResult::Ok;
}

FileResult CopyFile(const char* fromPanelPath, const char* toPanelPath, bool failIfExists) {
  if (FileResult fault = CheckFault(FileOp::Copy); fault != FileResult::Ok) return fault;
  FileHandle in;
  FileResult r = OpenFile(fromPanelPath, OpenMode::Read, in);
  if (r != FileResult::Ok) return r;
  FileHandle out;
  r = OpenFile(toPanelPath, failIfExists ? OpenMode::CreateNew : OpenMode::CreateAlways, out);
  if (r != FileResult::Ok) {
    CloseFile(in);
    return r;
  }
  uint8_t chunk[kCopyChunk];
  for (;;) {
    size_t got = 0;
    r = ReadFile(in, chunk, sizeof(chunk), got);
    if (r != FileResult::Ok || got == 0) break;
    r = WriteFile(out, chunk, got);
    if (r != FileResult::Ok) break;
  }
  // The stick may be pulled right after the copy: the data must be on it, not in a cache.
  if (r == FileResult::Ok) r = SyncFile(out);
  CloseFile(in);
  CloseFile(out);
  if (r != FileResult::Ok) {
    HostPath h = Resolve(toPanelPath);
    if (h.ok) unlink(h.path);
  }
  return r;
}

FileResult MoveFile(const char* fromPanelPath, const char* toPanelPath) {
  if (FileResult fault = CheckFault(FileOp::Rename); fault != FileResult::Ok) return fault;
  HostPath from = Resolve(fromPanelPath);
  HostPath to = Resolve(toPanelPath);
  if (!from.ok || !to.ok) return FileResult::BadPath;
  if (rename(from.path, to.path) == 0) {
    SyncHostFolderOf(to.path);
    return FileResult::Ok;
  }
  if (errno != EXDEV) return FromErrno(errno);
  // Across file systems (the USB stick): copy, then remove the source.
  FileResult r = CopyFile(fromPanelPath, toPanelPath, false);
  if (r != FileResult::Ok) return r;
  unlink(from.path);
  return FileResult::Ok;
}

FileResult CreateFolder(const char* panelPath) {
  HostPath h = Resolve(panelPath);
  if (!h.ok) return FileResult::BadPath;
  if (mkdir(h.path, 0755) == 0) return FileResult::Ok;
  int err = errno;
  struct stat st;
  if (err == EEXIST && stat(h.path, &st) == 0 && S_ISDIR(st.st_mode)) return FileResult::Ok;
  return FromErrno(err);
}

FileResult FindFirstFile(const char* panelPattern, FindHandle& h, FindData& out) {
  FindClose(h);
  HostPath full = Resolve(panelPattern);
  if (!full.ok) return FileResult::BadPath;
  char folder[kHostPathMax];
  const char* last = nullptr;
  SplitLast(full.path, folder, sizeof(folder), &last);
  if (std::strlen(last) >= sizeof(h.pattern)) return FileResult::BadPath;
  std::snprintf(h.pattern, sizeof(h.pattern), "%s", last);
  DIR* d = opendir(folder);
  if (!d) return FromErrno(errno);
  h.dir = d;
  FileResult r = FindNextFile(h, out);
  if (r != FileResult::Ok) FindClose(h);
  return r;
}

FileResult FindNextFile(FindHandle& h, FindData& out) {
  auto* d = static_cast<DIR*>(h.dir);
  if (!d) return FileResult::NotFound;
  while (dirent* e = readdir(d)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    if (!WildcardMatch(h.pattern, e->d_name)) continue;
    if (FillFindData(d, e->d_name, out)) return FileResult::Ok;
  }
  return FileResult::NotFound;
}

void FindClose(FindHandle& h) {
  if (h.dir) closedir(static_cast<DIR*>(h.dir));
  h.dir = nullptr;
}

bool WildcardMatch(const char* pattern, const char* name) {
  if (std::strcmp(pattern, "*.*") == 0) return true;  // as on the original: also names without a dot
  const char* star = nullptr;
  const char* resume = nullptr;
  auto lower = [](char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<char>(u + 32) : c;
  };
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || (*pattern && lower(*pattern) == lower(*name))) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == 0;
}

void InjectFileFault(FileOp op, int nth, FileResult result, bool persistent) {
  if (op == FileOp::Count || nth < 1) return;
  std::lock_guard<std::mutex> lock(faultMutex);
  Fault& f = faults[static_cast<size_t>(op)];
  if (!f.armed) armedFaults.fetch_add(1);
  f = Fault{.armed = true, .persistent = persistent, .nth = nth, .seen = 0, .result = result};
}

FileResult TakeInjectedFault(FileOp op) { return CheckFault(op); }

void ClearFileFaults() {
  std::lock_guard<std::mutex> lock(faultMutex);
  for (Fault& f : faults) f = Fault{};
  armedFaults.store(0);
}

}  // namespace plat
