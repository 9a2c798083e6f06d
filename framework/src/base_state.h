// What the processing-object base keeps behind its public members.
#pragma once

#include <XelImgProcess/CXelImgProcess.h>
#include <xelfw/Aoi.h>
#include <xelfw/WorkerPool.h>

#include <chrono>
#include <memory>
#include <vector>

struct CXelImgProcess::State {
  CXelImage_0* images[XIP_MAX_IMAGES] = {};
  const CXelAoi_0* aois[XIP_MAX_IMAGES] = {};
  xelfw::Aoi fullImageAois[XIP_MAX_IMAGES];  // what GetAoi hands out for an index without an AOI
  CXelLogger_0* hostLogger = nullptr;        // m_pLogger while the logging switch is on
  BOOL active = TRUE;
  BOOL logging = TRUE;
  std::chrono::steady_clock::time_point start{};
  double lastSeconds = 0.0;
  std::vector<CXelImgProcess::CWorkerThread*> workers;
  std::unique_ptr<xelfw::WorkerPool> pool;
};
