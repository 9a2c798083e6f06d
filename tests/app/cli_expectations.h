// Expectations every xelimg test shares.
#pragma once

#include "xelimg_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#define REQUIRE_PLUGIN() \
  if (!xelimg_test::HavePlugin()) GTEST_SKIP() << "the plug-in is not part of this build"

namespace xelimg_test {

// A failed command: exit code 2 and one line on stderr that mentions what went wrong.
inline void ExpectFailure(const RunResult& run, const std::string& mention) {
  EXPECT_EQ(run.exitCode, 2) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_NE(run.err.find(mention), std::string::npos) << "stderr: " << run.err;
}

inline void ExpectSuccess(const RunResult& run) { EXPECT_EQ(run.exitCode, 0) << run.err; }

}  // namespace xelimg_test
