#include "platform/RemovableDrive.h"

#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace plat {

namespace {

constexpr size_t kPathMax = 1024;
constexpr const char* kMountsFile = "/proc/self/mounts";
constexpr const char* kSysBlockDir = "/sys/block";
constexpr const char* kAutomountFolders[] = {"/media/", "/run/media/"};

// Set once by a test before the files are used.
char gMountsFile[kPathMax] = {};
char gSysBlockDir[kPathMax] = {};

const char* MountsFile() { return gMountsFile[0] ? gMountsFile : kMountsFile; }
const char* SysBlockDir() { return gSysBlockDir[0] ? gSysBlockDir : kSysBlockDir; }

// The mount list writes a space, tab, newline or backslash in a name as \ and three octal digits.
void Unescape(char* s) {
  char* out = s;
  for (const char* in = s; *in; ++out) {
    if (in[0] == '\\' && in[1] >= '0' && in[1] <= '3' && in[2] >= '0' && in[2] <= '7' && in[3] >= '0' &&
        in[3] <= '7') {
      *out = static_cast<char>((in[1] - '0') * 64 + (in[2] - '0') * 8 + (in[3] - '0'));
      in += 4;
    } else {
      *out = *in++;
    }
  }
  *out = 0;
}

bool HasOption(const char* options, const char* wanted) {
  const size_t n = std::strlen(wanted);
  for (const char* p = options; *p;) {
    const char* end = std::strchr(p, ',');
    const size_t len = end ? static_cast<size_t>(end - p) : std::strlen(p);
    if (len == n && std::strncmp(p, wanted, n) == 0) return true;
    if (!end) break;
    p = end + 1;
  }
  return false;
}

// A panel computer may boot from a USB disk: its system folders are never the stick.
bool SystemFolder(const char* mountPoint) {
  return std::strcmp(mountPoint, "/") == 0 || std::strncmp(mountPoint, "/boot", 5) == 0;
}

bool UnderAutomountFolder(const char* mountPoint) {
  for (const char* folder : kAutomountFolders)
    if (std::strncmp(mountPoint, folder, std::strlen(folder)) == 0 && mountPoint[std::strlen(folder)] != 0)
      return true;
  return false;
}

// Whether /sys/block/<disk> marks the disk as removable or links it below a USB controller.
bool DiskIsRemovable(const char* disk) {
  char path[kPathMax];
  if (std::snprintf(path, sizeof path, "%s/%s", SysBlockDir(), disk) >= static_cast<int>(sizeof path))
    return false;
  char target[kPathMax];
  const ssize_t n = ::readlink(path, target, sizeof target - 1);
  if (n > 0) {
    target[n] = 0;
    if (std::strstr(target, "/usb") != nullptr) return true;
  }
  std::strncat(path, "/removable", sizeof path - std::strlen(path) - 1);
  FILE* f = std::fopen(path, "re");
  if (f == nullptr) return false;
  const int c = std::fgetc(f);
  std::fclose(f);
  return c == '1';
}

// A partition's disk: sdb1 -> sdb, mmcblk0p1 -> mmcblk0; a whole disk names itself.
bool DeviceIsRemovable(const char* device) {
  constexpr const char* kDev = "/dev/";
  if (std::strncmp(device, kDev, std::strlen(kDev)) != 0) return false;
  char disk[256];
  if (std::snprintf(disk, sizeof disk, "%s", device + std::strlen(kDev)) >= static_cast<int>(sizeof disk))
    return false;
  if (std::strchr(disk, '/') != nullptr) return false;  // mapper and by-id names
  if (DiskIsRemovable(disk)) return true;
  size_t n = std::strlen(disk);
  while (n > 0 && disk[n - 1] >= '0' && disk[n - 1] <= '9') --n;
  if (n == std::strlen(disk) || n == 0) return false;
  if (n >= 2 && disk[n - 1] == 'p' && disk[n - 2] >= '0' && disk[n - 2] <= '9') --n;
  disk[n] = 0;
  return DiskIsRemovable(disk);
}

}  // namespace

bool FindRemovableMount(char* out, size_t size) {
  if (out == nullptr || size == 0) return false;
  out[0] = 0;
  FILE* f = std::fopen(MountsFile(), "re");
  if (f == nullptr) return false;
  char line[4 * kPathMax];
  bool found = false;
  while (!found && std::fgets(line, sizeof line, f) != nullptr) {
    char device[kPathMax], mountPoint[kPathMax], type[64], options[kPathMax];
    if (std::sscanf(line, "%1023s %1023s %63s %1023s", device, mountPoint, type, options) != 4) continue;
    // The copies must be written; whether this user may write there shows when one is.
    if (!HasOption(options, "rw")) continue;
    Unescape(device);
    Unescape(mountPoint);
    if (SystemFolder(mountPoint)) continue;
    if (!UnderAutomountFolder(mountPoint) && !DeviceIsRemovable(device)) continue;
    found = std::snprintf(out, size, "%s", mountPoint) < static_cast<int>(size);
  }
  std::fclose(f);
  if (!found) out[0] = 0;
  return found;
}

void SetRemovableDriveSources(const char* mountsFile, const char* sysBlockDir) {
  std::snprintf(gMountsFile, sizeof gMountsFile, "%s", mountsFile ? mountsFile : "");
  std::snprintf(gSysBlockDir, sizeof gSysBlockDir, "%s", sysBlockDir ? sysBlockDir : "");
}

}  // namespace plat
