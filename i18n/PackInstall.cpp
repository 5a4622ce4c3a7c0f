#include "i18n/PackInstall.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <strings.h>
#include <vector>

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
  ok = ok && !std::ferror(in) && plat::SyncFile(out) == plat::FileResult::Ok;
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

struct ManifestEntry {
  uint64_t size = 0;
  uint32_t crc = 0;
  std::string path;  // below the language folder, with '/'
};

bool ReadManifest(const fs::path& file, std::vector<ManifestEntry>& out) {
  FILE* f = std::fopen(file.c_str(), "rb");
  if (!f) return false;
  out.clear();
  char line[600];
  bool ok = true;
  while (ok && std::fgets(line, sizeof line, f) != nullptr) {
    ManifestEntry e;
    char* end = nullptr;
    e.size = std::strtoull(line, &end, 10);
    ok = end != line && *end == ' ';
    if (!ok) break;
    char* crcStart = end + 1;
    e.crc = static_cast<uint32_t>(std::strtoul(crcStart, &end, 16));
    ok = end != crcStart && *end == ' ';
    if (!ok) break;
    e.path = end + 1;
    while (!e.path.empty() && (e.path.back() == '\n' || e.path.back() == '\r')) e.path.pop_back();
    ok = !e.path.empty();
    out.push_back(e);
  }
  std::fclose(f);
  return ok && !out.empty();
}

bool IsText(const std::string& path) {
  return path.size() > 4 && strcasecmp(path.c_str() + path.size() - 4, ".txt") == 0;
}

// "Languages\<folder>\<relative with backslashes>" under StoragePath.
bool CardPath(const char* folder, const std::string& relative, char* out, size_t size) {
  std::string name = std::string("Languages\\") + folder;
  if (!relative.empty()) name += "\\" + relative;
  for (char& c : name)
    if (c == '/') c = '\\';
  return StoragePath(name.c_str(), out, size);
}

bool CardFileMatches(const char* folder, const ManifestEntry& e) {
  char path[kPathSize];
  plat::FileInfo info;
  if (!CardPath(folder, e.path, path, sizeof path) || plat::GetFileInfo(path, info) != plat::FileResult::Ok ||
      info.isFolder || info.size != e.size)
    return false;
  if (!IsText(e.path)) return true;
  plat::FileHandle f;
  if (plat::OpenFile(path, plat::OpenMode::Read, f) != plat::FileResult::Ok) return false;
  uint8_t buffer[8192];
  uint32_t crc = 0;
  size_t got = 0;
  plat::FileResult r;
  while ((r = plat::ReadFile(f, buffer, sizeof buffer, got)) == plat::FileResult::Ok && got > 0)
    crc = PackChecksum(buffer, got, crc);
  plat::CloseFile(f);
  return r == plat::FileResult::Ok && crc == e.crc;
}

bool CardFolderMatches(const char* folder, const std::vector<ManifestEntry>& manifest) {
  for (const ManifestEntry& e : manifest)
    if (!CardFileMatches(folder, e)) return false;
  return true;
}

void RemoveCardFolder(const char* folder) {
  char path[kPathSize];
  char host[1024];
  if (!CardPath(folder, "", path, sizeof path) || !plat::ResolvePath(path, host, sizeof host)) return;
  std::error_code ec;
  fs::remove_all(host, ec);
}

// Copies the shipped folder, every file and subfolder, into the card folder `folder`.
bool CopyFolder(const fs::path& source, const char* folder) {
  char path[kPathSize];
  if (!CardPath(folder, "", path, sizeof path) || plat::CreateFolder(path) != plat::FileResult::Ok) return false;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(source, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const fs::path relative = fs::relative(it->path(), source, ec);
    if (ec || !CardPath(folder, relative.generic_string(), path, sizeof path)) return false;
    const bool ok = it->is_directory(ec) ? plat::CreateFolder(path) == plat::FileResult::Ok
                                         : CopyInto(it->path(), path);
    if (!ok) return false;
  }
  return !ec;
}

// Renames the card folder `code` to the first free "<code>.old", "<code>.old2", ...
bool MoveAside(const char* code) {
  char from[kPathSize];
  if (!CardPath(code, "", from, sizeof from)) return false;
  for (int n = 1; n < 100; ++n) {
    char name[32];
    if (n == 1)
      std::snprintf(name, sizeof name, "%s.old", code);
    else
      std::snprintf(name, sizeof name, "%s.old%d", code, n);
    char to[kPathSize];
    if (!CardPath(name, "", to, sizeof to)) return false;
    if (plat::FolderExists(to) || plat::FileExists(to)) continue;
    return plat::MoveFile(from, to) == plat::FileResult::Ok;
  }
  return false;
}

// Puts a fresh copy in place of the card folder `code` (or where there is none); the copy is
// renamed into place only when `whole` says it is.
PackResult PutInPlace(const fs::path& source, const char* code, const std::vector<ManifestEntry>* manifest,
                      bool replacing) {
  char temp[16];
  std::snprintf(temp, sizeof temp, "%s.new", code);
  RemoveCardFolder(temp);  // left by a start that was cut short
  const bool whole = CopyFolder(source, temp) && (manifest == nullptr || CardFolderMatches(temp, *manifest));
  char from[kPathSize];
  char to[kPathSize];
  char languages[kPathSize];
  if (!whole || (replacing && !MoveAside(code)) || !CardPath(temp, "", from, sizeof from) ||
      !CardPath(code, "", to, sizeof to) || plat::MoveFile(from, to) != plat::FileResult::Ok) {
    RemoveCardFolder(temp);
    return PackResult::CopyFailed;
  }
  if (StoragePath("Languages", languages, sizeof languages)) plat::SyncFolder(languages);
  return replacing ? PackResult::Restored : PackResult::Installed;
}

}  // namespace

uint32_t PackChecksum(const void* data, size_t size, uint32_t running) {
  static constexpr auto kTable = [] {
    struct Table {
      uint32_t v[256];
    } t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t.v[i] = c;
    }
    return t;
  }();
  const auto* bytes = static_cast<const uint8_t*>(data);
  uint32_t crc = ~running;
  for (size_t i = 0; i < size; ++i) crc = kTable.v[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

const char* PackResultText(PackResult r) {
  switch (r) {
    case PackResult::Whole: return "whole";
    case PackResult::Installed: return "installed";
    case PackResult::Restored: return "damaged copy moved aside and restored";
    case PackResult::NoManifest: return "shipped without a manifest";
    case PackResult::CopyFailed: return "could not be copied whole; the card is as it was";
    case PackResult::BadSource: return "the shipped pack cannot be read";
  }
  return "?";
}

PackResult EnsureLanguagePack(const char* hostPackDir, const char* code) {
  std::error_code ec;
  const fs::path source = fs::path(hostPackDir) / code;
  char languages[kPathSize];
  char folder[kPathSize];
  if (!fs::is_directory(source, ec) || std::strlen(code) > 8 || !StoragePath("Languages", languages, sizeof languages) ||
      plat::CreateFolder(languages) != plat::FileResult::Ok || !CardPath(code, "", folder, sizeof folder))
    return PackResult::BadSource;
  const bool present = plat::FolderExists(folder);
  std::vector<ManifestEntry> manifest;
  if (!fs::exists(source / kPackManifestName, ec)) {
    if (present) return PackResult::NoManifest;
    const PackResult r = PutInPlace(source, code, nullptr, false);
    return r == PackResult::Installed ? PackResult::NoManifest : r;
  }
  if (!ReadManifest(source / kPackManifestName, manifest)) return PackResult::BadSource;
  if (present && CardFolderMatches(code, manifest)) return PackResult::Whole;
  return PutInPlace(source, code, &manifest, present);
}

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
