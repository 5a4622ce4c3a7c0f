#pragma once
// A scratch folder for one test, made below $TMPDIR (or /tmp) and removed with its contents.
#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <string>
#include <unistd.h>

class SysTempDir {
 public:
  SysTempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && base[0] ? base : "/tmp") + "/dryer-sys-XXXXXX";
    path_ = pattern;
    if (!mkdtemp(path_.data())) path_.clear();
  }
  ~SysTempDir() {
    if (path_.empty()) return;
    nftw(
        path_.c_str(),
        [](const char* p, const struct stat*, int, struct FTW*) { return remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
  }
  SysTempDir(const SysTempDir&) = delete;
  SysTempDir& operator=(const SysTempDir&) = delete;

  const char* c_str() const { return path_.c_str(); }
  std::string Sub(const char* rel) const { return path_ + "/" + rel; }

 private:
  std::string path_;
};
