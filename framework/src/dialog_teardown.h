// The one way dialogs go away, shared by an object's shutdown and a host closing its dialogs.
#pragma once

#include <XelImgProcess/XelDialogData.h>

#include <cstddef>
#include <span>

namespace xelfw {

// Teardown runs in destructors, where running out of memory must not end the process, so it works
// on the stack: no object has more dialogs than this (the plug-in's have one or two).
inline constexpr std::size_t kMaxDialogs = 64;

// Destroys the windows of every dialog the records point to, then deletes the dialog objects, and
// leaves the records pointing to none. Null records are skipped; records past kMaxDialogs are not
// looked at.
void DestroyDialogs(std::span<_TXIP_DIALOG_DATA* const> records);

}  // namespace xelfw
