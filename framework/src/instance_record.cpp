// The framework's instance record: its own helper objects, progress and dialog events.
#include <xelfw/InstanceRecord.h>

#include <xelfw/StatisticsObject.h>
#include <xelfw/UnitConverter.h>

#include <XelImgProcess/XelDialogData.h>

#include <memory>
#include <thread>

namespace xelfw {

namespace {

constexpr UINT kUnitConverterVersion = 1;

UINT HardwareThreads() {
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : n;
}

}  // namespace

InstanceRecord::InstanceRecord(CXelLogger_0* logger, UINT processors)
    : m_pLogger(logger), m_NumProcessors(processors == 0 ? HardwareThreads() : processors) {}

InstanceRecord::~InstanceRecord() {
  // Left over only when an object was not given back; deleting them here keeps the leak bounded.
  for (CXelImgProcess_0* object : m_Objects) delete object;
  for (CXelXIObject_0* object : m_XIObjects) delete static_cast<UnitConverter*>(object);
}

void InstanceRecord::SetNumProcessors(UINT processors) {
  m_NumProcessors = processors == 0 ? HardwareThreads() : processors;
}

CXelImgProcess_0* InstanceRecord::CreateInstance(UINT type) {
  if (type != XIP_OBJTYPE_STATISTICS) return nullptr;
  // Owned until the record holds it, so that running out of memory on the way loses nothing.
  auto object = std::make_unique<StatisticsObject>(this);
  std::lock_guard lock(m_Mutex);
  m_Objects.insert(object.get());
  return object.release();
}

void InstanceRecord::DeleteInstance(CXelImgProcess_0* object) {
  {
    std::lock_guard lock(m_Mutex);
    if (m_Objects.erase(object) == 0) return;
  }
  delete object;
}

CXelXIObject_0* InstanceRecord::CreateInstance_XIObject(UINT type, UINT version) {
  if (type != XI_OBJTYPE_UNIT_CONVERTER || version != kUnitConverterVersion) return nullptr;
  auto object = std::make_unique<UnitConverter>();
  std::lock_guard lock(m_Mutex);
  object->SetCalibration(m_UnitCalibration);
  m_XIObjects.insert(object.get());
  return object.release();
}

void InstanceRecord::SetUnitCalibration(std::optional<TemperatureCalibration> calibration) {
  std::lock_guard lock(m_Mutex);
  m_UnitCalibration = std::move(calibration);
  for (CXelXIObject_0* object : m_XIObjects) static_cast<UnitConverter*>(object)->SetCalibration(m_UnitCalibration);
}

void InstanceRecord::DeleteInstance_XIObject(UINT type, CXelXIObject_0* object) {
  if (type != XI_OBJTYPE_UNIT_CONVERTER) return;
  {
    std::lock_guard lock(m_Mutex);
    if (m_XIObjects.erase(object) == 0) return;
  }
  delete static_cast<UnitConverter*>(object);
}

BOOL InstanceRecord::OnZeroProgress(CXelImgProcess_0* sender) { return m_ZeroProgress ? m_ZeroProgress(sender) : TRUE; }

void InstanceRecord::OnProgress(CXelImgProcess_0* sender, UINT done, UINT total) {
  if (m_Progress) m_Progress(sender, done, total);
}

UINT InstanceRecord::OnDlgEvent(CXelImgProcess_0* sender, UINT event) {
  if (m_DlgEvent) return m_DlgEvent(sender, event);
  return XipDlgEventCode(event) == XIP_DLG_EVENT_CLOSE_REQUEST ? 1 : 0;
}

std::size_t InstanceRecord::LiveObjects() const {
  std::lock_guard lock(m_Mutex);
  return m_Objects.size() + m_XIObjects.size();
}

}  // namespace xelfw
