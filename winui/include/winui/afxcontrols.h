// MFC's control classes: each holds its window handle and turns member calls into the control's
// messages, so that dialog code reads as it does against MFC.
#pragma once

#include <winui/afxwin.h>
#include <winui/controls.h>

#include <string>

class CStatic : public CWnd {
 public:
  using CWnd::Create;
  BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF) {
    return CWnd::Create(WC_STATIC, text, style, rect, parent, id);
  }
  HICON SetIcon(HICON icon) {
    return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon), 0));
  }
  HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON, 0, 0)); }
};

class CButton : public CWnd {
 public:
  using CWnd::Create;
  BOOL Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_BUTTON, caption, style, rect, parent, id);
  }
  int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK, 0, 0)); }
  void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check), 0); }
  UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE, 0, 0)); }
  void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, static_cast<WPARAM>(highlight), 0); }
  UINT GetButtonStyle() const { return static_cast<UINT>(GetStyle() & 0xFFFF); }
  void SetButtonStyle(UINT style, BOOL redraw = TRUE) {
    SendMessage(BM_SETSTYLE, style, MAKELPARAM(static_cast<WORD>(redraw), 0));
  }
};

class CEdit : public CWnd {
 public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_EDIT, nullptr, style, rect, parent, id);
  }
  // Windows' convention: a start of -1 removes the selection, an end of -1 means the end of the text.
  void SetSel(int start, int end, [[maybe_unused]] BOOL noScroll = FALSE) {
    SendMessage(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
  }
  void GetSel(int& start, int& end) const {
    DWORD s = 0;
    DWORD e = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
  }
  DWORD GetSel() const { return static_cast<DWORD>(SendMessage(EM_GETSEL, 0, 0)); }
  void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE) {
    SendMessage(EM_REPLACESEL, static_cast<WPARAM>(canUndo), reinterpret_cast<LPARAM>(text));
  }
  void LimitText(int maxChars = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0); }
  void SetLimitText(UINT maxChars) { SendMessage(EM_SETLIMITTEXT, maxChars, 0); }
  UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT, 0, 0)); }
  BOOL SetReadOnly(BOOL readOnly = TRUE) {
    return static_cast<BOOL>(SendMessage(EM_SETREADONLY, static_cast<WPARAM>(readOnly), 0));
  }
  BOOL GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY, 0, 0)); }
  void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, static_cast<WPARAM>(modified), 0); }
};

class CComboBox : public CWnd {
 public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_COMBOBOX, nullptr, style, rect, parent, id);
  }
  int AddString(LPCSTR text) { return Int(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
  int InsertString(int index, LPCSTR text) {
    return Int(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
  }
  int DeleteString(UINT index) { return Int(SendMessage(CB_DELETESTRING, index, 0)); }
  void ResetContent() { SendMessage(CB_RESETCONTENT, 0, 0); }
  int GetCount() const { return Int(SendMessage(CB_GETCOUNT, 0, 0)); }
  int GetCurSel() const { return Int(SendMessage(CB_GETCURSEL, 0, 0)); }
  int SetCurSel(int index) { return Int(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index), 0)); }
  // `buffer` must hold GetLBTextLen(index) + 1 characters.
  int GetLBText(int index, LPSTR buffer) const {
    return Int(SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
  }
  void GetLBText(int index, std::string& text) const {
    const int length = GetLBTextLen(index);
    if (length < 0) {
      text.clear();
      return;
    }
    text.assign(static_cast<std::size_t>(length) + 1, '\0');
    GetLBText(index, text.data());
    text.resize(static_cast<std::size_t>(length));
  }
  int GetLBTextLen(int index) const { return Int(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0)); }
  int SetItemData(int index, DWORD_PTR data) {
    return Int(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
  }
  DWORD_PTR GetItemData(int index) const {
    return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
  }
  // Searches start after `startAfter` (-1: from the top) and wrap around; case is ignored.
  int FindString(int startAfter, LPCSTR prefix) const {
    return Int(SendMessage(CB_FINDSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(prefix)));
  }
  int FindStringExact(int startAfter, LPCSTR text) const {
    return Int(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
  }
  int SelectString(int startAfter, LPCSTR prefix) {
    return Int(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(prefix)));
  }
  void ShowDropDown(BOOL show = TRUE) { SendMessage(CB_SHOWDROPDOWN, static_cast<WPARAM>(show), 0); }
  BOOL GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE, 0, 0)); }

 private:
  static int Int(LRESULT result) { return static_cast<int>(result); }
};
