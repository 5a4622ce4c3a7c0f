#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "records/Preferences.h"
#include "tests/records/RecordsTestSupport.h"

namespace records_test {
namespace {

using records::Preferences;

class PreferencesStore : public PanelRoot {
 protected:
  void SetUp() override {
    PanelRoot::SetUp();
    records::CurrentPreferences() = Preferences{};
  }
  void TearDown() override {
    records::CurrentPreferences() = Preferences{};
    PanelRoot::TearDown();
  }
  void Store(const char* name, const void* bytes, size_t size) {
    plat::RegKey key;
    ASSERT_EQ(plat::RegOpenKey(records::kPreferencesKey, key), plat::RegResult::Ok);
    ASSERT_EQ(plat::RegWriteBinary(key, name, bytes, size), plat::RegResult::Ok);
    plat::RegCloseKey(key);
  }
  void StoreByte(const char* name, uint8_t v) { Store(name, &v, 1); }
  Preferences Loaded() {
    records::LoadPreferences();
    return records::CurrentPreferences();
  }
};

TEST_F(PreferencesStore, MissingKeyGivesDefaults) {
  records::CurrentPreferences().sampleMinutes = 1;  // left over from before: replaced
  Preferences p = Loaded();
  EXPECT_EQ(p.graphScale, 0);
  EXPECT_EQ(p.graphTraces, 0);
  EXPECT_EQ(p.sampleMinutes, 10);
  EXPECT_EQ(p.viewSelection, 0);
}

TEST_F(PreferencesStore, ReadRules) {
  StoreByte(records::kPrefGraphScale, 7);
  StoreByte(records::kPrefSampleTime, 20);
  StoreByte(records::kPrefGraphTraces, 0x05);
  StoreByte(records::kPrefViewSelection, 2);
  Preferences p = Loaded();
  EXPECT_EQ(p.graphScale, 0);      // the 1-hour window
  EXPECT_EQ(p.sampleMinutes, 5);
  EXPECT_EQ(p.graphTraces, 0x05);  // incoming and outgoing moisture only
  EXPECT_EQ(p.viewSelection, 0);

  StoreByte(records::kPrefGraphScale, 3);
  StoreByte(records::kPrefSampleTime, 1);
  StoreByte(records::kPrefViewSelection, 1);
  p = Loaded();
  EXPECT_EQ(p.graphScale, 3);
  EXPECT_EQ(p.sampleMinutes, 1);
  EXPECT_EQ(p.viewSelection, 1);
}

TEST_F(PreferencesStore, ValueOfAnotherSizeKeepsTheDefault) {
  const uint8_t two[2] = {1, 1};
  Store(records::kPrefSampleTime, two, 2);
  StoreByte(records::kPrefGraphScale, 2);
  Preferences p = Loaded();
  EXPECT_EQ(p.sampleMinutes, 10);
  EXPECT_EQ(p.graphScale, 2);
}

TEST(RecordsFaults, StoredZeroSamplePeriodReadsAsFive) {
  EXPECT_EQ(records::SampleMinutesFromStored(0), 5);
  EXPECT_EQ(records::SampleMinutesFromStored(16), 5);
  EXPECT_EQ(records::SampleMinutesFromStored(15), 15);
  EXPECT_EQ(records::SampleMinutesFromStored(1), 1);
}

TEST_F(PreferencesStore, ZeroInTheRegistryStartsFiveMinuteSampling) {
  StoreByte(records::kPrefSampleTime, 0);
  EXPECT_EQ(Loaded().sampleMinutes, 5);
}

TEST_F(PreferencesStore, SavedValuesComeBack) {
  EXPECT_TRUE(records::SavePreference(records::kPrefSampleTime, 1));
  EXPECT_TRUE(records::SavePreference(records::kPrefGraphTraces, 0x3F));
  EXPECT_TRUE(records::SavePreference(records::kPrefGraphScale, 2));
  EXPECT_TRUE(records::SavePreference(records::kPrefViewSelection, 1));
  Preferences p = Loaded();
  EXPECT_EQ(p.sampleMinutes, 1);
  EXPECT_EQ(p.graphTraces, 0x3F);
  EXPECT_EQ(p.graphScale, 2);
  EXPECT_EQ(p.viewSelection, 1);
}

// A preference write whose file operations fail one after another: every value stored before
// is read back whole each time, and the write goes through once the fault is gone. The key is
// read before it is rewritten, so its Open and Read fail in turn too.
TEST_F(PreferencesStore, FaultLoopKeepsTheOldValues) {
  for (plat::FileOp op : {plat::FileOp::Open, plat::FileOp::Read, plat::FileOp::Write,
                          plat::FileOp::Sync, plat::FileOp::Rename}) {
    bool saved = false;
    int failed = RunFaultLoop(
        op, plat::FileResult::IoError,
        [&] {
          ASSERT_TRUE(records::SavePreference(records::kPrefSampleTime, 15));
          ASSERT_TRUE(records::SavePreference(records::kPrefGraphScale, 1));
        },
        [&] { saved = records::SavePreference(records::kPrefSampleTime, 1); },
        [&] {
          Preferences p = Loaded();
          return saved && p.sampleMinutes == 1 && p.graphScale == 1;
        },
        [&] {
          Preferences p = Loaded();
          EXPECT_EQ(p.sampleMinutes, 15) << static_cast<int>(op);
          EXPECT_EQ(p.graphScale, 1) << static_cast<int>(op);
        });
    EXPECT_GE(failed, 1) << static_cast<int>(op);
  }
}

}  // namespace
}  // namespace records_test
