// Out of memory at every allocation in turn, in the manner of SQLite's fault injection: each run of
// a scenario fails one allocation more than the one before, until a run completes without failing.
// Every run must end in a result code or an exception the caller can report, and leave no block
// behind; a crash or a leak fails the test.
#include "failing_allocator.h"

#include <XelPseudoColor/SettingsRecord.h>
#include <xelfw/IniStore.h>
#include <xelfw/ProcessingHost.h>
#include <xelhost/IniFile.h>
#include <xelhost/image_io.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

using xelfw::Image;
using xelfw::PixelLayout;

namespace {

enum class Outcome { Completed, ResultCode, Error };

struct Tally {
  long allocations = 0;  // of a run without failures: the runs made
  long completed = 0;
  long resultCodes = 0;
  long errors = 0;
  std::vector<long> leaks;  // failed allocations after which blocks stayed behind
};

Tally FailEveryAllocation(const std::function<Outcome()>& scenario) {
  scenario();  // what is made once on first use (statics, caches) stays in any program
  oom::ResetCount();
  scenario();
  Tally tally;
  tally.allocations = oom::AllocationCount();
  for (long n = 1; n <= tally.allocations; ++n) {
    const long live = oom::LiveBlocks();
    Outcome outcome = Outcome::Error;
    oom::FailAllocation(n);
    try {
      outcome = scenario();
    } catch (const std::exception&) {
      outcome = Outcome::Error;
    }
    const bool failed = oom::Failed();
    oom::Disarm();
    if (oom::LiveBlocks() != live) tally.leaks.push_back(n);
    if (!failed || outcome == Outcome::Completed) {
      ++tally.completed;  // the failure hit an allocation whose absence the code works around
    } else if (outcome == Outcome::ResultCode) {
      ++tally.resultCodes;
    } else {
      ++tally.errors;
    }
  }
  return tally;
}

void Report(const char* scenario, const Tally& tally) {
  std::cout << scenario << ": " << tally.allocations << " allocations failed in turn; " << tally.resultCodes
            << " result codes, " << tally.errors << " errors, " << tally.completed << " completed\n";
  EXPECT_GT(tally.allocations, 0);
  EXPECT_TRUE(tally.leaks.empty()) << tally.leaks.size() << " runs leaked, the first after failing allocation "
                                   << tally.leaks.front();
}

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "xel-oom-XXXXXX").string();
    m_Path = ::mkdtemp(pattern.data());
  }
  ~ScratchFolder() { std::filesystem::remove_all(m_Path); }
  std::filesystem::path operator/(const char* name) const { return m_Path / name; }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_Path)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path m_Path;
};

Image Gradient(UINT frames = 1) {
  Image image(48, 32, PixelLayout::Grey(12, 16), frames);
  for (UINT f = 0; f < frames; ++f)
    for (UINT y = 0; y < image.Height(); ++y)
      for (UINT x = 0; x < image.Width(); ++x) image.SetComponent(x, y, 0, (x * 80 + y * 7 + f * 300) & 0xFFF, f);
  return image;
}

}  // namespace

TEST(OutOfMemory, PluginObjectsFromCreationThroughTheirParametersToTheFirstProcess) {
  const xelfw::PluginLibrary library(XEL_PLUGIN_PATH);
  const Image source = Gradient();
  const Tally pseudo = FailEveryAllocation([&] {
    Outcome outcome = Outcome::Completed;
    const auto note = [&](UINT result) {
      if (result != 0) outcome = Outcome::ResultCode;
    };
    xelfw::ProcessingHost host(library, XIP_OBJTYPE_PSEUDOCOLOR_LUT);
    TPseudoColorSettings settings{};
    note(
        host.Object().GetParam(XIP_PARAM_PSEUDOCOLOR_SETTINGS, reinterpret_cast<UINT_PTR>(&settings), sizeof settings));
    settings.AutoMode = kPseudoColorAutoContrast;
    note(
        host.Object().SetParam(XIP_PARAM_PSEUDOCOLOR_SETTINGS, reinterpret_cast<UINT_PTR>(&settings), sizeof settings));
    xelfw::IniStore store;
    store.SetDouble("Pseudo color lut", "Lower", 0.125);
    store.SetInt("Pseudo color lut", "ColorProfileIndex", 2);
    xelfw::IniContext context(store, "Pseudo color lut");
    note(host.Object().SetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL));
    Image destination(source.Width(), source.Height(), PixelLayout::Colour(8, 3));
    host.SetSource(const_cast<Image*>(&source));
    host.SetDestination(&destination);
    note(host.Process());
    return outcome;
  });
  Report("pseudo colour", pseudo);

  const Tally temperature = FailEveryAllocation([&] {
    xelfw::ProcessingHost host(library, XIP_OBJTYPE_TEMPERATURE_DISPLAY);
    xelfw::IniStore store;
    store.SetString("Temperature display", "Point_0", "0.1,273.15");
    store.SetString("Temperature display", "Point_1", "0.9,373.15");
    xelfw::IniContext context(store, "Temperature display");
    return host.Object().SetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL) == 0 ? Outcome::Completed
                                                                                          : Outcome::ResultCode;
  });
  Report("temperature", temperature);
}

TEST(OutOfMemory, ImageAndIniReaders) {
  ScratchFolder dir;
  xelhost::WriteImageFile(Gradient(), dir / "grey.png");
  xelhost::WriteImageFile(Gradient(), dir / "grey.pgm");
  xelhost::WriteImageFile(Gradient(3), dir / "pages.tif");
  xelfw::IniStore settings;
  for (int i = 0; i < 20; ++i) settings.SetInt("Section " + std::to_string(i % 3), "Key" + std::to_string(i), i);
  xelhost::SaveIniFile(settings, dir / "settings.ini");

  const Tally readers = FailEveryAllocation([&] {
    for (const char* name : {"grey.png", "grey.pgm", "pages.tif"}) xelhost::ReadImageFile(dir / name);
    xelhost::InspectImageFile(dir / "pages.tif");
    xelhost::ImageFileReader reader(dir / "pages.tif");
    while (reader.Next()) {
    }
    xelfw::IniStore::Load(dir / "settings.ini");
    return Outcome::Completed;
  });
  Report("readers", readers);
}

TEST(OutOfMemory, WritersLeaveNeitherTemporaryNorPartialFiles) {
  ScratchFolder dir;
  const Image pages = Gradient(2);
  const Image colour(20, 10, PixelLayout::Colour(16, 3));
  bool straysFound = false;
  const Tally writers = FailEveryAllocation([&] {
    try {
      xelhost::WriteImageFile(pages, dir / "pages.tif");
      xelhost::WriteImageFile(colour, dir / "colour.png");
      xelhost::WriteImageFile(Gradient(), dir / "grey.pgm");
      xelfw::IniStore store;
      store.SetDouble("S", "Upper", 0.5);
      xelhost::SaveIniFile(store, dir / "out.ini");
    } catch (...) {
      for (const std::string& name : dir.Names()) straysFound |= name.front() == '.';
      throw;
    }
    return Outcome::Completed;
  });
  Report("writers", writers);
  EXPECT_FALSE(straysFound) << "a temporary file stayed behind";
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"colour.png", "grey.pgm", "out.ini", "pages.tif"}));
}
