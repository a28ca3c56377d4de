#pragma once

#include <cstdint>

namespace quillmar {

class ModelContext;

// Error codes of the model classes: the high byte names the class, the low bits number the
// error. Each class reports through its own function, which maps any other code to a text
// naming the class.

// MidiTrackData
inline constexpr std::uint32_t kTrackInternalError = 0x0D000001;
inline constexpr std::uint32_t kUndefinedEvent = 0x0D000002;
inline constexpr std::uint32_t kBadChannel = 0x0D000003;
inline constexpr std::uint32_t kBadTempo = 0x0D000005;
inline constexpr std::uint32_t kTooMuchData = 0x0D000006;
inline constexpr std::uint32_t kNotMidiOrMacBinary = 0x0D000007;
inline constexpr std::uint32_t kTrackError = 0x0D000000;  // any code outside the table
void ReportTrackError(const ModelContext& context, std::uint32_t code);

// MidiF0Data
inline constexpr std::uint32_t kNotFormat0 = 0x04000001;
inline constexpr std::uint32_t kBadTrackCount = 0x04000003;
inline constexpr std::uint32_t kF0NotMidiOrMacBinary = 0x04000004;
inline constexpr std::uint32_t kF0InternalError = 0x04000005;
void ReportF0Error(const ModelContext& context, std::uint32_t code);

// MidiF1Data
inline constexpr std::uint32_t kTooManyTracks = 0x02000001;
inline constexpr std::uint32_t kNotFormat1 = 0x02000002;
inline constexpr std::uint32_t kF1InternalError = 0x02000003;
inline constexpr std::uint32_t kF1NotMidiOrMacBinary = 0x02000004;
inline constexpr std::uint32_t kMultipleMasterVolumes = 0x02000006;
inline constexpr std::uint32_t kUnsupportedTimeSign = 0x02000008;
void ReportF1Error(const ModelContext& context, std::uint32_t code);

// MidiFileLoader
inline constexpr std::uint32_t kLoaderInternalError = 0x17000001;
inline constexpr std::uint32_t kNotMidiFile = 0x17000002;
void ReportLoaderError(const ModelContext& context, std::uint32_t code);

}  // namespace quillmar
