#include "platform/Registry.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <strings.h>

#include "platform/Files.h"

namespace plat {

namespace {

// Key file layout: magic, value count (16-bit), the values (name length, name, type, data
// length (16-bit), data), then a CRC-32 of everything before it. Little-endian throughout.
constexpr uint8_t kMagic[8] = {'D', 'R', 'Y', 'R', 'E', 'G', 1, 0};
constexpr size_t kMaxFileBytes =
    sizeof(kMagic) + 2 + kRegMaxValuesPerKey * (1 + kRegMaxValueName + 1 + 2 + kRegMaxValueSize) + 4;

constexpr const char* kRegResultTexts[] = {
    "ok", "not found", "wrong type", "too large", "input/output error", "bad key",
};
static_assert(sizeof(kRegResultTexts) / sizeof(kRegResultTexts[0]) ==
              static_cast<size_t>(RegResult::BadKey) + 1);

constexpr std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}
constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) c = kCrcTable[(c ^ data[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

struct Value {
  char name[kRegMaxValueName + 1];
  RegType type;
  uint16_t size;
  uint8_t data[kRegMaxValueSize];
};

struct KeyImage {
  Value values[kRegMaxValuesPerKey];
  size_t count = 0;
};

// One lock for every key: writes are rare and short, and the link and UI threads may both
// read preferences.
std::mutex registryMutex;

bool ValidName(const char* name) {
  if (!name || !name[0]) return false;
  size_t n = std::strlen(name);
  return n <= kRegMaxValueName;
}

// Reads the key's file; anything that is not a complete, intact key reads as no values.
// False only when an existing file could not be read: a rewrite must then not go ahead, or
// it would replace the values it could not see.
bool LoadImage(const RegKey& key, KeyImage& image) {
  image.count = 0;
  FileHandle f;
  FileResult opened = OpenFile(key.file, OpenMode::Read, f);
  if (opened == FileResult::NotFound) return true;
  if (opened != FileResult::Ok) return false;
  uint8_t bytes[kMaxFileBytes + 1];
  size_t got = 0;
  FileResult r = ReadFile(f, bytes, sizeof(bytes), got);
  CloseFile(f);
  if (r != FileResult::Ok) return false;
  if (got > kMaxFileBytes || got < sizeof(kMagic) + 2 + 4) return true;
  uint32_t stored = bytes[got - 4] | bytes[got - 3] << 8 | bytes[got - 2] << 16 |
                    static_cast<uint32_t>(bytes[got - 1]) << 24;
  if (std::memcmp(bytes, kMagic, sizeof(kMagic)) != 0 || Crc32(bytes, got - 4) != stored) return true;
  size_t end = got - 4;
  size_t pos = sizeof(kMagic);
  size_t count = bytes[pos] | bytes[pos + 1] << 8;
  pos += 2;
  if (count > kRegMaxValuesPerKey) return true;
  for (size_t i = 0; i < count; ++i) {
    Value& v = image.values[i];
    if (pos + 1 > end) return true;
    size_t nameLen = bytes[pos++];
    if (nameLen == 0 || nameLen > kRegMaxValueName || pos + nameLen + 3 > end) return true;
    std::memcpy(v.name, bytes + pos, nameLen);
    v.name[nameLen] = 0;
    pos += nameLen;
    uint8_t type = bytes[pos++];
    if (type != static_cast<uint8_t>(RegType::Binary) && type != static_cast<uint8_t>(RegType::Dword) &&
        type != static_cast<uint8_t>(RegType::String))
      return true;
    v.type = static_cast<RegType>(type);
    size_t size = bytes[pos] | bytes[pos + 1] << 8;
    pos += 2;
    if (size > kRegMaxValueSize || pos + size > end) return true;
    v.size = static_cast<uint16_t>(size);
    std::memcpy(v.data, bytes + pos, size);
    pos += size;
  }
  if (pos != end) return true;
  image.count = count;
  return true;
}

void ParentFolder(const char* file, char* out, size_t size) {
  std::snprintf(out, size, "%s", file);
  char* slash = std::strrchr(out, '\\');
  if (slash) *slash = 0;
}

RegResult SaveImage(const RegKey& key, const KeyImage& image) {
  uint8_t bytes[kMaxFileBytes];
  size_t pos = 0;
  std::memcpy(bytes, kMagic, sizeof(kMagic));
  pos += sizeof(kMagic);
  bytes[pos++] = static_cast<uint8_t>(image.count);
  bytes[pos++] = static_cast<uint8_t>(image.count >> 8);
  for (size_t i = 0; i < image.count; ++i) {
    const Value& v = image.values[i];
    size_t nameLen = std::strlen(v.name);
    bytes[pos++] = static_cast<uint8_t>(nameLen);
    std::memcpy(bytes + pos, v.name, nameLen);
    pos += nameLen;
    bytes[pos++] = static_cast<uint8_t>(v.type);
    bytes[pos++] = static_cast<uint8_t>(v.size);
    bytes[pos++] = static_cast<uint8_t>(v.size >> 8);
    std::memcpy(bytes + pos, v.data, v.size);
    pos += v.size;
  }
  uint32_t crc = Crc32(bytes, pos);
  for (int k = 0; k < 4; ++k) bytes[pos++] = static_cast<uint8_t>(crc >> (8 * k));

  char temp[sizeof(key.file) + 8];
  std::snprintf(temp, sizeof(temp), "%s.tmp", key.file);
  FileHandle f;
  if (OpenFile(temp, OpenMode::CreateAlways, f) != FileResult::Ok) return RegResult::IoError;
  bool written = WriteFile(f, bytes, pos) == FileResult::Ok && SyncFile(f) == FileResult::Ok;
  CloseFile(f);
  if (!written || MoveFile(temp, key.file) != FileResult::Ok) {
    DeleteFile(temp);
    return RegResult::IoError;
  }
  char folder[sizeof(key.file)];
  ParentFolder(key.file, folder, sizeof(folder));
  SyncFolder(folder);
  return RegResult::Ok;
}

Value* FindValue(KeyImage& image, const char* name) {
  for (size_t i = 0; i < image.count; ++i)
    if (strcasecmp(image.values[i].name, name) == 0) return &image.values[i];
  return nullptr;
}

RegResult ReadValue(const RegKey& key, const char* name, RegType type, Value& out) {
  if (!key.valid() || !ValidName(name)) return RegResult::BadKey;
  KeyImage image;
  {
    std::lock_guard<std::mutex> lock(registryMutex);
    LoadImage(key, image);
  }
  Value* v = FindValue(image, name);
  if (!v) return RegResult::NotFound;
  if (v->type != type) return RegResult::WrongType;
  out = *v;
  return RegResult::Ok;
}

RegResult WriteValue(const RegKey& key, const char* name, RegType type, const void* data,
                     size_t size) {
  if (!key.valid() || !ValidName(name)) return RegResult::BadKey;
  if (size > kRegMaxValueSize) return RegResult::TooLarge;
  std::lock_guard<std::mutex> lock(registryMutex);
  KeyImage image;
  if (!LoadImage(key, image)) return RegResult::IoError;
  Value* v = FindValue(image, name);
  if (!v) {
    if (image.count == kRegMaxValuesPerKey) return RegResult::TooLarge;
    v = &image.values[image.count++];
    std::snprintf(v->name, sizeof(v->name), "%s", name);
  }
  v->type = type;
  v->size = static_cast<uint16_t>(size);
  if (size) std::memcpy(v->data, data, size);
  return SaveImage(key, image);
}

// "Software\Drelm\OrvaneDryer" -> "Registry\Software\Drelm\OrvaneDryer.reg"; false for a path
// that is empty, too long or has a component that could leave the registry folder.
bool KeyFile(const char* keyPath, char* out, size_t size) {
  if (!keyPath) return false;
  while (*keyPath == '\\' || *keyPath == '/') ++keyPath;
  if (!*keyPath) return false;
  size_t len = 0;
  int n = std::snprintf(out, size, "Registry");
  len = static_cast<size_t>(n);
  const char* p = keyPath;
  while (*p) {
    const char* start = p;
    while (*p && *p != '\\' && *p != '/') {
      if (static_cast<unsigned char>(*p) < 32) return false;
      ++p;
    }
    size_t part = static_cast<size_t>(p - start);
    if (part == 0 || (part <= 2 && start[0] == '.' && (part == 1 || start[1] == '.'))) return false;
    if (len + 1 + part + 5 >= size) return false;
    out[len++] = '\\';
    std::memcpy(out + len, start, part);
    len += part;
    out[len] = 0;
    while (*p == '\\' || *p == '/') ++p;
  }
  std::memcpy(out + len, ".reg", 5);
  return true;
}

}  // namespace

const char* RegResultText(RegResult r) {
  auto i = static_cast<size_t>(r);
  return i < sizeof(kRegResultTexts) / sizeof(kRegResultTexts[0]) ? kRegResultTexts[i] : "unknown";
}

RegResult RegOpenKey(const char* keyPath, RegKey& out) {
  out = RegKey{};
  char file[sizeof(out.file)];
  if (!KeyFile(keyPath, file, sizeof(file))) return RegResult::BadKey;
  // Create every folder on the way to the key's file.
  for (char* p = file; *p; ++p) {
    if (*p != '\\') continue;
    *p = 0;
    FileResult r = CreateFolder(file);
    *p = '\\';
    if (r != FileResult::Ok) return RegResult::IoError;
  }
  std::memcpy(out.file, file, sizeof(file));
  return RegResult::Ok;
}

RegResult RegOpenExistingKey(const char* keyPath, RegKey& out) {
  out = RegKey{};
  char file[sizeof(out.file)];
  if (!KeyFile(keyPath, file, sizeof(file))) return RegResult::BadKey;
  if (!FileExists(file)) return RegResult::NotFound;
  std::memcpy(out.file, file, sizeof(file));
  return RegResult::Ok;
}

void RegCloseKey(RegKey& key) { key = RegKey{}; }

RegResult RegReadDword(const RegKey& key, const char* name, uint32_t& value) {
  Value v;
  RegResult r = ReadValue(key, name, RegType::Dword, v);
  if (r != RegResult::Ok) return r;
  if (v.size != 4) return RegResult::WrongType;
  value = v.data[0] | v.data[1] << 8 | v.data[2] << 16 | static_cast<uint32_t>(v.data[3]) << 24;
  return RegResult::Ok;
}

RegResult RegWriteDword(const RegKey& key, const char* name, uint32_t value) {
  uint8_t data[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                     static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  return WriteValue(key, name, RegType::Dword, data, sizeof(data));
}

RegResult RegReadBinary(const RegKey& key, const char* name, void* buffer, size_t capacity,
                        size_t& size) {
  size = 0;
  Value v;
  RegResult r = ReadValue(key, name, RegType::Binary, v);
  if (r != RegResult::Ok) return r;
  size = v.size;
  if (v.size > capacity) return RegResult::TooLarge;
  if (v.size) std::memcpy(buffer, v.data, v.size);
  return RegResult::Ok;
}

RegResult RegWriteBinary(const RegKey& key, const char* name, const void* data, size_t size) {
  return WriteValue(key, name, RegType::Binary, data, size);
}

RegResult RegReadString(const RegKey& key, const char* name, char16_t* buffer, size_t capacity) {
  if (capacity > 0) buffer[0] = 0;
  Value v;
  RegResult r = ReadValue(key, name, RegType::String, v);
  if (r != RegResult::Ok) return r;
  size_t units = v.size / 2;
  if (units + 1 > capacity) return RegResult::TooLarge;
  for (size_t i = 0; i < units; ++i)
    buffer[i] = static_cast<char16_t>(v.data[2 * i] | v.data[2 * i + 1] << 8);
  buffer[units] = 0;
  return RegResult::Ok;
}

RegResult RegWriteString(const RegKey& key, const char* name, const char16_t* text) {
  uint8_t data[kRegMaxValueSize];
  size_t units = 0;
  while (text && text[units]) {
    if (2 * units + 2 > sizeof(data)) return RegResult::TooLarge;
    data[2 * units] = static_cast<uint8_t>(text[units]);
    data[2 * units + 1] = static_cast<uint8_t>(text[units] >> 8);
    ++units;
  }
  return WriteValue(key, name, RegType::String, data, 2 * units);
}

RegResult RegDeleteValue(const RegKey& key, const char* name) {
  if (!key.valid() || !ValidName(name)) return RegResult::BadKey;
  std::lock_guard<std::mutex> lock(registryMutex);
  KeyImage image;
  if (!LoadImage(key, image)) return RegResult::IoError;
  Value* v = FindValue(image, name);
  if (!v) return RegResult::NotFound;
  *v = image.values[--image.count];
  return SaveImage(key, image);
}

}  // namespace plat
