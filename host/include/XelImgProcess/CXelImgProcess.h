// Base class of every processing object: the framework's services around an object's own work.
//
// Parameters the base answers itself (an object passes identifiers it does not know on to it):
//   17        INI settings. SetParam imports, GetParam exports; value: the INI context
//             (an xelfw::IniContext*), size/extra: XIP_INI_MODE_*. Mode 0 and 1 read/write the
//             host's keys ("HostActive", "HostLogging", "HostUserButton_<dlg>_<button>"), mode 0 and
//             2 the dialog placement ("HostDlgPlacement_<dlg>": four integers, "HostDlgVisible_<dlg>").
//             The object's own keys follow in mode 0. An import that misses a key stores the defaults
//             and returns XIP_E_INCOMPLETE_IMPORT.
//   18        User-button captions. SetParam: value = NUL-terminated text, size = button index
//             (low half) and dialog ID (high half). GetParam: value = button index, extra = char** that
//             receives the caption of dialog 0.
//   20, 21    Switches "active" and "logging", 0 or 1. While logging is 0, m_pLogger is null, so the
//             object's log lines are not written. GetParam: value = UINT* that receives the switch.
//   0x600000  Reserved for an object-defined index: GetParamLimits succeeds and leaves its outputs
//             alone (the object's own limits stand); SetParam and GetParam refuse it.
// Everything else is refused with XIP_E_BADARG.
#pragma once

#include <XelImgProcess/CXelImgProcessInstance_0.h>
#include <XelImgProcess/CXelImgProcess_0.h>
#include <XelImgProcess/CXelLogger_0.h>
#include <XelImgProcess/CXelWorkerThread_0.h>

#include <cstddef>
#include <memory>

class XEL_HOST_API CXelImgProcess : public CXelImgProcess_0 {
 public:
  using CWorkerThread = CXelWorkerThread_0;

  explicit CXelImgProcess(CXelImgProcessInstance_0* instance);
  ~CXelImgProcess() override;
  CXelImgProcess(const CXelImgProcess&) = delete;
  CXelImgProcess& operator=(const CXelImgProcess&) = delete;

  // The base's answers, for objects that do not override an operation.
  UINT GetParamLimits(UINT id, UINT* minValue, UINT* maxValue, UINT* minSize, UINT* maxSize) override;
  UINT SetParam(UINT id, UINT_PTR value, UINT_PTR size) override;
  UINT GetParam(UINT id, UINT_PTR value, UINT_PTR extra) override;
  UINT Process(UINT mode) override;                      // nothing to do: XIP_OK
  void* GetSpecialData(UINT id) override;                // null
  CWorkerThread* CreateWorkerThreadInstance() override;  // null: the object has no workers
  void DeleteWorkerThreadInstance(CWorkerThread* thread) override;
  UINT GetNumMaxLogFields(UINT selector) override;                                        // 0
  UINT GetNumSupportedLogFields(UINT selector) override;                                  // 0
  UINT GetMaxLogFieldWidth(UINT selector, UINT field) override;                           // 0
  UINT GetLogFieldHeadLine(char* buffer, UINT size, UINT selector, UINT field) override;  // empty text
  UINT GetLogFieldContent(char* buffer, UINT size, UINT selector, UINT field) override;   // empty text
  UINT GetNumDialogs() override;                                                          // 0
  UINT IsDialogTypeFlag(UINT dlgID) override;                                             // 0
  // Searches the GetNumDialogs() records at m_pDialogData for the dialog ID; null when none.
  _TXIP_DIALOG_DATA* GetDialogDataByDlgID(UINT dlgID) override;
  CXelImgProcessDlg* CreateDialogObject(UINT dlgID, HWND parent) override;  // null

  UINT SetImages(UINT count, CXelImage_0* const* images) override;
  UINT SetImage(UINT index, CXelImage_0* image) override;
  UINT SetAoi(UINT index, const CXelAoi_0* aoi) override;
  void SetAoiOverride(const CXelAoi_0* aoi) override;
  UINT SetImageAccess(UINT index, UINT_PTR access1, UINT_PTR access2) override;

  // Tells the host of a dialog event (XelDialogData.h); for a close request non-zero means "hide".
  UINT SignalDlgEvent(UINT event);

  // For hosts: the switches of parameters 20 and 21 and the length of the last processing run.
  BOOL IsActive() const;
  BOOL IsLogging() const;
  double GetLastProcessingSeconds() const;

 protected:
  // Null for an index without an image. A valid image also describes a pixel format.
  CXelImage_0* GetImage(UINT index) const;
  CXelImage_0* GetValidImage(UINT index) const;
  // Never null: the AOI set for the index, else one covering the whole image (empty without image).
  const CXelAoi_0* GetAoi(UINT index) const;

  // What GetParamLimits reports for a parameter; Write skips the outputs the caller passed as null.
  struct TParamLimits {
    UINT minValue, maxValue, minSize, maxSize;
    void Write(UINT* pMinValue, UINT* pMaxValue, UINT* pMinSize, UINT* pMaxSize) const;
  };

  void SetStartTimeStamp();
  void SetEndTimeStamp();
  // Sets the start time stamp when made and the end time stamp when it goes, on every way out of a
  // processing run.
  class CScopedTimeStamp {
   public:
    explicit CScopedTimeStamp(CXelImgProcess& object) : m_Object(object) { m_Object.SetStartTimeStamp(); }
    ~CScopedTimeStamp() { m_Object.SetEndTimeStamp(); }
    CScopedTimeStamp(const CScopedTimeStamp&) = delete;
    CScopedTimeStamp& operator=(const CScopedTimeStamp&) = delete;

   private:
    CXelImgProcess& m_Object;
  };

  // A line in the object's log, plain or at the detail level; nothing while logging is off.
  void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void LogDetail(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // FALSE: the host refuses the run.
  BOOL SignalZeroProgress();
  void SignalProgress(UINT done, UINT total);

  void* memcpy(void* target, const void* source, std::size_t bytes);

  // context: the INI context of parameter 17. Import returns TRUE when the key was read and stores
  // the count defaults from def otherwise. Strings: import count is the target's size in bytes,
  // export count 0 (NUL-terminated source).
  BOOL ImportIniData(UINT_PTR context, const char* key, void* target, const void* def, UINT count, TINI_DATA_TYPE type);
  void ExportIniData(UINT_PTR context, const char* key, const void* source, UINT count, TINI_DATA_TYPE type);

  // Makes n workers through CreateWorkerThreadInstance, each with its own pool thread that lives as
  // long as the object; m_NumWorkerThreads tells how many there are.
  void PrepareWorkerThreads(UINT n);
  // Splits rows 0 .. rows - 1 into `threads` contiguous ranges (at most m_NumWorkerThreads), gives
  // each worker its copy of the record and returns when every row is done.
  UINT ExecuteWorkerThreads(UINT threads, UINT rows, const CWorkerThread::CParameter* record);

  CXelImgProcess_0* CreateInstance(UINT type);
  void DeleteInstance(CXelImgProcess_0* object);
  CXelXIObject_0* CreateInstance_XIObject(UINT type, UINT version);
  void DeleteInstance_XIObject(UINT type, CXelXIObject_0* object);

  // Closes and deletes every dialog object recorded in the dialog records.
  void ShutDownDialogs();

  CXelImgProcessInstance_0* const m_pInstance;
  CXelLogger_0* m_pLogger = nullptr;  // null: no logging
  UINT m_NumProcessors = 1;
  UINT m_NumWorkerThreads = 0;
  UINT_PTR m_ImageAccess1[XIP_MAX_IMAGES] = {};  // frame-buffer index of each image
  UINT_PTR m_ImageAccess2[XIP_MAX_IMAGES] = {};  // XI_ACCESS_READ or XI_ACCESS_WRITE
  const CXelAoi_0* m_pAoiOverride = nullptr;
  _TXIP_DIALOG_DATA* m_pDialogData = nullptr;  // the object's records, GetNumDialogs() of them

 private:
  // The host's own keys of parameter 17 for a mode; import: TRUE when every key was read.
  BOOL ImportHostKeys(UINT_PTR context, UINT mode);
  void ExportHostKeys(UINT_PTR context, UINT mode);

  struct State;
  std::unique_ptr<State> m_pState;
};
