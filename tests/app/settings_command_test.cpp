// xelimg settings: the pseudo-colour settings through INI files.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelfw/IniStore.h>
#include <xelhost/IniFile.h>

using xelimg_test::ExpectFailure;
using xelimg_test::ExpectSuccess;
using xelimg_test::RunXelimg;
using xelimg_test::ScratchDir;

namespace {

constexpr const char* kSection = "Pseudo color lut";

}  // namespace

TEST(SettingsCommand, ExportWritesEveryKeyWithItsDefault) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  ExpectSuccess(RunXelimg({"settings", "export", (dir / "defaults.ini").string()}));
  const auto store = xelfw::IniStore::Load(dir / "defaults.ini");
  EXPECT_EQ(store.GetDouble(kSection, "Upper"), 1.0);
  EXPECT_EQ(store.GetDouble(kSection, "UnitMax"), 200.0);
  EXPECT_EQ(store.GetInt(kSection, "SliderSteps"), 180);
  EXPECT_EQ(store.GetInt(kSection, "ColorProfileIndex"), 0);
  EXPECT_EQ(store.GetString(kSection, "UnitDesc"), std::string("\xB0"
                                                               "C"));
}

TEST(SettingsCommand, ImportedValuesSurviveExportAndShowInTheListing) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  ExpectSuccess(RunXelimg({"settings", "export", (dir / "base.ini").string()}));
  auto store = xelfw::IniStore::Load(dir / "base.ini");
  store.SetDouble(kSection, "Lower", 0.25);
  store.SetInt(kSection, "ColorProfileIndex", 3);
  store.SetString(kSection, "UnitDesc", "K");
  xelhost::SaveIniFile(store, dir / "changed.ini");

  ExpectSuccess(
      RunXelimg({"settings", "export", (dir / "again.ini").string(), "--from", (dir / "changed.ini").string()}));
  const auto again = xelfw::IniStore::Load(dir / "again.ini");
  EXPECT_EQ(again.GetDouble(kSection, "Lower"), 0.25);
  EXPECT_EQ(again.GetInt(kSection, "ColorProfileIndex"), 3);
  EXPECT_EQ(again.GetString(kSection, "UnitDesc"), std::string("K"));

  const auto listing = RunXelimg({"settings", "import", (dir / "changed.ini").string()});
  ExpectSuccess(listing);
  EXPECT_NE(listing.out.find("Lower                       0.25"), std::string::npos) << listing.out;
  EXPECT_NE(listing.out.find("3 (Black - Green - Red - White)"), std::string::npos) << listing.out;
}

TEST(SettingsCommand, SampleFileImportsCompletely) {
  REQUIRE_PLUGIN();
  const auto run = RunXelimg({"settings", "import", XELIMG_SAMPLES_DIR "/pseudocolor.ini"});
  ExpectSuccess(run);
  EXPECT_NE(run.out.find("UnitDesc                    \xC2\xB0"
                         "C"),
            std::string::npos)
      << run.out;
}

TEST(SettingsCommand, PartialFilesChangeOnlyTheirKeys) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  // As a user saves it on Windows: UTF-8 with a byte-order mark and CRLF line ends.
  xelimg_test::WriteText(dir / "window.ini",
                         "\xEF\xBB\xBF[Pseudo color lut]\r\nLower=0.2\r\nUpper=0.7\r\nUnitDesc=\xC2\xB0"
                         "F\r\n");
  ExpectSuccess(RunXelimg({"settings", "export", (dir / "out.ini").string(), "--from", (dir / "window.ini").string()}));
  const auto out = xelfw::IniStore::Load(dir / "out.ini");
  EXPECT_EQ(out.GetDouble(kSection, "Lower"), 0.2);
  EXPECT_EQ(out.GetDouble(kSection, "Upper"), 0.7);
  EXPECT_EQ(out.GetString(kSection, "UnitDesc"), std::string("\xB0"
                                                             "F"))
      << "handed to the object in Windows-1252";
  EXPECT_EQ(out.GetDouble(kSection, "UnitMax"), 200.0) << "a key the file lacks keeps its value";
  EXPECT_EQ(out.GetInt(kSection, "SliderSteps"), 180);
}

TEST(SettingsCommand, BrokenFilesAreRefusedNamingTheKey) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  const auto refused = [&](const std::string& body, const std::string& mention) {
    SCOPED_TRACE(body);
    xelimg_test::WriteText(dir / "bad.ini", "[Pseudo color lut]\n" + body + "\n");
    ExpectFailure(RunXelimg({"settings", "import", (dir / "bad.ini").string()}), mention);
    const auto out = dir / "never.ini";
    ExpectFailure(RunXelimg({"settings", "export", out.string(), "--from", (dir / "bad.ini").string()}), mention);
    EXPECT_FALSE(std::filesystem::exists(out));
  };
  refused("Upper=high", "Upper");
  refused("AutoContrastMinLevel=nan", "AutoContrastMinLevel");
  refused("Lower=1.5", "Lower");
  refused("ColorProfileIndex=5", "ColorProfileIndex");
  refused("AutoMode=3", "AutoMode");
  refused("Colour=red", "Colour");
  refused("Lower=0.8\nUpper=0.3", "above Upper");

  xelimg_test::WriteText(dir / "garbage.ini", "this is not an INI file\n");
  ExpectFailure(RunXelimg({"settings", "import", (dir / "garbage.ini").string()}), "garbage.ini");
  ExpectFailure(RunXelimg({"settings", "import", (dir / "absent.ini").string()}), "absent.ini");
}

TEST(SettingsCommand, DashIsStandardInputAndOutput) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  xelimg_test::WriteText(dir / "window.ini", "[Pseudo color lut]\nLower=0.2\nUpper=0.7\n");
  ExpectSuccess(
      RunXelimg({"settings", "export", (dir / "file.ini").string(), "--from", (dir / "window.ini").string()}));

  const auto piped = RunXelimg({"settings", "export", "-", "--from", "-"}, dir / "window.ini");
  ExpectSuccess(piped);
  const auto file = xelimg_test::ReadBytes(dir / "file.ini");
  EXPECT_EQ(piped.out, std::string(file.begin(), file.end()));
  EXPECT_FALSE(std::filesystem::exists("-")) << "no file named '-'";

  const auto listing = RunXelimg({"settings", "import", "-"}, dir / "window.ini");
  ExpectSuccess(listing);
  EXPECT_NE(listing.out.find("Upper                       0.7"), std::string::npos) << listing.out;
}

TEST(SettingsCommand, KeysBeforeAnySectionAreTheObjects) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  xelimg_test::WriteText(dir / "bare.ini", "; just the window\nLower=0.2\r\nUpper=0.7\n");
  const auto listing = RunXelimg({"settings", "import", (dir / "bare.ini").string()});
  ExpectSuccess(listing);
  EXPECT_NE(listing.out.find("Lower                       0.2"), std::string::npos) << listing.out;
  EXPECT_NE(listing.out.find("Upper                       0.7"), std::string::npos) << listing.out;

  // Line numbers count the file's own lines.
  xelimg_test::WriteText(dir / "broken.ini", "Lower=0.2\nnot a key\n");
  ExpectFailure(RunXelimg({"settings", "import", (dir / "broken.ini").string()}), "broken.ini:2:");
  xelimg_test::WriteText(dir / "unknown.ini", "Lower=0.2\nColour=red\n");
  ExpectFailure(RunXelimg({"settings", "import", (dir / "unknown.ini").string()}), "Colour");
}

TEST(SettingsCommand, FileTextReachesTheTerminalEscapedAndCut) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  xelimg_test::WriteText(dir / "long.ini", "[Pseudo color lut]\n" + std::string(10 << 20, 'K') + "=1\n");
  const auto longKey = RunXelimg({"settings", "import", (dir / "long.ini").string()});
  ExpectFailure(longKey, "not a pseudo-colour setting");
  EXPECT_LT(longKey.err.size(), 1000u);

  xelimg_test::WriteText(dir / "unit.ini", "UnitDesc=\x1b]0;owned\aC\n");
  const auto unit = RunXelimg({"settings", "import", (dir / "unit.ini").string()});
  ExpectSuccess(unit);
  EXPECT_EQ(unit.out.find('\x1b'), std::string::npos);
  EXPECT_NE(unit.out.find("\\x1b]0;owned\\x07C"), std::string::npos) << unit.out;
}
