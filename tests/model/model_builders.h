#pragma once

// Small builders that let each model test show its input inline.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "model/midi_track_data.h"
#include "model/model_context.h"
#include "model/music_event.h"

namespace quillmar::testing {

inline MusicEvent ChannelEvent(EventKind kind, std::int32_t delta, std::int32_t channel) {
  MusicEvent event(delta);
  event.kind = kind;
  event.channel = channel;
  return event;
}

inline MusicEvent NoteOn(std::int32_t delta, std::int32_t channel, std::int32_t note,
                         std::int32_t velocity = 100) {
  MusicEvent event = ChannelEvent(EventKind::NoteOn, delta, channel);
  event.note = note;
  event.velocity = velocity;
  return event;
}

inline MusicEvent NoteOff(std::int32_t delta, std::int32_t channel, std::int32_t note,
                          std::int32_t velocity = 64) {
  MusicEvent event = ChannelEvent(EventKind::NoteOff, delta, channel);
  event.note = note;
  event.velocity = velocity;
  return event;
}

// A Note of the gate-time form.
inline MusicEvent GateNote(std::int32_t delta, std::int32_t channel, std::int32_t note,
                           std::int32_t gate, std::int32_t velocity = 100) {
  MusicEvent event = ChannelEvent(EventKind::Note, delta, channel);
  event.note = note;
  event.gate = gate;
  event.velocity = velocity;
  return event;
}

inline MusicEvent Control(std::int32_t delta, std::int32_t channel, std::int32_t controller,
                          std::int32_t value) {
  MusicEvent event = ChannelEvent(EventKind::ControlChange, delta, channel);
  event.type = controller;
  event.value = value;
  return event;
}

inline MusicEvent Program(std::int32_t delta, std::int32_t channel, std::int32_t program) {
  MusicEvent event = ChannelEvent(EventKind::ProgramChange, delta, channel);
  event.value = program;
  return event;
}

inline MusicEvent Meta(std::int32_t delta, std::int32_t meta_type, std::string_view text = {}) {
  MusicEvent event = MakeMetaText(meta_type, text);
  event.delta = delta;
  return event;
}

inline MusicEvent Tempo(std::int32_t delta, std::int32_t microseconds_per_quarter) {
  MusicEvent event(delta);
  event.MakeTempo(microseconds_per_quarter);
  return event;
}

inline MusicEvent TimeSign(std::int32_t delta, int numerator, int denominator_power) {
  MusicEvent event = Meta(delta, MetaType::TimeSign);
  event.data = {static_cast<char>(numerator), static_cast<char>(denominator_power), 24, 8};
  event.value = TimeSignCode(numerator, denominator_power);
  return event;
}

inline MusicEvent SysEx(std::int32_t delta, std::initializer_list<int> bytes) {
  MusicEvent event(delta);
  event.kind = EventKind::SysExF0;
  for (int b : bytes) event.data.push_back(static_cast<char>(b));
  event.ClassifySysEx();
  return event;
}

inline MusicEvent EndOfTrack(std::int32_t delta = 0) {
  return MakeEndOfTrack(delta);
}

inline MidiTrackData TrackOf(ModelContext& context, TrackForm form,
                             std::vector<MusicEvent> events) {
  MidiTrackData track(context, form);
  // Beyond the table's size the track reports TooMuchData into the context, as it would anywhere.
  for (auto& event : events) static_cast<void>(track.Append(std::move(event)));
  return track;
}

// Absolute times of a track's events.
inline std::vector<Ticks> TimesOf(const MidiTrackData& track) {
  std::vector<Ticks> times;
  Ticks time = 0;
  for (const MusicEvent& event : track.Events()) times.push_back(time += event.delta);
  return times;
}

// --- Standard MIDI File bytes -------------------------------------------------------------

inline std::string Bytes(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out.push_back(static_cast<char>(b));
  return out;
}

inline std::string BigEndian(std::uint32_t value, int width) {
  std::string out;
  for (int shift = 8 * (width - 1); shift >= 0; shift -= 8) {
    out.push_back(static_cast<char>((value >> shift) & 0xFF));
  }
  return out;
}

// An MTrk chunk around the given event bytes.
inline std::string Chunk(std::string_view body) {
  return "MTrk" + BigEndian(static_cast<std::uint32_t>(body.size()), 4) + std::string(body);
}

// A whole file: header plus the chunks (the track count may be given to lie about it).
inline std::string Smf(int format, int division, const std::vector<std::string>& chunks,
                       int declared_tracks = -1) {
  const int tracks = declared_tracks < 0 ? static_cast<int>(chunks.size()) : declared_tracks;
  std::string file = "MThd" + BigEndian(6, 4) + BigEndian(static_cast<std::uint32_t>(format), 2) +
                     BigEndian(static_cast<std::uint32_t>(tracks), 2) +
                     BigEndian(static_cast<std::uint32_t>(division), 2);
  for (const auto& chunk : chunks) file += chunk;
  return file;
}

}  // namespace quillmar::testing
