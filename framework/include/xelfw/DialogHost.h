// The host's side of a processing object's dialogs: it asks the object's catalogue for them, makes
// and places their windows, shows and hides them, and destroys them again.
//
// Contract:
// - One DialogHost per object whose dialogs a host shows; the object outlives it. Every call comes
//   from the GUI thread, which must pump its messages for refreshes and input to arrive. Processing
//   threads talk to an open dialog only through its UpdateDialogDisplay, which the object calls with
//   the pointer in its record. Open, CloseAll and the destructor write that pointer (CloseAll also
//   deletes the dialog), so a host calls them between processing runs, never during one.
// - The host keeps nothing of its own: the dialog pointer lives in the object's dialog record while
//   the dialog exists, so the object's own shutdown (when it is deleted) and CloseAll here tear down
//   the same dialogs the same way, whichever comes first, and never twice.
// - Dialog IDs are the object's: 0 .. Count() - 1 for the objects of this product.
// - The dialog objects the catalogue makes belong to the host; the host deletes them in CloseAll
//   (or the object does in its shutdown). Windows go first, then the dialog objects, so that a
//   window closing may still reach a sibling dialog.
#pragma once

#include <XelImgProcess/CXelImgProcessDlg.h>
#include <XelImgProcess/CXelImgProcess_0.h>
#include <XelImgProcess/XelDialogData.h>

namespace xelfw {

class XEL_HOST_API DialogHost {
 public:
  explicit DialogHost(CXelImgProcess_0& object);
  ~DialogHost();  // CloseAll()
  DialogHost(const DialogHost&) = delete;
  DialogHost& operator=(const DialogHost&) = delete;

  // The catalogue: GetNumDialogs, IsDialogTypeFlag, GetDialogDataByDlgID (null for an unknown ID).
  UINT Count() const;
  bool IsTypeFlag(UINT dlgID) const;
  const _TXIP_DIALOG_DATA* Record(UINT dlgID) const;

  // Makes the dialog (CreateDialogObject with parent, owner set, pointer stored in its record),
  // creates its window as a child of parent's framework window and shows it. Position: where the
  // record says it was last when it holds a placement, else `placement` when given, else where the
  // dialog's template puts it; a dialog that is not resizable keeps its own size either way.
  // A dialog that is already open is shown and returned as it is. Null when the object has no such
  // dialog, is not built on the framework's base, or the dialog or its window cannot be made.
  CXelImgProcessDlg* Open(UINT dlgID, HWND parent = nullptr, const RECT* placement = nullptr);
  // The open dialog of that ID, null when it is not open.
  CXelImgProcessDlg* Dialog(UINT dlgID) const;

  // No effect on a dialog that is not open. All three keep the record's Visible word up to date.
  void Show(UINT dlgID);
  void Hide(UINT dlgID);
  // What the close box does (WM_CLOSE): the dialog decides, it hides itself or asks its owner first.
  void Close(UINT dlgID);

  // Destroys every open dialog of the object: all windows (each keeps its placement in its record),
  // then all dialog objects; the records no longer point to them.
  void CloseAll();

 private:
  _TXIP_DIALOG_DATA* MutableRecord(UINT dlgID) const;
  void RememberVisibility(UINT dlgID);

  CXelImgProcess_0& m_Object;
};

}  // namespace xelfw
