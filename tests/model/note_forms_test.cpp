#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "model/midi_track_data.h"
#include "model/model_builders.h"
#include "support/recording_sink.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

constexpr const char* kInternalError = "MidiTrackDataで内部エラーが発生しました。";
constexpr const char* kTooMuchData = "データの量が多すぎます。";

// --- The conversions as plain walks over a vector (quadratic), counting internal errors ----

void PurgeWalk(std::vector<MusicEvent>& events, int& errors) {
  for (std::size_t i = 0; i < events.size();) {
    if (events[i].kind != EventKind::Removed) {
      ++i;
      continue;
    }
    if (i + 1 < events.size()) {
      events[i + 1].delta = AddDeltas(events[i + 1].delta, events[i].delta);
      if (events[i + 1].delta < 0) ++errors;
    }
    events.erase(events.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

void RemoveCarrying(std::vector<MusicEvent>& events, std::size_t i) {
  if (i + 1 < events.size()) {
    events[i + 1].delta = AddDeltas(events[i + 1].delta, events[i].delta);
  }
  events.erase(events.begin() + static_cast<std::ptrdiff_t>(i));
}

void PairingWalk(std::vector<MusicEvent>& events, int& errors) {
  for (std::size_t i = 0; i < events.size(); ++i) {
    MusicEvent& on = events[i];
    if (on.kind != EventKind::NoteOn) continue;
    on.kind = EventKind::Note;
    Ticks sum = 0;
    for (std::size_t j = i + 1; j < events.size(); ++j) {
      sum += events[j].delta;
      const MusicEvent& off = events[j];
      if (off.kind == EventKind::NoteOff && off.channel == on.channel && off.note == on.note) {
        on.gate = static_cast<std::int32_t>(sum);
        RemoveCarrying(events, j);
        break;
      }
    }
  }
  for (std::size_t i = 0; i < events.size();) {
    if (events[i].kind == EventKind::NoteOff) {
      RemoveCarrying(events, i);
    } else {
      ++i;
    }
  }
  for (MusicEvent& event : events) {
    if (event.kind != EventKind::Note) continue;
    if (event.gate == 0) event.kind = EventKind::Removed;
    if (event.gate < 0) ++errors;
  }
  PurgeWalk(events, errors);
}

void ExpansionWalk(std::vector<MusicEvent>& events, int& errors) {
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (events[i].kind != EventKind::Note) continue;
    events[i].kind = EventKind::NoteOn;
    Ticks gate = std::exchange(events[i].gate, 0);
    if (gate <= 0) {
      ++errors;
      gate = 0;
    }
    std::size_t p = i;
    Ticks sum = 0;
    if (gate > 0) {
      for (p = i + 1; p < events.size(); ++p) {
        sum += events[p].delta;
        if (sum >= gate) break;
      }
    }
    const Ticks over = sum - gate;
    MusicEvent off = NoteOff(0, events[i].channel, events[i].note, 64);
    if (p < events.size()) {
      off.delta = static_cast<std::int32_t>(events[p].delta - over);
      events[p].delta = static_cast<std::int32_t>(over);
    } else {
      off.delta = static_cast<std::int32_t>(-over);
    }
    events.insert(events.begin() + static_cast<std::ptrdiff_t>(p), std::move(off));
  }
  for (std::size_t i = 0; i + 1 < events.size(); ++i) {
    if (!events[i].IsMeta(MetaType::EndOfTrack)) continue;
    events[i + 1].delta += std::exchange(events[i].delta, 0);
    MusicEvent end = std::move(events[i]);
    events.erase(events.begin() + static_cast<std::ptrdiff_t>(i));
    events.push_back(std::move(end));
    break;
  }
}

// --- Comparison and random tracks ---------------------------------------------------------

using EventFields = std::tuple<EventKind, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                               std::int32_t, std::int32_t, std::int32_t, std::string>;

std::vector<EventFields> FieldsOf(std::span<const MusicEvent> events) {
  std::vector<EventFields> fields;
  for (const MusicEvent& e : events) {
    fields.emplace_back(e.kind, e.delta, e.note, e.gate, e.velocity, e.channel, e.type, e.value,
                        e.data);
  }
  return fields;
}

// Small deltas (half of them 0) so that many events share ticks, three channels and three
// notes so that same-pitch notes overlap, EndOfTrack anywhere or missing.
class RandomTracks {
 public:
  explicit RandomTracks(unsigned seed) : random_(seed) {}

  std::vector<MusicEvent> OnOff() {
    return Make([this](std::int32_t delta, std::int32_t channel, std::int32_t note) {
      const int pick = Below(20);
      if (pick < 8) return NoteOn(delta, channel, note, 1 + Below(127));
      if (pick < 16) return NoteOff(delta, channel, note, Below(128));
      if (pick < 17) return GateNote(delta, channel, note, Below(3));
      return Other(pick, delta, channel);
    });
  }

  std::vector<MusicEvent> GateTime() {
    return Make([this](std::int32_t delta, std::int32_t channel, std::int32_t note) {
      const int pick = Below(20);
      if (pick < 14) return GateNote(delta, channel, note, Gate(), 1 + Below(127));
      if (pick < 16) return Control(delta, channel, 7, Below(128));
      return Other(pick, delta, channel);
    });
  }

  // Any kind with any delta, negative ones included, for the purge.
  std::vector<MusicEvent> Removals() {
    std::vector<MusicEvent> events(static_cast<std::size_t>(Below(30)));
    for (MusicEvent& event : events) {
      event = Control(Below(9) - 3, 0, 7, Below(128));
      if (Below(2) == 0) event.kind = EventKind::Removed;
    }
    return events;
  }

 private:
  int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }

  std::int32_t Gate() {
    const int pick = Below(10);
    if (pick == 0) return Below(3) - 2;    // 0 or negative: an error, taken as 0
    if (pick == 1) return 20 + Below(40);  // past the end of most tracks
    return 1 + Below(8);
  }

  MusicEvent Other(int pick, std::int32_t delta, std::int32_t channel) {
    if (pick == 17) return EndOfTrack(delta);
    if (pick == 18) return Meta(delta, MetaType::Marker, std::string(1, 'A' + Below(26)));
    MusicEvent removed(delta);
    return Below(2) == 0 ? removed : Program(delta, channel, Below(128));
  }

  template <typename MakeEvent>
  std::vector<MusicEvent> Make(MakeEvent make) {
    std::vector<MusicEvent> events;
    const int count = Below(40);
    for (int i = 0; i < count; ++i) {
      const std::int32_t delta = Below(2) == 0 ? 0 : 1 + Below(4);
      events.push_back(make(delta, Below(3), 60 + Below(3)));
    }
    if (Below(4) != 0) events.push_back(EndOfTrack(Below(6)));
    return events;
  }

  std::mt19937 random_;
};

// --- Pairing ------------------------------------------------------------------------------

TEST(NoteForms, OverlappingSamePitchNotesPairFirstInFirstOut) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::OnOffForm,
                       {NoteOn(0, 0, 60), NoteOn(10, 0, 60, 90), NoteOff(10, 0, 60),
                        NoteOff(10, 0, 60), EndOfTrack()});
  track.ToGateTimeForm();
  EXPECT_EQ(track.Form(), TrackForm::GateTimeForm);
  EXPECT_EQ(
      FieldsOf(track.Events()),
      FieldsOf(std::vector{GateNote(0, 0, 60, 20), GateNote(10, 0, 60, 20, 90), EndOfTrack(20)}));
}

TEST(NoteForms, NotesWithoutLengthOrNoteOffDisappearAndPassOnTheirDeltas) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::OnOffForm,
                       {NoteOff(5, 0, 64), NoteOn(95, 0, 60), NoteOff(0, 0, 60), NoteOn(0, 0, 62),
                        Control(20, 0, 7, 100), EndOfTrack(10)});
  track.ToGateTimeForm();
  EXPECT_EQ(FieldsOf(track.Events()),
            FieldsOf(std::vector{Control(120, 0, 7, 100), EndOfTrack(10)}));
}

TEST(NoteForms, NoteOffOfAnotherChannelDoesNotClose) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::OnOffForm,
                       {NoteOn(0, 0, 60), NoteOff(10, 1, 60), NoteOff(10, 0, 60), EndOfTrack()});
  track.ToGateTimeForm();
  EXPECT_EQ(FieldsOf(track.Events()),
            FieldsOf(std::vector{GateNote(0, 0, 60, 20), EndOfTrack(20)}));
}

TEST(NoteForms, GateBeyondTheIntRangeIsLimited) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::OnOffForm,
                       {NoteOn(0, 0, 60), Control(kMax, 0, 7, 1), NoteOff(kMax, 0, 60)});
  track.ToGateTimeForm();
  ASSERT_EQ(track.Count(), 2);
  EXPECT_EQ(track.Event(0).gate, kMax);
}

// --- Expansion ----------------------------------------------------------------------------

TEST(NoteForms, NoteOffComesBeforeTheEventsAtItsTick) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {GateNote(0, 2, 60, 50), Control(50, 2, 7, 100), EndOfTrack()});
  track.ToOnOffForm();
  EXPECT_EQ(track.Form(), TrackForm::OnOffForm);
  EXPECT_EQ(FieldsOf(track.Events()), FieldsOf(std::vector{NoteOn(0, 2, 60), NoteOff(50, 2, 60, 64),
                                                           Control(0, 2, 7, 100), EndOfTrack()}));
}

TEST(NoteForms, NoteLongerThanTheTrackPushesTheEndOfTrack) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track =
      TrackOf(context, TrackForm::GateTimeForm, {GateNote(0, 0, 60, 480), EndOfTrack(240)});
  track.ToOnOffForm();
  EXPECT_EQ(FieldsOf(track.Events()),
            FieldsOf(std::vector{NoteOn(0, 0, 60), NoteOff(480, 0, 60), EndOfTrack(0)}));
}

TEST(NoteForms, LaterNotesNoteOffComesFirstAtEqualEnds) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {GateNote(0, 0, 60, 20), GateNote(10, 0, 62, 10), EndOfTrack(30)});
  track.ToOnOffForm();
  EXPECT_EQ(FieldsOf(track.Events()),
            FieldsOf(std::vector{NoteOn(0, 0, 60), NoteOn(10, 0, 62), NoteOff(10, 0, 62),
                                 NoteOff(0, 0, 60), EndOfTrack(20)}));
}

TEST(NoteForms, NoteWithoutLengthReportsAndItsNoteOffPrecedesIt) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {Control(5, 0, 7, 1), GateNote(0, 0, 60, -3), EndOfTrack(5)});
  track.ToOnOffForm();
  EXPECT_EQ(FieldsOf(track.Events()), FieldsOf(std::vector{Control(5, 0, 7, 1), NoteOff(0, 0, 60),
                                                           NoteOn(0, 0, 60), EndOfTrack(5)}));
  EXPECT_EQ(sink.CountReported(kInternalError), 1);
}

TEST(NoteForms, RoundTripKeepsStartsEndsChannelsAndNumbers) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto track =
      TrackOf(context, TrackForm::OnOffForm,
              {NoteOn(0, 0, 60), NoteOn(0, 9, 36), NoteOff(30, 9, 36, 0), NoteOn(0, 0, 60, 80),
               NoteOff(10, 0, 60, 127), NoteOff(20, 0, 60, 1), EndOfTrack(40)});
  track.ToGateTimeForm();
  track.ToOnOffForm();
  EXPECT_EQ(FieldsOf(track.Events()),
            FieldsOf(std::vector{NoteOn(0, 0, 60), NoteOn(0, 9, 36), NoteOff(30, 9, 36),
                                 NoteOn(0, 0, 60, 80), NoteOff(10, 0, 60), NoteOff(20, 0, 60),
                                 EndOfTrack(40)}));
}

TEST(NoteForms, NoteOffsThatWouldOverfillTheTableAreRefused) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiTrackData track(context, TrackForm::GateTimeForm);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(track.Append(GateNote(1, 0, 60 + i, 10)));
  while (track.Count() < static_cast<int>(MidiTrackData::kMaxEvents) - 2) {
    EXPECT_TRUE(track.Append(Control(1, 0, 7, 1)));
  }
  EXPECT_TRUE(track.Append(EndOfTrack()));
  track.ToOnOffForm();
  // Only the first note's NoteOff fits (at its end, tick 11); the others keep their NoteOn.
  EXPECT_EQ(track.Count(), static_cast<int>(MidiTrackData::kMaxEvents));
  EXPECT_EQ(sink.CountReported(kTooMuchData), 2);
  EXPECT_EQ(track.FindEvent(static_cast<std::int32_t>(EventKind::NoteOff), -1), 10);
  EXPECT_EQ(track.Event(10).note, 60);
  EXPECT_EQ(track.Event(2).kind, EventKind::NoteOn);
  EXPECT_TRUE(track.Event(track.Count() - 1).IsMeta(MetaType::EndOfTrack));
}

TEST(NoteForms, LargeTracksConvertBothWays) {
  constexpr int kNotes = 60000;
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MidiTrackData track(context, TrackForm::GateTimeForm);
  for (int i = 0; i < kNotes; ++i)
    EXPECT_TRUE(track.Append(GateNote(i % 2, i % 16, 60, 1 + i % 7)));
  EXPECT_TRUE(track.Append(EndOfTrack()));
  track.ToOnOffForm();
  EXPECT_EQ(track.Count(), 2 * kNotes + 1);
  track.ToGateTimeForm();
  ASSERT_EQ(track.Count(), kNotes + 1);
  EXPECT_EQ(track.Event(kNotes - 1).gate, 1 + (kNotes - 1) % 7);
}

TEST(NoteForms, ConversionsRequireTheirStartingForm) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  auto gate_time = TrackOf(context, TrackForm::GateTimeForm, {GateNote(0, 0, 60, 10)});
  gate_time.ToGateTimeForm();
  auto on_off = TrackOf(context, TrackForm::OnOffForm, {NoteOn(0, 0, 60), NoteOff(10, 0, 60)});
  on_off.ToOnOffForm();
  EXPECT_EQ(FieldsOf(gate_time.Events()), FieldsOf(std::vector{GateNote(0, 0, 60, 10)}));
  EXPECT_EQ(gate_time.Form(), TrackForm::GateTimeForm);
  EXPECT_EQ(on_off.Count(), 2);
  EXPECT_EQ(on_off.Form(), TrackForm::OnOffForm);
  EXPECT_EQ(sink.CountReported(kInternalError), 2);
}

// --- Purge --------------------------------------------------------------------------------

TEST(NoteForms, PurgeCarriesDeltasAndReportsNegativeOnes) {
  RecordingSink sink;
  ModelContext context{sink.Reports()};
  MusicEvent removed(-10);
  MusicEvent removed_last(7);
  auto track = TrackOf(context, TrackForm::GateTimeForm,
                       {Control(5, 0, 7, 1), MusicEvent(3), Control(4, 0, 7, 2), removed,
                        Control(4, 0, 7, 3), removed_last});
  track.PurgeRemoved();
  EXPECT_EQ(FieldsOf(track.Events()),
            FieldsOf(std::vector{Control(5, 0, 7, 1), Control(7, 0, 7, 2), Control(-6, 0, 7, 3)}));
  EXPECT_EQ(sink.CountReported(kInternalError), 1);
}

// --- The fast conversions equal the plain walks -------------------------------------------

template <typename Fast, typename Walk>
void ExpectSameAsWalk(RecordingSink& sink, MidiTrackData& track, std::vector<MusicEvent> expected,
                      Fast fast, Walk walk) {
  int expected_errors = 0;
  walk(expected, expected_errors);
  sink.Clear();  // the track reports into it
  fast(track);
  ASSERT_EQ(FieldsOf(track.Events()), FieldsOf(expected));
  ASSERT_EQ(sink.CountReported(kInternalError), expected_errors);
}

TEST(NoteForms, FastConversionsEqualThePlainWalksOnRandomTracks) {
  RandomTracks random(20240611);
  for (int round = 0; round < 3000; ++round) {
    SCOPED_TRACE(round);
    RecordingSink sink;  // a flood of one report never spans two rounds
    ModelContext context{sink.Reports()};
    std::vector<MusicEvent> on_off = random.OnOff();
    auto paired = TrackOf(context, TrackForm::OnOffForm, on_off);
    ExpectSameAsWalk(sink, paired, on_off, std::mem_fn(&MidiTrackData::ToGateTimeForm),
                     PairingWalk);

    std::vector<MusicEvent> gate_time = random.GateTime();
    auto expanded = TrackOf(context, TrackForm::GateTimeForm, gate_time);
    ExpectSameAsWalk(sink, expanded, gate_time, std::mem_fn(&MidiTrackData::ToOnOffForm),
                     ExpansionWalk);

    std::vector<MusicEvent> removals = random.Removals();
    auto purged = TrackOf(context, TrackForm::GateTimeForm, removals);
    ExpectSameAsWalk(sink, purged, removals, std::mem_fn(&MidiTrackData::PurgeRemoved), PurgeWalk);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace quillmar
