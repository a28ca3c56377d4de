#include "model/midi_f0_data.h"

#include <vector>

#include "model/model_errors.h"
#include "model/smf_header.h"

namespace quillmar {

MidiF0Data::MidiF0Data(ModelContext& context, TrackForm form)
    : form_(form), track_(context, form) {}

MidiF0Data::MidiF0Data(ModelContext& context, const MidiSource& source)
    : form_(TrackForm::EncodedForm), track_(context, TrackForm::EncodedForm) {
  context.running_status = 0;
  Load(context.Reports(), source);
  if (!ParseHeader()) return;
  track_ = MidiTrackData(context, image_, kFirstChunkOffset);
  form_ = TrackForm::OnOffForm;
  // A song whose only chunk could not be read has nothing to convert.
  if (track_.Size() == 0) return;
  ToGateTimeForm();
  loaded_ = true;
}

bool MidiF0Data::ParseHeader() {
  if (image_.empty()) return false;
  if (!StripMacBinaryBeforeHeader(image_)) ReportF0Error(Context(), kF0NotMidiOrMacBinary);
  const SmfHeader header = ReadSmfHeader(image_);
  if (header.format != 0) {
    ReportF0Error(Context(), kNotFormat0);
    return false;
  }
  if (header.track_count != 1) {
    ReportF0Error(Context(), kBadTrackCount);
    return false;
  }
  division_ = header.division;
  return true;
}

void MidiF0Data::ToGateTimeForm() {
  if (form_ != TrackForm::OnOffForm) {
    ReportF0Error(Context(), kF0InternalError);
    return;
  }
  track_.ToGateTimeForm();
  form_ = TrackForm::GateTimeForm;
}

void MidiF0Data::ToOnOffForm() {
  if (form_ != TrackForm::GateTimeForm) {
    ReportF0Error(Context(), kF0InternalError);
    return;
  }
  track_.ToOnOffForm();
  form_ = TrackForm::OnOffForm;
}

bool MidiF0Data::Encode() {
  image_.clear();
  if (form_ != TrackForm::OnOffForm) {
    ReportF0Error(Context(), kF0InternalError);
    return false;
  }
  track_.GroupNonNotesFirst();
  track_.GroupSysExFirst();
  track_.NoteOffsBeforeNoteOns();
  if (!track_.Encode()) return false;
  image_ = EncodeSmfHeader(0, 1, division_);
  image_ += track_.Image();
  form_ = TrackForm::EncodedForm;
  return true;
}

}  // namespace quillmar
