// What an object's Process leaves to its base: log lines at their level that fall silent with the
// logging switch, and the length of a run, taken on every way out of it.
#include <XelImgProcess/CXelImgProcess.h>
#include <xelfw/InstanceRecord.h>
#include <xelfw/Logger.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

constexpr UINT kLeaveEarly = 1;
constexpr auto kRunLength = std::chrono::milliseconds(20);

// Logs its steps and leaves early when asked to, the way the plug-in's objects do.
class SteppingObject final : public CXelImgProcess {
 public:
  using CXelImgProcess::CXelImgProcess;
  _EXIP_OBJTYPE GetObjType() const override { return XIP_OBJTYPE_NONE; }

  UINT Process(UINT mode) override {
    Log("Entering %s", "SteppingObject::Process");
    const CScopedTimeStamp timeStamp(*this);
    std::this_thread::sleep_for(kRunLength);
    if (mode == kLeaveEarly) {
      Log("Leaving early");
      return XIP_E_FORMAT;
    }
    LogDetail("step %u of %u", 2u, 2u);
    return XIP_OK;
  }
};

class BaseChoresTest : public ::testing::Test {
 protected:
  xelfw::RecordingLogger logger;
  xelfw::InstanceRecord record{&logger, 1};
  SteppingObject object{&record};
};

TEST_F(BaseChoresTest, LogLinesKeepTheirLevelAndFallSilentWithTheSwitch) {
  ASSERT_EQ(object.Process(0), XIP_OK);
  const auto lines = logger.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].level, XIP_LOG_PLAIN);
  EXPECT_TRUE(logger.Contains("Entering SteppingObject::Process"));
  EXPECT_EQ(lines[1].level, XIP_LOG_DETAIL);
  EXPECT_TRUE(logger.Contains("step 2 of 2"));

  logger.Clear();
  ASSERT_EQ(object.SetParam(XIP_PARAM_SWITCH_LOGGING, 0, 0), XIP_OK);
  EXPECT_EQ(object.Process(kLeaveEarly), XIP_E_FORMAT);
  EXPECT_TRUE(logger.Lines().empty()) << "no logger, no line, no crash";
}

TEST_F(BaseChoresTest, AnEarlyWayOutStillSetsTheLengthOfTheRun) {
  EXPECT_EQ(object.GetLastProcessingSeconds(), 0.0);
  EXPECT_EQ(object.Process(kLeaveEarly), XIP_E_FORMAT);
  EXPECT_GE(object.GetLastProcessingSeconds(), std::chrono::duration<double>(kRunLength).count());
  EXPECT_TRUE(logger.Contains("Leaving early"));
}

}  // namespace
