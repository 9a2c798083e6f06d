// The helpers every host shares: profile names, the plug-in's place, the settings section and
// result-code errors.
#include <xelfw/IniStore.h>
#include <xelfw/PluginLocation.h>
#include <xelfw/PseudoColorProfiles.h>
#include <xelfw/ResultError.h>
#include <xelfw/SettingsSection.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

std::string ProfileError(const std::string& text) {
  try {
    xelfw::FindPseudoColorProfile(text, 5);
  } catch (const std::invalid_argument& error) {
    return error.what();
  }
  return "found";
}

}  // namespace

TEST(PseudoColorProfilesTest, FindsIndicesWholeNamesAndUniqueBeginnings) {
  EXPECT_EQ(xelfw::FindPseudoColorProfile("3", 5), 3u);
  EXPECT_EQ(xelfw::FindPseudoColorProfile("GREY", 5), 1u);
  EXPECT_EQ(xelfw::FindPseudoColorProfile("BlackGreenRed", 5), 3u);
  EXPECT_EQ(xelfw::FindPseudoColorProfile("black - blue - green - yellow - red - white", 5), 0u);
  EXPECT_EQ(xelfw::PseudoColorProfileName(4), "Clipping detection");
  EXPECT_EQ(xelfw::PseudoColorProfileName(9), "profile 9");
}

TEST(PseudoColorProfilesTest, RefusesWithTheChoices) {
  EXPECT_EQ(ProfileError("5").rfind("no profile 5 (choices: 0 \"Black - Blue - Green", 0), 0u);
  EXPECT_EQ(ProfileError("black").rfind("'black' names more than one profile", 0), 0u);
  EXPECT_EQ(ProfileError("purple").rfind("'purple' names no profile", 0), 0u);
  EXPECT_EQ(ProfileError("").rfind("'' names no profile", 0), 0u);
}

TEST(PluginLocationTest, TakesTheFirstWayThatHoldsThePluginElseTheLast) {
  const auto root = std::filesystem::temp_directory_path() / ("xel-location-" + std::to_string(::getpid()));
  std::filesystem::create_directories(root / "bin");
  std::filesystem::create_directories(root / "lib" / "XelPseudoColor");
  EXPECT_EQ(xelfw::FindPseudoColorPlugin(root / "bin", {".", "../lib/XelPseudoColor", "../lib"}),
            root / "lib" / "libXelPseudoColor.so");
  std::ofstream(root / "lib" / "XelPseudoColor" / xelfw::kPseudoColorPluginFile).put('\0');
  EXPECT_EQ(xelfw::FindPseudoColorPlugin(root / "bin", {".", "../lib/XelPseudoColor", "../lib"}),
            root / "lib" / "XelPseudoColor" / "libXelPseudoColor.so");
  std::filesystem::remove_all(root);
}

TEST(SettingsSectionTest, PrefersTheObjectsNameThenTheOnlySection) {
  const auto single = xelfw::IniStore::Parse("[Camera 3]\nEpsilon=0.9\n");
  EXPECT_EQ(xelfw::SettingsSection(single, "Temperature display"), "Camera 3");
  const auto named = xelfw::IniStore::Parse("[temperature display]\nEpsilon=0.9\n");
  EXPECT_EQ(xelfw::SettingsSection(named, "Temperature display"), "Temperature display");
  const auto two = xelfw::IniStore::Parse("[A]\nx=1\n[B]\ny=2\n");
  EXPECT_EQ(xelfw::SettingsSection(two, "Temperature display"), "Temperature display");
}

TEST(ResultErrorTest, CarriesTheCodeAndNamesIt) {
  EXPECT_NO_THROW(xelfw::CheckResult(XIP_OK, "anything"));
  try {
    xelfw::CheckResult(0xA0010006, "pseudo-colour processing");
    FAIL() << "no exception";
  } catch (const xelfw::ResultError& error) {
    EXPECT_EQ(error.Code(), 0xA0010006u);
    EXPECT_STREQ(error.what(), "pseudo-colour processing failed with result 0xA0010006");
  }
}
