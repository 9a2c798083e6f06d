// The command table: help, unknown commands and options, the plug-in catalogue.
#include "cli_expectations.h"

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
