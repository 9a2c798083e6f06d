// The one way dialogs go away, shared by an object's shutdown and a host closing its dialogs.
#pragma once

#include <XelImgProcess/XelDialogData.h>

#include <span>

namespace xelfw {

// Destroys the windows of every dialog the records point to, then deletes the dialog objects, and
// leaves the records pointing to none. Null records are skipped.
void DestroyDialogs(std::span<_TXIP_DIALOG_DATA* const> records);

}  // namespace xelfw
