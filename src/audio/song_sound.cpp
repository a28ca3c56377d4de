#include "audio/song_sound.h"

#include <algorithm>
#include <optional>
#include <tuple>

#include "model/tempo_map.h"
#include "model/timed_events.h"

namespace quillmar {
namespace {

// At one tick: note-offs, then other messages, then note-ons.
enum class Rank { NoteOff, Other, NoteOn };

struct Placed {
  Ticks tick;
  Rank rank;
  std::size_t order;
  SoundMessage message;
};

std::uint8_t DataByte(std::int32_t value) {
  return static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}

// A channel message: the status's kind on the channel, and its data bytes.
SoundMessage ChannelMessage(int status, std::int32_t channel, std::int32_t data1,
                            std::int32_t data2, int note = -1) {
  return {0,
          static_cast<std::uint8_t>(status | (channel & 0x0F)),
          DataByte(data1),
          DataByte(data2),
          {},
          note};
}

// The message of a channel event other than a note; none for an event the synthesizer does
// not take.
std::optional<SoundMessage> ChannelMessageOf(const MusicEvent& event) {
  switch (event.kind) {
    case EventKind::ControlChange:
      return ChannelMessage(0xB0, event.channel, event.type, event.value);
    case EventKind::ProgramChange:
      return ChannelMessage(0xC0, event.channel, event.value, 0);
    case EventKind::PitchBend:
      return ChannelMessage(0xE0, event.channel, event.note, event.value);
    case EventKind::ChannelPressure:
      return ChannelMessage(0xD0, event.channel, event.value, 0);
    default:
      return std::nullopt;
  }
}

// The bytes F0 ... F7 of a system exclusive event, whose data holds F0, a length byte and the
// body.
std::string SysExBytes(const MusicEvent& event) {
  if (event.data.size() < 3) return {};
  return "\xF0" + event.data.substr(2);
}

}  // namespace

SongSound::SongSound(const MidiTrackData& merged, std::int32_t division) {
  std::vector<Placed> placed;
  std::vector<std::size_t> note_orders;
  Ticks end = 0;
  std::size_t order = 0;
  for (const auto [time, event] : TimedEvents(merged.Events())) {
    end = std::max(end, time);
    ++order;
    if (event.IsNote()) {
      notes_.push_back({time, time + event.gate, event.channel, event.note});
      note_orders.push_back(order);
      placed.push_back({time, Rank::NoteOn, order,
                        ChannelMessage(0x90, event.channel, event.note, event.velocity,
                                       static_cast<int>(notes_.size()) - 1)});
    } else if (event.IsSysEx()) {
      std::string bytes = SysExBytes(event);
      if (!bytes.empty()) placed.push_back({time, Rank::Other, order, {0, 0xF0, 0, 0, bytes}});
    } else if (event.channel != kNoChannel) {
      if (const auto message = ChannelMessageOf(event)) {
        placed.push_back({time, Rank::Other, order, *message});
      }
    }
  }
  left_out_.assign(notes_.size(), false);
  for (std::size_t index = 0; index < notes_.size(); ++index) {
    const HeardNote& heard = notes_[index];
    end = std::max(end, heard.end);
    placed.push_back({heard.end, Rank::NoteOff, note_orders[index],
                      ChannelMessage(0x80, heard.channel, heard.key, 0, static_cast<int>(index))});
  }
  std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
    return std::tie(a.tick, a.rank, a.order) < std::tie(b.tick, b.rank, b.order);
  });
  const TempoMap tempo(merged, division);
  messages_.reserve(placed.size());
  for (Placed& item : placed) {
    item.message.seconds = tempo.Seconds(item.tick);
    messages_.push_back(std::move(item.message));
  }
  seconds_ = tempo.Seconds(end);
}

SongSound SongSound::WithHandsetLimit(int limit) const {
  SongSound limited = *this;
  limited.left_out_ = LeftOutByHandset(notes_, limit);
  std::erase_if(limited.messages_, [&](const SoundMessage& message) {
    return message.note >= 0 && limited.left_out_[static_cast<std::size_t>(message.note)];
  });
  return limited;
}

}  // namespace quillmar
