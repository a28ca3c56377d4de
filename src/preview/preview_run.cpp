#include "preview/preview_run.h"

#include "edit/edit_notices.h"
#include "lists/path_helpers.h"
#include "lists/whole_file.h"
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
  std::unique_ptr<SongPreview> song;
  std::vector<RowEffect> effects;
  std::shared_ptr<const SongSound> sound;
  {
    Reporter reporter(collected);  // the preview's own: a run beside it reports apart
    std::string input;
    if (ReadWholeFile(reporter, sjis_input_path, input)) {
      ModelContext context(reporter);
      EditNotices notices;  // the preview's own: the program's notices stay unused
      SongConversion conversion{.context = context, .notices = notices, .slot = slot};
      conversion.effects = &effects;
      if (cells) conversion.cells = TextCells{cells->title, cells->copyright};
      conversion.snapshots.output_name = BaseName(sjis_input_path);
      conversion.show = [&](const MidiF1Data& written, const MidiTrackData& merged) {
        song = std::make_unique<SongPreview>(written, merged);
        sound = std::make_shared<const SongSound>(merged, written.Division());
      };
      const SongConversionResult converted = ConvertSong(conversion, MidiSource::Bytes(input),
                                                         [](OutputFormat, int, std::string_view) {
                                                           return true;  // the files stay in memory
                                                         });
      if (!converted.finished) {
        song.reset();
        sound.reset();
      }
    }
  }
  return {std::move(song), std::move(collected.lines), std::move(effects), std::move(sound)};
}

}  // namespace quillmar
