// "Pseudo color lut" (type 96): turns a greyscale source into a colour destination through one LUT
// per colour component, mapping the grey window [Lower, Upper] onto the current colour profile.
#pragma once

#include "profiles/CColorProfileList.h"
#include "pseudocolor/kernels.h"
#include "pseudocolor/lut.h"
#include "pseudocolor/pseudo_color_owner.h"
#include "pseudocolor/settings.h"
#include "pseudocolor/special_data.h"

#include <XelImgProcess/CXelImgProcess.h>
#include <XelImgProcess/CXelUnitConverter_0.h>
#include <XelPseudoColor/AutoWindow.h>
#include <winui/afxwin.h>

#include <atomic>
#include <string>

struct THistogramResult;

class CXelPseudoColorClass : public CPseudoColorOwner {
 public:
  // Dialog IDs within this object.
  static constexpr UINT kPseudoColorDlgID = 0;
  static constexpr UINT kTempScaleDlgID = 1;
  static constexpr UINT kNumDialogs = 2;

  explicit CXelPseudoColorClass(CXelImgProcessInstance_0* instance);
  ~CXelPseudoColorClass() override;
  CXelPseudoColorClass(const CXelPseudoColorClass&) = delete;
  CXelPseudoColorClass& operator=(const CXelPseudoColorClass&) = delete;

  _EXIP_OBJTYPE GetObjType() const override;
  UINT GetParamLimits(UINT id, UINT* minValue, UINT* maxValue, UINT* minSize, UINT* maxSize) override;
  UINT SetParam(UINT id, UINT_PTR value, UINT_PTR size) override;
  UINT GetParam(UINT id, UINT_PTR value, UINT_PTR extra) override;
  void* GetSpecialData(UINT id) override;
  UINT GetNumDialogs() override;
  UINT IsDialogTypeFlag(UINT dlgID) override;
  CXelImgProcessDlg* CreateDialogObject(UINT dlgID, HWND parent) override;

  // What the dialogs may do (CPseudoColorOwner). They store what they are given: the dialogs pass
  // values and indices they took from this object or from their own lists.
  void SetBounds(double lower, double upper) override;
  void GetBounds(double* pLower, double* pUpper) const override;
  BOOL CalculateAutoContrast(double* pLower, double* pUpper) override;
  BOOL CalculateAutoBrightness(double* pLower, double* pUpper, double width) override;
  void SetAutoMode(UINT mode) override;
  void SetWidthLimit(EWidthLimit which, BOOL enabled, double width) override;
  const CColorProfileList& GetProfiles() const override;
  void SelectColorProfile(UINT index) override;
  void InvalidateLut() override;
  UINT GetSliderSteps() const override;
  const TPseudoColorSettings& GetSettings() const override;
  CXelUnitConverter_0* GetUnitConverter() const override;
  UINT GetGreySpan() const override;

  class CWorkerThread;

  UINT Process(UINT mode) override;
  CXelImgProcess::CWorkerThread* CreateWorkerThreadInstance() override;
  void DeleteWorkerThreadInstance(CXelImgProcess::CWorkerThread* thread) override;

 private:
  // Refresh requests for an open dialog; dropped when the dialog does not exist.
  void UpdatePseudoColorDialog(UINT bits);
  void UpdateTempScaleDialog(UINT bits);
  // Keeps the host's unit converter in step with the display-unit settings and GreySpan.
  void UpdateUnitConversion(const TPseudoColorSettings& settings);

  // Brings the LUT up to date for images src and dst; FALSE when it cannot serve those images.
  BOOL UpdateLut(UINT src, UINT dst);
  // The settings a LUT rebuild reads; the dialogs and the parameter operations store them meanwhile.
  TLutInputs ReadLutInputs() const;
  const THistogramResult* RunHistogram(const char* operation, const CXelAoi_0* aoi, BOOL setAoi);
  void ApplyAutoBounds();
  // The leaving line of a run that ends early.
  UINT LeaveWithLine(UINT result);

  UINT SetSettings(UINT_PTR value, UINT_PTR size);
  UINT SetSliderSteps(UINT_PTR value, UINT_PTR size);
  UINT SetIni(UINT_PTR context, UINT_PTR mode);
  UINT SetProfileIndex(UINT_PTR index);
  UINT GetIni(UINT_PTR context, UINT_PTR mode);
  UINT GetUserButtonText(UINT_PTR index, UINT_PTR target);
  UINT GetProfileIndex(UINT_PTR target, UINT_PTR extra);
  // Record parameters (12, 13) are copied out whole or not at all.
  UINT CopyOut(const void* source, std::size_t bytes, UINT_PTR target, UINT_PTR size);

  BOOL ImportSettings(UINT_PTR context);
  void ExportSettings(UINT_PTR context);
  BOOL ImportKey(UINT_PTR context, const TPseudoColorKey& key);
  void ExportKey(UINT_PTR context, const TPseudoColorKey& key);
  // Every dialog shows something that depends on the settings.
  void RefreshAfterSettingsChange();

  void FillDialogData();
  // The dialog's icon in this library's resources; named beside the dialog catalogue in module/.
  static UINT DialogIconID(UINT dlgID);
  void UpdateDialog(UINT dlgID, UINT bits);

  TPseudoColorSpecialData SpecialData{};

  CPseudoColorLut Lut;
  TLutKernel KernelTable[kKernelTableSize] = {};

  TPseudoColorSettings Settings{};
  UINT SliderSteps = kDefaultSliderSteps;
  CXelImgProcess_0* pHistogramObj = nullptr;
  CXelUnitConverter_0* pUnitConverter = nullptr;
  // Largest grey value of the last source; the converter's scale divides by it. The dialogs read it
  // while a frame is processed, so it is the one atomic beside the settings.
  std::atomic<UINT> GreySpan{1};
  UINT AutoWindow = kPseudoColorAutoWindowNone;  // parameter 14: how the last Process fared
  CColorProfileList ProfileList;
  _TXIP_DIALOG_DATA DialogData[kNumDialogs];
  std::string UserButtonTexts[XIP_MAX_USER_BUTTONS];
  std::string* UserButtonTextPtrs[XIP_MAX_USER_BUTTONS] = {&UserButtonTexts[0], &UserButtonTexts[1]};
};
