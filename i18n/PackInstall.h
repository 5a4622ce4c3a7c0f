#pragma once
// Putting the shipped language packs into a panel root. The build leaves them in
// <build>/assets/Languages/<code>/; the panel reads them as "Languages\<code>\..." under
// StoragePath, so on a root with a storage card they go below "\Hard Disk".
#include <cstddef>

namespace i18n {

// The packs shipped beside the running program (<program dir>/../assets/Languages), as a host
// path. False when there are none.
bool ShippedPackDir(char* out, size_t size);

// Whether the English strings file is where the panel looks for it.
bool LanguagePackInstalled();

// Copies every file below `hostPackDir` to "Languages\..." under StoragePath, creating the
// folders. Files already present are kept unless `replace`. Returns the number of files
// copied, or -1 when the source cannot be read or a file cannot be written.
int InstallLanguagePack(const char* hostPackDir, bool replace);

}  // namespace i18n
