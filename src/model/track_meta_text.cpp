#include <algorithm>

#include "model/midi_track_data.h"
#include "model/model_errors.h"

namespace quillmar {
namespace {

// Texts from list and edit cells stay below this length; a longer one is reported when it
// is inserted at the start of a track.
constexpr std::size_t kLongMetaText = 128;

// The first meta event of the type in the (const or mutable) event table.
template <typename Events>
auto FindMeta(Events& events, std::int32_t meta_type) {
  return std::find_if(events.begin(), events.end(),
                      [&](const MusicEvent& event) { return event.IsMeta(meta_type); });
}

}  // namespace

std::optional<std::string> MidiTrackData::GetMetaText(std::int32_t meta_type) const {
  const auto found = FindMeta(events_, meta_type);
  if (found == events_.end()) return std::nullopt;
  return found->data;
}

bool MidiTrackData::SetMetaText(std::int32_t meta_type, std::string_view text) {
  const auto found = FindMeta(events_, meta_type);
  if (found == events_.end()) return false;
  found->data.assign(text);
  return true;
}

bool MidiTrackData::SetAllMetaText(std::int32_t meta_type, std::string_view text) {
  bool any = false;
  for (MusicEvent& event : events_) {
    if (!event.IsMeta(meta_type)) continue;
    event.data.assign(text);
    any = true;
  }
  return any;
}

void MidiTrackData::InsertMeta(std::int32_t meta_type, std::string_view text) {
  if (text.size() >= kLongMetaText) ReportTrackError(Context(), kTrackError);
  // A full track has reported TooMuchData; there is nothing else to do.
  static_cast<void>(InsertAt(0, Place::Before, MakeMetaText(meta_type, text)));
}

void MidiTrackData::AddMetaText(std::int32_t meta_type, std::string_view text) {
  // A full track has reported TooMuchData; there is nothing else to do.
  static_cast<void>(InsertAtTime(0, MakeMetaText(meta_type, text)));
}

bool MidiTrackData::DeleteMeta(std::int32_t meta_type) {
  const auto found = FindMeta(events_, meta_type);
  if (found == events_.end()) return false;
  DeleteAt(static_cast<int>(found - events_.begin()));
  return true;
}

void MidiTrackData::DeleteMetaExceptNameAndEnd() {
  RemoveIf([](const MusicEvent& event) {
    return event.kind == EventKind::Meta && event.type != MetaType::EndOfTrack &&
           event.type != MetaType::SequenceName;
  });
}

void MidiTrackData::ChangeMetaType(std::int32_t from, std::int32_t to) {
  for (MusicEvent& event : events_) {
    if (event.IsMeta(from)) event.type = to;
  }
}

}  // namespace quillmar
