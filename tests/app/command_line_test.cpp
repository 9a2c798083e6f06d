// The command table: help, unknown commands and options, option syntax, the plug-in catalogue.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelhost/image_io.h>

#include <filesystem>
#include <string>
#include <vector>

using xelimg_test::ExpectFailure;
using xelimg_test::ExpectSuccess;
using xelimg_test::RunXelimg;

TEST(CommandLine, OverviewAndEveryCommandHaveHelp) {
  const auto overview = RunXelimg({"--help"});
  ExpectSuccess(overview);
  for (const char* command : {"list", "settings", "pseudo", "temperature", "demo"}) {
    EXPECT_NE(overview.out.find(command), std::string::npos) << command;
    const auto help = RunXelimg({command, "--help"});
    ExpectSuccess(help);
    EXPECT_EQ(help.out.rfind(std::string("usage: xelimg ") + command, 0), 0u) << help.out;
  }
}

TEST(CommandLine, VersionIsOneLine) {
  const auto run = RunXelimg({"--version"});
  ExpectSuccess(run);
  EXPECT_EQ(run.out.rfind("xelimg ", 0), 0u) << run.out;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
}

TEST(CommandLine, MistakesEndWithOneLineAndExitCode2) {
  ExpectFailure(RunXelimg({}), "no command");
  ExpectFailure(RunXelimg({"paint"}), "unknown command 'paint'");
  ExpectFailure(RunXelimg({"list", "--colour"}), "unknown option '--colour'");
  ExpectFailure(RunXelimg({"pseudo", "demo:", "out.png", "--threads"}), "needs a value");
  ExpectFailure(RunXelimg({"pseudo", "demo:", "out.png", "--bits", "12"}), "--bits");
  ExpectFailure(RunXelimg({"pseudo", "demo:", "out.png", "--lower", "0.8", "--upper", "0.2"}), "above");
  ExpectFailure(RunXelimg({"pseudo", "demo:", "out.png", "--auto", "magic"}), "magic");
  ExpectFailure(RunXelimg({"pseudo", "a.pgm"}), "the output");
  ExpectFailure(RunXelimg({"pseudo", "demo:", "out.png", "--jobs", "0"}), "--jobs");
  ExpectFailure(RunXelimg({"pseudo", "demo:", "out.png", "--compression", "best"}), "best");
  ExpectFailure(RunXelimg({"temperature"}), "input");
  ExpectFailure(RunXelimg({"settings", "merge", "x.ini"}), "export|import");
}

TEST(CommandLine, ListPrintsTheCatalogueFromTheDefaultPluginPath) {
  REQUIRE_PLUGIN();
  const auto run = RunXelimg({"list"});
  ExpectSuccess(run);
  EXPECT_NE(run.out.find("    0    96  Pseudo color lut"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("    1    97  Temperature display"), std::string::npos) << run.out;

  const auto explicitPath = RunXelimg({"list", "--plugin", xelimg_test::PluginPath().string()});
  ExpectSuccess(explicitPath);
  EXPECT_EQ(explicitPath.out, run.out);
}

TEST(CommandLine, MissingPluginIsNamed) {
  ExpectFailure(RunXelimg({"list", "--plugin", "/nonexistent/libNothing.so"}), "/nonexistent/libNothing.so");
}

namespace {

// Runs with a scratch folder as the working directory, so that what a run creates by mistake shows.
class InScratchDir {
 public:
  InScratchDir() : m_Previous(std::filesystem::current_path()) { std::filesystem::current_path(m_Dir.Path()); }
  ~InScratchDir() { std::filesystem::current_path(m_Previous); }
  const std::filesystem::path& Path() const { return m_Dir.Path(); }
  bool Empty() const { return std::filesystem::is_empty(m_Dir.Path()); }

 private:
  xelimg_test::ScratchDir m_Dir;
  std::filesystem::path m_Previous;
};

}  // namespace

TEST(CommandLine, UnknownOptionsOfEitherFormAreUsageErrorsThatTouchNothing) {
  InScratchDir dir;
  ExpectFailure(RunXelimg({"pseudo", "demo:", "out/q.png", "-q"}), "unknown option '-q'");
  ExpectFailure(RunXelimg({"pseudo", "-p", "2", "demo:", "out.png"}), "unknown option '-p'");
  ExpectFailure(RunXelimg({"pseudo", "demo:", "out.png", "--colour=red"}), "unknown option '--colour'");
  // An abbreviation could change its meaning when an option is added.
  ExpectFailure(RunXelimg({"pseudo", "demo:", "out.png", "--prof", "2"}), "unknown option '--prof'");
  ExpectFailure(RunXelimg({"pseudo", "demo:", "out.png", "--quiet=yes"}), "takes no value");
  ExpectFailure(RunXelimg({"pseudo", "demo:", "out.png", "--profile=1", "--profile", "2"}), "given twice");
  ExpectFailure(RunXelimg({"demo", "a", "b"}), "unexpected argument 'b'");
  EXPECT_TRUE(dir.Empty());
}

TEST(CommandLine, ValuesJoinedOrSeparateAndOptionsAnywhereGiveTheSameBytes) {
  REQUIRE_PLUGIN();
  InScratchDir dir;
  ExpectSuccess(RunXelimg({"pseudo", "demo:", "separate.png", "--profile", "2", "--quiet"}));
  ExpectSuccess(RunXelimg({"pseudo", "--profile=2", "demo:", "--quiet", "joined.png"}));
  EXPECT_EQ(xelimg_test::ReadBytes(dir.Path() / "separate.png"), xelimg_test::ReadBytes(dir.Path() / "joined.png"));
  // A value may start with a dash.
  ExpectFailure(RunXelimg({"pseudo", "demo:", "out.png", "--lower", "-0.5"}), "--lower");
}

TEST(CommandLine, DoubleDashEndsTheOptions) {
  REQUIRE_PLUGIN();
  InScratchDir dir;
  xelhost::WriteImageFile(xelfw::Image(4, 4, xelfw::PixelLayout::Grey(8, 8)), dir.Path() / "-odd.png");
  const auto run = RunXelimg({"pseudo", "--quiet", "--", "-odd.png", "--out.png"});
  ExpectSuccess(run);
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "--out.png")) << run.err;
  ExpectFailure(RunXelimg({"pseudo", "-odd.png", "out.png"}), "unknown option '-odd.png'");
}

TEST(CommandLine, WholeNumbersOutsideTheirRangeAreRefusedNotWrapped) {
  InScratchDir dir;
  const std::vector<std::string> snapshot = {"view", "--snapshot", "shot.png"};
  const auto view = [&](std::vector<std::string> extra) {
    extra.insert(extra.begin(), snapshot.begin(), snapshot.end());
    return RunXelimg(extra);
  };
  ExpectFailure(view({"--cursor", "4294967297,10"}), "lies outside");
  ExpectFailure(view({"--cursor", "99999999999999999999999,1"}), "lies outside");
  ExpectFailure(view({"--cursor", "1,x"}), "'x' is not a whole number");
  ExpectFailure(view({"--input", "drag 2147483647,0,1,0"}), "lies outside");
  ExpectFailure(view({"--input", "wheel 1,1,99999999999"}), "lies outside");
  ExpectFailure(view({"--frames", "4294967297"}), "--frames");
  EXPECT_TRUE(dir.Empty());
}

TEST(CommandLine, EchoedTextIsEscapedAndCut) {
  const auto escape = RunXelimg({"list", "--\x1b[31mred"});
  ExpectFailure(escape, "unknown option '--\\x1b[31mred'");
  EXPECT_EQ(escape.err.find('\x1b'), std::string::npos);

  const auto huge = RunXelimg({std::string(100000, 'x')});
  ExpectFailure(huge, "unknown command 'xxx");
  EXPECT_LT(huge.err.size(), 400u);
  EXPECT_NE(huge.err.find("\xE2\x80\xA6'"), std::string::npos) << "the cut is marked";
}
