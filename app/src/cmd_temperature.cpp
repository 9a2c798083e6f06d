// xelimg temperature: the object's reading and the temperature statistics of every frame's areas,
// and optionally every pixel's temperature as a float TIFF.
#include <xelhost/area_delta.h>
#include <xelhost/area_option.h>
#include <xelhost/calibration_option.h>
#include <xelhost/errors.h>
#include <xelhost/frame_inputs.h>
#include <xelhost/input_image.h>
#include <xelhost/memory_budget.h>
#include <xelhost/operand_plan.h>
#include <xelhost/plugin_objects.h>
#include <xelhost/provenance.h>
#include <xelhost/temperature_report.h>
#include "batch/batch_options.h"
#include "batch/batch_report.h"
#include "command_table.h"
#include "host_kit.h"
#include "plugin_location.h"

#include <xelhost/AreaStatistics.h>
#include <xelhost/FloatTiffWriter.h>
#include <xelhost/TemperatureMeter.h>
#include <xelhost/image_io.h>
#include <xelhost/line_profile.h>

#include <array>
#include <cstdio>
#include <limits>
#include <optional>
#include <vector>

namespace xelimg {

namespace {

constexpr std::array<OptionSpec, 15> kOptions = {{kPluginOption,
                                                  kCalibrationOption,
                                                  kAreaOption,
                                                  kAreasFileOption,
                                                  kLineOption,
                                                  kDeltaOption,
                                                  kEpsilonOption,
                                                  {"json", false},
                                                  {"csv", false},
                                                  {"temperature-map", true},
                                                  {"quiet", false},
                                                  kInputBitsOption,
                                                  kMaxMemoryOption,
                                                  kFramesOption,
                                                  kTimeoutOption}};

ReportFormat FormatOf(const Arguments& args) {
  if (args.Has("json") && args.Has("csv")) throw UsageError("--json and --csv exclude each other");
  if (args.Has("json")) return ReportFormat::kJson;
  return args.Has("csv") ? ReportFormat::kCsv : ReportFormat::kText;
}

// The frame being measured, the copy the statistics object is handed and a temperature map's page
// must fit the memory limit.
FrameAdmission AdmitWithin(std::size_t limit, bool map) {
  return [limit, map](const xelhost::ImageFileInfo& frame, const std::string& name) {
    MemoryBudget budget(limit);
    budget.Reserve(frame.FrameBytes(), name);
    if (map) budget.Reserve(std::size_t{frame.width} * frame.height * sizeof(float), name + " (temperature map)");
  };
}

int RunTemperature(const Arguments& args) {
  const auto& operands = args.Operands();
  if (operands.empty())
    throw UsageError("give the input(s) (see 'xelimg temperature --help'); demo: names the demo scene");
  const std::vector<xelhost::MeasurementArea> givenAreas = ParseAreas(args);
  const std::vector<xelhost::ProfileLine> lines = ParseLines(args);
  // The whole image's name stands for it until a frame gives it a size.
  const std::vector<xelhost::AreaDelta> deltas = ParseDeltas(
      args, givenAreas.empty() ? std::vector<xelhost::MeasurementArea>{{std::string(kWholeImage), RectangleShape{}}}
                               : givenAreas);
  const ReportFormat format = FormatOf(args);
  const OperandPlan operandPlan(operands);
  const std::vector<InputFile>& inputs = operandPlan.Inputs();
  const std::optional<std::string> mapFile = args.Value("temperature-map");
  if (mapFile) operandPlan.AddOutputFile(*mapFile);
  const std::optional<UINT> inputBits = ParseInputBits(args);
  const StreamInputOptions streams = ParseStreamOptions(args);
  const MemoryBudget budget = MemoryBudget::FromArguments(args);

  const xelfw::PluginLibrary library(PluginPath(args));
  TemperatureObject object(library, xelfw::HostOptions{});
  const xelfw::TemperatureCalibration calibration =
      ReadCalibrationOption(args, library).value_or(xelfw::TemperatureCalibration{});
  object.ImportCalibration(calibration);
  const std::string unit = DisplayUnit(calibration);
  std::optional<xelhost::FloatTiffWriter> map;
  if (mapFile) map.emplace(*mapFile);
  // Every temperature went through a calibration, the object's defaults at least: the map records it.
  const xelhost::Provenance calibrationRecord = xelhost::CalibrationProvenance(args, calibration);

  // Reading is all the work here, so the frames go through one object in order, each printed as
  // soon as it is measured.
  const bool labelled = inputs.size() > 1;
  // One area without a name reads as today's single reading; otherwise each line names its area.
  const bool areasNamed = AreasNamed(args);
  if (format == ReportFormat::kCsv) PrintCsvHeader();
  BatchReport report(inputs, !args.Has("quiet"));
  FrameSequence sequence(inputs, AdmitWithin(budget.Limit(), map.has_value()), budget.Limit(), streams);
  bool bitsWarned = false;
  while (std::optional<InputFrame> frame = sequence.Next()) {
    sequence.Load(*frame);
    if (!frame->image) {
      report.Skipped(*frame, frame->error);
      continue;
    }
    try {
      xelfw::Image& image = *frame->image;
      if (image.Layout().formatClass != XI_IMGFORMAT_CLASS_GREYSCALE)
        throw CommandError("temperature needs a greyscale image");
      const InputFile& input = inputs[frame->input];
      if (const auto warning = ApplyInputBits({&image, 1}, inputBits, input.name); warning && !bitsWarned) {
        std::fprintf(stderr, "%s\n", warning->c_str());
        bitsWarned = true;
      }
      const std::vector<xelhost::MeasurementArea> areas = AreasOf(givenAreas, image);
      CheckAreasInside(areas, image);
      CheckLinesInside(lines, image);
      // Everything is measured before anything is printed, so a frame is reported whole or not at all.
      const std::vector<xelhost::AreaStatistics> statistics = xelhost::MeasureAreas(image, areas, calibration);
      std::vector<TemperatureReading> readings;
      for (std::size_t i = 0; i < areas.size(); ++i)
        readings.push_back(object.MeasureArea(image, areas[i], statistics[i]));
      std::vector<xelhost::LineProfile> profiles;
      for (const xelhost::ProfileLine& line : lines) profiles.push_back(xelhost::MeasureLine(image, line, calibration));
      if (map) {
        xelhost::Provenance record = xelhost::StartProvenance("xelimg");
        xelhost::SetProvenanceSource(record, input.name, frame->page, input.stream);
        record.Set("InputBits", std::to_string(image.Layout().imgBPC));
        record.Append(calibrationRecord);
        map->Add(image.Width(), image.Height(), xelhost::TemperatureMap(image, calibration), &record);
      }
      const ReadingOrigin origin{frame->index, input.name, frame->page, labelled, frame->time};
      for (std::size_t i = 0; i < areas.size(); ++i) {
        PrintAreaReading({areas[i], readings[i], statistics[i], areasNamed}, origin, format);
      }
      for (std::size_t i = 0; i < lines.size(); ++i) PrintLineProfile(profiles[i], lines[i], unit, origin, format);
      for (const xelhost::AreaDelta& delta : deltas) {
        const DeltaValues values = MeasureDelta(statistics[delta.first], statistics[delta.second]);
        PrintDelta(delta, values, unit, origin, format);
      }
      report.Done();
    } catch (const std::exception& error) {
      report.Skipped(*frame, error.what());
    }
    // A reader that went away (a closed pipe, where SIGPIPE is ignored) ends the run, the map unwritten.
    if (std::ferror(stdout)) throw CommandError("cannot write to standard output; stopped");
  }
  // A map of no frame would be a file of no page: nothing is written then.
  if (map && map->Pages() > 0) map->Commit();
  return report.ExitCode();
}

}  // namespace

const Command kTemperatureCommand{
    "temperature",
    "temperature IN... [options]                temperatures of areas: text, JSON, CSV, float TIFF",
    "usage: xelimg temperature IN... [--ini CALIB.ini] [--aoi [NAME=]SHAPE]... [--areas FILE]\n"
    "                              [--line [NAME=]X1,Y1,X2,Y2]... [--delta A-B]... [--epsilon E]\n"
    "                              [--json|--csv] [--temperature-map OUT.tif]\n"
    "\n"
    "Runs the plug-in's \"Temperature display\" object on every area of every frame of the inputs and\n"
    "prints, one line a frame and area as soon as it is measured: the object's reading (the mean grey\n"
    "value, the emissivity and the temperature of the mean in the display unit) and the lowest and\n"
    "highest pixel temperature and their standard deviation, through the same calibration. Each IN is\n"
    "a greyscale PNG, PGM or TIFF (every page), a folder (its images in name order), a pattern such as\n"
    "'frames/*.tif', '-' for standard input, demo: for the built-in demo scene, or a video stream:\n"
    "gst:PIPELINE (a gst-launch-1.0 description giving GRAY8 or GRAY16_LE) or /dev/videoN, read until\n"
    "it ends. A frame that cannot be read or measured is reported on stderr and skipped. Exit code 0:\n"
    "all measured; 1: some skipped; 2: none.\n"
    "\n"
    "  --ini CALIB.ini   calibration (Point_0, Point_1, ... as normalised grey value, Kelvin) and the\n"
    "                    keys Epsilon, BgTempKelvin, UnitDesc, KelvinToUnitOfs, KelvinToUnitMult;\n"
    "                    a file that cannot be read exactly is refused (README: Calibration)\n"
    "  --input-bits N    significant bits of the grey values, 1..16 (default: what each file declares)\n"
    "  --aoi [NAME=]SHAPE  an area to measure; repeat for several (unnamed: aoi1, aoi2, ...;\n"
    "                    default: the whole image, named image). SHAPE: X,Y,W,H (a rectangle),\n"
    "                    ellipse:CX,CY,RX,RY, polygon:X1,Y1,X2,Y2,X3,Y3[,...] or spot:X,Y[,R];\n"
    "                    a pixel belongs to it when its centre does; parts outside the frame are cut\n"
    "  --areas FILE      more areas, one [NAME=]SHAPE a line ('#' starts a comment line)\n"
    "  --line [NAME=]X1,Y1,X2,Y2  a line profile: the pixels of Bresenham's line between the two\n"
    "                    pixels, both included (unnamed: line1, ...); pixels outside the frame are cut\n"
    "  --delta A-B       the differences of areas A and B: pixels' mean, max and min (repeatable)\n"
    "  --epsilon E       emissivity of the surface, 0 < E <= 1 (overrides the file)\n"
    "  --frames N        take at most N frames of each stream (default: until it ends)\n"
    "  --timeout SECONDS a stream that sends no frame for this long has stalled (default 5)\n"
    "  --json            one JSON object a frame and area, line sample or delta (JSON Lines), numbers\n"
    "                    at full precision: time (a stream frame's, in seconds), kind (area, line,\n"
    "                    delta), area, shape, x, y, width, height (the measured pixels' bounds),\n"
    "                    pixels, unavailable (without a temperature), saturated, below_calibration,\n"
    "                    above_calibration, mean_grey, epsilon, temperature (the object's),\n"
    "                    mean_temperature, mean (of the pixels' temperatures), min, max, std,\n"
    "                    coldest_x/_y, hottest_x/_y, unit; a line sample has index, x, y, grey and\n"
    "                    its temperature beside the line's counts, mean, min, max and std; null\n"
    "                    where not available\n"
    "  --csv             the same as CSV: a header row, then one row a frame and area, sample or delta\n"
    "  --temperature-map OUT.tif  every pixel's temperature in the display unit as a 32-bit float\n"
    "                    TIFF, one page a measured frame, NaN where not available\n"
    "  --quiet           no progress line on a terminal\n"
    "  --max-memory SIZE decoded image data the run may hold (K, M, G; default 1G, or $XELIMG_MAX_MEMORY)\n"
    "  --plugin PATH     the plug-in library\n",
    kOptions,
    std::numeric_limits<std::size_t>::max(),
    RunTemperature};

}  // namespace xelimg
