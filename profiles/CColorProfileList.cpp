#include "profiles/CColorProfileList.h"

#include "profiles/color_profiles.h"

CColorProfileList::CColorProfileList() {
  m_Profiles.reserve(5);
  m_Profiles.push_back(std::make_unique<CColorProfileBlackBlueGreenYellowRedWhite>());
  m_Profiles.push_back(std::make_unique<CColorProfileGreyWedge>());
  m_Profiles.push_back(std::make_unique<CColorProfileBlackBluePurpleRedOrangeYellowWhite>());
  m_Profiles.push_back(std::make_unique<CColorProfileBlackGreenRedWhite>());
  m_Profiles.push_back(std::make_unique<CColorProfileClipDetect>());
}
