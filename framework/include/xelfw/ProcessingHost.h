// Sets up one processing object of a plug-in the way a host does: record, logger, images, AOIs.
#pragma once

#include <xelfw/Aoi.h>
#include <xelfw/Image.h>
#include <xelfw/InstanceRecord.h>
#include <xelfw/Logger.h>
#include <xelfw/PluginLoader.h>

#include <memory>

namespace xelfw {

struct HostOptions {
  UINT processors = 1;             // 0: the number of hardware threads; 2 or more gives the object workers
  CXelLogger_0* logger = nullptr;  // not owned; null: the object does not log
};

// Owns the instance record and the object; images and AOIs handed to it stay the caller's and must
// outlive their use. The library must outlive the host.
class XEL_HOST_API ProcessingHost {
 public:
  // Throws PluginError when the library makes no object of the type.
  ProcessingHost(const PluginLibrary& library, UINT type, const HostOptions& options = {});
  ~ProcessingHost();
  ProcessingHost(const ProcessingHost&) = delete;
  ProcessingHost& operator=(const ProcessingHost&) = delete;

  CXelImgProcess_0& Object() const { return *m_pObject; }
  InstanceRecord& Record() { return m_Record; }

  void SetSource(CXelImage_0* image, const CXelAoi_0* aoi = nullptr);
  void SetDestination(CXelImage_0* image, const CXelAoi_0* aoi = nullptr);
  // An object switched inactive (parameter 20 = 0) is skipped: XIP_OK without a run.
  UINT Process(UINT mode = 0);

 private:
  const PluginLibrary& m_Library;
  InstanceRecord m_Record;
  CXelImgProcess_0* m_pObject = nullptr;
};

}  // namespace xelfw
