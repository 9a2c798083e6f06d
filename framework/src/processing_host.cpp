// A host's set-up of one plug-in object.
#include <xelfw/ProcessingHost.h>

#include <XelImgProcess/CXelImgProcess.h>

#include <string>

namespace xelfw {

ProcessingHost::ProcessingHost(const PluginLibrary& library, UINT type, const HostOptions& options)
    : m_Library(library), m_Record(options.logger, options.processors) {
  m_pObject = m_Library.CreateInstance(type, &m_Record);
  if (m_pObject == nullptr) {
    throw PluginError("plug-in '" + m_Library.Path().string() + "' makes no object of type " + std::to_string(type));
  }
}

ProcessingHost::~ProcessingHost() { m_Library.DeleteInstance(m_pObject); }

UINT ProcessingHost::Process(UINT mode) {
  const auto* base = dynamic_cast<const CXelImgProcess*>(m_pObject);
  if (base != nullptr && !base->IsActive()) return XIP_OK;
  return m_pObject->Process(mode);
}

void ProcessingHost::SetSource(CXelImage_0* image, const CXelAoi_0* aoi) {
  m_pObject->SetImage(0, image);
  m_pObject->SetAoi(0, aoi);
}

void ProcessingHost::SetDestination(CXelImage_0* image, const CXelAoi_0* aoi) {
  m_pObject->SetImage(1, image);
  m_pObject->SetAoi(1, aoi);
}

}  // namespace xelfw
