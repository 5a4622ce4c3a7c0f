#include "i18n/PackInstall.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "i18n/Language.h"
#include "platform/Files.h"

namespace i18n {

namespace fs = std::filesystem;

namespace {

constexpr size_t kPathSize = 260;

bool CopyInto(const fs::path& from, const char* panelPath) {
  FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) return false;
  plat::FileHandle out;
  bool ok = plat::OpenFile(panelPath, plat::OpenMode::CreateAlways, out) == plat::FileResult::Ok;
  char buffer[8192];
  size_t n;
  while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
    ok = plat::WriteFile(out, buffer, n) == plat::FileResult::Ok;
  std::fclose(in);
  if (out.valid()) plat::CloseFile(out);
  if (!ok) plat::DeleteFile(panelPath);
  return ok;
}

// "Languages\EN\Bitmaps\X.BMP" under StoragePath for a path relative to the pack folder.
bool PanelPathOf(const fs::path& relative, char* out, size_t size) {
  std::string name = "Languages";
  for (const fs::path& part : relative) name += "\\" + part.string();
  return StoragePath(name.c_str(), out, size);
}

}  // namespace

bool ShippedPackDir(char* out, size_t size) {
  std::error_code ec;
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return false;
  const fs::path pack = program.parent_path().parent_path() / "assets" / "Languages";
  if (!fs::is_directory(pack / "EN", ec)) return false;
  const int n = std::snprintf(out, size, "%s", pack.c_str());
  return n > 0 && static_cast<size_t>(n) < size;
}

bool LanguagePackInstalled() {
  char path[kPathSize];
  return StoragePath(kEnglishStringsFile, path, sizeof path) && plat::FileExists(path);
}

int InstallLanguagePack(const char* hostPackDir, bool replace) {
  std::error_code ec;
  const fs::path source = hostPackDir;
  if (!fs::is_directory(source, ec)) return -1;
  int copied = 0;
  char path[kPathSize];
  if (!StoragePath("Languages", path, sizeof path) || plat::CreateFolder(path) != plat::FileResult::Ok)
    return -1;
  for (auto it = fs::recursive_directory_iterator(source, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const fs::path relative = fs::relative(it->path(), source, ec);
    if (ec || !PanelPathOf(relative, path, sizeof path)) return -1;
    if (it->is_directory()) {
      if (plat::CreateFolder(path) != plat::FileResult::Ok) return -1;
      continue;
    }
    if (!replace && plat::FileExists(path)) continue;
    if (!CopyInto(it->path(), path)) return -1;
    ++copied;
  }
  return ec ? -1 : copied;
}

}  // namespace i18n
