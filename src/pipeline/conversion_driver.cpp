#include "pipeline/conversion_driver.h"

#include <algorithm>
#include <variant>
#include <vector>

#include "lists/path_helpers.h"
#include "lists/whole_file.h"
#include "pipeline/beside_files.h"
#include "pipeline/song_conversion.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "report/message_catalogue.h"
#include "report/report.h"

namespace quillmar {
namespace {

// The text with its control bytes shown as '?', for a detail line.
std::string Printable(std::string_view text) {
  std::string shown(text);
  for (char& byte : shown) {
    if (static_cast<unsigned char>(byte) < 0x20) byte = '?';
  }
  return shown;
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

ConversionDriver::RowResult ConversionDriver::Convert(std::string_view input_name,
                                                      std::string& output_name,
                                                      std::string_view title,
                                                      std::string_view copyright) {
  const std::optional<std::string> file_name = OutputFileName(output_name);
  if (!file_name) {
    ReportText(context_->Reports(), UnusableFileText());
    ReportDetail(context_->Reports(), Printable(output_name));
    return {};
  }
  std::string input;
  if (!ReadWholeFile(context_->Reports(), input_name, input)) return {};
  SongConversion conversion{.context = *context_,
                            .notices = *notices_,
                            .slot = slot_,
                            .cells = TextCells{title, copyright}};
  for (const OutputFormat format : kOutputFormats) {
    conversion.snapshots.checked[format] = formats_->Checked(format);
  }
  conversion.snapshots.folders = slot_->folders;
  conversion.snapshots.output_name = *file_name;
  conversion.make_timeline = formats_->timelines;
  conversion.explain = formats_->explain;
  const bool wavs = formats_->wav_soundfont.has_value();
  if (wavs && OpenSynthesizer()) {
    conversion.wav_synthesizer = synthesizer_.get();
    conversion.wav_limit = formats_->wav_limit;
  }
  const std::string work_path = JoinPath(work_folder_, *file_name);
  bool complete = true;
  std::vector<std::string> written_folders;
  auto copy_to = [&](OutputFormat format) {
    if (!CopyTo(format, *file_name, work_path)) {
      complete = false;
    } else if (std::find(written_folders.begin(), written_folders.end(), slot_->folders[format]) ==
               written_folders.end()) {
      written_folders.push_back(slot_->folders[format]);
    }
  };
  // Each file goes into the work folder and is copied from there into the folders asked for;
  // the original format's folder takes the file of the input's format.
  auto take = [&](OutputFormat format, int input_format, std::string_view bytes) {
    if (!WriteWholeFile(context_->Reports(), work_path, bytes)) return false;
    if (formats_->Checked(OutputFormat::SameAsOriginal) &&
        OutputFormatOfHeader(input_format) == format) {
      copy_to(OutputFormat::SameAsOriginal);
    }
    if (formats_->Checked(format)) copy_to(format);
    return true;
  };
  SongConversionResult result = ConvertSong(conversion, MidiSource::Bytes(input), take);
  if (result.loaded) output_name = *file_name;
  RowResult row{false, std::move(result.lists_with_errors)};
  if (!result.finished) return row;
  complete &= result.snapshots_written;
  complete &= !wavs || synthesizer_ != nullptr;
  // The timeline beside every output file written, when asked.
  if (formats_->timelines) {
    for (const std::string& folder : written_folders) {
      complete &= WriteWholeFile(
          context_->Reports(), JoinPath(folder, TimelineFileName(*file_name)), result.timeline_csv);
    }
  }
  if (synthesizer_ != nullptr) {
    for (const std::string& folder : written_folders) {
      complete &= WriteWholeFile(context_->Reports(), JoinPath(folder, WavFileName(*file_name)),
                                 result.wav);
    }
  }
  row.complete = complete;
  return row;
}

bool ConversionDriver::CopyTo(OutputFormat format, std::string_view output_name,
                              std::string_view work_path) {
  const std::string target = JoinPath(slot_->folders[format], output_name);
  if (target == work_path) return true;
  if (CopyFileReplacing(work_path, target)) return true;
  ReportMessage(context_->Reports(), kGeneralMessage);
  ReportDetail(context_->Reports(), target);
  return false;
}

bool ConversionDriver::OpenSynthesizer() {
  if (synthesizer_ != nullptr) return true;
  if (synthesizer_failed_) return false;
  auto opened = Synthesizer::Open(*formats_->wav_soundfont);
  if (auto* synthesizer = std::get_if<std::unique_ptr<Synthesizer>>(&opened)) {
    synthesizer_ = std::move(*synthesizer);
    return true;
  }
  synthesizer_failed_ = true;
  ReportText(context_->Reports(), Sjis("WAV ファイルを作れませんでした。"));
  ReportDetail(context_->Reports(), Utf8ToSjisReplacing(std::get<std::string>(opened)));
  return false;
}

}  // namespace quillmar
