// Where the picture window goes: the part of the screen the dialogs leave free, as large as the
// picture can be shown in it with its aspect kept.
#pragma once

#include <winui/windef.h>
#include "host_kit.h"

#include <vector>

namespace xelimg::view {

// The outer rectangle of a window whose picture area is `picture` scaled to fit the largest free
// rectangle of `screen` beside `dialogs` (none overlapped), a margin from its edges and from them.
// `frameFor` gives a window's outer size for a picture area. A region that shows the picture barely
// larger than one nearer the top left loses to it, so that the layout does not jump for a few pixels.
using FrameSizeFor = SIZE (*)(SIZE pictureArea);
RECT PictureWindowFrame(const RECT& screen, const std::vector<RECT>& dialogs, SIZE picture, FrameSizeFor frameFor);

}  // namespace xelimg::view
