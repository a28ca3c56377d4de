#include "edit/channel_selection.h"

#include "lists/text_helpers.h"

namespace quillmar {

ChannelSelection ReadChannelCell(std::string_view cell, ChannelRule rule) {
  ChannelSelection selection;
  selection.text = cell;
  const auto [key, value] = SplitKeyValue(cell);
  if (key == "Track") selection.old_track = value;
  const int number = LeadingInteger(cell);
  selection.channel = rule == ChannelRule::kZeroBased ? number : ZeroBased(number);
  selection.every = cell == "-" ||
                    (rule == ChannelRule::kOneBasedOrEvery && selection.channel < 0) ||
                    (rule == ChannelRule::kOneBasedDel && selection.channel == kNoChannel);
  return selection;
}

void ForEachTrack(MidiF1Data& song, const ChannelSelection& selection,
                  const std::function<void(MidiTrackData&)>& fn, TrackScope scope) {
  for (int index = 0; index < song.TrackCount(); ++index) {
    MidiTrackData& track = song.Track(index);
    if (selection.Chooses(track.GetChannel(), scope)) fn(track);
  }
}

}  // namespace quillmar
