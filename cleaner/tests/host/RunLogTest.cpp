#include "cleaner/host/RunLog.h"

#include <gtest/gtest.h>

namespace {

TEST(RunLog, StampsEveryResultLineAndLeavesOutTheBlankOnes) {
  const std::string stamp = runlog::Timestamp(2026, 3, 7, 4, 5, 9);
  EXPECT_EQ("2026-03-07 04:05:09", stamp);
  EXPECT_EQ(stamp + " A (1 kB; 2 items): cleaned 1 kB in 2 items.\r\n" + stamp +
                " Scheduled 0 file(s) for removal on reboot.\r\n" + stamp +
                " Cleaned total of 1 kB in 2 items.\r\n",
            runlog::Report({"A (1 kB; 2 items): cleaned 1 kB in 2 items.", "",
                            "Scheduled 0 file(s) for removal on reboot.", "",
                            "Cleaned total of 1 kB in 2 items."},
                           stamp));
  EXPECT_EQ("", runlog::Report({}, stamp));
}

}  // namespace
