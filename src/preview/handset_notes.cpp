#include "preview/handset_notes.h"

#include <map>
#include <tuple>

namespace quillmar {

std::vector<bool> NotesLeftOut(const SongPreview& song, const SongSound& sound) {
  using Key = std::tuple<Ticks, int, int>;  // start, channel, key
  struct Alike {
    std::vector<bool> left_out;  // the sound's flags of the notes alike, in its order
    std::size_t matched = 0;
  };
  std::map<Key, Alike> alike;
  const std::vector<HeardNote>& heard = sound.Notes();
  for (std::size_t index = 0; index < heard.size() && index < sound.LeftOut().size(); ++index) {
    alike[{heard[index].start, heard[index].channel, heard[index].key}].left_out.push_back(
        sound.LeftOut()[index]);
  }
  std::vector<bool> left_out(song.Notes().size(), false);
  for (std::size_t index = 0; index < left_out.size(); ++index) {
    const PreviewNote& note = song.Notes()[index];
    const auto found = alike.find({note.start, note.channel, note.note});
    if (found == alike.end() || found->second.matched == found->second.left_out.size()) continue;
    left_out[index] = found->second.left_out[found->second.matched++];
  }
  return left_out;
}

}  // namespace quillmar
