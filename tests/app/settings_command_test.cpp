// xelimg settings: the pseudo-colour settings through INI files.
#include "cli_expectations.h"
#include "test_files.h"

#include <xelfw/IniStore.h>

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
  EXPECT_EQ(store.GetString(kSection, "UnitDesc"), std::string("\xB0" "C"));
}

TEST(SettingsCommand, ImportedValuesSurviveExportAndShowInTheListing) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  ExpectSuccess(RunXelimg({"settings", "export", (dir / "base.ini").string()}));
  auto store = xelfw::IniStore::Load(dir / "base.ini");
  store.SetDouble(kSection, "Lower", 0.25);
  store.SetInt(kSection, "ColorProfileIndex", 3);
  store.SetString(kSection, "UnitDesc", "K");
  store.Save(dir / "changed.ini");

  ExpectSuccess(RunXelimg({"settings", "export", (dir / "again.ini").string(), "--from", (dir / "changed.ini").string()}));
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
  EXPECT_NE(run.out.find("UnitDesc                    \xC2\xB0" "C"), std::string::npos) << run.out;
}

TEST(SettingsCommand, IncompleteOrBrokenFilesAreRefused) {
  REQUIRE_PLUGIN();
  ScratchDir dir;
  ExpectSuccess(RunXelimg({"settings", "export", (dir / "full.ini").string()}));
  auto store = xelfw::IniStore::Load(dir / "full.ini");
  store.RemoveKey(kSection, "SliderSteps");
  store.SetString(kSection, "Upper", "high");
  store.Save(dir / "partial.ini");
  ExpectFailure(RunXelimg({"settings", "import", (dir / "partial.ini").string()}), "Upper, SliderSteps");

  const auto out = dir / "never.ini";
  ExpectFailure(RunXelimg({"settings", "export", out.string(), "--from", (dir / "partial.ini").string()}), "incomplete");
  EXPECT_FALSE(std::filesystem::exists(out));

  xelimg_test::WriteText(dir / "garbage.ini", "this is not an INI file\n");
  ExpectFailure(RunXelimg({"settings", "import", (dir / "garbage.ini").string()}), "garbage.ini");
  ExpectFailure(RunXelimg({"settings", "import", (dir / "absent.ini").string()}), "absent.ini");
}
