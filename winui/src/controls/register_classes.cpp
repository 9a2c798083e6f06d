// The standard control classes exist from the moment the library is loaded, as Windows' system
// classes do; they are global so that every module's templates find them.
#include "control_classes.h"
#include "control_state.h"

#include <winui/controls.h>

namespace winui::controls {
namespace {

void Register(LPCSTR name, WNDPROC proc, UINT style) {
  WNDCLASS wc;
  wc.style = style | CS_GLOBALCLASS;
  wc.lpfnWndProc = proc;
  wc.cbWndExtra = kExtraBytes;
  wc.lpszClassName = name;
  RegisterClass(&wc);
}

bool RegisterControlClasses() {
  Register(WC_STATIC, StaticWindowProc(), CS_DBLCLKS | CS_PARENTDC);
  Register(WC_BUTTON, ButtonWindowProc(), CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW);
  Register(WC_EDIT, EditWindowProc(), CS_DBLCLKS | CS_PARENTDC);
  Register(WC_COMBOBOX, ComboBoxWindowProc(), CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW);
  Register(WC_COMBOLBOX, ComboListWindowProc(), CS_DBLCLKS | CS_SAVEBITS);
  return true;
}

const bool g_registered = RegisterControlClasses();

}  // namespace
}  // namespace winui::controls
