#include "pipeline/song_conversion.h"

#include <optional>

#include "audio/song_sound.h"
#include "audio/wav_file.h"
#include "lists/whole_file.h"
#include "model/midi_file_loader.h"
#include "model/note_counts.h"
#include "model/sounding_timeline.h"
#include "pipeline/timeline_csv.h"
#include "platform/encoding.h"
#include "report/message_catalogue.h"
#include "report/report.h"

namespace quillmar {
namespace {

// A text cell of exactly "-" leaves the song's own text alone.
constexpr std::string_view kKeepCell = "-";

// Sets the first track's meta texts of a type from a title or copyright cell.
void ApplyTextCell(MidiTrackData& track, std::int32_t meta_type, std::string_view cell,
                   int missing_message) {
  if (cell == kKeepCell) {
    if (track.CountMeta(meta_type) == 0) ReportMessage(track.Context().Reports(), missing_message);
  } else if (track.CountMeta(meta_type) > 0) {
    track.SetAllMetaText(meta_type, cell);
  } else {
    track.InsertMeta(meta_type, cell);
  }
}

// A count line: the indent, the label and the number.
void AppendCountLine(Reporter& reporter, const std::string& label, int count) {
  AppendResultLine(reporter, std::string(kReportIndent) + label + std::to_string(count));
}

// The slot's lists, applied to the song in their fixed order; gives the names of those that
// reported list errors.
std::vector<std::string> ApplyLists(MidiF1Data& song, const OutputSlot& slot,
                                    EditEnvironment& environment) {
  std::vector<std::string> with_errors;
  for (const SlotList& slot_list : SlotListsInApplyOrder()) {
    const SettingsList* list = slot.ActiveList(slot_list.kind);
    if (list == nullptr) continue;
    const int errors_before = song.Context().Reports().ListErrors();
    slot_list.apply(song, *list, environment);
    if (song.Context().Reports().ListErrors() != errors_before) with_errors.push_back(list->Name());
  }
  return with_errors;
}

}  // namespace

SongConversionResult ConvertSong(SongConversion conversion, const MidiSource& source,
                                 const ConvertedFileTaker& take) {
  static const std::string kVoicesLabel = Sjis("ボイス数 ");
  static const std::string kSimultaneousLabel = Sjis("同時発音数 ");
  SongConversionResult result;
  int input_format = 0;  // the header's, once the input has loaded
  std::string format1;
  {
    MidiFileLoader loader(conversion.context, source);
    if (!loader.Loaded()) return result;
    result.loaded = true;
    input_format = *loader.InputFormat();  // a loaded song is format 0 or 1

    MidiF1Data& song = *loader.Song();
    if (conversion.cells) {
      ApplyTextCell(song.Track(0), MetaType::SequenceName, conversion.cells->title, kNoSongTitle);
      ApplyTextCell(song.Track(0), MetaType::Copyright, conversion.cells->copyright, kNoCopyright);
    }
    if (conversion.slot != nullptr) {
      EditEnvironment environment{conversion.notices, std::move(conversion.snapshots)};
      environment.explain = conversion.explain;
      environment.effects = conversion.effects;
      environment.snapshots.input_format = input_format;
      result.lists_with_errors = ApplyLists(song, *conversion.slot, environment);
      result.snapshots_written = environment.snapshots_written;
    }
    AppendCountLine(conversion.context.Reports(), kVoicesLabel, VoiceCount(song));

    song.DeleteEmptyTracks();
    song.ToOnOffForm();
    if (!song.Encode() || !take(OutputFormat::Format1, input_format, song.Image())) return result;
    // The format-0 file is made from the format-1 file as written, read back like an input
    // file: cut at the same limit, with its message.
    TakeWholeImage(conversion.context.Reports(), song.Image(), format1);
  }
  MidiFileLoader loader(conversion.context, MidiSource::Bytes(format1));
  if (!loader.Loaded()) return result;
  // The merge releases the song; a copy is kept only to be shown.
  std::optional<MidiF1Data> shown;
  if (conversion.show) shown.emplace(*loader.Song());
  loader.ToOutputFormat0();
  MidiF0Data& format0 = *loader.Format0Song();
  if (shown) conversion.show(*shown, format0.Track());
  if (conversion.make_timeline) {
    // The figure is the timeline's peak: one walk serves both.
    const std::vector<SoundingChange> timeline = SoundingTimeline(format0.Track());
    AppendCountLine(conversion.context.Reports(), kSimultaneousLabel, PeakOf(timeline));
    result.timeline_csv = TimelineCsv(timeline, TempoMap(format0.Track(), format0.Division()));
  } else {
    AppendCountLine(conversion.context.Reports(), kSimultaneousLabel,
                    SimultaneousNotes(format0.Track()));
  }
  if (conversion.wav_synthesizer != nullptr) {
    const SongSound sound(format0.Track(), format0.Division());
    result.wav =
        RenderWav(conversion.wav_limit ? sound.WithHandsetLimit(*conversion.wav_limit) : sound,
                  *conversion.wav_synthesizer);
  }
  format0.ToOnOffForm();
  result.finished = format0.Encode() && take(OutputFormat::Format0, input_format, format0.Image());
  return result;
}

}  // namespace quillmar
