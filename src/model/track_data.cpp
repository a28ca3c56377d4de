#include "model/midi_track_data.h"

#include <algorithm>
#include <limits>

#include "model/model_errors.h"

namespace quillmar {

MidiTrackData::MidiTrackData(ModelContext& context, TrackForm form)
    : context_(&context), form_(form) {}

MidiTrackData::MidiTrackData(ModelContext& context, std::string_view file_image, std::size_t offset)
    : context_(&context), form_(TrackForm::EncodedForm) {
  ReadChunk(file_image, offset);
}

MidiTrackData::MidiTrackData(const MidiTrackData& source)
    : MidiDataBuffer(), context_(source.context_), form_(TrackForm::GateTimeForm) {
  if (source.form_ != TrackForm::GateTimeForm) {
    ReportTrackError(Context(), kTrackInternalError);
    return;
  }
  events_ = source.events_;
}

std::int32_t AddDeltas(std::int64_t a, std::int64_t b) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      a + b, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

MusicEvent MakeMetaText(std::int32_t meta_type, std::string_view text) {
  MusicEvent event(0);
  event.kind = EventKind::Meta;
  event.type = meta_type;
  event.data.assign(text);
  return event;
}

MusicEvent MakeEndOfTrack(std::int32_t delta) {
  MusicEvent event(delta);
  event.kind = EventKind::Meta;
  event.type = MetaType::EndOfTrack;
  event.data.assign("\xFF\x2F\x00", 3);
  return event;
}

}  // namespace quillmar
