#include "shell/ShippedData.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/Process.h"

namespace shell {

namespace {

namespace fs = std::filesystem;

constexpr const char* kInstalledData = "../share/dryer-panel";
constexpr const char* kBuildData = "../assets";
constexpr const char* kLanguagesFolder = "Languages";
constexpr const char* kManualsFolder = "Manuals";

struct ShippedDataState {
  ShippedData found;
  bool looked = false;
};
ShippedDataState gShipped;

bool HasLanguages(const fs::path& dir) {
  std::error_code ec;
  return fs::is_directory(dir / kLanguagesFolder, ec);
}

void Keep(const fs::path& dir, bool installed) {
  std::error_code ec;
  const fs::path clean = fs::weakly_canonical(dir, ec);
  std::snprintf(gShipped.found.dir, sizeof gShipped.found.dir, "%s", (ec ? dir : clean).c_str());
  gShipped.found.installed = installed;
}

}  // namespace

const ShippedData& FindShippedData() {
  if (gShipped.looked) return gShipped.found;
  gShipped.looked = true;
  char program[1024];
  if (!plat::ProgramDir(program, sizeof program)) return gShipped.found;
  const fs::path bin(program);
  if (HasLanguages(bin / kInstalledData))
    Keep(bin / kInstalledData, true);
  else if (HasLanguages(bin / kBuildData))
    Keep(bin / kBuildData, false);
  return gShipped.found;
}

int RefreshManuals(const char* root) {
  const ShippedData& shipped = FindShippedData();
  if (shipped.dir[0] == 0 || root == nullptr) return 0;
  std::error_code ec;
  const fs::path from = fs::path(shipped.dir) / kManualsFolder;
  const fs::path to = fs::path(root) / "Hard Disk" / kManualsFolder;
  if (!fs::is_directory(from, ec)) return 0;
  fs::create_directories(to, ec);
  int copied = 0;
  for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code e;
    if (!it->is_regular_file(e)) continue;
    const fs::path target = to / it->path().filename();
    if (fs::exists(target, e) && fs::file_size(target, e) == it->file_size(e) &&
        fs::last_write_time(target, e) >= it->last_write_time(e))
      continue;
    fs::copy_file(it->path(), target, fs::copy_options::overwrite_existing, e);
    if (e) return -1;
    ++copied;
  }
  return copied;
}

}  // namespace shell
