#include "model/note_counts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "model/midi_f1_data.h"
#include "model/model_builders.h"
#include "model/sounding_timeline.h"
#include "model/tempo_map.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

// The straightforward walk: every event takes its delta off each listed note, drops the
// notes with nothing left, appends a Note (with one_per_key, only while no listed entry has
// its note and channel) and takes the peak.
int ListWalkPeak(const MidiTrackData& track, bool one_per_key) {
  struct Entry {
    std::int32_t note;
    Ticks remaining;
    std::int32_t channel;
  };
  std::vector<Entry> list;
  std::size_t peak = 0;
  for (const MusicEvent& event : track.Events()) {
    for (Entry& entry : list) entry.remaining -= event.delta;
    std::erase_if(list, [](const Entry& entry) { return entry.remaining <= 0; });
    if (event.kind == EventKind::Note) {
      const bool listed = std::any_of(list.begin(), list.end(), [&](const Entry& entry) {
        return entry.note == event.note && entry.channel == event.channel;
      });
      if (!one_per_key || !listed) list.push_back({event.note, event.gate, event.channel});
    }
    peak = std::max(peak, list.size());
  }
  return static_cast<int>(peak);
}

// A track of Notes and controllers with short deltas and gates, so that notes overlap, end
// exactly at later events and repeat on the same note and channel.
MidiTrackData RandomTrack(ModelContext& context, std::mt19937& random) {
  static constexpr std::int32_t kChannels[] = {0, 1, 9, kNoChannel};
  auto below = [&random](int bound) { return static_cast<int>(random() % bound); };
  MidiTrackData track(context, TrackForm::GateTimeForm);
  const int count = below(300);
  const int spread = 1 + below(40);
  for (int i = 0; i < count; ++i) {
    const std::int32_t delta = below(3) == 0 ? 0 : below(spread);
    if (below(8) == 0) {
      EXPECT_TRUE(track.Append(Control(delta, 0, 7, 100)));
    } else {
      EXPECT_TRUE(track.Append(
          GateNote(delta, kChannels[below(4)], 60 + below(6), below(5) == 0 ? 0 : below(200))));
    }
  }
  track.AppendEndOfTrack(below(50));
  return track;
}

TEST(NoteCounts, FastWalksEqualTheListWalkOnRandomTracks) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  for (unsigned seed = 1; seed <= 3000; ++seed) {
    std::mt19937 random(seed);
    const MidiTrackData track = RandomTrack(context, random);
    ASSERT_EQ(PeakPolyphony(track), ListWalkPeak(track, false)) << "seed " << seed;
    ASSERT_EQ(SimultaneousNotes(track), ListWalkPeak(track, true)) << "seed " << seed;
  }
}

// The timeline's value at `tick`: the entry in force there.
int ValueAt(const std::vector<SoundingChange>& timeline, Ticks tick) {
  int value = 0;
  for (const SoundingChange& change : timeline) {
    if (change.tick > tick) break;
    value = change.notes;
  }
  return value;
}

// Every tick of the track by the list walk: at an event tick the most its events count;
// elsewhere the notes listed at the last event that have not yet ended.
std::vector<int> ListWalkTicks(const MidiTrackData& track) {
  struct Entry {
    std::int32_t note;
    std::int32_t channel;
    Ticks end;
  };
  std::vector<Entry> list;
  std::vector<int> values;
  Ticks time = 0;
  auto fill_until = [&](Ticks until) {  // ticks after the last event, before `until`
    for (Ticks t = static_cast<Ticks>(values.size()); t < until; ++t) {
      values.push_back(static_cast<int>(
          std::count_if(list.begin(), list.end(), [t](const Entry& e) { return e.end > t; })));
    }
  };
  for (const MusicEvent& event : track.Events()) {
    if (event.delta > 0) fill_until(time + event.delta);
    const bool new_tick = event.delta > 0 || values.empty();
    time += event.delta;
    std::erase_if(list, [time](const Entry& entry) { return entry.end <= time; });
    if (event.kind == EventKind::Note &&
        std::none_of(list.begin(), list.end(), [&](const Entry& entry) {
          return entry.note == event.note && entry.channel == event.channel;
        })) {
      list.push_back({event.note, event.channel, time + event.gate});
    }
    const int count = static_cast<int>(list.size());
    if (new_tick) {
      values.push_back(count);
    } else {
      values.back() = std::max(values.back(), count);
    }
  }
  Ticks last_end = time + 1;
  for (const Entry& entry : list) last_end = std::max(last_end, entry.end + 1);
  fill_until(last_end);
  return values;
}

TEST(NoteCounts, TimelineHoldsTheListWalkAtEveryTick) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  for (unsigned seed = 1; seed <= 300; ++seed) {
    std::mt19937 random(seed);
    const MidiTrackData track = RandomTrack(context, random);
    const std::vector<SoundingChange> timeline = SoundingTimeline(track);
    const std::vector<int> expected = ListWalkTicks(track);
    for (Ticks tick = 0; tick < static_cast<Ticks>(expected.size()); ++tick) {
      ASSERT_EQ(ValueAt(timeline, tick), expected[static_cast<std::size_t>(tick)])
          << "seed " << seed << " tick " << tick;
    }
    ASSERT_EQ(PeakOf(timeline), SimultaneousNotes(track)) << "seed " << seed;
    for (std::size_t i = 1; i < timeline.size(); ++i) {
      ASSERT_LT(timeline[i - 1].tick, timeline[i].tick) << "seed " << seed;
      ASSERT_NE(timeline[i - 1].notes, timeline[i].notes) << "seed " << seed;
    }
    ASSERT_TRUE(timeline.empty() || timeline.back().notes == 0) << "seed " << seed;
  }
}

TEST(NoteCounts, TimelineCases) {
  using Changes = std::vector<SoundingChange>;
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const struct {
    const char* name;
    std::vector<MusicEvent> events;
    Changes expected;
  } kCases[] = {
      {"a note ending between events falls at its end",
       {GateNote(0, 0, 60, 10), GateNote(0, 0, 64, 30), EndOfTrack(50)},
       {{0, 2}, {10, 1}, {30, 0}}},
      {"a note ending where the next starts hands over without a change",
       {GateNote(0, 0, 60, 10), GateNote(10, 0, 62, 10), EndOfTrack()},
       {{0, 1}, {20, 0}}},
      {"a note of gate 0 counts for one tick",
       {GateNote(0, 0, 60, 100), GateNote(10, 0, 62, 0), EndOfTrack(90)},
       {{0, 1}, {10, 2}, {11, 1}, {100, 0}}},
      {"the same note again while it sounds does not join",
       {GateNote(0, 0, 60, 100), GateNote(10, 0, 60, 100), EndOfTrack(200)},
       {{0, 1}, {100, 0}}},
      {"no notes, no changes", {Control(0, 0, 7, 100), EndOfTrack(10)}, {}},
  };
  for (const auto& c : kCases) {
    std::vector<MusicEvent> events = c.events;
    EXPECT_EQ(SoundingTimeline(TrackOf(context, TrackForm::GateTimeForm, std::move(events))),
              c.expected)
        << c.name;
  }
}

TEST(NoteCounts, TempoMapTurnsTicksIntoSeconds) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  const MidiTrackData track = TrackOf(context, TrackForm::GateTimeForm,
                                      {Tempo(480, 1000000), Tempo(480, 250000), EndOfTrack()});
  const TempoMap map(track, 480);
  EXPECT_DOUBLE_EQ(map.Seconds(0), 0.0);
  EXPECT_DOUBLE_EQ(map.Seconds(480), 0.5);   // 120 a minute before the first tempo
  EXPECT_DOUBLE_EQ(map.Seconds(960), 1.5);   // then 60
  EXPECT_DOUBLE_EQ(map.Seconds(1920), 2.0);  // then 240
  const TempoMap frames(track, 0xE728);      // 25 frames of 40 ticks: a millisecond a tick
  EXPECT_DOUBLE_EQ(frames.Seconds(1000), 1.0);
  // And back, within each tempo.
  EXPECT_DOUBLE_EQ(map.TickAt(0.25), 240.0);
  EXPECT_DOUBLE_EQ(map.TickAt(1.0), 720.0);
  EXPECT_DOUBLE_EQ(map.TickAt(1.75), 1440.0);
  EXPECT_DOUBLE_EQ(frames.TickAt(1.0), 1000.0);
}

TEST(NoteCounts, ANoteEndingAtTheNextEventNoLongerCounts) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {GateNote(0, 0, 60, 10), GateNote(10, 0, 62, 10), EndOfTrack(10)});
  EXPECT_EQ(PeakPolyphony(track), 1);
  auto overlapping = TrackOf(context, TrackForm::GateTimeForm,
                             {GateNote(0, 0, 60, 11), GateNote(10, 0, 62, 10), EndOfTrack(10)});
  EXPECT_EQ(PeakPolyphony(overlapping), 2);
}

TEST(NoteCounts, AZeroGateNoteCountsAtItsOwnEventOnly) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {GateNote(0, 0, 60, 0), GateNote(0, 0, 62, 0), EndOfTrack()});
  EXPECT_EQ(PeakPolyphony(track), 1);
  EXPECT_EQ(SimultaneousNotes(track), 1);
}

TEST(NoteCounts, SameNoteOfTheSameChannelCountsOnceInSimultaneousNotes) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {GateNote(0, 0, 60, 100), GateNote(10, 0, 60, 100), EndOfTrack(200)});
  EXPECT_EQ(PeakPolyphony(track), 2);
  EXPECT_EQ(SimultaneousNotes(track), 1);
  // The skipped second note does not sound on after the first ends.
  auto later = TrackOf(
      context, TrackForm::GateTimeForm,
      {GateNote(0, 0, 60, 100), GateNote(10, 0, 60, 100), GateNote(90, 0, 62, 10), EndOfTrack()});
  EXPECT_EQ(SimultaneousNotes(later), 1);
  auto other_channels =
      TrackOf(context, TrackForm::GateTimeForm,
              {GateNote(0, 0, 60, 100), GateNote(0, 1, 60, 100), GateNote(0, kNoChannel, 60, 100)});
  EXPECT_EQ(SimultaneousNotes(other_channels), 3);
}

TEST(NoteCounts, CountsAreExactBeyondSixtyFourSoundingNotes) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiTrackData track(context, TrackForm::GateTimeForm);
  for (int note = 0; note < 100; ++note) EXPECT_TRUE(track.Append(GateNote(0, 0, note, 480)));
  track.AppendEndOfTrack(480);
  EXPECT_EQ(PeakPolyphony(track), 100);
  EXPECT_EQ(SimultaneousNotes(track), 100);
}

TEST(NoteCounts, DistinctNotesIgnoreRepeatsAndOtherKinds) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {GateNote(0, 9, 36, 10), GateNote(0, 9, 38, 10), GateNote(10, 9, 36, 10),
                        NoteOn(0, 9, 50), GateNote(0, 9, 42, 10), EndOfTrack()});
  EXPECT_EQ(DistinctNoteCount(track), 3);
  EXPECT_EQ(DistinctNoteCount(TrackOf(context, TrackForm::GateTimeForm, {EndOfTrack()})), 0);
}

TEST(NoteCounts, VoiceCountUsesDistinctNotesForTheDrumChannel) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiF1Data song(context, TrackForm::GateTimeForm);
  EXPECT_TRUE(song.AppendTrack(
      TrackOf(context, TrackForm::GateTimeForm, {Tempo(0, 500000), EndOfTrack()})));
  EXPECT_TRUE(song.AppendTrack(
      TrackOf(context, TrackForm::GateTimeForm,
              {GateNote(0, 9, 36, 10), GateNote(120, 9, 38, 10), GateNote(120, 9, 42, 10),
               GateNote(120, 9, 36, 10), EndOfTrack()})));
  EXPECT_TRUE(song.AppendTrack(TrackOf(context, TrackForm::GateTimeForm,
                                       {GateNote(0, 0, 60, 480), GateNote(0, 0, 64, 480),
                                        GateNote(0, 0, 67, 480), EndOfTrack(480)})));
  EXPECT_EQ(VoiceCount(song), 6);
}

}  // namespace
}  // namespace quillmar
