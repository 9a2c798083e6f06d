// Loads a plug-in library and resolves its five exports.
#pragma once

#include <XelImgProcess/XelPluginExports.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace xelfw {

class XEL_HOST_API PluginError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One loaded library; unloading happens when the last owner goes away, so delete every object the
// library made before that.
class XEL_HOST_API PluginLibrary {
 public:
  // Throws PluginError naming the path and the missing library or export.
  explicit PluginLibrary(const std::filesystem::path& path);
  ~PluginLibrary();
  PluginLibrary(PluginLibrary&& other) noexcept;
  PluginLibrary& operator=(PluginLibrary&& other) noexcept;
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  const std::filesystem::path& Path() const { return m_Path; }

  UINT GetNumObj() const { return m_GetNumObj(); }
  UINT GetObjType(UINT index) const { return m_GetObjType(index); }
  const char* GetObjInfo(UINT type, UINT info) const { return m_GetObjInfo(type, info); }
  CXelImgProcess_0* CreateInstance(UINT type, CXelImgProcessInstance_0* record) const {
    return m_CreateInstance(type, record);
  }
  void DeleteInstance(CXelImgProcess_0* object) const { m_DeleteInstance(object); }

 private:
  void* Resolve(const char* name) const;

  std::filesystem::path m_Path;
  void* m_Handle = nullptr;
  PFN_XelImgProcessGetNumObj m_GetNumObj = nullptr;
  PFN_XelImgProcessGetObjType m_GetObjType = nullptr;
  PFN_XelImgProcessGetObjInfo m_GetObjInfo = nullptr;
  PFN_XelImgProcessCreateInstance m_CreateInstance = nullptr;
  PFN_XelImgProcessDeleteInstance m_DeleteInstance = nullptr;
};

}  // namespace xelfw
