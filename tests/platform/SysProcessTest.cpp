#include "platform/Process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include <unistd.h>

#include "tests/platform/SysTempDir.h"

using namespace plat;

TEST(SysProcess, StartsAProgramWithItsArgumentWithoutWaiting) {
  SysTempDir dir;
  std::string marker = dir.Sub("manual opened");  // a space: passed as one argument
  ASSERT_EQ(StartProgram("touch", marker.c_str()), ProcessResult::Ok);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (access(marker.c_str(), F_OK) != 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(access(marker.c_str(), F_OK), 0);
}

TEST(SysProcess, MissingProgramIsReported) {
  EXPECT_EQ(StartProgram("dryer-no-such-viewer", "x"), ProcessResult::NotFound);
  EXPECT_EQ(StartProgram("", "x"), ProcessResult::NotFound);
  EXPECT_STREQ(ProcessResultText(ProcessResult::NotFound), "program not found");
}
