#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/handset_rule.h"
#include "model/midi_track_data.h"

namespace quillmar {

// One message for the synthesizer at its time: a channel message (status with its channel,
// two data bytes) or a system exclusive message (its bytes from F0 to F7).
struct SoundMessage {
  double seconds = 0;
  std::uint8_t status = 0;
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
  std::string sysex;  // not empty for a system exclusive message
  int note = -1;      // for a note-on or note-off, the index of its note in SongSound::Notes

  bool IsSysEx() const { return !sysex.empty(); }
  bool IsNoteOn() const { return (status & 0xF0) == 0x90; }
  bool IsNoteOff() const { return (status & 0xF0) == 0x80; }
  bool operator==(const SoundMessage&) const = default;
};

// A song as the synthesizer hears it, from the merged track of its format-0 form (in
// GateTimeForm) and its division: its notes in the order they start, and the messages that
// play it with their times from the tempo map.
class SongSound {
 public:
  SongSound(const MidiTrackData& merged, std::int32_t division);
  // The same song as a handset with `limit` simultaneous notes plays it: the notes it leaves
  // out (see LeftOutByHandset) are not played.
  SongSound WithHandsetLimit(int limit) const;

  const std::vector<HeardNote>& Notes() const { return notes_; }
  // One flag for each note, true for a note the limit leaves out.
  const std::vector<bool>& LeftOut() const { return left_out_; }
  // In time order; at one time, note-offs first, then other messages in the song's order,
  // then note-ons.
  const std::vector<SoundMessage>& Messages() const { return messages_; }
  // The time of the song's last event (its End of Track) or of its last note's end.
  double Seconds() const { return seconds_; }

  // The same notes, left out alike, and the same messages at the same times.
  bool operator==(const SongSound&) const = default;

 private:
  std::vector<HeardNote> notes_;
  std::vector<bool> left_out_;
  std::vector<SoundMessage> messages_;
  double seconds_ = 0;
};

}  // namespace quillmar
