// dlopen of a plug-in library and resolution of its exports.
#include <xelfw/PluginLoader.h>

#include <dlfcn.h>

#include <utility>

namespace xelfw {

PluginLibrary::PluginLibrary(const std::filesystem::path& path) : m_Path(path) {
  // RTLD_NOW: a library with an unresolved symbol fails here, not in the middle of a frame.
  m_Handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (m_Handle == nullptr) {
    const char* reason = ::dlerror();
    throw PluginError("cannot load plug-in '" + path.string() + "': " + (reason != nullptr ? reason : "unknown error"));
  }
  try {
    m_GetNumObj = reinterpret_cast<PFN_XelImgProcessGetNumObj>(Resolve(XEL_EXPORT_GET_NUM_OBJ));
    m_GetObjType = reinterpret_cast<PFN_XelImgProcessGetObjType>(Resolve(XEL_EXPORT_GET_OBJ_TYPE));
    m_GetObjInfo = reinterpret_cast<PFN_XelImgProcessGetObjInfo>(Resolve(XEL_EXPORT_GET_OBJ_INFO));
    m_CreateInstance = reinterpret_cast<PFN_XelImgProcessCreateInstance>(Resolve(XEL_EXPORT_CREATE_INSTANCE));
    m_DeleteInstance = reinterpret_cast<PFN_XelImgProcessDeleteInstance>(Resolve(XEL_EXPORT_DELETE_INSTANCE));
  } catch (...) {
    ::dlclose(m_Handle);
    throw;
  }
}

PluginLibrary::~PluginLibrary() {
  if (m_Handle != nullptr) ::dlclose(m_Handle);
}

PluginLibrary::PluginLibrary(PluginLibrary&& other) noexcept
    : m_Path(std::move(other.m_Path)),
      m_Handle(std::exchange(other.m_Handle, nullptr)),
      m_GetNumObj(other.m_GetNumObj),
      m_GetObjType(other.m_GetObjType),
      m_GetObjInfo(other.m_GetObjInfo),
      m_CreateInstance(other.m_CreateInstance),
      m_DeleteInstance(other.m_DeleteInstance) {}

PluginLibrary& PluginLibrary::operator=(PluginLibrary&& other) noexcept {
  if (this != &other) {
    if (m_Handle != nullptr) ::dlclose(m_Handle);
    m_Path = std::move(other.m_Path);
    m_Handle = std::exchange(other.m_Handle, nullptr);
    m_GetNumObj = other.m_GetNumObj;
    m_GetObjType = other.m_GetObjType;
    m_GetObjInfo = other.m_GetObjInfo;
    m_CreateInstance = other.m_CreateInstance;
    m_DeleteInstance = other.m_DeleteInstance;
  }
  return *this;
}

void* PluginLibrary::Resolve(const char* name) const {
  ::dlerror();
  void* symbol = ::dlsym(m_Handle, name);
  if (symbol == nullptr) {
    throw PluginError("plug-in '" + m_Path.string() + "' does not export " + name);
  }
  return symbol;
}

}  // namespace xelfw
