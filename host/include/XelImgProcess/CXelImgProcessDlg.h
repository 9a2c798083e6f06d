// Base of every processing object's dialog: a modeless MFC-style dialog whose frame the framework
// keeps (owner, placement, user buttons, resizing, refresh requests from other threads).
//
// Option word (m_DlgOptions): XIP_DLG_OPTION_PLACEMENT makes UpdateDlgPos put the window where its
// dialog record says it was last; XIP_DLG_OPTION_RESIZABLE lets OnGetMinMaxInfo hold the window at
// m_MinTrackSize or larger, and lets a placement give the window its size. The second word
// (m_DlgOptions2) belongs to the host's frame; the framework's frame keeps it for the host to read.
//
// Window size (m_WindowWidth, m_WindowHeight): the size the dialog is laid out for, which a dialog
// may store in OnInitDialog. A placement that gives only a position (or any placement of a dialog
// that is not resizable) puts the window there at that size; 0 keeps the window's current size.
// AutoDlgCtrlPlacement flags: how a control follows the dialog's client area when it is resized.
#pragma once

#include <XelImgProcess/XelDialogData.h>
#include <winui/afxwin.h>

#include <vector>

class CXelImgProcess;

inline constexpr UINT XIP_DLG_OPTION_PLACEMENT = 0x1;
inline constexpr UINT XIP_DLG_OPTION_RESIZABLE = 0x2;

// A placement of all zeros is none: the dialog has never been placed.
constexpr bool XipHasPlacement(const RECT& r) { return r.left != 0 || r.top != 0 || r.right != 0 || r.bottom != 0; }
// Only a rectangle with a positive width and height gives a size; any other gives its top-left corner.
constexpr bool XipPlacementHasSize(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

inline constexpr UINT XIP_PLACE_MOVE_X = 0x1;  // keeps its distance to the right edge
inline constexpr UINT XIP_PLACE_MOVE_Y = 0x2;  // keeps its distance to the bottom edge
inline constexpr UINT XIP_PLACE_SIZE_X = 0x4;  // grows and shrinks with the width
inline constexpr UINT XIP_PLACE_SIZE_Y = 0x8;  // grows and shrinks with the height

// The message UpdateDialogDisplay posts: wParam the host bits (bit 0: user buttons), lParam the
// dialog's own bits.
inline constexpr UINT XIP_WM_UPDATE_DIALOG_DISPLAY = WM_APP;
inline constexpr UINT_PTR XIP_UPDATE_USER_BUTTONS = 0x1;

class XEL_HOST_API CXelImgProcessDlg : public CDialog {
 public:
  CXelImgProcessDlg(UINT templateID, CWnd* parent);
  ~CXelImgProcessDlg() override;

  // The owner is set before the window exists and outlives it.
  void SetOwnerClass(CXelImgProcess* owner) { m_pOwner = owner; }
  CXelImgProcess* GetOwnerClass() const { return m_pOwner; }

  // Registers a control of the template for placement on resize (XIP_PLACE_* flags).
  virtual void AutoDlgCtrlPlacement(UINT ctrlID, UINT flags);
  // An ID no control of the template uses, for controls made at run time.
  virtual UINT GetNextFreeCtrlID();
  // Background of value statics.
  virtual COLORREF GetStaticBgColor();
  // (Re)makes m_hStaticBgBrush in GetStaticBgColor().
  virtual void UpdateStaticBgBrush();
  // Asks the dialog's own thread to refresh; callable from any thread. Dropped without a window.
  virtual void UpdateDialogDisplay(UINT_PTR hostBits, UINT_PTR dialogBits);
  // Places the window from the dialog record when it holds a placement (initial: as it is created).
  virtual void UpdateDlgPos(BOOL initial);
  // Moves the window's top-left corner to the rectangle's. A resizable dialog takes the rectangle's
  // size too when it has one, never less than its minimum tracking size; otherwise the window gets
  // its window size (above).
  void PlaceWindow(const RECT& placement);

  virtual UINT GetDlgID() = 0;
  // Creates the modeless window, parented to the window of the handle.
  virtual BOOL CreateDlg(HWND parent) = 0;

  BOOL OnInitDialog() override;
  void OnCancel() override;       // Esc hides, as the close box does
  BOOL DestroyWindow() override;  // keeps the placement in the dialog record first

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnClose();
  void OnDestroy();
  void OnSize(UINT type, int cx, int cy);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  LRESULT OnUpdateDialogDisplay(WPARAM hostBits, LPARAM dialogBits);

  // The owner's record of this dialog; null without an owner or record.
  _TXIP_DIALOG_DATA* GetDialogData();

  CXelImgProcess* m_pOwner = nullptr;
  UINT m_DlgOptions = 0;
  UINT m_DlgOptions2 = 0;
  HBRUSH m_hStaticBgBrush = nullptr;
  POINT m_MinTrackSize{};  // window size; 0 leaves the default
  LONG m_WindowWidth = 0;
  LONG m_WindowHeight = 0;

 private:
  void StorePlacement();

  struct Placement {
    UINT ctrlID;
    UINT flags;
    RECT initial;  // in client coordinates, when registered
  };
  std::vector<Placement> m_Placements;
  SIZE m_InitialClient{};
  UINT m_NextFreeCtrlID = 0xA000;

  DECLARE_MESSAGE_MAP()
};
