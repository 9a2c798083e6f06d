// A minimal plug-in: one object type (200) whose Process reports the width of image 0's AOI as its
// special data, enough to drive the loader and the processing host.
#include <XelImgProcess/CXelImgProcess.h>
#include <XelImgProcess/XelPluginExports.h>

namespace {

constexpr UINT kType = 200;

class WidthObject final : public CXelImgProcess {
 public:
  using CXelImgProcess::CXelImgProcess;
  _EXIP_OBJTYPE GetObjType() const override { return static_cast<_EXIP_OBJTYPE>(kType); }
  UINT Process(UINT) override {
    const CXelImage_0* image = GetValidImage(0);
    if (image == nullptr) return XIP_E_NOIMAGE;
    m_Width = image->GetAoiWidth(GetAoi(0));
    return XIP_OK;
  }
  void* GetSpecialData(UINT) override { return &m_Width; }

 private:
  UINT m_Width = 0;
};

}  // namespace

extern "C" {
UINT XelImgProcessGetNumObj() { return 1; }
UINT XelImgProcessGetObjType(UINT index) { return index == 0 ? kType : 0; }
const char* XelImgProcessGetObjInfo(UINT type, UINT info) { return type == kType && info == 0 ? "Counter" : nullptr; }
CXelImgProcess_0* XelImgProcessCreateInstance(UINT type, CXelImgProcessInstance_0* record) {
  return type == kType ? new WidthObject(record) : nullptr;
}
void XelImgProcessDeleteInstance(CXelImgProcess_0* object) {
  if (object != nullptr && object->GetObjType() == kType) delete object;
}
}
