// Writes the manifest of one built language folder, which the panel compares its card copy
// against at every start (i18n::EnsureLanguagePack):
//
//   make-pack-manifest PACK_DIR
//
// One line per file below PACK_DIR, in name order: "<size> <crc32 in hex> <relative path>".
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "i18n/PackInstall.h"

namespace fs = std::filesystem;

namespace {

bool Checksum(const fs::path& p, uint64_t& size, uint32_t& crc) {
  FILE* f = std::fopen(p.c_str(), "rb");
  if (!f) return false;
  char buf[8192];
  size_t n;
  size = 0;
  crc = 0;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    crc = i18n::PackChecksum(buf, n, crc);
    size += n;
  }
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s PACK_DIR\n", argv[0]);
    return 2;
  }
  const fs::path pack = argv[1];
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(pack, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const std::string relative = fs::relative(it->path(), pack, ec).generic_string();
    if (relative != i18n::kPackManifestName) names.push_back(relative);
  }
  if (ec || names.empty()) {
    std::fprintf(stderr, "%s: no files to list\n", pack.c_str());
    return 1;
  }
  std::sort(names.begin(), names.end());
  const fs::path out = pack / i18n::kPackManifestName;
  FILE* f = std::fopen(out.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "%s: cannot create\n", out.c_str());
    return 1;
  }
  bool ok = true;
  for (const std::string& name : names) {
    uint64_t size = 0;
    uint32_t crc = 0;
    if (!Checksum(pack / name, size, crc)) {
      std::fprintf(stderr, "%s: cannot read\n", name.c_str());
      ok = false;
      break;
    }
    std::fprintf(f, "%llu %08x %s\n", static_cast<unsigned long long>(size), crc, name.c_str());
  }
  ok = std::fclose(f) == 0 && ok;
  if (!ok) fs::remove(out, ec);
  return ok ? 0 : 1;
}
