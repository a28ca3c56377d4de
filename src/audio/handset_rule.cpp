#include "audio/handset_rule.h"

#include "model/sounding_notes.h"

namespace quillmar {

std::vector<bool> LeftOutByHandset(std::span<const HeardNote> notes, int limit) {
  SoundingNotes sounding(NoteJoining::OnePerKey);
  std::vector<bool> left_out(notes.size(), false);
  for (std::size_t index = 0; index < notes.size(); ++index) {
    const HeardNote& note = notes[index];
    sounding.EndUntil(note.start, [](Ticks, int) {});
    if (!sounding.Joins(note.channel, note.key)) continue;  // adds nothing, and is played
    if (sounding.Count() >= limit) {
      left_out[index] = true;
    } else {
      sounding.Join(note.end, note.channel, note.key);
    }
  }
  return left_out;
}

}  // namespace quillmar
