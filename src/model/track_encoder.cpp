#include "model/midi_track_data.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "lists/text_helpers.h"
#include "model/model_errors.h"

namespace quillmar {
namespace {

constexpr std::size_t kChunkHeaderSize = 8;
// More than any event writes besides its data bytes (delta, 0xFF, type, length, the four
// time-signature bytes), so that the output is reserved once.
constexpr std::size_t kEventOverhead = 16;
// Meta events longer than this are reported as large.
constexpr std::size_t kLargeMetaLength = 128;

void PutMessage(std::string& out, std::int32_t status, std::initializer_list<std::int32_t> data) {
  out.push_back(static_cast<char>(status));
  for (const std::int32_t byte : data) out.push_back(static_cast<char>(byte & 0x7F));
}

// True when the event has bytes to write; otherwise reports why it is left out.
bool IsWritable(const ModelContext& context, const MusicEvent& event) {
  switch (event.kind) {
    case EventKind::NoteOff:
    case EventKind::NoteOn:
    case EventKind::ControlChange:
    case EventKind::ProgramChange:
    case EventKind::PitchBend:
      if (event.channel >= 0 && event.channel <= 15) return true;
      ReportTrackError(context, kBadChannel);
      return false;
    case EventKind::SysExF0:
    case EventKind::SysExF7:
      // Without its bytes a message would leave a bare delta in the chunk.
      if (!event.data.empty()) return true;
      break;
    case EventKind::Meta:
      return true;
    default:
      break;
  }
  ReportTrackError(context, kUndefinedEvent);
  return false;
}

void AppendMeta(const MusicEvent& event, ModelContext& context, std::string& out) {
  if (event.data.size() > kLargeMetaLength) context.Warn(OnceWarning::EventTooLarge);
  out.push_back('\xFF');
  out.push_back(static_cast<char>(event.type));
  switch (event.type) {
    case MetaType::EndOfTrack:
      out.push_back('\0');
      break;
    case MetaType::Tempo:
      out.push_back('\x03');
      out.push_back(static_cast<char>((event.value >> 16) & 0xFF));
      out.push_back(static_cast<char>((event.value >> 8) & 0xFF));
      out.push_back(static_cast<char>(event.value & 0xFF));
      break;
    case MetaType::TimeSign:
      out.push_back('\x04');
      for (std::size_t i = 0; i < 4; ++i) out.push_back(static_cast<char>(event.DataByte(i)));
      break;
    default:
      EncodeVarLen(static_cast<std::uint32_t>(event.data.size()), out);
      out.append(event.data);
      break;
  }
}

// The bytes of a writable event after its delta. Channel messages are built from the fields;
// a note-off always has velocity 64.
void AppendEventBytes(const MusicEvent& event, ModelContext& context, std::string& out) {
  const std::int32_t channel = event.channel;
  switch (event.kind) {
    case EventKind::NoteOff:
      PutMessage(out, 0x80 | channel, {event.note, 64});
      break;
    case EventKind::NoteOn:
      PutMessage(out, 0x90 | channel, {event.note, event.velocity});
      break;
    case EventKind::ControlChange:
      PutMessage(out, 0xB0 | channel, {event.type, event.value});
      break;
    case EventKind::ProgramChange:
      PutMessage(out, 0xC0 | channel, {event.value});
      break;
    case EventKind::PitchBend:
      PutMessage(out, 0xE0 | channel, {event.note, event.value});
      break;
    case EventKind::Meta:
      AppendMeta(event, context, out);
      break;
    default:
      out.append(event.data);
      break;
  }
}

}  // namespace

bool MidiTrackData::Encode() {
  if (form_ != TrackForm::OnOffForm || events_.empty() ||
      !events_.back().IsMeta(MetaType::EndOfTrack)) {
    ReportTrackError(Context(), kTrackInternalError);
    return false;
  }
  std::size_t capacity = kChunkHeaderSize;
  for (const MusicEvent& event : events_) capacity += kEventOverhead + event.data.size();
  image_.clear();
  image_.reserve(capacity);
  image_.append("MTrk\0\0\0\0", kChunkHeaderSize);

  // The delta of an event left out is added to the next written one.
  std::int64_t delta = 0;
  for (const MusicEvent& event : events_) {
    if (event.delta < 0) {
      ReportTrackError(Context(), kTrackInternalError);
    } else {
      delta += event.delta;
    }
    if (!IsWritable(Context(), event)) continue;
    EncodeVarLen(static_cast<std::uint32_t>(std::min<std::int64_t>(delta, kMaxVarLen)), image_);
    delta = 0;
    AppendEventBytes(event, *context_, image_);
  }

  const std::size_t body = image_.size() - kChunkHeaderSize;
  for (std::size_t i = 0; i < 4; ++i) {
    image_[4 + i] = static_cast<char>((body >> (24 - 8 * i)) & 0xFF);
  }
  form_ = TrackForm::EncodedForm;
  return true;
}

}  // namespace quillmar
