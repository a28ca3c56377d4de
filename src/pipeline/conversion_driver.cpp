#include "pipeline/conversion_driver.h"

#include "edit/edit_list.h"
#include "lists/path_helpers.h"
#include "model/midi_file_loader.h"
#include "model/note_counts.h"
#include "pipeline/drum_list.h"
#include "pipeline/order_list.h"
#include "pipeline/tone_list.h"
#include "pipeline/volume_list.h"
#include "platform/encoding.h"
#include "platform/files.h"
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
    if (track.CountMeta(meta_type) == 0) ReportMessage(missing_message);
  } else if (track.CountMeta(meta_type) > 0) {
    track.SetAllMetaText(meta_type, cell);
  } else {
    track.InsertMeta(meta_type, cell);
  }
}

// The text with its control bytes shown as '?', for a detail line.
std::string Printable(std::string_view text) {
  std::string shown(text);
  for (char& byte : shown) {
    if (static_cast<unsigned char>(byte) < 0x20) byte = '?';
  }
  return shown;
}

// A count line: the indent, the label and the number.
void AppendCountLine(const std::string& label, int count) {
  AppendResultLine(std::string(kReportIndent) + label + std::to_string(count));
}

}  // namespace

ConversionDriver::ConversionDriver(ModelContext& context, EditNotices& notices,
                                   const OutputSlot& slot, const FormatChoices& formats,
                                   std::string work_folder)
    : context_(&context),
      notices_(&notices),
      slot_(&slot),
      formats_(&formats),
      work_folder_(std::move(work_folder)) {}

bool ConversionDriver::Convert(std::string_view input_name, std::string& output_name,
                               std::string_view title, std::string_view copyright) {
  static const std::string kVoicesLabel = Sjis("ボイス数 ");
  static const std::string kSimultaneousLabel = Sjis("同時発音数 ");
  const std::optional<std::string> file_name = OutputFileName(output_name);
  if (!file_name) {
    ReportText(UnusableFileText());
    ReportDetail(Printable(output_name));
    return false;
  }
  int input_format = -1;
  std::string work_path;
  bool complete = true;
  {
    MidiFileLoader loader(*context_, input_name);
    if (!loader.Loaded()) return false;
    input_format = loader.InputFormat();
    output_name = *file_name;
    work_path = JoinPath(work_folder_, output_name);

    MidiF1Data& song = *loader.Song();
    ApplyTextCell(song.Track(0), MetaType::SequenceName, title, kNoSongTitle);
    ApplyTextCell(song.Track(0), MetaType::Copyright, copyright, kNoCopyright);
    if (const SettingsList* tones = slot_->ActiveList(ListKind::Tone)) {
      ApplyToneList(song, *tones);
    }
    if (const SettingsList* volumes = slot_->ActiveList(ListKind::Volume)) {
      ApplyVolumeList(song, *volumes);
    }
    if (const SettingsList* drums = slot_->ActiveList(ListKind::Drum)) {
      ApplyDrumList(song, *drums);
    }
    if (const SettingsList* edits = slot_->ActiveList(ListKind::Edit)) {
      EditEnvironment environment{*notices_, {}};
      environment.snapshots.checked = {formats_->same_as_original, formats_->format0,
                                       formats_->format1};
      environment.snapshots.folders = slot_->folders;
      environment.snapshots.input_format = input_format;
      environment.snapshots.output_name = output_name;
      ApplyEditList(song, *edits, environment);
    }
    if (const SettingsList* order = slot_->ActiveList(ListKind::Order)) {
      ApplyOrderList(song, *order);
    }
    AppendCountLine(kVoicesLabel, VoiceCount(song));

    song.DeleteEmptyTracks();
    song.ToOnOffForm();
    if (!song.Encode() || !song.Save(work_path)) return false;
  }
  if (formats_->same_as_original && input_format == 1) {
    complete &= CopyTo(OutputFolder::SameAsOriginal, output_name, work_path);
  }
  if (formats_->format1) complete &= CopyTo(OutputFolder::Format1, output_name, work_path);

  MidiFileLoader loader(*context_, work_path);
  if (!loader.Loaded()) return false;
  MidiF1Data& song = *loader.Song();
  if (song.KeepsSequenceNamesInFormat0()) {
    loader.ToFormat0KeepNames();
  } else {
    loader.ToFormat0();
  }
  MidiF0Data& format0 = *loader.Format0Song();
  AppendCountLine(kSimultaneousLabel, SimultaneousNotes(format0.Track()));
  format0.ToOnOffForm();
  if (!format0.Encode() || !format0.SaveToFile(work_path)) return false;
  if (formats_->same_as_original && input_format == 0) {
    complete &= CopyTo(OutputFolder::SameAsOriginal, output_name, work_path);
  }
  if (formats_->format0) complete &= CopyTo(OutputFolder::Format0, output_name, work_path);
  return complete;
}

bool ConversionDriver::CopyTo(OutputFolder folder, std::string_view output_name,
                              std::string_view work_path) {
  const std::string target = JoinPath(slot_->Folder(folder), output_name);
  if (target == work_path) return true;
  if (CopyFileReplacing(work_path, target)) return true;
  ReportMessage(kGeneralMessage);
  ReportDetail(target);
  return false;
}

}  // namespace quillmar
