// A library that offers the catalogue but not the means to delete what it makes.
#include <XelImgProcess/XelPluginExports.h>

extern "C" {
UINT XelImgProcessGetNumObj() { return 0; }
UINT XelImgProcessGetObjType(UINT) { return 0; }
const char* XelImgProcessGetObjInfo(UINT, UINT) { return nullptr; }
CXelImgProcess_0* XelImgProcessCreateInstance(UINT, CXelImgProcessInstance_0*) { return nullptr; }
}
