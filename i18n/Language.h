#pragma once
// The display language, the string table and the per-node warning descriptions.
// Every translated text comes from UTF-16 files in "Languages\<code>\" on the panel's storage;
// they are read once into fixed tables so that a lookup is a bounded copy without file access.
#include <cstddef>
#include <cstdint>

namespace i18n {

// Index of the language table below; anything outside 1..12 reads as English.
using LanguageId = uint8_t;

constexpr int kLanguageCount = 13;
constexpr LanguageId kEnglish = 0;
constexpr LanguageId kGerman = 6;

struct LanguageInfo {
  const char* name;        // as written in the configuration file
  const char* folderCode;  // "EN" in "Languages\EN\"
  const char* stringsFile;
  uint16_t dialogButtonId;  // button of the language dialog
  uint16_t ownNameStringId;
};
extern const LanguageInfo kLanguages[kLanguageCount];
// The entry for `id`, English for anything out of range.
const LanguageInfo& LanguageInfoFor(LanguageId id);

constexpr int kStringCount = 1000;      // valid ids 1..1000
constexpr int kCellUnits = 151;         // 150 characters and a terminating zero
constexpr int kCellChars = kCellUnits - 1;
constexpr int kStringDestUnits = 101;   // GetString copies at most 100 characters
constexpr int kWarningTableCount = 9;
constexpr int kWarningRows = 1001;      // rows 0..999 filled from file lines 1..1000
constexpr int kWarningDestUnits = 150;  // GetWarningText copies at most 149 characters

constexpr size_t kStringsFileBytes = 32768;
constexpr size_t kWarningsFileBytes = 26000;
constexpr size_t kConfigFileBytes = 200;

constexpr const char* kConfigFileName = "OrvaneLangConfig.txt";
constexpr const char* kEnglishStringsFile = "Languages\\EN\\EnglishStrings.txt";

struct WarningTableInfo {
  uint8_t nodeId;
  const char* fileName;
};
extern const WarningTableInfo kWarningTables[kWarningTableCount];

// Puts "\Hard Disk\" before `name` when the folder "\Hard Disk" exists at the moment of the
// call, otherwise copies `name` as it is. False (with an empty `out`) when it does not fit.
bool StoragePath(const char* name, char* out, size_t size);

// Fills the tables on first use; every lookup of this subsystem starts with it.
void EnsureLanguageLoaded();

// Reads the configuration file into the current language; a missing file is created
// holding "English", an unmatched text gives English and leaves the file alone.
void LoadLanguageConfig();
// Writes `name` without line end or terminator through a temporary file, a sync and a rename,
// so a failed write keeps the previous choice; a file that cannot be created is skipped.
void SaveLanguageConfig(const char* name);
// Loads the strings file of the current language, or the English one when it is missing;
// when both are missing the table keeps what it held. Entries past the file's last line
// keep their old texts.
void LoadStringTable();
// Loads the nine warnings files of the current language, each falling back to the English
// file of the same name; a table whose files are both missing is left as it was.
void LoadWarningTables();
// Stores the language, reloads both tables and saves the choice.
void SetLanguage(LanguageId id);
LanguageId CurrentLanguage();
const char* CurrentFolderCode();

// Table index 0..8 for a controller node id, -1 when the node has no warning table.
int WarningNodeIndex(int nodeId);

// Copies string `id` (at most 100 characters, terminated) into `dest`, which holds at least
// kStringDestUnits units. Id 0 leaves `dest` untouched; any other id outside 1..1000 gives an
// empty text.
void GetString(int id, char16_t* dest);
template <size_t N>
void GetString(int id, char16_t (&dest)[N]) {
  static_assert(N >= kStringDestUnits, "GetString needs room for 100 characters");
  GetString(id, static_cast<char16_t*>(dest));
}
// The stored entry itself (never null; empty for ids outside 1..1000). Valid until the next
// SetLanguage; for the user-interface thread only.
const char16_t* StringEntry(int id);

// Copies the description of (node, warning) into `dest` (at least kWarningDestUnits units,
// at most 149 characters). The 150th unit is always set to zero; when the node has no table
// or an id is not positive, nothing else is written. Safe to call from the link thread while
// SetLanguage reloads: a row is read whole from either the old or the new table.
void GetWarningText(int nodeId, int warningId, char16_t* dest);

// Back to the state of a fresh process: tables zeroed, English, tables not yet loaded.
// Used by tests and the fuzz targets.
void ResetLanguageState();

// Parses UTF-16 LE lines (after the two byte-order bytes) into consecutive cells starting at
// `rows[0]`, at most `rowCount` of them. Returns the number of lines stored. Exposed for the
// fuzz targets.
int ParseLinesInto(const uint8_t* bytes, size_t count, char16_t (*rows)[kCellUnits], int rowCount);

}  // namespace i18n
