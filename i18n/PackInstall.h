#pragma once
// Putting the shipped language packs into a panel root. The build leaves them in
// <build>/assets/Languages/<code>/; the panel reads them as "Languages\<code>\..." under
// StoragePath, so on a root with a storage card they go below "\Hard Disk".
#include <cstddef>
#include <cstdint>

namespace i18n {

// The build writes into each shipped language folder a manifest of its files, one line each:
// "<size> <crc32 in hex> <path below the folder, with />".
inline constexpr const char* kPackManifestName = "Pack.manifest";
// CRC-32 (the zip polynomial) of `size` bytes, continuing from `running` (0 to start).
uint32_t PackChecksum(const void* data, size_t size, uint32_t running = 0);

// The packs shipped beside the running program (<program dir>/../assets/Languages), as a host
// path. False when there are none.
bool ShippedPackDir(char* out, size_t size);

// Whether the English strings file is where the panel looks for it.
bool LanguagePackInstalled();

// Copies every file below `hostPackDir` to "Languages\..." under StoragePath, creating the
// folders. Files already present are kept unless `replace`. Returns the number of files
// copied, or -1 when the source cannot be read or a file cannot be written.
int InstallLanguagePack(const char* hostPackDir, bool replace);

enum class PackResult : uint8_t {
  Whole,         // the card's copy matches the manifest and was left alone
  Installed,     // there was no copy; the shipped one was put in place
  Restored,      // the copy was incomplete or damaged; it was moved aside and replaced
  NoManifest,    // the shipped folder has no manifest: copied only when the card has none
  CopyFailed,    // the new copy could not be made whole (a full card); the card is as it was
  BadSource,     // the shipped folder or its manifest cannot be read
};
const char* PackResultText(PackResult r);

// Makes "Languages\<code>" under StoragePath a whole copy of the shipped folder
// `hostPackDir`/<code>. Every file of the manifest must be there with its size, and the texts
// (.txt) with their checksum; pictures are checked by size only, so a start reads kilobytes,
// not megabytes. A new copy is made in "Languages\<code>.new" and renamed into place only when
// it checks whole; a copy it replaces is renamed to "<code>.old" (or .old2, .old3, ...), never
// deleted, since it may hold an operator's own texts. Other folders are never touched.
PackResult EnsureLanguagePack(const char* hostPackDir, const char* code);

}  // namespace i18n
