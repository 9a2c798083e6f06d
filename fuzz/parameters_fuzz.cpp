// Random sequences of parameter calls on either object, then a frame. Whatever a host passes, every
// call answers with a result code, a refused SetParam leaves every setting as it was, the limits an
// object reports are the ones its SetParam applies, and a frame on good images still succeeds.
#include "fuzz/hostile_settings.h"

#include <xelfw/Image.h>
#include <xelfw/IniStore.h>
#include <xelfw/ProcessingHost.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

constexpr UINT kParamSettings = 12;
constexpr UINT kParamSliderSteps = 13;
constexpr UINT kKnownIds[] = {
    kParamSettings,          kParamSliderSteps,        XIP_PARAM_INI,         XIP_PARAM_USER_BUTTON_TEXT,
    XIP_PARAM_SWITCH_ACTIVE, XIP_PARAM_SWITCH_LOGGING, XIP_PARAM_OBJECT_INDEX};
constexpr std::size_t kMaxCalls = 16;
// Every setting a parameter call could change: the settings record, the slider steps, the profile,
// the switches and the captions, and for an INI import also what the objects export.
std::string Fingerprint(CXelImgProcess_0& object, bool withExport) {
  std::string text;
  const auto append = [&text](const void* bytes, std::size_t n) { text.append(static_cast<const char*>(bytes), n); };
  std::array<BYTE, fuzz::kSettingsBytes> record{};
  if (object.GetParam(12, reinterpret_cast<UINT_PTR>(record.data()), record.size()) == XIP_OK) {
    // Bytes 60..63 and 76..79 are alignment the object need not keep.
    append(record.data(), 60);
    append(record.data() + 64, 12);
    append(record.data() + 80, fuzz::kSettingsBytes - 80);
  }
  for (UINT id : {13u, XIP_PARAM_OBJECT_INDEX, XIP_PARAM_SWITCH_ACTIVE, XIP_PARAM_SWITCH_LOGGING}) {
    UINT word = 0xDEADBEEF;
    const UINT result = object.GetParam(id, reinterpret_cast<UINT_PTR>(&word), id == 13 ? sizeof word : 0);
    append(&result, sizeof result);
    append(&word, sizeof word);
  }
  for (UINT button = 0; button < 2; ++button) {
    const char* caption = nullptr;
    if (object.GetParam(XIP_PARAM_USER_BUTTON_TEXT, button, reinterpret_cast<UINT_PTR>(&caption)) == XIP_OK)
      text += caption;
    text += '\0';
  }
  if (withExport) {
    xelfw::IniStore store;
    xelfw::IniContext context(store, "S");
    if (object.GetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL) != XIP_OK) std::abort();
    text += store.ToText();
  }
  return text;
}

class Session {
 public:
  Session(xelfw::ProcessingHost& host, fuzz::Input& in) : m_Object(host.Object()), m_In(in) {}

  void Call() {
    const UINT id = TakeId();
    switch (m_In.Pick(3)) {
      case 0:
        Limits(id);
        break;
      case 1:
        Set(id);
        break;
      default:
        Get(id);
        break;
    }
  }

 private:
  UINT TakeId() {
    const UINT pick = m_In.Pick(std::size(kKnownIds) + 1);
    return pick < std::size(kKnownIds) ? kKnownIds[pick] : m_In.Take<UINT>();
  }

  // A pointer to bytes of the input, a small number, or null: what the identifier reads decides
  // which one a host could pass at all.
  UINT_PTR TakeBuffer(std::size_t size) {
    m_Buffers.emplace_back(size);
    for (BYTE& b : m_Buffers.back()) b = m_In.Take<BYTE>();
    return reinterpret_cast<UINT_PTR>(m_Buffers.back().data());
  }
  std::size_t TakeSize() {
    const UINT pick = m_In.Pick(4);
    return pick == 0 ? fuzz::kSettingsBytes : pick == 1 ? sizeof(UINT) : m_In.Pick(160);
  }

  void Limits(UINT id) {
    UINT outputs[4];
    UINT* pointers[4];
    for (std::size_t i = 0; i < 4; ++i) pointers[i] = m_In.Pick(4) == 0 ? nullptr : &outputs[i];
    const UINT result = m_Object.GetParamLimits(id, pointers[0], pointers[1], pointers[2], pointers[3]);
    if (result != XIP_OK && result != XIP_E_BADARG) std::abort();
  }

  void Set(UINT id) {
    const std::string before = Fingerprint(m_Object, id == XIP_PARAM_INI);
    UINT_PTR value = 0, size = 0;
    switch (id) {
      case kParamSettings:
      case kParamSliderSteps: {
        if (m_In.Pick(8) == 0) break;  // null: the defaults for 12, refused for 13
        if (id == kParamSettings && m_In.Pick(2) == 0) {
          m_Buffers.push_back(fuzz::TakeSettingsRecord(m_In));
          value = reinterpret_cast<UINT_PTR>(m_Buffers.back().data());
          size = fuzz::kSettingsBytes;
        } else {
          size = TakeSize();
          value = TakeBuffer(size);
        }
        break;
      }
      case XIP_PARAM_INI:
        value = m_In.Pick(8) == 0 ? 0 : IniContextHandle();
        size = m_In.Pick(4);
        break;
      case XIP_PARAM_USER_BUTTON_TEXT: {
        std::string& caption = m_Texts.emplace_back(m_In.Pick(12), 'A' + static_cast<char>(m_In.Pick(26)));
        value = m_In.Pick(8) == 0 ? 0 : reinterpret_cast<UINT_PTR>(caption.c_str());
        size = (m_In.Pick(3) << 16) | m_In.Pick(4);
        break;
      }
      case XIP_PARAM_SWITCH_ACTIVE:
      case XIP_PARAM_SWITCH_LOGGING:
      case XIP_PARAM_OBJECT_INDEX:
        value = m_In.Pick(4) == 0 ? m_In.Take<UINT>() : m_In.Pick(7);
        size = m_In.Take<UINT>();
        break;
      default:
        size = m_In.Pick(64);
        value = m_In.Pick(4) == 0 ? 0 : TakeBuffer(size);
        break;
    }
    UINT lo = 0, hi = 0, loSize = 0, hiSize = 0;
    const bool hasLimits = m_Object.GetParamLimits(id, &lo, &hi, &loSize, &hiSize) == XIP_OK;
    const UINT result = m_Object.SetParam(id, value, size);
    if (result != XIP_OK && result != XIP_E_BADARG && result != XIP_E_INCOMPLETE_IMPORT) std::abort();
    if (result == XIP_E_BADARG && Fingerprint(m_Object, id == XIP_PARAM_INI) != before) std::abort();
    CheckAgainstLimits(id, value, size, result, hasLimits, lo, hi, loSize, hiSize);
    if (id == kParamSettings && value != 0 && result == XIP_OK) CheckStoredAsGiven(value);
  }

  // NaN, infinities and huge values are kept as the host gave them; only their use is guarded.
  void CheckStoredAsGiven(UINT_PTR given) const {
    std::array<BYTE, fuzz::kSettingsBytes> record{};
    if (m_Object.GetParam(kParamSettings, reinterpret_cast<UINT_PTR>(record.data()), record.size()) != XIP_OK)
      std::abort();
    const BYTE* expected = reinterpret_cast<const BYTE*>(given);
    if (std::memcmp(record.data(), expected, 60) != 0 || std::memcmp(record.data() + 64, expected + 64, 12) != 0 ||
        std::memcmp(record.data() + 80, expected + 80, fuzz::kSettingsBytes - 80) != 0)
      std::abort();
  }

  // The sizes a pointer parameter accepts and the values a by-value switch or index accepts are the
  // ones its limits name. The temperature object's switch limits are the host's own and not
  // applied by it, so only the pseudo-colour object is held to them.
  void CheckAgainstLimits(UINT id, UINT_PTR value, UINT_PTR size, UINT result, bool hasLimits, UINT lo, UINT hi,
                          UINT loSize, UINT hiSize) const {
    if (!hasLimits || m_Object.GetObjType() != XIP_OBJTYPE_PSEUDOCOLOR_LUT) return;
    const bool accepted = result == XIP_OK;
    if ((id == kParamSliderSteps || id == kParamSettings) && value != 0) {
      if (accepted != (size >= loSize && size <= hiSize)) std::abort();
    } else if (id == XIP_PARAM_SWITCH_ACTIVE || id == XIP_PARAM_SWITCH_LOGGING || id == XIP_PARAM_OBJECT_INDEX) {
      if (accepted != (value >= lo && value <= hi)) std::abort();
    }
  }

  void Get(UINT id) {
    UINT_PTR value = 0, extra = 0;
    switch (id) {
      case kParamSettings:
      case kParamSliderSteps:
        extra = TakeSize();
        value = m_In.Pick(8) == 0 ? 0 : TakeBuffer(extra);
        break;
      case XIP_PARAM_INI:
        value = m_In.Pick(8) == 0 ? 0 : IniContextHandle();
        extra = m_In.Pick(4);
        break;
      case XIP_PARAM_USER_BUTTON_TEXT:
        value = m_In.Pick(4) == 0 ? m_In.Take<UINT>() : m_In.Pick(3);
        extra = m_In.Pick(4) == 0 ? 0 : TakeBuffer(sizeof(const char*));
        break;
      case XIP_PARAM_SWITCH_ACTIVE:
      case XIP_PARAM_SWITCH_LOGGING:
      case XIP_PARAM_OBJECT_INDEX:
        value = m_In.Pick(4) == 0 ? 0 : TakeBuffer(sizeof(UINT));
        extra = m_In.Pick(2) == 0 ? 0 : TakeBuffer(sizeof(UINT));
        break;
      default:
        extra = m_In.Pick(64);
        value = m_In.Pick(4) == 0 ? 0 : TakeBuffer(extra);
        break;
    }
    const UINT result = m_Object.GetParam(id, value, extra);
    if (result != XIP_OK && result != XIP_E_BADARG) std::abort();
    if (id == XIP_PARAM_USER_BUTTON_TEXT && result == XIP_OK) {
      const char* caption = nullptr;
      std::memcpy(&caption, reinterpret_cast<const void*>(extra), sizeof caption);
      if (caption == nullptr || std::strlen(caption) > 4096) std::abort();
    }
  }

  UINT_PTR IniContextHandle() {
    xelfw::IniStore& store = m_Stores.emplace_back();
    fuzz::FillHostileIni(store, "S", m_In);
    return m_Contexts.emplace_back(store, "S").Handle();
  }

  CXelImgProcess_0& m_Object;
  fuzz::Input& m_In;
  // Storage the object may keep pointers into until the session ends (captions, contexts).
  std::deque<std::vector<BYTE>> m_Buffers;
  std::deque<std::string> m_Texts;
  std::deque<xelfw::IniStore> m_Stores;
  std::deque<xelfw::IniContext> m_Contexts;
};

void CheckLogFields(CXelImgProcess_0& object) {
  for (UINT field = 0; field < 2; ++field) {
    char text[64];
    const UINT length = object.GetLogFieldContent(text, sizeof text, 0, field);
    if (length >= sizeof text || text[length] != '\0') std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static xelfw::PluginLibrary library(XEL_PLUGIN_PATH);
  fuzz::Input in(data, size);
  const bool pseudoColor = in.Pick(2) == 0;
  xelfw::ProcessingHost host(library, pseudoColor ? XIP_OBJTYPE_PSEUDOCOLOR_LUT : XIP_OBJTYPE_TEMPERATURE_DISPLAY);
  {
    Session session(host, in);
    for (std::size_t call = 0; call < kMaxCalls && !in.Empty(); ++call) session.Call();
  }

  // Switched inactive, the frame is skipped; switch it back so that the settings meet a frame.
  host.Object().SetParam(XIP_PARAM_SWITCH_ACTIVE, 1, 0);
  // Eight bits keep the table small: the settings, not the depth, are what this target varies.
  xelfw::Image source(4, 3, xelfw::PixelLayout::Grey(8, 16));
  for (UINT y = 0; y < 3; ++y)
    for (UINT x = 0; x < 4; ++x) source.SetComponent(x, y, 0, (x * 85 + y * 31) & 0xFF);
  xelfw::Image destination(4, 3, xelfw::PixelLayout::Colour(8, 3));
  host.SetSource(&source);
  if (pseudoColor) host.SetDestination(&destination);
  if (host.Process() != XIP_OK) std::abort();
  if (!pseudoColor) CheckLogFields(host.Object());
  return 0;
}
