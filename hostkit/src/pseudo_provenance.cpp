// What a pseudo-colour frame was coloured with, for its provenance record.
#include <xelhost/pseudo_provenance.h>

#include <xelhost/profile_names.h>

#include <xelfw/TextEncoding.h>

namespace xelhost {

void SetPseudoProvenance(Provenance& record, const xelfw::Image& source, const PseudoResult& result,
                         const std::optional<xelfw::TemperatureCalibration>& calibration) {
  const UINT bits = source.Layout().imgBPC;
  const TPseudoColorSettings& settings = result.settings;
  record.Set("InputBits", std::to_string(bits));
  record.Set("Profile", ProfileName(result.profile));
  record.Set("Window", ProvenanceNumber(settings.Lower) + ":" + ProvenanceNumber(settings.Upper));
  const double span = static_cast<double>((1u << bits) - 1);
  const xelfw::UnitConverter converter = RangeConverter(settings, calibration, span);
  record.Set("WindowInUnit", ProvenanceNumber(converter.GreyToUnit(settings.Lower * span, span)) + ":" +
                                 ProvenanceNumber(converter.GreyToUnit(settings.Upper * span, span)));
  record.Set("Unit", xelfw::Cp1252ToUtf8(calibration ? calibration->unitDesc : std::string(settings.UnitDesc)));
}

}  // namespace xelhost
