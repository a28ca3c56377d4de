#include "model/midi_f1_data.h"

#include "model/event_merge.h"

#include <algorithm>
#include <array>

#include "model/model_errors.h"
#include "model/smf_header.h"

namespace quillmar {
namespace {

// A track count above this in a header is replaced by kTracksReadWhenTooMany.
constexpr int kMostTracksAccepted = 33;
constexpr int kTracksReadWhenTooMany = 16;
constexpr int kChannels = 16;

}  // namespace

MidiF1Data::MidiF1Data(ModelContext& context, TrackForm form) : context_(&context), form_(form) {}

MidiF1Data::MidiF1Data(ModelContext& context, const MidiSource& source)
    : context_(&context), form_(TrackForm::EncodedForm) {
  context.running_status = 0;
  int track_count = 0;
  Load(context.Reports(), source);
  if (!ParseHeader(track_count)) return;
  std::size_t cursor = kFirstChunkOffset;
  for (int i = 0; i < track_count; ++i) {
    MidiTrackData track(context, image_, cursor);
    cursor += track.Size();
    if (track.Size() == 0) {
      // A missing or broken chunk (already reported) becomes an empty track, which is
      // dropped before writing instead of making the written file invalid.
      track.SetForm(TrackForm::OnOffForm);
      track.AppendEndOfTrack();
    }
    tracks_.push_back(std::move(track));
  }
  form_ = TrackForm::OnOffForm;
  ToGateTimeForm();
}

bool MidiF1Data::ParseHeader(int& track_count) {
  if (image_.empty()) return false;
  if (!StripMacBinaryBeforeHeader(image_)) {
    ReportF1Error(Context(), kF1NotMidiOrMacBinary);
    return false;
  }
  const SmfHeader header = ReadSmfHeader(image_);
  if (header.format != 1) {
    ReportF1Error(Context(), kNotFormat1);
    return false;
  }
  track_count = header.track_count;
  if (track_count > kMostTracksAccepted) {
    ReportF1Error(Context(), kTooManyTracks);
    track_count = kTracksReadWhenTooMany;
  }
  division_ = header.division;
  return true;
}

MidiF1Data::MidiF1Data(const MidiF0Data& song)
    : context_(&song.Context()), division_(song.Division()), form_(TrackForm::GateTimeForm) {
  if (song.Form() != TrackForm::GateTimeForm) {
    ReportF1Error(Context(), kF1InternalError);
    return;
  }
  for (int channel = 0; channel < kChannels; ++channel) {
    tracks_.emplace_back(*context_, TrackForm::GateTimeForm);
  }
  // Ticks since the last event given to each track.
  std::array<std::int64_t, kChannels> pending{};
  for (const MusicEvent& event : song.Track().Events()) {
    for (auto& delay : pending) delay += event.delta;
    if (event.IsMeta(MetaType::EndOfTrack)) {
      for (int t = 0; t < kChannels; ++t) tracks_[t].AppendEndOfTrack(AddDeltas(pending[t], 0));
      pending.fill(0);
      continue;
    }
    const int target = (event.channel >= 0 && event.channel < kChannels) ? event.channel : 0;
    MusicEvent copy = event;
    copy.delta = AddDeltas(pending[target], 0);
    pending[target] = 0;
    // A full track has reported TooMuchData; the other channels go on.
    static_cast<void>(tracks_[target].Append(std::move(copy)));
  }
}

MidiF1Data::MidiF1Data(const MidiF1Data& song)
    : MidiDataBuffer(), context_(song.context_), division_(song.division_), form_(song.form_) {
  tracks_.reserve(song.tracks_.size());
  for (const MidiTrackData& track : song.tracks_) tracks_.emplace_back(track);
}

bool MidiF1Data::AppendTrack(MidiTrackData track) {
  return InsertTrack(std::move(track), TrackCount());
}

bool MidiF1Data::InsertTrack(MidiTrackData track, int index) {
  if (TrackCount() >= kMaxTracks || index < 0 || index > TrackCount()) {
    ReportF1Error(Context(), kF1InternalError);
    return false;
  }
  tracks_.insert(tracks_.begin() + index, std::move(track));
  return true;
}

void MidiF1Data::ReplaceTrack(int index, MidiTrackData track) {
  if (index < 0 || index >= TrackCount()) {
    ReportF1Error(Context(), kF1InternalError);
    return;
  }
  tracks_[static_cast<std::size_t>(index)] = std::move(track);
}

void MidiF1Data::DeleteTrack(int index) {
  if (index < 0 || index >= TrackCount()) {
    ReportF1Error(Context(), kF1InternalError);
    return;
  }
  tracks_.erase(tracks_.begin() + index);
}

void MidiF1Data::DeleteEmptyTracks() {
  if (std::ranges::all_of(tracks_, &MidiTrackData::HasOnlyEndOfTrack)) {
    // A song of empty tracks keeps its first, so that it is still written as a valid file.
    if (tracks_.size() > 1) tracks_.erase(tracks_.begin() + 1, tracks_.end());
    return;
  }
  std::erase_if(tracks_, [](const MidiTrackData& track) { return track.HasOnlyEndOfTrack(); });
}

void MidiF1Data::ToGateTimeForm() {
  if (form_ != TrackForm::OnOffForm) {
    ReportF1Error(Context(), kF1InternalError);
    return;
  }
  for (MidiTrackData& track : tracks_) track.ToGateTimeForm();
  form_ = TrackForm::GateTimeForm;
}

void MidiF1Data::ToOnOffForm() {
  if (form_ != TrackForm::GateTimeForm) {
    ReportF1Error(Context(), kF1InternalError);
    return;
  }
  for (MidiTrackData& track : tracks_) track.ToOnOffForm();
  form_ = TrackForm::OnOffForm;
}

bool MidiF1Data::Encode() {
  image_.clear();
  if (form_ != TrackForm::OnOffForm) {
    ReportF1Error(Context(), kF1InternalError);
    return false;
  }
  std::string image = EncodeSmfHeader(1, TrackCount(), division_);
  for (MidiTrackData& track : tracks_) {
    // A track that cannot be encoded has reported why; no partial file results.
    if (!track.Encode()) return false;
    image += track.Image();
  }
  image_ = std::move(image);
  form_ = TrackForm::EncodedForm;
  return true;
}

MidiF0Data MidiF1Data::TakeAsFormat0(bool keep_names) {
  MidiF0Data song(*context_, TrackForm::GateTimeForm);
  if (form_ != TrackForm::GateTimeForm) {
    ReportF1Error(Context(), kF1InternalError);
    return song;
  }
  song.SetDivision(division_);
  // Merging the tracks one by one from the last to the first (the incoming track winning
  // ties) gives the same, in one pass: events of one tick stand in track order.
  std::vector<std::vector<MusicEvent>> tracks;
  for (MidiTrackData& track : tracks_) {
    if (!keep_names && track.GetChannel() != kNoChannel) track.DeleteMeta(MetaType::SequenceName);
    tracks.push_back(track.TakeEvents());
  }
  song.Track().SetEvents(MergeByTime(std::move(tracks)));
  song.Track().RemoveInnerEndOfTrack();
  return song;
}

bool MidiF1Data::KeepsSequenceNamesInFormat0() const {
  return CountMeta(MetaType::SequenceName) == 1 && !tracks_.empty() && !tracks_[0].IsMetaOnly();
}

}  // namespace quillmar
