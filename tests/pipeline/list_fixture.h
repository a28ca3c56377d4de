#pragma once

// A fixture shared by the tests of the volume, tone and drum lists: a song built in memory
// track by track, lists written as Shift_JIS files, and every report recorded.

#include <gtest/gtest.h>

#include "edit/edit_notices.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "lists/settings_list.h"
#include "model/midi_f1_data.h"
#include "model/model_builders.h"
#include "pipeline/output_slot.h"
#include "platform/encoding.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar::testing {

// The reports of the lists, as the result list shows them after the indent.
inline constexpr std::string_view kVolumeFrom100 =
    "ボリュームが設定されていないチャネルがあったので、１００を基準に計算して値を設定しました。";
inline constexpr std::string_view kVolumeOnOtherTrack =
    "音量の設定のないトラックがありましたが、同じチャネルの他のトラックで設定されているので、"
    "設定しませんでした。";
inline constexpr std::string_view kPanFrom64 =
    "パンが設定されていないチャネルがあったので、64を基準に計算して値を設定しました。";
inline constexpr std::string_view kNotesSilenced =
    "ゲートタイムを操作した結果、発音されなくなった音があります。";
inline constexpr std::string_view kBadOctave = "オクターブの指定方法に誤りがありました。";
inline constexpr std::string_view kOctaveFolded =
    "オクターブのシフトで音域を越えるため、シフトできない音がありました。";
inline constexpr std::string_view kBadSubstitute = "代替音色の指定方法に誤りがありました。";
inline constexpr std::string_view kBadDrumSubstitute =
    "ドラムの代替音色の指定方法に誤りがありました。";
inline constexpr std::string_view kListDataError = "リストファイルのデータにエラーがあります。";
inline constexpr std::string_view kListExtraSpace =
    "リストファイルに無駄なスペースが含まれています。";

// Cells no rule accepts as numbers: the int limits and beyond, a float, an empty cell and
// full-width digits.
inline constexpr std::array<std::string_view, 7> kExtremeNumbers = {
    "-2147483648", "2147483647", "9223372036854775808", "-9223372036854775808", "1e308", "",
    "１２"};

class ListTest : public ::testing::Test {
 protected:
  // Appends a track of the events followed by an EndOfTrack; returns its index.
  int AddTrack(std::vector<MusicEvent> events) {
    events.push_back(EndOfTrack());
    EXPECT_TRUE(song_.AppendTrack(TrackOf(context_, TrackForm::GateTimeForm, std::move(events))));
    return song_.TrackCount() - 1;
  }

  // A list of the kind: a header line, then `body` (UTF-8) as the file holds it. The reports
  // of loading are dropped, so that a test sees only those of applying the list.
  SettingsList ListFromText(ListKind kind, std::string_view body) {
    const int columns = ColumnCountOf(kind);
    const std::string text = "項目" + std::string(static_cast<std::size_t>(columns - 1), ',') +
                             "\r\n" + std::string(body);
    const std::string path = folder_.Write("list.csv", Sjis(text));
    SettingsList list = SettingsList::Load(sink_.Reports(), Sjis(path), columns);
    sink_.Clear();
    return list;
  }

  // Puts a list of the kind with the given rows into slot_, switched on or off.
  void Load(ListKind kind, std::initializer_list<std::string_view> rows, bool enabled = true) {
    const auto index = static_cast<std::size_t>(*SlotListIndex(kind));
    slot_.lists[index] = List(kind, rows);
    slot_.enabled[index] = enabled;
  }

  // A list of the kind whose rows are the given lines, each ended by CR LF.
  SettingsList List(ListKind kind, std::initializer_list<std::string_view> rows) {
    std::string body;
    for (std::string_view row : rows) body += std::string(row) + "\r\n";
    return ListFromText(kind, body);
  }

  // A field of every Note of a track, in track order.
  std::vector<std::int32_t> NoteField(int track, std::int32_t MusicEvent::*field) const {
    std::vector<std::int32_t> values;
    for (const MusicEvent& event : song_.Track(track).Events()) {
      if (event.kind == EventKind::Note) values.push_back(event.*field);
    }
    return values;
  }

  // The values of a track's control changes of one controller, in track order.
  std::vector<std::int32_t> ControllerValues(int track, std::int32_t controller) const {
    std::vector<std::int32_t> values;
    for (const MusicEvent& event : song_.Track(track).Events()) {
      if (event.kind == EventKind::ControlChange && event.type == controller) {
        values.push_back(event.value);
      }
    }
    return values;
  }

  std::vector<std::int32_t> ProgramValues(int track) const {
    std::vector<std::int32_t> values;
    for (const MusicEvent& event : song_.Track(track).Events()) {
      if (event.kind == EventKind::ProgramChange) values.push_back(event.value);
    }
    return values;
  }

  int LineCount() const { return static_cast<int>(sink_.Lines().size()); }

  RecordingSink sink_;
  ModelContext context_{sink_.Reports()};
  EditNotices notices_;
  TempFolder folder_;
  OutputSlot slot_;
  MidiF1Data song_{context_};
};

}  // namespace quillmar::testing
