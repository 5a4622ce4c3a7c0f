#include "tests/i18n/TestRoot.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "i18n/Language.h"
#include "platform/Files.h"

namespace i18n_test {

TestRoot::TestRoot() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/i18n-test-XXXXXX";
  char* made = mkdtemp(pattern.data());
  root_ = made ? made : "";
  plat::SetFileRoot(root_.c_str());
  i18n::ResetLanguageState();
}

TestRoot::~TestRoot() {
  std::error_code ec;
  if (!root_.empty()) std::filesystem::remove_all(root_, ec);
}

std::string TestRoot::HostPath(const std::string& panelRelative) const {
  std::string p = root_ + "/" + panelRelative;
  for (char& c : p)
    if (c == '\\') c = '/';
  return p;
}

void TestRoot::WriteBytes(const std::string& panelRelative, const std::string& bytes) const {
  const std::filesystem::path p = HostPath(panelRelative);
  std::error_code ec;
  std::filesystem::create_directories(p.parent_path(), ec);
  FILE* f = std::fopen(p.c_str(), "wb");
  if (!f) return;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::string TestRoot::ReadBytes(const std::string& panelRelative) const {
  std::string out;
  FILE* f = std::fopen(HostPath(panelRelative).c_str(), "rb");
  if (!f) return "<missing>";
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

void TestRoot::MakeFolder(const std::string& panelRelative) const {
  std::error_code ec;
  std::filesystem::create_directories(HostPath(panelRelative), ec);
}

std::string Utf16File(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t u : text) {
    bytes.push_back(static_cast<char>(u & 0xFF));
    bytes.push_back(static_cast<char>(u >> 8));
  }
  return bytes;
}

std::string Utf16Lines(const std::u16string* lines, int count) {
  std::u16string text;
  for (int i = 0; i < count; ++i) text += lines[i] + u"\r\n";
  return Utf16File(text);
}

std::u16string U16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace i18n_test
