#include "model/midi_file_loader.h"

#include <string>
#include <vector>

#include "model/model_errors.h"
#include "model/smf_header.h"

namespace quillmar {

MidiFileLoader::MidiFileLoader(ModelContext& context, const MidiSource& source)
    : context_(&context) {
  std::string image(source.bytes);
  // An image without the header at either place is still looked at: the format read from it
  // names none, or the container finds and reports what is wrong.
  static_cast<void>(StripMacBinaryBeforeHeader(image));
  const SmfHeader header = ReadSmfHeader(image);
  if (header.format == 0 || header.format == 1) input_format_ = header.format;
  switch (header.format) {
    case 0: {
      // The containers take the source's bytes for themselves, at the limit with its message
      // once more; the image served the detection.
      const MidiF0Data format0(context, source);
      if (!format0.Loaded()) return;
      song_ = std::make_unique<MidiF1Data>(format0);
      break;
    }
    case 1:
      song_ = std::make_unique<MidiF1Data>(context, source);
      if (song_->TrackCount() == 0) {
        song_.reset();
        return;
      }
      break;
    default:
      ReportLoaderError(context, kNotMidiFile);
      return;
  }
  loaded_ = true;
}

void MidiFileLoader::ToFormat0() {
  BuildFormat0(false);
}

void MidiFileLoader::ToFormat0KeepNames() {
  BuildFormat0(true);
}

void MidiFileLoader::ToOutputFormat0() {
  BuildFormat0(song_ && song_->KeepsSequenceNamesInFormat0());
}

void MidiFileLoader::BuildFormat0(bool keep_names) {
  if (!song_ || song_->Form() != TrackForm::GateTimeForm) {
    ReportLoaderError(*context_, kLoaderInternalError);
    return;
  }
  format0_song_ = std::make_unique<MidiF0Data>(song_->TakeAsFormat0(keep_names));
  song_.reset();
}

}  // namespace quillmar
