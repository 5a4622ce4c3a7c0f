#pragma once
// Registry keys under the current user, one small file per key below the file root
// ("Software\Drelm\OrvaneDryer" is "<root>/Registry/Software/Drelm/OrvaneDryer.reg"). Every
// write rewrites the key's file through a temporary file, a sync and a rename, so a power cut
// leaves the old or the new contents. A torn or foreign file reads as a key without values.
#include <cstddef>
#include <cstdint>

namespace plat {

enum class RegResult : uint8_t {
  Ok,
  NotFound,   // no such key or value
  WrongType,  // the value exists with another type
  TooLarge,   // the value does not fit the caller's buffer, or the key is full
  IoError,    // the key's file could not be written
  BadKey,     // an empty, too long or malformed key path or value name
};
const char* RegResultText(RegResult r);

enum class RegType : uint8_t { Binary = 3, Dword = 4, String = 1 };

constexpr size_t kRegMaxValueName = 63;
constexpr size_t kRegMaxValueSize = 256;
constexpr size_t kRegMaxValuesPerKey = 32;

struct RegKey {
  char file[300] = {};  // panel path of the key's file
  bool valid() const { return file[0] != 0; }
};

// Opens the key, creating its folders when missing (the file appears with the first value).
RegResult RegOpenKey(const char* keyPath, RegKey& out);
// Opens only a key that holds a file already; NotFound otherwise.
RegResult RegOpenExistingKey(const char* keyPath, RegKey& out);
void RegCloseKey(RegKey& key);

RegResult RegReadDword(const RegKey& key, const char* name, uint32_t& value);
RegResult RegWriteDword(const RegKey& key, const char* name, uint32_t value);
// `size` is the number of bytes stored; TooLarge (with `size` set) when capacity is short.
RegResult RegReadBinary(const RegKey& key, const char* name, void* buffer, size_t capacity,
                        size_t& size);
RegResult RegWriteBinary(const RegKey& key, const char* name, const void* data, size_t size);
// UTF-16 strings, terminated on read; TooLarge when `capacity` units cannot hold it.
RegResult RegReadString(const RegKey& key, const char* name, char16_t* buffer, size_t capacity);
RegResult RegWriteString(const RegKey& key, const char* name, const char16_t* text);
RegResult RegDeleteValue(const RegKey& key, const char* name);

}  // namespace plat
