// What a command reads and writes, checked before any work: outputs that are inputs under any name,
// places that cannot be written, special files, and failures that every later frame would repeat.
#include "test_files.h"

#include <xelhost/errors.h>
#include <xelhost/image_io.h>
#include <xelhost/operand_plan.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

using xelfw::Image;
using xelfw::PixelLayout;
using xelhost::CommandError;
using xelhost::OperandPlan;
using xelhost::UsageError;
using xelimg_test::ScratchDir;

namespace {

template <class Error, class Call>
std::string MessageOf(Call call) {
  try {
    call();
  } catch (const Error& error) {
    return error.what();
  }
  ADD_FAILURE() << "nothing was refused";
  return {};
}

void WriteGrey(const std::filesystem::path& file) {
  xelhost::WriteImageFile(Image(2, 2, PixelLayout::Grey(8, 8)), file);
}

}  // namespace

TEST(OperandPlan, AnOutputThatIsAnInputUnderAnyNameIsRefused) {
  ScratchDir dir;
  WriteGrey(dir / "a.png");
  WriteGrey(dir / "b.png");
  std::filesystem::create_symlink(dir / "a.png", dir / "link.png");
  std::filesystem::create_hard_link(dir / "a.png", dir / "hard.png");
  const OperandPlan plan({(dir / "a.png").string(), (dir / "b.png").string()});
  for (const char* name : {"a.png", "link.png", "hard.png", "b.png"}) {
    const std::string message = MessageOf<UsageError>([&] { plan.AddOutputFile(dir / name); });
    EXPECT_NE(message.find("is also an input"), std::string::npos) << name << ": " << message;
  }
  EXPECT_NE(
      MessageOf<UsageError>([&] { plan.AddOutputFile(dir / "link.png"); }).find("(" + (dir / "a.png").string() + ")"),
      std::string::npos)
      << "the input it would replace is named";
  EXPECT_NO_THROW(plan.AddOutputFile(dir / "new.png"));
  WriteGrey(dir / "other.png");
  EXPECT_NO_THROW(plan.AddOutputFile(dir / "other.png")) << "an existing file that is no input may be replaced";
}

TEST(OperandPlan, FolderAndPatternInputsAreKnownByIdentityToo) {
  ScratchDir dir;
  std::filesystem::create_directory(dir / "in");
  for (const char* name : {"x.png", "y.png"}) WriteGrey(dir / "in" / name);
  const OperandPlan plan({(dir / "in").string(), (dir / "in" / "*.png").string()});
  EXPECT_EQ(plan.Inputs().size(), 4u);
  EXPECT_THROW(plan.CheckNotAnInput(dir / "in" / "y.png"), UsageError);
  EXPECT_NO_THROW(plan.CheckNotAnInput(dir / "in" / "z.png"));
}

TEST(OperandPlan, SpecialFilesAreRefusedWithoutBeingOpened) {
  ScratchDir dir;
  ASSERT_EQ(::mkfifo((dir / "fifo.png").c_str(), 0600), 0);
  // Opening the FIFO would wait for a writer forever; the plan must not get that far.
  for (const std::string& operand : {(dir / "fifo.png").string(), (dir / "*.png").string(), std::string("/dev/null")}) {
    const std::string message = MessageOf<CommandError>([&] { OperandPlan plan({operand}); });
    EXPECT_TRUE(message.find("FIFO") != std::string::npos || message.find("device") != std::string::npos) << message;
  }
  EXPECT_NE(MessageOf<CommandError>([&] {
              OperandPlan plan({(dir / "fifo.png").string()});
            }).find((dir / "fifo.png").string()),
            std::string::npos);
}

TEST(OperandPlan, OutputsThatCannotBeWrittenAreRefusedUpFront) {
  ScratchDir dir;
  WriteGrey(dir / "a.png");
  const OperandPlan plan({(dir / "a.png").string()});
  EXPECT_NE(MessageOf<CommandError>([&] { plan.AddOutputFile(dir / "missing" / "out.png"); }).find("no such folder"),
            std::string::npos);
  EXPECT_NE(MessageOf<CommandError>([&] { plan.AddOutputFile(dir / "a.png" / "out.png"); }).find("no such folder"),
            std::string::npos);
  std::filesystem::create_directory(dir / "taken.png");
  EXPECT_NE(MessageOf<CommandError>([&] { plan.AddOutputFile(dir / "taken.png"); }).find("is a folder"),
            std::string::npos);
  // A folder still to be made needs a writable folder above it, however deep.
  EXPECT_NO_THROW(plan.AddOutputFolder(dir / "new" / "deeper"));
  EXPECT_NE(MessageOf<CommandError>([&] { plan.AddOutputFolder(dir / "a.png" / "frames"); }).find("cannot write in"),
            std::string::npos);
  if (::geteuid() != 0) {  // permissions do not bind root
    std::filesystem::create_directory(dir / "locked");
    std::filesystem::permissions(dir / "locked",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_THROW(plan.AddOutputFile(dir / "locked" / "out.png"), CommandError);
    EXPECT_THROW(plan.AddOutputFolder(dir / "locked"), CommandError);
    EXPECT_THROW(plan.AddOutputFolder(dir / "locked" / "sub"), CommandError);
    std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_all);
  }
}

TEST(OperandPlan, OnlyFailuresEveryLaterFrameWouldRepeatAreLasting) {
  ScratchDir dir;
  std::filesystem::create_directory(dir / "out");
  EXPECT_EQ(xelhost::LastingOutputFailure(dir / "out", "frame.png: width too large"), "");
  const std::string full = std::string("frame.png: cannot write the file: ") + std::strerror(ENOSPC);
  EXPECT_EQ(xelhost::LastingOutputFailure(dir / "out", full), full);
  std::filesystem::remove(dir / "out");
  EXPECT_NE(xelhost::LastingOutputFailure(dir / "out", "anything").find("cannot be written any more"),
            std::string::npos);
}
