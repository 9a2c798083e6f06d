// Standard input ("-") for the commands that take one image or play frames from memory: dialog, view.
#pragma once

#include <xelhost/frame_source.h>
#include <xelhost/input_image.h>
#include <xelhost/memory_budget.h>
#include "host_kit.h"

#include <xelfw/Image.h>

#include <memory>
#include <optional>
#include <vector>

namespace xelimg {

// Every frame of the PGM, PNG or TIFF on standard input, each admitted by the budget with what the
// command makes from it before it is decoded, with its significant bits applied (and their warning
// printed). Throws CommandError when standard input holds no image.
std::vector<xelfw::Image> ReadStandardInputFrames(std::optional<UINT> inputBits, MemoryBudget& budget,
                                                  const InputCost& alsoNeeds);

}  // namespace xelimg
