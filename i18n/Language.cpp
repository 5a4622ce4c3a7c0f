#include "i18n/Language.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/Files.h"

namespace i18n {

const LanguageInfo kLanguages[kLanguageCount] = {
    {.name = "English", .folderCode = "EN", .stringsFile = "Languages\\EN\\EnglishStrings.txt", .dialogButtonId = 1492, .ownNameStringId = 477},
    {.name = "Bulgarian", .folderCode = "BG", .stringsFile = "Languages\\BG\\BulgarianStrings.txt", .dialogButtonId = 1493, .ownNameStringId = 473},
    {.name = "Czech", .folderCode = "CS", .stringsFile = "Languages\\CS\\CzechStrings.txt", .dialogButtonId = 1494, .ownNameStringId = 474},
    {.name = "Danish", .folderCode = "DA", .stringsFile = "Languages\\DA\\DanishStrings.txt", .dialogButtonId = 1495, .ownNameStringId = 475},
    {.name = "Dutch", .folderCode = "NL", .stringsFile = "Languages\\NL\\DutchStrings.txt", .dialogButtonId = 1504, .ownNameStringId = 476},
    {.name = "French", .folderCode = "FR", .stringsFile = "Languages\\FR\\FrenchStrings.txt", .dialogButtonId = 1496, .ownNameStringId = 478},
    {.name = "German", .folderCode = "DE", .stringsFile = "Languages\\DE\\GermanStrings.txt", .dialogButtonId = 1497, .ownNameStringId = 479},
    {.name = "Hungarian", .folderCode = "HU", .stringsFile = "Languages\\HU\\HungarianStrings.txt", .dialogButtonId = 1498, .ownNameStringId = 480},
    {.name = "Polish", .folderCode = "PL", .stringsFile = "Languages\\PL\\PolishStrings.txt", .dialogButtonId = 1499, .ownNameStringId = 481},
    {.name = "Portuguese", .folderCode = "PT", .stringsFile = "Languages\\PT\\PortugueseStrings.txt", .dialogButtonId = 1500, .ownNameStringId = 482},
    {.name = "Romanian", .folderCode = "RO", .stringsFile = "Languages\\RO\\RomanianStrings.txt", .dialogButtonId = 1501, .ownNameStringId = 483},
    {.name = "Russian", .folderCode = "RU", .stringsFile = "Languages\\RU\\RussianStrings.txt", .dialogButtonId = 1502, .ownNameStringId = 484},
    {.name = "Spanish", .folderCode = "ES", .stringsFile = "Languages\\ES\\SpanishStrings.txt", .dialogButtonId = 1503, .ownNameStringId = 485},
};

const WarningTableInfo kWarningTables[kWarningTableCount] = {
    {.nodeId = 1, .fileName = "WarningsDIO.txt"}, {.nodeId = 2, .fileName = "WarningsFH1.txt"},
    {.nodeId = 3, .fileName = "WarningsFH2.txt"}, {.nodeId = 4, .fileName = "WarningsFH3.txt"},
    {.nodeId = 5, .fileName = "WarningsFH4.txt"}, {.nodeId = 6, .fileName = "WarningsFH5.txt"},
    {.nodeId = 7, .fileName = "WarningsFH6.txt"}, {.nodeId = 14, .fileName = "WarningsMIO.txt"},
    {.nodeId = 15, .fileName = "WarningsMC.txt"},
};

namespace {

constexpr const char* kHardDisk = "\\Hard Disk";
constexpr size_t kPathSize = 260;

// The language in use and whether its tables still wait to be loaded; read by both threads.
// Atomics cannot be assigned, so Reset() stores the values of a fresh instance.
struct LanguageChoice {
  std::atomic<LanguageId> language{kEnglish};
  std::atomic<uint8_t> notLoaded{1};

  void Reset() {
    const LanguageChoice fresh;
    language.store(fresh.language.load());
    notLoaded.store(fresh.notLoaded.load());
  }
};

// The loaded texts, about 3 MB: a reset clears them in place rather than through a temporary.
struct LanguageTables {
  // Entry 0 is never filled, so entry k is string id k.
  char16_t strings[kStringCount + 1][kCellUnits];
  char16_t warnings[kWarningTableCount][kWarningRows][kCellUnits];
  // The loaders' shared read buffer; its contents never outlive one load.
  uint8_t fileBytes[kStringsFileBytes];

  void Clear() {
    std::memset(strings, 0, sizeof strings);
    std::memset(warnings, 0, sizeof warnings);
  }
};

// The link thread reads warning rows while the user-interface thread may reload them; `table`
// makes each row copy see one language. `load` serialises the loaders and their read buffer.
struct LanguageLocks {
  std::mutex table;
  std::mutex load;
};

LanguageChoice gChoice;
LanguageTables gTables;
LanguageLocks gLocks;

// Reads at most `limit` bytes of the file; false when it does not open.
bool ReadFileStart(const char* panelPath, uint8_t* buffer, size_t limit, size_t& got) {
  got = 0;
  plat::FileHandle f;
  if (plat::OpenFile(panelPath, plat::OpenMode::Read, f) != plat::FileResult::Ok) return false;
  uint64_t size = 0;
  if (plat::GetFileSize(f, size) == plat::FileResult::Ok) {
    const size_t want = size < limit ? static_cast<size_t>(size) : limit;
    size_t n = 0;
    if (plat::ReadFile(f, buffer, want, n) == plat::FileResult::Ok) got = n;
  }
  plat::CloseFile(f);
  return true;
}

bool ReadUnderStorage(const char* name, uint8_t* buffer, size_t limit, size_t& got) {
  char path[kPathSize];
  if (!StoragePath(name, path, sizeof path)) return false;
  return ReadFileStart(path, buffer, limit, got);
}

LanguageId Normalised(LanguageId id) { return id >= 1 && id < kLanguageCount ? id : kEnglish; }

}  // namespace

const LanguageInfo& LanguageInfoFor(LanguageId id) { return kLanguages[Normalised(id)]; }

bool StoragePath(const char* name, char* out, size_t size) {
  if (size == 0) return false;
  const bool card = plat::FolderExists(kHardDisk);
  const int n = card ? std::snprintf(out, size, "%s\\%s", kHardDisk, name)
                     : std::snprintf(out, size, "%s", name);
  if (n < 0 || static_cast<size_t>(n) >= size) {
    out[0] = '\0';
    return false;
  }
  return true;
}

int ParseLinesInto(const uint8_t* bytes, size_t count, char16_t (*rows)[kCellUnits], int rowCount) {
  char16_t line[kCellUnits] = {};
  size_t column = 0;
  int row = 0;
  for (size_t at = 2; at + 1 < count; at += 2) {
    const char16_t unit = static_cast<char16_t>(bytes[at] | (bytes[at + 1] << 8));
    if (unit == u'\n') {
      line[column < kCellChars ? column : kCellChars] = 0;
      if (row < rowCount) {
        std::memcpy(rows[row], line, kCellChars * sizeof(char16_t));
        rows[row][kCellChars] = 0;
        ++row;
      }
      column = 0;
    } else if (unit == u'\r') {
      if (column < kCellChars) line[column] = 0;
      if (column < kCellChars) ++column;
    } else {
      if (column < kCellChars) line[column++] = unit;
    }
  }
  return row;
}

void EnsureLanguageLoaded() {
  if (gChoice.notLoaded.exchange(0) == 0) return;
  LoadLanguageConfig();
  LoadStringTable();
  LoadWarningTables();
}

void LoadLanguageConfig() {
  char text[kConfigFileBytes + 1] = {};
  size_t got = 0;
  if (!ReadUnderStorage(kConfigFileName, reinterpret_cast<uint8_t*>(text), kConfigFileBytes, got)) {
    SaveLanguageConfig(kLanguages[kEnglish].name);
    gChoice.language = kEnglish;
    return;
  }
  text[got] = '\0';
  LanguageId found = kEnglish;
  for (int i = 0; i < kLanguageCount; ++i) {
    if (std::strcmp(text, kLanguages[i].name) == 0) {
      found = static_cast<LanguageId>(i);
      break;
    }
  }
  gChoice.language = found;
}

void SaveLanguageConfig(const char* name) {
  // Written beside the file and renamed over it once on the card, so a full card or a power
  // cut leaves the previous choice whole instead of an empty file.
  char path[kPathSize];
  char temp[kPathSize];
  if (!StoragePath(kConfigFileName, path, sizeof path)) return;
  if (std::snprintf(temp, sizeof temp, "%s.tmp", path) >= static_cast<int>(sizeof temp)) return;
  plat::FileHandle f;
  if (plat::OpenFile(temp, plat::OpenMode::CreateAlways, f) != plat::FileResult::Ok) return;
  const bool written = plat::WriteFile(f, name, std::strlen(name)) == plat::FileResult::Ok &&
                       plat::SyncFile(f) == plat::FileResult::Ok;
  plat::CloseFile(f);
  if (!written || plat::MoveFile(temp, path) != plat::FileResult::Ok) plat::DeleteFile(temp);
}

void LoadStringTable() {
  EnsureLanguageLoaded();
  std::lock_guard load(gLocks.load);
  size_t got = 0;
  if (!ReadUnderStorage(LanguageInfoFor(gChoice.language).stringsFile, gTables.fileBytes, kStringsFileBytes, got) &&
      !ReadUnderStorage(kEnglishStringsFile, gTables.fileBytes, kStringsFileBytes, got))
    return;
  std::lock_guard table(gLocks.table);
  ParseLinesInto(gTables.fileBytes, got, &gTables.strings[1], kStringCount);
}

void LoadWarningTables() {
  EnsureLanguageLoaded();
  std::lock_guard load(gLocks.load);
  const char* code = LanguageInfoFor(gChoice.language).folderCode;
  for (int t = 0; t < kWarningTableCount; ++t) {
    char name[kPathSize];
    char english[kPathSize];
    std::snprintf(name, sizeof name, "Languages\\%s\\%s", code, kWarningTables[t].fileName);
    std::snprintf(english, sizeof english, "Languages\\EN\\%s", kWarningTables[t].fileName);
    size_t got = 0;
    if (!ReadUnderStorage(name, gTables.fileBytes, kWarningsFileBytes, got) &&
        !ReadUnderStorage(english, gTables.fileBytes, kWarningsFileBytes, got))
      continue;
    std::lock_guard table(gLocks.table);
    ParseLinesInto(gTables.fileBytes, got, gTables.warnings[t], kWarningRows - 1);
  }
}

void SetLanguage(LanguageId id) {
  // A first use would read the configuration file over the new choice.
  EnsureLanguageLoaded();
  gChoice.language = id;
  LoadStringTable();
  LoadWarningTables();
  SaveLanguageConfig(LanguageInfoFor(id).name);
}

LanguageId CurrentLanguage() { return gChoice.language; }
const char* CurrentFolderCode() { return LanguageInfoFor(gChoice.language).folderCode; }

int WarningNodeIndex(int nodeId) {
  for (int t = 0; t < kWarningTableCount; ++t)
    if (kWarningTables[t].nodeId == nodeId) return t;
  return -1;
}

void GetString(int id, char16_t* dest) {
  EnsureLanguageLoaded();
  if (id == 0) return;
  const char16_t* from = StringEntry(id);
  int n = 0;
  while (n < kStringDestUnits - 1 && from[n] != 0) {
    dest[n] = from[n];
    ++n;
  }
  dest[n] = 0;
}

const char16_t* StringEntry(int id) {
  static const char16_t kEmpty[1] = {0};
  EnsureLanguageLoaded();
  if (id < 1 || id > kStringCount) return kEmpty;
  return gTables.strings[id];
}

void GetWarningText(int nodeId, int warningId, char16_t* dest) {
  EnsureLanguageLoaded();
  const int table = nodeId > 0 ? WarningNodeIndex(nodeId) : -1;
  if (table >= 0 && warningId > 0 && warningId < kWarningRows) {
    std::lock_guard lock(gLocks.table);
    const char16_t* from = gTables.warnings[table][warningId];
    int n = 0;
    while (n < kWarningDestUnits - 1 && from[n] != 0) {
      dest[n] = from[n];
      ++n;
    }
    dest[n] = 0;
  }
  dest[kWarningDestUnits - 1] = 0;
}

void ResetLanguageState() {
  std::lock_guard load(gLocks.load);
  std::lock_guard table(gLocks.table);
  gTables.Clear();
  gChoice.Reset();
}

}  // namespace i18n
