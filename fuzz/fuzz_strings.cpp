// The string and warnings loaders on arbitrary file bytes: the bytes become the English
// strings file and one warnings file of a temporary panel root, are loaded through the real
// loaders, and every lookup must stay inside its cells and come back terminated.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "i18n/Language.h"
#include "platform/Files.h"

namespace {

std::string MakeRoot() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/fuzz-strings-XXXXXX";
  if (!mkdtemp(pattern.data())) std::abort();
  const std::string folder = pattern + "/Languages/EN";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) std::abort();
  plat::SetFileRoot(pattern.c_str());
  return folder;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);
}

void CheckTerminated(const char16_t* text, size_t units) {
  for (size_t i = 0; i < units; ++i)
    if (text[i] == 0) return;
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = MakeRoot();
  WriteFile(folder + "/EnglishStrings.txt", data, size);
  WriteFile(folder + "/WarningsFH1.txt", data, size);
  i18n::ResetLanguageState();
  i18n::SetLanguage(i18n::kEnglish);
  for (int id = 0; id <= i18n::kStringCount + 1; id += 7) {
    char16_t text[i18n::kStringDestUnits];
    text[0] = 0;
    i18n::GetString(id, text);
    CheckTerminated(text, i18n::kStringDestUnits);
    CheckTerminated(i18n::StringEntry(id), i18n::kCellUnits);
  }
  for (int warning = 0; warning <= 1001; warning += 13) {
    char16_t text[i18n::kWarningDestUnits];
    std::memset(text, 0x41, sizeof text);
    i18n::GetWarningText(2, warning, text);
    CheckTerminated(text, i18n::kWarningDestUnits);
  }
  // The parser by itself, on a table just large enough for the rows asked for.
  static char16_t rows[3][i18n::kCellUnits];
  i18n::ParseLinesInto(data, size, rows, 3);
  for (auto& row : rows) CheckTerminated(row, i18n::kCellUnits);
  return 0;
}
