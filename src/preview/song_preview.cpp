#include "preview/song_preview.h"

#include <algorithm>

#include "model/music_event.h"
#include "model/note_counts.h"

namespace quillmar {
namespace {

// More measure lines than any screen shows; a song of absurd length stops there.
constexpr std::size_t kMaxMeasures = 100000;

PreviewTrack DescribeTrack(const MidiTrackData& track) {
  PreviewTrack described;
  for (const MusicEvent& event : track.Events()) {
    if (event.IsMeta(MetaType::SequenceName)) {
      described.name = event.data;
      break;
    }
  }
  const std::int32_t channel = track.GetChannel();
  if (channel >= 0 && channel < 16) described.channel = channel;
  described.notes = static_cast<int>(
      std::count_if(track.Events().begin(), track.Events().end(),
                    [](const MusicEvent& event) { return event.kind == EventKind::Note; }));
  described.voices = TrackVoices(track);
  return described;
}

// The measure starts up to `length`, along the time signatures of the merged track: each
// signature starts a measure of its own length where it stands. Before the first, 4/4.
std::vector<MeasureLine> FindMeasures(const MidiTrackData& merged, std::int32_t division,
                                      Ticks length) {
  std::vector<MeasureLine> measures;
  if (division <= 0 || (division & 0x8000)) return {{0, 1}};  // frames have no measures
  Ticks measure_length = Ticks{4} * division;
  Ticks start = 0;
  int number = 1;
  auto measures_until = [&](Ticks time) {
    while (start < time && measures.size() < kMaxMeasures) {
      measures.push_back({start, number++});
      start += measure_length;
    }
  };
  Ticks time = 0;
  for (const MusicEvent& event : merged.Events()) {
    time += event.delta;
    if (!event.IsMeta(MetaType::TimeSign)) continue;
    measures_until(time);
    start = time;  // a signature within a measure cuts it short
    const int numerator = event.DataByte(0);
    const int power = event.DataByte(1);
    if (numerator > 0 && power <= 6) {
      measure_length = std::max<Ticks>(1, Ticks{4} * division * numerator >> power);
    }
  }
  measures_until(std::max<Ticks>(length, 1));
  return measures;
}

}  // namespace

SongPreview::SongPreview(const MidiF1Data& song, const MidiTrackData& merged)
    : division_(song.Division()), tempo_(merged, song.Division()) {
  for (int index = 0; index < song.TrackCount(); ++index) {
    const MidiTrackData& track = song.Track(index);
    tracks_.push_back(DescribeTrack(track));
    voice_count_ += tracks_.back().voices;
    Ticks time = 0;
    for (const MusicEvent& event : track.Events()) {
      time += event.delta;
      if (event.kind != EventKind::Note) continue;
      notes_.push_back({time, time + event.gate, event.note, event.velocity, event.channel, index});
      longest_note_ = std::max<Ticks>(longest_note_, event.gate);
      length_ = std::max(length_, time + event.gate);
    }
    length_ = std::max(length_, time);
  }
  std::stable_sort(notes_.begin(), notes_.end(),
                   [](const PreviewNote& a, const PreviewNote& b) { return a.start < b.start; });
  measures_ = FindMeasures(merged, division_, length_);
  timeline_ = SoundingTimeline(merged);
  simultaneous_notes_ = PeakOf(timeline_);
}

std::span<const PreviewNote> SongPreview::NotesBetween(Ticks from, Ticks to) const {
  auto by_start = [](const PreviewNote& note, Ticks tick) { return note.start < tick; };
  const auto first = std::lower_bound(notes_.begin(), notes_.end(), from - longest_note_, by_start);
  const auto last = std::lower_bound(first, notes_.end(), std::max(from, to), by_start);
  return {first, last};
}

std::vector<TickSpan> SongPreview::SpansAbove(int limit) const {
  std::vector<TickSpan> spans;
  for (std::size_t i = 0; i < timeline_.size(); ++i) {
    if (timeline_[i].notes <= limit) continue;
    const Ticks end = i + 1 < timeline_.size() ? timeline_[i + 1].tick : length_;
    if (!spans.empty() && spans.back().second == timeline_[i].tick) {
      spans.back().second = end;
    } else {
      spans.push_back({timeline_[i].tick, end});
    }
  }
  return spans;
}

std::vector<TickSpan> SongPreview::Peaks() const {
  return simultaneous_notes_ > 0 ? SpansAbove(simultaneous_notes_ - 1) : std::vector<TickSpan>{};
}

}  // namespace quillmar
