#include "model/midi_track_data.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "model/model_errors.h"

namespace quillmar {
namespace {

constexpr std::size_t kChunkHeaderSize = 8;

// Reads the bytes of one chunk. Every read checks the chunk's end and fails rather than
// reading past it.
class ChunkCursor {
 public:
  ChunkCursor(std::string_view chunk, std::size_t position) : chunk_(chunk), position_(position) {}

  bool AtEnd() const { return position_ >= chunk_.size(); }

  std::optional<std::uint8_t> Peek() const {
    if (AtEnd()) return std::nullopt;
    return static_cast<std::uint8_t>(chunk_[position_]);
  }

  std::optional<std::uint8_t> Next() {
    const std::optional<std::uint8_t> byte = Peek();
    if (byte) ++position_;
    return byte;
  }

  std::optional<std::string_view> Take(std::size_t count) {
    if (count > chunk_.size() - position_) return std::nullopt;
    const std::string_view bytes = chunk_.substr(position_, count);
    position_ += count;
    return bytes;
  }

  // The bytes from the cursor to the end of the chunk, without moving the cursor.
  std::string_view Rest() const { return chunk_.substr(position_); }

  // A variable-length quantity of at most four bytes.
  std::optional<std::uint32_t> VarLen() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const std::optional<std::uint8_t> byte = Next();
      if (!byte) return std::nullopt;
      value = (value << 7) | (*byte & 0x7Fu);
      if ((*byte & 0x80) == 0) return value;
    }
    return std::nullopt;
  }

 private:
  std::string_view chunk_;
  std::size_t position_;
};

bool IsStatus(std::uint8_t byte) {
  return (byte >= 0x80 && byte < 0xF0) || byte == 0xF0 || byte == 0xF7 || byte == 0xFF;
}

// Meta events are never remembered as running status.
bool IsRunningStatus(std::uint8_t byte) {
  return IsStatus(byte) && byte != 0xFF;
}

// The data size of the meta types that have a fixed one.
std::optional<std::size_t> FixedMetaSize(std::int32_t type) {
  switch (type) {
    case MetaType::SequenceNumber:
      return 2;
    case MetaType::ChannelPrefix:
      return 1;
    case MetaType::EndOfTrack:
      return 0;
    case MetaType::Tempo:
      return 3;
    case MetaType::SmpteOffset:
      return 5;
    case MetaType::TimeSign:
      return 4;
    case MetaType::KeySignature:
      return 2;
    default:
      return std::nullopt;
  }
}

// Takes the values of a fixed-size meta event from its bytes. An event with fewer bytes than
// its type needs is reported and becomes Removed, so that only its delta stays.
void DecodeFixedMeta(const ModelContext& context, std::string_view bytes, std::size_t size,
                     MusicEvent& event) {
  if (bytes.size() < size) {
    ReportTrackError(context, kTrackInternalError);
    event.kind = EventKind::Removed;
    return;
  }
  bytes = bytes.substr(0, size);
  auto byte = [bytes](std::size_t index) { return static_cast<std::uint8_t>(bytes[index]); };
  switch (event.type) {
    case MetaType::EndOfTrack:
      return;
    case MetaType::Tempo:
      event.value = (byte(0) << 16) | (byte(1) << 8) | byte(2);
      if (event.value == 0) {
        ReportTrackError(context, kBadTempo);
        event.value = 480;
      }
      return;
    case MetaType::TimeSign:
      event.value = TimeSignCode(byte(0), byte(1));
      break;
    default:
      break;
  }
  event.data.assign(bytes);
}

// Each of the Decode functions below reads the event after its status byte and returns false
// when the chunk ends inside it.

// The type, the length quantity and the bytes it counts; the length byte of a fixed-size type
// is honoured too, so a wrong one cannot shift the rest of the track.
bool DecodeMeta(const ModelContext& context, ChunkCursor& cursor, MusicEvent& event) {
  const std::optional<std::uint8_t> type = cursor.Next();
  if (!type) return false;
  const std::optional<std::uint32_t> length = cursor.VarLen();
  if (!length) return false;
  const std::optional<std::string_view> bytes = cursor.Take(*length);
  if (!bytes) return false;
  event.kind = EventKind::Meta;
  event.type = *type;
  if (const std::optional<std::size_t> size = FixedMetaSize(event.type)) {
    DecodeFixedMeta(context, *bytes, *size, event);
    return true;
  }
  event.data.assign(*bytes);
  if (!IsTextMetaType(event.type)) event.kind = EventKind::Removed;
  return true;
}

// The message runs through the first 0xF7; without one it ends at the chunk's last byte.
bool DecodeSysExF0(const ModelContext& context, ChunkCursor& cursor, MusicEvent& event) {
  const std::string_view rest = cursor.Rest();
  std::size_t count = rest.find('\xF7');
  if (count == std::string_view::npos) {
    ReportTrackError(context, kTrackInternalError);
    count = rest.size();
  } else {
    ++count;
  }
  event.kind = EventKind::SysExF0;
  event.data.assign(1, '\xF0');
  event.data.append(*cursor.Take(count));
  event.ClassifySysEx();
  return true;
}

// A one-byte length and that many bytes.
bool DecodeSysExF7(ChunkCursor& cursor, MusicEvent& event) {
  const std::optional<std::uint8_t> length = cursor.Next();
  if (!length) return false;
  const std::optional<std::string_view> bytes = cursor.Take(*length);
  if (!bytes) return false;
  event.kind = EventKind::SysExF7;
  event.data.assign(1, '\xF7');
  event.data.push_back(static_cast<char>(*length));
  event.data.append(*bytes);
  return true;
}

// Stores the status actually used (also under running status) and the data bytes.
bool DecodeChannel(const ModelContext& context, ChunkCursor& cursor, std::uint8_t status,
                   MusicEvent& event) {
  const std::uint8_t high = status & 0xF0;
  const std::size_t data_bytes = (high == 0xC0 || high == 0xD0) ? 1 : 2;
  const std::optional<std::string_view> bytes = cursor.Take(data_bytes);
  if (!bytes) return false;
  event.data.assign(1, static_cast<char>(status));
  event.data.append(*bytes);
  const std::int32_t d1 = event.DataByte(1);
  const std::int32_t d2 = event.DataByte(2);
  const std::int32_t channel = status & 0x0F;
  switch (high) {
    case 0x80:
    case 0x90:
      event.kind = (high == 0x90 && d2 != 0) ? EventKind::NoteOn : EventKind::NoteOff;
      event.channel = channel;
      event.note = d1;
      event.velocity = d2;
      break;
    case 0xA0:
      event.kind = EventKind::PolyPressure;
      break;
    case 0xB0:
      event.kind = EventKind::ControlChange;
      event.channel = channel;
      event.type = d1;
      event.value = d2;
      break;
    case 0xC0:
      event.kind = EventKind::ProgramChange;
      event.channel = channel;
      event.value = d1;
      if (d1 >= 0x80) ReportTrackError(context, kTrackInternalError);
      break;
    case 0xD0:
      event.kind = EventKind::ChannelPressure;
      break;
    default:
      event.kind = EventKind::PitchBend;
      event.channel = channel;
      event.note = d1;
      event.value = d2;
      break;
  }
  return true;
}

// Decodes the event at the cursor into `event`, whose delta is set, using and updating the
// running status. A byte that is no status, without a usable running status, is reported and
// skipped; the event stays Removed and keeps the delta.
bool DecodeEvent(ChunkCursor& cursor, ModelContext& context, MusicEvent& event) {
  const std::optional<std::uint8_t> first = cursor.Peek();
  if (!first) return false;
  std::uint8_t status = *first;
  if (IsStatus(status)) {
    cursor.Next();
  } else if (IsRunningStatus(context.running_status)) {
    status = context.running_status;
  } else {
    ReportTrackError(context, kUndefinedEvent);
    cursor.Next();
    return true;
  }
  if (status == 0xFF) return DecodeMeta(context, cursor, event);
  context.running_status = status;
  if (status == 0xF0) return DecodeSysExF0(context, cursor, event);
  if (status == 0xF7) return DecodeSysExF7(cursor, event);
  return DecodeChannel(context, cursor, status, event);
}

std::uint32_t BigEndian32(std::string_view bytes) {
  std::uint32_t value = 0;
  for (const char byte : bytes.substr(0, 4)) value = (value << 8) | static_cast<std::uint8_t>(byte);
  return value;
}

}  // namespace

void MidiTrackData::ReadChunk(std::string_view file_image, std::size_t offset) {
  context_->RearmWarnings();
  events_.clear();
  image_.clear();
  form_ = TrackForm::EncodedForm;
  if (offset > file_image.size() || file_image.substr(offset, 4) != "MTrk") {
    ReportTrackError(Context(), kNotMidiOrMacBinary);
    return;
  }
  const std::string_view rest = file_image.substr(offset);
  const std::uint64_t chunk_size = rest.size() < kChunkHeaderSize
                                       ? std::numeric_limits<std::uint64_t>::max()
                                       : kChunkHeaderSize + BigEndian32(rest.substr(4));
  if (chunk_size > rest.size()) {
    ReportTrackError(Context(), kTrackInternalError);
    return;
  }
  image_.assign(rest.substr(0, chunk_size));

  // Every event takes at least two bytes; reserving for that many avoids regrowing the table.
  events_.reserve(std::min(kMaxEvents, chunk_size / 2));
  ChunkCursor cursor(image_, kChunkHeaderSize);
  while (!cursor.AtEnd()) {
    if (events_.size() >= kMaxEvents) {
      ReportTrackError(Context(), kTooMuchData);
      break;
    }
    const std::optional<std::uint32_t> delta = cursor.VarLen();
    MusicEvent event(static_cast<std::int32_t>(delta.value_or(0)));
    if (!delta || !DecodeEvent(cursor, *context_, event)) {
      ReportTrackError(Context(), kTrackInternalError);
      break;
    }
    if (event.data.size() >= kEventDataBlock) context_->Warn(OnceWarning::EventTooLarge);
    if (event.data.size() > kEventDataBlock) event.oversize_reports = &context_->Reports();
    events_.push_back(std::move(event));
  }

  // A chunk cut short still ends with an EndOfTrack, at the time of its last event; a full
  // table gives up its last event for it.
  if (events_.empty() || !events_.back().IsMeta(MetaType::EndOfTrack)) {
    std::int32_t delta = 0;
    if (events_.size() >= kMaxEvents) {
      delta = events_.back().delta;
      events_.pop_back();
    }
    events_.push_back(MakeEndOfTrack(delta));
  }
  form_ = TrackForm::OnOffForm;
}

}  // namespace quillmar
