#include "link/Framing.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Framing, CheckValueAndConstantFrames) {
  uint8_t digits[11] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(lnk::Crc16(digits, 9), 0x4B37);
  lnk::AppendChecksum(digits, 9);
  EXPECT_EQ(digits[9], 0x37);
  EXPECT_EQ(digits[10], 0x4B);

  uint8_t poll[7] = {0x07, 0, 0, 0, 0};
  lnk::AppendChecksum(poll, 5);
  EXPECT_EQ(0, std::memcmp(poll, lnk::kPollFrame, 7));
  uint8_t resync[4] = {0x06, 0x00};
  lnk::AppendChecksum(resync, 2);
  EXPECT_EQ(0, std::memcmp(resync, lnk::kResyncFrame, 4));
}

TEST(Framing, StatusFrameAcceptance) {
  uint8_t frame[332] = {};
  for (int i = 0; i < 329; ++i) frame[i] = static_cast<uint8_t>(i * 7 + 3);
  lnk::AppendChecksum(frame, 329);
  EXPECT_TRUE(lnk::AcceptStatusFrame(frame, 331));
  EXPECT_FALSE(lnk::AcceptStatusFrame(frame, 330));
  EXPECT_FALSE(lnk::AcceptStatusFrame(frame, 332));
  for (int byte = 0; byte < 331; ++byte) {
    for (int bit = 0; bit < 8; ++bit) {
      frame[byte] ^= static_cast<uint8_t>(1 << bit);
      EXPECT_FALSE(lnk::AcceptStatusFrame(frame, 331)) << "byte " << byte << " bit " << bit;
      frame[byte] ^= static_cast<uint8_t>(1 << bit);
    }
  }
  EXPECT_TRUE(lnk::AcceptStatusFrame(frame, 331));
}
