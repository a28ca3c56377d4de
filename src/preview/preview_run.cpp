#include "preview/preview_run.h"

#include "edit/edit_notices.h"
#include "lists/path_helpers.h"
#include "model/midi_file_loader.h"
#include "pipeline/song_conversion.h"
#include "report/report.h"

namespace quillmar {
namespace {

// Keeps every report as a line: result lines as they stand, message boxes by their text.
class CollectingSink : public ReportSink {
 public:
  void AppendLine(std::string_view line) override { lines.emplace_back(line); }
  void ShowMessage(std::string_view text) override { lines.emplace_back(text); }

  std::vector<std::string> lines;
};

}  // namespace

PreviewResult RunPreview(std::string_view sjis_input_path, const OutputSlot* slot,
                         const std::optional<PreviewCells>& cells) {
  CollectingSink collected;
  std::string format1;
  {
    const ThreadReportSink redirect(collected);
    ModelContext context;
    EditNotices notices;  // the preview's own: the program's notices stay unused
    SongConversion conversion{context, notices, slot, std::nullopt, {}};
    if (cells) conversion.cells = TextCells{cells->title, cells->copyright};
    conversion.snapshots.output_name = BaseName(sjis_input_path);
    const SongConversionResult converted =
        ConvertSong(conversion, MidiSource::File(sjis_input_path),
                    [&](int format, int, std::string_view bytes) {
                      if (format == 1) format1 = bytes;
                      return true;
                    });
    if (!converted.finished) format1.clear();
  }
  PreviewResult result{nullptr, std::move(collected.lines)};
  if (format1.empty()) return result;
  // The format-1 file read back and merged as the conversion did; its reports were given.
  CollectingSink repeated;
  const ThreadReportSink redirect(repeated);
  ModelContext context;
  MidiFileLoader loader(context, MidiSource::Bytes(format1));
  if (!loader.Loaded()) return result;
  const MidiF1Data song(*loader.Song());
  loader.ToOutputFormat0();
  result.song = std::make_unique<SongPreview>(song, loader.Format0Song()->Track());
  return result;
}

}  // namespace quillmar
