// Random mouse, key and text input on one of the three dialogs, shown as a host shows them, with
// frames, hostile settings and resizes in between: nothing the user or the host does to a dialog may
// crash it, hang it, or leave undefined arithmetic behind.
#include "fuzz/hostile_settings.h"

// Before the first function-local static (see the plug-in tests' host fixture).
#include <winui/afxwin.h>

#include <XelImgProcess/CXelImgProcessDlg.h>
#include <winui/screen.h>
#include <xelfw/DialogHost.h>
#include <xelfw/Image.h>
#include <xelfw/IniStore.h>
#include <xelfw/ProcessingHost.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMaxEvents = 40;
constexpr int kKeys[] = {VK_TAB, VK_RETURN, VK_ESCAPE, VK_SPACE, VK_LEFT,   VK_RIGHT, VK_UP,  VK_DOWN,    VK_HOME,
                         VK_END, VK_PRIOR,  VK_NEXT,   VK_BACK,  VK_DELETE, VK_F4,    VK_ADD, VK_SUBTRACT};
constexpr int kModifiers[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
// What users type into number fields, and what they type by mistake.
constexpr char kTyped[] = "0123456789.,-+eEnaifNAIF x%";

struct Dialog {
  UINT objectType;
  UINT dlgID;
};
constexpr Dialog kDialogs[] = {
    {XIP_OBJTYPE_PSEUDOCOLOR_LUT, 0}, {XIP_OBJTYPE_PSEUDOCOLOR_LUT, 1}, {XIP_OBJTYPE_TEMPERATURE_DISPLAY, 0}};

// The object with its dialog opened through the framework's dialog host, as a host program does it,
// and a small frame the object can process.
class DialogSession {
 public:
  DialogSession(const xelfw::PluginLibrary& library, const Dialog& which)
      : m_Host(library, which.objectType),
        m_Source(6, 4, xelfw::PixelLayout::Grey(8, 8)),
        m_Destination(6, 4, xelfw::PixelLayout::Colour(8, 3)),
        m_Dialogs(m_Host.Object()),
        m_DlgID(which.dlgID) {
    // Closing asks the host; answer yes, as a host that lets the user close dialogs does.
    m_Host.Record().SetDlgEventHook([](CXelImgProcess_0*, UINT) -> UINT { return 1; });
    m_Host.SetSource(&m_Source);
    if (which.objectType == XIP_OBJTYPE_PSEUDOCOLOR_LUT) m_Host.SetDestination(&m_Destination);
    m_Dialog = m_Dialogs.Open(m_DlgID);
    if (m_Dialog == nullptr) std::abort();
    winui::PumpMessages();
  }
  ~DialogSession() {
    m_Dialogs.CloseAll();
    winui::PumpMessages();
    winui::ClearShownMessageBoxes();
  }
  DialogSession(const DialogSession&) = delete;
  DialogSession& operator=(const DialogSession&) = delete;

  // False once the dialog's window is gone.
  bool Event(fuzz::Input& in) {
    HWND window = m_Dialog->GetSafeHwnd();
    if (window == nullptr || !IsWindow(window)) return false;
    // A host shows a dialog again from its menu after the user closed it.
    if (!m_Dialog->IsWindowVisible()) m_Dialogs.Show(m_DlgID);
    switch (in.Pick(10)) {
      case 0:
        winui::InjectMouseMove(TakePoint(in));
        break;
      case 1:
        winui::InjectMouseDown(TakePoint(in), TakeButton(in));
        break;
      case 2:
        winui::InjectMouseUp(TakePoint(in), TakeButton(in));
        break;
      case 3:
        winui::InjectClick(TakePoint(in), TakeButton(in));
        break;
      case 4:
        winui::InjectKeyPress(kKeys[in.Pick(std::size(kKeys))], TakeModifiers(in));
        break;
      case 5:
        winui::InjectText(TakeText(in));
        break;
      case 6:
        Frame(in);
        break;
      case 7:
        HostileSettings(in);
        break;
      case 8:
        // The user drags the frame down to nothing or up to a few times its size; larger sizes only
        // grow the temperature's font, which costs time and finds nothing new.
        m_Dialog->SetWindowPos(nullptr, 0, 0, in.Pick(40) * 8, in.Pick(20) * 8, SWP_NOMOVE | SWP_NOZORDER);
        break;
      default:
        break;  // the messages so far are handled below before the next event
    }
    winui::PumpMessages();
    return true;
  }

 private:
  POINT TakePoint(fuzz::Input& in) const {
    CRect rect;
    m_Dialog->GetWindowRect(&rect);
    // A little beyond the frame as well: drags leave the window.
    const LONG x = rect.left - 8 + static_cast<LONG>(in.Take<std::uint16_t>() % (rect.Width() + 16));
    const LONG y = rect.top - 8 + static_cast<LONG>(in.Take<std::uint16_t>() % (rect.Height() + 16));
    return POINT{x, y};
  }
  static winui::MouseButton TakeButton(fuzz::Input& in) {
    return in.Pick(4) == 0 ? winui::MouseButton::Right : winui::MouseButton::Left;
  }
  static std::vector<int> TakeModifiers(fuzz::Input& in) {
    std::vector<int> held;
    for (int modifier : kModifiers)
      if (in.Pick(4) == 0) held.push_back(modifier);
    return held;
  }
  static std::string TakeText(fuzz::Input& in) {
    std::string text(1 + in.Pick(8), ' ');
    for (char& c : text) c = kTyped[in.Pick(sizeof kTyped - 1)];
    return text;
  }

  void Frame(fuzz::Input& in) {
    for (UINT y = 0; y < m_Source.Height(); ++y)
      for (UINT x = 0; x < m_Source.Width(); ++x) m_Source.SetComponent(x, y, 0, in.Take<std::uint8_t>());
    if (m_Host.Process() != XIP_OK) std::abort();
  }

  // What a host or an INI file may set while the dialog is open: the dialogs show whatever it is.
  void HostileSettings(fuzz::Input& in) {
    CXelImgProcess_0& object = m_Host.Object();
    if (object.GetObjType() == XIP_OBJTYPE_PSEUDOCOLOR_LUT) {
      switch (in.Pick(3)) {
        case 0: {
          std::vector<std::uint8_t> record = fuzz::TakeSettingsRecord(in);
          object.SetParam(12, reinterpret_cast<UINT_PTR>(record.data()), record.size());
          break;
        }
        case 1: {
          constexpr UINT kSteps[] = {0, 1, 2, 3, 180, 0x7FFFFFFF, 0xFFFFFFFF};
          UINT steps = kSteps[in.Pick(std::size(kSteps))];
          object.SetParam(13, reinterpret_cast<UINT_PTR>(&steps), sizeof steps);
          break;
        }
        default:
          object.SetParam(XIP_PARAM_OBJECT_INDEX, in.Pick(5), 0);
          break;
      }
      return;
    }
    xelfw::IniStore store;
    fuzz::FillHostileIni(store, "T", in);
    xelfw::IniContext context(store, "T");
    object.SetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL);
  }

  xelfw::ProcessingHost m_Host;
  xelfw::Image m_Source;
  xelfw::Image m_Destination;
  xelfw::DialogHost m_Dialogs;
  const UINT m_DlgID;
  CXelImgProcessDlg* m_Dialog = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static xelfw::PluginLibrary library(XEL_PLUGIN_PATH);
  fuzz::Input in(data, size);
  DialogSession session(library, kDialogs[in.Pick(std::size(kDialogs))]);
  for (std::size_t event = 0; event < kMaxEvents && !in.Empty(); ++event)
    if (!session.Event(in)) break;
  // Whatever button the input left pressed is let go, so that no capture outlives the dialog.
  winui::InjectMouseUp(POINT{0, 0});
  winui::InjectMouseUp(POINT{0, 0}, winui::MouseButton::Right);
  winui::PumpMessages();
  return 0;
}
