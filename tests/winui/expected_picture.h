// The pictures in docs/ double as the expected renderings: a test compares its picture with the
// checked-in one pixel for pixel and never writes into the source tree. After an intended change
// of the drawing, `cmake --build build --target docs-pictures` renders them anew (it runs these
// tests with WINUI_PICTURES_OUT set to the docs folder).
#pragma once

#include "picture_file.h"

#include <winui/surface.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace expected_picture {

inline void ExpectMatchesDocsPicture(const winui::Surface& actual, const std::string& name) {
  std::string error;
  if (const char* out = std::getenv("WINUI_PICTURES_OUT")) {
    EXPECT_TRUE(winui_test::SavePicture(actual, std::string(out) + "/" + name, &error)) << error;
    return;
  }
  winui::Surface expected;
  ASSERT_TRUE(winui::LoadPng(std::string(WINUI_DOCS_DIR) + "/" + name, &expected, &error)) << error;
  long differing = 0;
  int firstX = -1, firstY = -1;
  if (expected.Width() == actual.Width() && expected.Height() == actual.Height()) {
    for (int y = 0; y < actual.Height(); ++y) {
      for (int x = 0; x < actual.Width(); ++x) {
        if ((expected.At(x, y) & 0xFFFFFFu) == (actual.At(x, y) & 0xFFFFFFu)) continue;
        if (differing++ == 0) firstX = x, firstY = y;
      }
    }
    if (differing == 0) return;
  }
  // Left in the build tree to be looked at beside the expected one.
  const std::string kept = std::string(WINUI_TEST_OUTPUT_DIR) + "/" + name;
  winui_test::SavePicture(actual, kept, &error);
  ADD_FAILURE() << name << ": " << actual.Width() << " x " << actual.Height() << " rendered, " << expected.Width()
                << " x " << expected.Height() << " expected; " << differing << " pixels differ, the first at ("
                << firstX << ", " << firstY << "); the rendering is in " << kept;
}

}  // namespace expected_picture
