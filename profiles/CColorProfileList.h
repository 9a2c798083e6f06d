// The five profiles in their fixed order (the order gives the meaning of the profile index) and the
// index of the current one.
#pragma once

#include "profiles/CColorProfile_0.h"

#include <XelImgProcess/XelTypes.h>

#include <memory>
#include <vector>

class CColorProfileList {
 public:
  CColorProfileList();
  CColorProfileList(const CColorProfileList&) = delete;
  CColorProfileList& operator=(const CColorProfileList&) = delete;

  UINT GetNumProfiles() const { return static_cast<UINT>(m_Profiles.size()); }
  // Lookups do not check the index: callers pass only indices below GetNumProfiles().
  CColorProfile_0* GetProfile(UINT index) const { return m_Profiles[index].get(); }
  CColorProfile_0* GetCurrentProfile() const { return GetProfile(m_CurrentIndex); }
  UINT GetCurrentIndex() const { return m_CurrentIndex; }
  void SetCurrentIndex(UINT index) { m_CurrentIndex = index; }

 private:
  std::vector<std::unique_ptr<CColorProfile_0>> m_Profiles;
  UINT m_CurrentIndex = 0;
};
