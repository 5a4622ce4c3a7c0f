#include <gtest/gtest.h>

#include "link/DryerStatus.h"
#include "link/RegisterMap.h"
#include "screens/PlenumViewLogic.h"
#include "screens/StatusReading.h"

namespace {

bool Inside(const plat::Rect& r) { return r.left >= 0 && r.top >= 0 && r.right <= 400 && r.bottom <= 175; }

TEST(PlenumView, LayoutByFanHeaterCount) {
  lnk::DryerStatus s{};
  const int expected[] = {1, 2, 3, 4, 6};
  for (int code = 0; code < 5; ++code) {
    s.b[lnk::kStatusFanHeaterCount] = static_cast<uint8_t>(code);
    const PlenumLayout* layout = ChoosePlenumLayout(s);
    ASSERT_NE(layout, nullptr) << code;
    ASSERT_EQ(layout->count, expected[code]) << code;
    // A dryer uses the highest slots, each once, every place inside the window.
    bool used[7] = {};
    for (int i = 0; i < layout->count; ++i) {
      const PlenumPlace& p = layout->plenums[i];
      ASSERT_GE(p.slot, 7 - layout->count);
      ASSERT_LE(p.slot, 6);
      EXPECT_FALSE(used[p.slot]);
      used[p.slot] = true;
      EXPECT_TRUE(Inside(p.label) && Inside(p.setpoint) && Inside(p.state) &&
                  Inside(p.temperature))
          << code << " " << i;
    }
  }
  s.b[lnk::kStatusFanHeaterCount] = 5;  // no layout: nothing drawn
  EXPECT_EQ(ChoosePlenumLayout(s), nullptr);
}

TEST(PlenumView, TwoPlenumLayoutAsGiven) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusFanHeaterCount] = 1;
  const PlenumLayout* layout = ChoosePlenumLayout(s);
  ASSERT_EQ(layout->count, 2);
  EXPECT_EQ(layout->plenums[0].slot, 5);
  EXPECT_EQ(layout->plenums[0].labelId, kPlenumTextPlenumSlot5);
  EXPECT_EQ(layout->plenums[1].labelId, kPlenumTextPlenumSlot6);
  EXPECT_EQ(layout->plenums[1].setpoint, (plat::Rect{0, 90, 150, 130}));
  EXPECT_EQ(layout->plenums[1].temperature, (plat::Rect{150, 70, 400, 145}));
}

TEST(PlenumView, SinglePlenumBitWinsOverTheCount) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusFanHeaterCount] = 1;
  s.b[lnk::kStatusConfigBits] = 0x20;
  const PlenumLayout* layout = ChoosePlenumLayout(s);
  ASSERT_NE(layout, nullptr);
  EXPECT_EQ(layout->count, 1);
  EXPECT_EQ(layout->plenums[0].slot, 6);
  s.b[lnk::kStatusFanHeaterCount] = 9;  // even for a count with no layout of its own
  EXPECT_EQ(ChoosePlenumLayout(s)->count, 1);
}

TEST(PlenumView, SetpointAndTemperatureInTheShownUnit) {
  lnk::DryerStatus s{};
  s.b[lnk::kStatusPlenumSetpoint6] = 180;
  s.b[lnk::kStatusPlenumTemp6] = 0x2C;  // 300 °F, low byte first
  s.b[lnk::kStatusPlenumTemp6 + 1] = 0x01;
  char text[32];
  FormatPlenumSetpoint(text, sizeof text, PlenumSetpointF(s, 6), false);
  EXPECT_STREQ(text, "SP:  180 \xB0" "F ");
  FormatPlenumSetpoint(text, sizeof text, PlenumSetpointF(s, 6), true);
  EXPECT_STREQ(text, "SP:  82 \xB0" "C ");
  FormatPlenumTemperature(text, sizeof text, PlenumTemperatureF(s, 6), false);
  EXPECT_STREQ(text, "300\xB0" "F");
  FormatPlenumTemperature(text, sizeof text, PlenumTemperatureF(s, 6), true);
  EXPECT_STREQ(text, "148\xB0" "C");
  FormatPlenumTemperature(text, sizeof text, 0, true);  // truncated toward zero
  EXPECT_STREQ(text, "-17\xB0" "C");
  EXPECT_EQ(PlenumSetpointF(s, 0), 0);
  EXPECT_EQ(PlenumSetpointF(s, 7), 0);
}

TEST(PlenumView, StateLineRulesInOrder) {
  lnk::DryerStatus s{};
  const int slot = 5;
  int burner = lnk::kStatusUnitStatusD1 + slot - 1;
  int unit = lnk::kStatusUnitStatusB1 + slot - 1;
  int run = lnk::kStatusUnitStatusA1 + slot - 1;

  s.b[run] = 0x06;
  PlenumState st = ChoosePlenumState(s, slot);
  EXPECT_EQ(st.textId, kPlenumTextOtherwise);
  EXPECT_EQ(st.colour, colour::kRed);
  s.b[run] = 0x02;
  EXPECT_EQ(ChoosePlenumState(s, slot).textId, kPlenumTextRunBit2Clear);
  EXPECT_EQ(ChoosePlenumState(s, slot).colour, colour::kBlue);
  s.b[run] = 0x04;
  EXPECT_EQ(ChoosePlenumState(s, slot).textId, kPlenumTextRunBit1Clear);
  s.b[unit] = 0x10;
  EXPECT_EQ(ChoosePlenumState(s, slot).textId, kPlenumTextUnitBit4);
  s.b[unit] = 0x30;
  st = ChoosePlenumState(s, slot);
  EXPECT_EQ(st.textId, kPlenumTextUnitBit5);
  EXPECT_EQ(st.colour, plat::Rgb(200, 100, 0));
  s.b[burner] = 0x02;
  EXPECT_EQ(ChoosePlenumState(s, slot).textId, kPlenumTextBurnerFault);
  s.b[burner] = 0x03;  // both burner bits: the green text
  st = ChoosePlenumState(s, slot);
  EXPECT_EQ(st.textId, kPlenumTextBurnerOn);
  EXPECT_EQ(st.colour, colour::kGreen);
  // Another slot's bytes do not leak in.
  EXPECT_EQ(ChoosePlenumState(s, 6).textId, kPlenumTextRunBit1Clear);
}

}  // namespace
