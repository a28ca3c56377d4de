#pragma once

// A fixture for the edit commands: a song built in memory, edit rows run against it, and
// the events of a track described as short texts ("480 CC0 7=100").

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "edit/edit_list.h"
#include "pipeline/list_fixture.h"

namespace quillmar::testing {

// The messages of the edit rows, as Reported() gives them.
inline constexpr char kError[] = "エラーがおきました。";
inline constexpr char kEditError[] = "編集リストに誤りがあります。";
inline constexpr char kEditOrOrderError[] = "編集リストか順序リストに誤りがあります。";

// An event at its absolute time, in a few words.
inline std::string Describe(const MusicEvent& event, Ticks time) {
  std::string text = std::to_string(time) + " ";
  const std::string channel = std::to_string(event.channel);
  switch (event.kind) {
    case EventKind::Note:
      return text + "Note" + channel + " " + std::to_string(event.note) + "/" +
             std::to_string(event.gate) + "/" + std::to_string(event.velocity);
    case EventKind::ControlChange:
      return text + "CC" + channel + " " + std::to_string(event.type) + "=" +
             std::to_string(event.value);
    case EventKind::ProgramChange:
      return text + "PC" + channel + " " + std::to_string(event.value);
    case EventKind::PitchBend:
      return text + "PB" + channel + " " + std::to_string(event.note) + "/" +
             std::to_string(event.value);
    case EventKind::SysExF0:
      text += "SysEx";
      for (const char byte : event.data) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02X", static_cast<unsigned char>(byte));
        text += hex;
      }
      return text;
    case EventKind::Meta:
      if (event.type == MetaType::EndOfTrack) return text + "End";
      if (event.type == MetaType::Tempo) return text + "Tempo " + std::to_string(event.value);
      return text + "Meta" + std::to_string(event.type) + " " + SjisToUtf8(event.data);
    default:
      return text + "Kind" + std::to_string(static_cast<int>(event.kind));
  }
}

class EditTest : public ListTest {
 protected:
  // Appends a track of the events and an EndOfTrack at the tick `end`.
  void AddTrackEndingAt(Ticks end, std::vector<MusicEvent> events) {
    Ticks time = 0;
    for (const MusicEvent& event : events) time += event.delta;
    events.push_back(EndOfTrack(static_cast<std::int32_t>(end - time)));
    EXPECT_TRUE(song_.AppendTrack(TrackOf(context_, TrackForm::GateTimeForm, std::move(events))));
  }

  // Runs the rows ("Command,target,channel,position", UTF-8) as an edit list.
  void Edit(std::initializer_list<std::string_view> rows) {
    const SettingsList list = List(ListKind::Edit, rows);
    EditEnvironment environment{notices_, {}};
    ApplyEditList(song_, list, environment);
  }

  std::vector<std::string> Events(int track) const {
    std::vector<std::string> described;
    Ticks time = 0;
    for (const MusicEvent& event : song_.Track(track).Events()) {
      time += event.delta;
      described.push_back(Describe(event, time));
    }
    return described;
  }

  using Tracks = std::map<int, std::vector<std::string>>;

  // Runs the row; then the song has `tracks` tracks, each with the events of `original`
  // but those in `changed`, and the result lines are `lines`.
  void ExpectAfterRow(std::string_view row, const std::vector<std::vector<std::string>>& original,
                      const Tracks& changed, const std::vector<std::string>& lines, int tracks) {
    Edit({row});
    ASSERT_EQ(song_.TrackCount(), tracks);
    for (int track = 0; track < tracks; ++track) {
      const auto found = changed.find(track);
      EXPECT_EQ(Events(track),
                found == changed.end() ? original[static_cast<std::size_t>(track)] : found->second)
          << track;
    }
    EXPECT_EQ(Reported(), lines);
  }

  // The result lines without their indent (UTF-8), but for the lines that name the row after
  // its messages ("list.csv 2行目: ...").
  std::vector<std::string> Reported() const {
    std::vector<std::string> lines;
    for (const std::string& line : sink_.Lines()) {
      std::string text =
          line.rfind(kReportIndent, 0) == 0 ? line.substr(kReportIndent.size()) : line;
      if (!IsRowDetail(text)) lines.push_back(std::move(text));
    }
    return lines;
  }

  static bool IsRowDetail(std::string_view line) {
    return line.rfind("list.csv ", 0) == 0 && line.find("行目: ") != std::string_view::npos;
  }
};

}  // namespace quillmar::testing
