// The framework's instance record: what a host lends the objects it creates.
#pragma once

#include <XelImgProcess/CXelImgProcessInstance_0.h>

#include <xelfw/TemperatureCalibration.h>

#include <functional>
#include <mutex>
#include <optional>
#include <set>

namespace xelfw {

// Makes the framework's own objects (statistics object 67, unit converter XI 3) and deletes only
// objects it made. Progress and dialog events go to hooks a host may set; without hooks every run
// may start and every close request hides its dialog. Keep the record alive longer than every object
// made with it; objects still alive when it is destroyed are deleted with it.
class XEL_HOST_API InstanceRecord : public CXelImgProcessInstance_0 {
 public:
  using ZeroProgressHook = std::function<BOOL(CXelImgProcess_0*)>;
  using ProgressHook = std::function<void(CXelImgProcess_0*, UINT done, UINT total)>;
  using DlgEventHook = std::function<UINT(CXelImgProcess_0*, UINT event)>;

  // processors 0: the number of hardware threads.
  explicit InstanceRecord(CXelLogger_0* logger = nullptr, UINT processors = 0);
  virtual ~InstanceRecord();
  InstanceRecord(const InstanceRecord&) = delete;
  InstanceRecord& operator=(const InstanceRecord&) = delete;

  void SetLogger(CXelLogger_0* logger) { m_pLogger = logger; }
  void SetNumProcessors(UINT processors);
  void SetZeroProgressHook(ZeroProgressHook hook) { m_ZeroProgress = std::move(hook); }
  void SetProgressHook(ProgressHook hook) { m_Progress = std::move(hook); }
  void SetDlgEventHook(DlgEventHook hook) { m_DlgEvent = std::move(hook); }
  // Puts every unit converter made with this record, now and later, into the calibrated mode (or
  // back into the linear one), so that the objects' dialogs speak the temperature object's unit.
  void SetUnitCalibration(std::optional<TemperatureCalibration> calibration);

  CXelLogger_0* GetLogger() override { return m_pLogger; }
  UINT GetNumProcessors() override { return m_NumProcessors; }
  CXelImgProcess_0* CreateInstance(UINT type) override;
  void DeleteInstance(CXelImgProcess_0* object) override;
  CXelXIObject_0* CreateInstance_XIObject(UINT type, UINT version) override;
  void DeleteInstance_XIObject(UINT type, CXelXIObject_0* object) override;
  BOOL OnZeroProgress(CXelImgProcess_0* sender) override;
  void OnProgress(CXelImgProcess_0* sender, UINT done, UINT total) override;
  UINT OnDlgEvent(CXelImgProcess_0* sender, UINT event) override;

  // Objects made and not yet deleted, for hosts that check for leaks.
  std::size_t LiveObjects() const;

 private:
  CXelLogger_0* m_pLogger;
  UINT m_NumProcessors;
  ZeroProgressHook m_ZeroProgress;
  ProgressHook m_Progress;
  DlgEventHook m_DlgEvent;
  mutable std::mutex m_Mutex;
  std::set<CXelImgProcess_0*> m_Objects;
  std::set<CXelXIObject_0*> m_XIObjects;
  std::optional<TemperatureCalibration> m_UnitCalibration;
};

}  // namespace xelfw
