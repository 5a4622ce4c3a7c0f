#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/Files.h"
#include "tests/platform/SysTempDir.h"

using namespace plat;

namespace {

constexpr const char* kKey = "Software\\Drelm\\OrvaneDryer";
constexpr const char* kKeyFile = "Registry/Software/Drelm/OrvaneDryer.reg";

class SysRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFileRoot(dir_.c_str());
    ASSERT_EQ(RegOpenKey(kKey, key_), RegResult::Ok);
  }
  void TearDown() override { ClearFileFaults(); }

  uint8_t ReadByte(const char* name, RegResult* result = nullptr) {
    uint8_t b = 0xEE;
    size_t size = 0;
    RegResult r = RegReadBinary(key_, name, &b, 1, size);
    if (result) *result = r;
    return r == RegResult::Ok ? b : 0xEE;
  }
  std::string FileBytes() {
    std::string s;
    FILE* f = std::fopen(dir_.Sub(kKeyFile).c_str(), "rb");
    if (!f) return s;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0) s.append(buf, n);
    std::fclose(f);
    return s;
  }
  void PutFileBytes(const std::string& s) {
    FILE* f = std::fopen(dir_.Sub(kKeyFile).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(s.data(), 1, s.size(), f);
    std::fclose(f);
  }

  SysTempDir dir_;
  RegKey key_;
};

}  // namespace

TEST_F(SysRegistry, TypedValuesRoundTripAndSurviveReopening) {
  uint8_t scale = 2;
  ASSERT_EQ(RegWriteBinary(key_, "GRAPH_HORIZONTAL_SCALE", &scale, 1), RegResult::Ok);
  ASSERT_EQ(RegWriteDword(key_, "COUNT", 0xA1B2C3D4u), RegResult::Ok);
  ASSERT_EQ(RegWriteString(key_, "LANGUAGE", u"Fran\u00e7ais \u0416"), RegResult::Ok);
  struct stat st;
  EXPECT_EQ(stat(dir_.Sub(kKeyFile).c_str(), &st), 0);

  RegKey again;
  ASSERT_EQ(RegOpenExistingKey("software\\drelm\\orvanedryer", again), RegResult::Ok);
  size_t size = 0;
  uint8_t b = 0;
  EXPECT_EQ(RegReadBinary(again, "graph_horizontal_scale", &b, 1, size), RegResult::Ok);
  EXPECT_EQ(size, 1u);
  EXPECT_EQ(b, 2);
  uint32_t dw = 0;
  EXPECT_EQ(RegReadDword(again, "COUNT", dw), RegResult::Ok);
  EXPECT_EQ(dw, 0xA1B2C3D4u);
  char16_t text[32];
  EXPECT_EQ(RegReadString(again, "LANGUAGE", text, 32), RegResult::Ok);
  EXPECT_EQ(std::u16string(text), u"Fran\u00e7ais \u0416");
  EXPECT_EQ(RegReadString(again, "LANGUAGE", text, 4), RegResult::TooLarge);

  // Overwriting keeps the other values.
  scale = 3;
  ASSERT_EQ(RegWriteBinary(key_, "GRAPH_HORIZONTAL_SCALE", &scale, 1), RegResult::Ok);
  EXPECT_EQ(ReadByte("GRAPH_HORIZONTAL_SCALE"), 3);
  EXPECT_EQ(RegReadDword(key_, "COUNT", dw), RegResult::Ok);

  EXPECT_EQ(RegReadDword(key_, "GRAPH_HORIZONTAL_SCALE", dw), RegResult::WrongType);
  EXPECT_EQ(RegReadDword(key_, "MISSING", dw), RegResult::NotFound);
  uint8_t two[2] = {1, 2};
  ASSERT_EQ(RegWriteBinary(key_, "PAIR", two, 2), RegResult::Ok);
  EXPECT_EQ(RegReadBinary(key_, "PAIR", &b, 1, size), RegResult::TooLarge);
  EXPECT_EQ(size, 2u);
  EXPECT_EQ(RegDeleteValue(key_, "pair"), RegResult::Ok);
  EXPECT_EQ(RegReadBinary(key_, "PAIR", two, 2, size), RegResult::NotFound);
  EXPECT_EQ(ReadByte("GRAPH_HORIZONTAL_SCALE"), 3);
}

TEST_F(SysRegistry, MissingKeysAndBadPaths) {
  RegKey other;
  EXPECT_EQ(RegOpenExistingKey("Software\\Nobody", other), RegResult::NotFound);
  EXPECT_FALSE(other.valid());
  EXPECT_EQ(RegOpenKey("", other), RegResult::BadKey);
  EXPECT_EQ(RegOpenKey("Software\\..\\..\\x", other), RegResult::BadKey);
  EXPECT_EQ(RegOpenKey(std::string(400, 'k').c_str(), other), RegResult::BadKey);
  uint32_t dw;
  EXPECT_EQ(RegReadDword(other, "X", dw), RegResult::BadKey);
  EXPECT_EQ(RegWriteDword(key_, "", 1), RegResult::BadKey);
  EXPECT_EQ(RegWriteDword(key_, std::string(64, 'n').c_str(), 1), RegResult::BadKey);
  uint8_t big[kRegMaxValueSize + 1] = {};
  EXPECT_EQ(RegWriteBinary(key_, "BIG", big, sizeof(big)), RegResult::TooLarge);
  for (size_t i = 0; i < kRegMaxValuesPerKey; ++i)
    ASSERT_EQ(RegWriteDword(key_, ("V" + std::to_string(i)).c_str(), i), RegResult::Ok);
  EXPECT_EQ(RegWriteDword(key_, "ONE_TOO_MANY", 1), RegResult::TooLarge);
  EXPECT_EQ(RegWriteDword(key_, "V5", 55), RegResult::Ok);  // replacing still works
  EXPECT_EQ(RegReadDword(key_, "V5", dw), RegResult::Ok);
  EXPECT_EQ(dw, 55u);
}

TEST_F(SysRegistry, WriteInterruptedBeforeTheRenameLeavesTheOldValue) {
  uint8_t v = 10;
  ASSERT_EQ(RegWriteBinary(key_, "TEMP_DATA_LOG_SAMPLE_TIME", &v, 1), RegResult::Ok);
  std::string before = FileBytes();

  v = 15;
  InjectFileFault(FileOp::Rename, 1, FileResult::IoError, false);
  EXPECT_EQ(RegWriteBinary(key_, "TEMP_DATA_LOG_SAMPLE_TIME", &v, 1), RegResult::IoError);
  EXPECT_EQ(ReadByte("TEMP_DATA_LOG_SAMPLE_TIME"), 10);
  EXPECT_EQ(FileBytes(), before);
  EXPECT_NE(access(dir_.Sub("Registry/Software/Drelm/OrvaneDryer.reg.tmp").c_str(), F_OK), 0);

  InjectFileFault(FileOp::Sync, 1, FileResult::IoError, false);
  EXPECT_EQ(RegWriteBinary(key_, "TEMP_DATA_LOG_SAMPLE_TIME", &v, 1), RegResult::IoError);
  EXPECT_EQ(ReadByte("TEMP_DATA_LOG_SAMPLE_TIME"), 10);
  InjectFileFault(FileOp::Write, 1, FileResult::NoSpace, false);
  EXPECT_EQ(RegWriteBinary(key_, "TEMP_DATA_LOG_SAMPLE_TIME", &v, 1), RegResult::IoError);
  EXPECT_EQ(ReadByte("TEMP_DATA_LOG_SAMPLE_TIME"), 10);

  EXPECT_EQ(RegWriteBinary(key_, "TEMP_DATA_LOG_SAMPLE_TIME", &v, 1), RegResult::Ok);
  EXPECT_EQ(ReadByte("TEMP_DATA_LOG_SAMPLE_TIME"), 15);
}

// A key that exists but cannot be read this once must not be rewritten from an empty image:
// that would keep the new value and lose every other one.
TEST_F(SysRegistry, UnreadableKeyIsNotReplacedByAWrite) {
  uint8_t a = 10, b = 2;
  ASSERT_EQ(RegWriteBinary(key_, "TEMP_DATA_LOG_SAMPLE_TIME", &a, 1), RegResult::Ok);
  ASSERT_EQ(RegWriteBinary(key_, "GRAPH_HORIZONTAL_SCALE", &b, 1), RegResult::Ok);
  for (FileOp op : {FileOp::Open, FileOp::Read}) {
    uint8_t v = 15;
    InjectFileFault(op, 1, FileResult::IoError, false);
    EXPECT_EQ(RegWriteBinary(key_, "TEMP_DATA_LOG_SAMPLE_TIME", &v, 1), RegResult::IoError);
    ClearFileFaults();
    EXPECT_EQ(ReadByte("TEMP_DATA_LOG_SAMPLE_TIME"), 10);
    EXPECT_EQ(ReadByte("GRAPH_HORIZONTAL_SCALE"), 2);
  }
  InjectFileFault(FileOp::Open, 1, FileResult::IoError, false);
  EXPECT_EQ(RegDeleteValue(key_, "GRAPH_HORIZONTAL_SCALE"), RegResult::IoError);
  ClearFileFaults();
  EXPECT_EQ(ReadByte("GRAPH_HORIZONTAL_SCALE"), 2);
}

TEST_F(SysRegistry, TornOrForeignFilesReadAsMissingValues) {
  uint8_t v = 1;
  ASSERT_EQ(RegWriteBinary(key_, "SCREEN_VIEW_SELECTION", &v, 1), RegResult::Ok);
  ASSERT_EQ(RegWriteDword(key_, "OTHER", 7), RegResult::Ok);
  const std::string good = FileBytes();
  ASSERT_FALSE(good.empty());

  // Every cut a power loss could leave, and every single flipped byte.
  for (size_t cut = 0; cut < good.size(); ++cut) {
    PutFileBytes(good.substr(0, cut));
    RegResult r;
    ReadByte("SCREEN_VIEW_SELECTION", &r);
    ASSERT_EQ(r, RegResult::NotFound) << "cut at " << cut;
  }
  for (size_t i = 0; i < good.size(); ++i) {
    std::string bad = good;
    bad[i] = static_cast<char>(bad[i] ^ 0x20);
    PutFileBytes(bad);
    RegResult r;
    ReadByte("SCREEN_VIEW_SELECTION", &r);
    ASSERT_EQ(r, RegResult::NotFound) << "flipped byte " << i;
  }
  PutFileBytes("GRAPH_HORIZONTAL_SCALE=2\r\n");
  RegResult r;
  ReadByte("GRAPH_HORIZONTAL_SCALE", &r);
  EXPECT_EQ(r, RegResult::NotFound);
  PutFileBytes(std::string(20000, '\xff'));
  ReadByte("GRAPH_HORIZONTAL_SCALE", &r);
  EXPECT_EQ(r, RegResult::NotFound);

  // A write over a garbage file starts the key afresh.
  v = 0;
  ASSERT_EQ(RegWriteBinary(key_, "SCREEN_VIEW_SELECTION", &v, 1), RegResult::Ok);
  EXPECT_EQ(ReadByte("SCREEN_VIEW_SELECTION"), 0);
  PutFileBytes(good);
  EXPECT_EQ(ReadByte("SCREEN_VIEW_SELECTION"), 1);
}
