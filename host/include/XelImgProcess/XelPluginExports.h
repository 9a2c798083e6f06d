// The five functions every plug-in library exports, by their undecorated names.
#pragma once

#include <XelImgProcess/CXelImgProcessInstance_0.h>
#include <XelImgProcess/CXelImgProcess_0.h>

extern "C" {
using PFN_XelImgProcessGetNumObj = UINT (*)();
using PFN_XelImgProcessGetObjType = UINT (*)(UINT index);
using PFN_XelImgProcessGetObjInfo = const char* (*)(UINT type, UINT info);
using PFN_XelImgProcessCreateInstance = CXelImgProcess_0* (*)(UINT type, CXelImgProcessInstance_0* record);
using PFN_XelImgProcessDeleteInstance = void (*)(CXelImgProcess_0* object);

// A plug-in defines these; the declarations give them default visibility so that a library built
// with hidden symbols still exports them.
XEL_HOST_API UINT XelImgProcessGetNumObj();
XEL_HOST_API UINT XelImgProcessGetObjType(UINT index);
XEL_HOST_API const char* XelImgProcessGetObjInfo(UINT type, UINT info);
XEL_HOST_API CXelImgProcess_0* XelImgProcessCreateInstance(UINT type, CXelImgProcessInstance_0* record);
XEL_HOST_API void XelImgProcessDeleteInstance(CXelImgProcess_0* object);
}

inline constexpr const char* XEL_EXPORT_GET_NUM_OBJ = "XelImgProcessGetNumObj";
inline constexpr const char* XEL_EXPORT_GET_OBJ_TYPE = "XelImgProcessGetObjType";
inline constexpr const char* XEL_EXPORT_GET_OBJ_INFO = "XelImgProcessGetObjInfo";
inline constexpr const char* XEL_EXPORT_CREATE_INSTANCE = "XelImgProcessCreateInstance";
inline constexpr const char* XEL_EXPORT_DELETE_INSTANCE = "XelImgProcessDeleteInstance";
