#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillmar {

class Reporter;

enum class EventKind : std::int32_t {
  Removed = 0,  // marked for deletion; PurgeRemoved drops it
  Note = 16,    // a note with its gate time (gate-time form only)
  NoteOff = 0x80,
  NoteOn = 0x90,
  PolyPressure = 0xA0,
  ControlChange = 0xB0,
  ProgramChange = 0xC0,
  ChannelPressure = 0xD0,
  PitchBend = 0xE0,
  SysExF0 = 0xF0,
  SysExF7 = 0xF7,
  Meta = 0xFF,
};

// Meta types the model treats by name (the type field of a Meta event).
namespace MetaType {
inline constexpr std::int32_t SequenceNumber = 0;
inline constexpr std::int32_t Text = 1;
inline constexpr std::int32_t Copyright = 2;
inline constexpr std::int32_t SequenceName = 3;
inline constexpr std::int32_t InstrumentName = 4;
inline constexpr std::int32_t Lyric = 5;
inline constexpr std::int32_t Marker = 6;
inline constexpr std::int32_t CuePoint = 7;
inline constexpr std::int32_t ChannelPrefix = 32;
inline constexpr std::int32_t EndOfTrack = 47;
inline constexpr std::int32_t Tempo = 81;
inline constexpr std::int32_t SmpteOffset = 84;
inline constexpr std::int32_t TimeSign = 88;
inline constexpr std::int32_t KeySignature = 89;
inline constexpr std::int32_t SequencerSpecific = 127;
}  // namespace MetaType

// Classes of system exclusive messages (the type field of a SysExF0 event).
namespace SysExClass {
inline constexpr std::int32_t Other = 0;
inline constexpr std::int32_t MasterVolume = 1;  // also carried by the GS rhythm-part message
inline constexpr std::int32_t VoiceMode = 127;
}  // namespace SysExClass

inline constexpr std::int32_t kNoChannel = 255;
// The drum channel (channel 10 as people count).
inline constexpr std::int32_t kDrumChannel = 9;

// The event-data size above which destroying an event reports EventDataTooLarge.
inline constexpr std::size_t kEventDataBlock = 256;

// One MIDI event of a track: a channel message, a system exclusive message or a meta event.
// Which fields mean something depends on the kind. A value type: copies are deep, and a
// moved-from event holds no data.
class MusicEvent {
 public:
  EventKind kind = EventKind::Removed;
  std::int32_t delta = 0;  // ticks since the previous event of the track
  std::int32_t note = 0;   // note number; first data byte of a pitch bend
  std::int32_t gate = 0;   // length of a Note in ticks
  std::int32_t velocity = 0;
  std::int32_t type = 0;   // meta type, controller number or system exclusive class
  std::int32_t value = 0;  // controller value, program, bend high byte, tempo, time-sign
                           // code or master volume
  std::int32_t channel = kNoChannel;
  // The meaningful data bytes; its size is the event's length. Bytes past the end read as 0.
  std::string data;
  // Where an event whose data is longer than kEventDataBlock reports, each time it (or a copy
  // of it) is destroyed, that its data was too large; set by the reader that stored the data.
  Reporter* oversize_reports = nullptr;

  MusicEvent() = default;
  explicit MusicEvent(std::int32_t delta_ticks) : delta(delta_ticks) {}
  MusicEvent(const MusicEvent&) = default;
  MusicEvent(MusicEvent&& other) noexcept;
  // Assignment drops the event that stood here as a destruction would.
  MusicEvent& operator=(const MusicEvent& other);
  MusicEvent& operator=(MusicEvent&& other) noexcept;
  ~MusicEvent();

  friend void swap(MusicEvent& a, MusicEvent& b) noexcept;

  // The data byte at `index`, 0 past the end.
  std::uint8_t DataByte(std::size_t index) const;

  // Turns the event into a tempo meta event and appends the three tempo bytes to data.
  void MakeTempo(std::int32_t microseconds_per_quarter);

  // Sets the system exclusive class (and, for a rhythm-part message, the channel and value)
  // from the bytes of a SysExF0 event's data.
  void ClassifySysEx();

  bool IsMeta(std::int32_t meta_type) const { return kind == EventKind::Meta && type == meta_type; }
  bool IsNote() const { return kind == EventKind::Note; }  // gate-time form
  bool IsNoteOn() const { return kind == EventKind::NoteOn; }
  bool IsNoteOff() const { return kind == EventKind::NoteOff; }
  bool IsController(std::int32_t controller) const {
    return kind == EventKind::ControlChange && type == controller;
  }
  bool IsProgramChange() const { return kind == EventKind::ProgramChange; }
  bool IsPitchBend() const { return kind == EventKind::PitchBend; }
  // A system exclusive message that starts with F0 (not the F7 form).
  bool IsSysEx() const { return kind == EventKind::SysExF0; }
};

// True for the meta types whose data is a text (1 to 7 and sequencer-specific data).
bool IsTextMetaType(std::int32_t meta_type);

// True for the GS message that assigns a part to the rhythm set (class MasterVolume, with the
// part's channel).
bool IsRhythmPartMessage(const MusicEvent& event);

// True for a master-volume message proper: a SysExF0 event of class MasterVolume that is not
// the rhythm-part message.
bool IsMasterVolumeMessage(const MusicEvent& event);

// The time-signature code of a numerator and denominator power: 2 for 1/2, 3 for 3/4, 4 for
// 4/4, 6 for 6/8, 0 for anything else.
std::int32_t TimeSignCode(int numerator, int denominator_power);

// Error codes of MusicEvent.
inline constexpr std::uint32_t kEventDataTooLarge = 0x06000001;

void ReportMusicEventError(Reporter& reporter, std::uint32_t code);

}  // namespace quillmar
