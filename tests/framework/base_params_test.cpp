// What every object gets from its base: typed INI data, the host's parameters, images and AOIs,
// progress and dialog events through the instance record.
#include <XelImgProcess/CXelImgProcess.h>
#include <xelfw/Aoi.h>
#include <xelfw/Image.h>
#include <xelfw/IniStore.h>
#include <xelfw/InstanceRecord.h>
#include <xelfw/Logger.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// An object with one dialog of two user buttons, the way plug-in objects describe theirs.
class PlainObject final : public CXelImgProcess {
 public:
  explicit PlainObject(CXelImgProcessInstance_0* record) : CXelImgProcess(record) {
    m_Dialog.DlgID = 0;
    m_Dialog.NumUserButtons = 2;
    m_Dialog.ppUserButtonTexts = m_ButtonPtrs;
    m_pDialogData = &m_Dialog;
  }
  _EXIP_OBJTYPE GetObjType() const override { return XIP_OBJTYPE_NONE; }
  UINT GetNumDialogs() override { return 1; }

  using CXelImgProcess::ExportIniData;
  using CXelImgProcess::GetAoi;
  using CXelImgProcess::GetImage;
  using CXelImgProcess::GetValidImage;
  using CXelImgProcess::ImportIniData;
  using CXelImgProcess::SignalProgress;
  using CXelImgProcess::SignalZeroProgress;
  CXelLogger_0* Logger() const { return m_pLogger; }
  const std::string& Caption(int i) const { return m_Buttons[i]; }
  _TXIP_DIALOG_DATA& Dialog() { return m_Dialog; }

 private:
  std::string m_Buttons[2];
  std::string* m_ButtonPtrs[2] = {&m_Buttons[0], &m_Buttons[1]};
  _TXIP_DIALOG_DATA m_Dialog;
};

class BaseTest : public ::testing::Test {
 protected:
  xelfw::RecordingLogger logger;
  xelfw::InstanceRecord record{&logger, 1};
  PlainObject object{&record};
  xelfw::IniStore store;
  xelfw::IniContext context{store, "Object"};
};

}  // namespace

TEST_F(BaseTest, IniDataOfEachTypeRoundTrips) {
  const double doubles[2] = {0.1, -2.5e10};
  const UINT ints[3] = {7, 0xFFFFFFFFu, 0};
  object.ExportIniData(context.Handle(), "Pair", doubles, 2, INI_DATA_DOUBLE);
  object.ExportIniData(context.Handle(), "Ints", ints, 3, INI_DATA_INT32);
  object.ExportIniData(context.Handle(), "Text",
                       "\xB0"
                       "C",
                       0, INI_DATA_STRING);
  EXPECT_EQ(store.GetString("Object", "Ints"), "7,-1,0");

  double pair[2] = {};
  UINT back[3] = {};
  char text[32] = {};
  EXPECT_TRUE(object.ImportIniData(context.Handle(), "pair", pair, nullptr, 2, INI_DATA_DOUBLE));
  EXPECT_TRUE(object.ImportIniData(context.Handle(), "INTS", back, nullptr, 3, INI_DATA_INT32));
  EXPECT_TRUE(object.ImportIniData(context.Handle(), "Text", text, "", sizeof text, INI_DATA_STRING));
  EXPECT_EQ(pair[0], 0.1);
  EXPECT_EQ(pair[1], -2.5e10);
  EXPECT_EQ(back[1], 0xFFFFFFFFu);
  EXPECT_STREQ(text,
               "\xB0"
               "C");
}

TEST_F(BaseTest, IniExportOfATextWithALineBreakKeepsTheTextUpToIt) {
  // Objects export texts that hosts and users typed (captions, unit texts); none may throw.
  EXPECT_NO_THROW(object.ExportIniData(context.Handle(), "Unit", "deg\nC", 0, INI_DATA_STRING));
  EXPECT_NO_THROW(object.ExportIniData(context.Handle(), "Caption", "\r\nHold", 0, INI_DATA_STRING));
  EXPECT_EQ(store.GetString("Object", "Unit"), "deg");
  EXPECT_EQ(store.GetString("Object", "Caption"), "");

  EXPECT_EQ(object.SetParam(XIP_PARAM_USER_BUTTON_TEXT, reinterpret_cast<UINT_PTR>("Run\nnow"), 0), XIP_OK);
  EXPECT_EQ(object.GetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_HOST), XIP_OK);
  EXPECT_EQ(store.GetString("Object", "HostUserButton_0_0"), "Run");
  EXPECT_NO_THROW(xelfw::IniStore::Parse(store.ToText()));
}

TEST_F(BaseTest, IniImportStoresTheDefaultWhenAKeyCannotBeRead) {
  store.SetString("Object", "Short", "1,2");
  store.SetString("Object", "Word", "abc");
  store.SetString("Object", "Long", "abcdefgh");
  UINT ints[3] = {9, 9, 9};
  const UINT defaults[3] = {4, 5, 6};
  EXPECT_FALSE(object.ImportIniData(context.Handle(), "Short", ints, defaults, 3, INI_DATA_INT32));
  EXPECT_EQ(ints[0], 4u);
  EXPECT_EQ(ints[2], 6u);
  double value = 1.0;
  const double fallback = 20.0;
  EXPECT_FALSE(object.ImportIniData(context.Handle(), "Word", &value, &fallback, 1, INI_DATA_DOUBLE));
  EXPECT_EQ(value, 20.0);
  EXPECT_FALSE(object.ImportIniData(context.Handle(), "Missing", &value, nullptr, 1, INI_DATA_DOUBLE));
  EXPECT_EQ(value, 20.0) << "without a default the target stays";
  char text[4];
  EXPECT_TRUE(object.ImportIniData(context.Handle(), "Long", text, "x", sizeof text, INI_DATA_STRING));
  EXPECT_STREQ(text, "abc") << "a string is cut to the buffer";
  EXPECT_FALSE(object.ImportIniData(context.Handle(), "Nope", text, "default", sizeof text, INI_DATA_STRING));
  EXPECT_STREQ(text, "def");
}

TEST_F(BaseTest, HostKeysFollowTheIniMode) {
  EXPECT_EQ(object.SetParam(XIP_PARAM_USER_BUTTON_TEXT, reinterpret_cast<UINT_PTR>("Freeze"), 1), XIP_OK);
  object.Dialog().Placement = RECT{10, 20, 310, 220};
  EXPECT_EQ(object.GetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_HOST), XIP_OK);
  EXPECT_TRUE(store.HasKey("Object", "HostUserButton_0_1"));
  EXPECT_FALSE(store.HasKey("Object", "HostDlgPlacement_0"));
  EXPECT_EQ(object.GetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL), XIP_OK);
  EXPECT_EQ(store.GetString("Object", "HostDlgPlacement_0"), "10,20,310,220");

  PlainObject other(&record);
  EXPECT_EQ(other.SetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_PLACEMENT), XIP_OK);
  EXPECT_EQ(other.Dialog().Placement.right, 310);
  EXPECT_EQ(other.Caption(1), "") << "placement mode reads no captions";
  EXPECT_EQ(other.SetParam(XIP_PARAM_INI, context.Handle(), XIP_INI_MODE_ALL), XIP_OK);
  EXPECT_EQ(other.Caption(1), "Freeze");

  xelfw::IniContext empty(store, "Empty");
  EXPECT_EQ(other.SetParam(XIP_PARAM_INI, empty.Handle(), XIP_INI_MODE_ALL), XIP_E_INCOMPLETE_IMPORT);
  EXPECT_EQ(other.SetParam(XIP_PARAM_INI, 0, XIP_INI_MODE_ALL), XIP_E_BADARG);
  EXPECT_EQ(other.SetParam(XIP_PARAM_INI, context.Handle(), 3), XIP_E_BADARG);
}

TEST_F(BaseTest, CaptionsAndSwitches) {
  EXPECT_EQ(object.SetParam(XIP_PARAM_USER_BUTTON_TEXT, reinterpret_cast<UINT_PTR>("Hold"), 0), XIP_OK);
  const char* caption = nullptr;
  EXPECT_EQ(object.GetParam(XIP_PARAM_USER_BUTTON_TEXT, 0, reinterpret_cast<UINT_PTR>(&caption)), XIP_OK);
  EXPECT_STREQ(caption, "Hold");
  EXPECT_EQ(object.GetParam(XIP_PARAM_USER_BUTTON_TEXT, 2, reinterpret_cast<UINT_PTR>(&caption)), XIP_E_BADARG);
  EXPECT_EQ(object.SetParam(XIP_PARAM_USER_BUTTON_TEXT, reinterpret_cast<UINT_PTR>("x"), 1u << 16), XIP_E_BADARG)
      << "no dialog 1";

  EXPECT_EQ(object.Logger(), &logger);
  EXPECT_EQ(object.SetParam(XIP_PARAM_SWITCH_LOGGING, 0, 0), XIP_OK);
  EXPECT_EQ(object.Logger(), nullptr) << "the logging switch silences the object";
  EXPECT_EQ(object.SetParam(XIP_PARAM_SWITCH_LOGGING, 1, 0), XIP_OK);
  EXPECT_EQ(object.Logger(), &logger);
  EXPECT_EQ(object.SetParam(XIP_PARAM_SWITCH_ACTIVE, 0, 0), XIP_OK);
  UINT active = 1;
  EXPECT_EQ(object.GetParam(XIP_PARAM_SWITCH_ACTIVE, reinterpret_cast<UINT_PTR>(&active), 0), XIP_OK);
  EXPECT_EQ(active, 0u);
  EXPECT_FALSE(object.IsActive());
  EXPECT_EQ(object.SetParam(XIP_PARAM_SWITCH_ACTIVE, 2, 0), XIP_E_BADARG);
}

TEST_F(BaseTest, LimitsOfTheBaseParameters) {
  UINT lo = 11, hi = 11, loSize = 11, hiSize = 11;
  EXPECT_EQ(object.GetParamLimits(XIP_PARAM_OBJECT_INDEX, &lo, &hi, &loSize, &hiSize), XIP_OK);
  EXPECT_EQ(lo + hi + loSize + hiSize, 44u) << "the object's own limits stand";
  EXPECT_EQ(object.GetParamLimits(XIP_PARAM_INI, &lo, &hi, nullptr, &hiSize), XIP_OK);
  EXPECT_EQ(hi, 0xFFFFFFFFu);
  EXPECT_EQ(hiSize, XIP_INI_MODE_PLACEMENT);
  EXPECT_EQ(object.GetParamLimits(12345, &lo, &hi, &loSize, &hiSize), XIP_E_BADARG);
  EXPECT_EQ(object.SetParam(XIP_PARAM_OBJECT_INDEX, 1, 0), XIP_E_BADARG);
}

TEST_F(BaseTest, ImagesAoisAndHostCallbacks) {
  xelfw::Image grey(64, 48, xelfw::PixelLayout::Grey(12, 16));
  EXPECT_EQ(object.GetImage(0), nullptr);
  EXPECT_EQ(object.GetAoi(0)->GetBoundingRect().right, 0) << "an AOI even without an image";
  object.SetImage(0, &grey);
  EXPECT_EQ(object.GetValidImage(0), &grey);
  const RECT full = object.GetAoi(0)->GetBoundingRect();
  EXPECT_EQ(full.right, 64);
  EXPECT_EQ(full.bottom, 48);
  const xelfw::Aoi part = xelfw::Aoi::FromSize(4, 4, 8, 8);
  object.SetAoi(0, &part);
  EXPECT_EQ(object.GetAoi(0), &part);
  EXPECT_EQ(object.SetImage(XIP_MAX_IMAGES, &grey), XIP_E_BADARG);

  UINT progress = 0;
  record.SetZeroProgressHook([](CXelImgProcess_0*) { return FALSE; });
  record.SetProgressHook([&](CXelImgProcess_0*, UINT done, UINT total) { progress = done * 100 / total; });
  EXPECT_FALSE(object.SignalZeroProgress());
  object.SignalProgress(1, 4);
  EXPECT_EQ(progress, 25u);

  EXPECT_EQ(object.SignalDlgEvent(XipDlgEvent(XIP_DLG_EVENT_CLOSE_REQUEST, 1)), 1u) << "hide by default";
  EXPECT_EQ(object.SignalDlgEvent(XIP_DLG_EVENT_SETTING_CHANGED), 0u);
  EXPECT_EQ(object.GetDialogDataByDlgID(0), &object.Dialog());
  EXPECT_EQ(object.GetDialogDataByDlgID(1), nullptr);
}

TEST(HelperObjectsTest, TheRecordMakesAndTakesBackOnlyItsOwnObjects) {
  xelfw::InstanceRecord record;
  CXelImgProcess_0* statistics = record.CreateInstance(XIP_OBJTYPE_STATISTICS);
  ASSERT_NE(statistics, nullptr);
  EXPECT_EQ(statistics->GetObjType(), XIP_OBJTYPE_STATISTICS);
  EXPECT_EQ(record.CreateInstance(XIP_OBJTYPE_PSEUDOCOLOR_LUT), nullptr);
  CXelXIObject_0* converter = record.CreateInstance_XIObject(XI_OBJTYPE_UNIT_CONVERTER, 1);
  ASSERT_NE(converter, nullptr);
  EXPECT_EQ(record.CreateInstance_XIObject(XI_OBJTYPE_UNIT_CONVERTER, 2), nullptr);
  EXPECT_EQ(record.CreateInstance_XIObject(4, 1), nullptr);
  EXPECT_EQ(record.LiveObjects(), 2u);

  PlainObject stranger(&record);
  record.DeleteInstance(&stranger);  // not made by the record: left alone
  record.DeleteInstance_XIObject(2, converter);
  EXPECT_EQ(record.LiveObjects(), 2u);
  record.DeleteInstance(statistics);
  record.DeleteInstance_XIObject(XI_OBJTYPE_UNIT_CONVERTER, converter);
  EXPECT_EQ(record.LiveObjects(), 0u);
}
