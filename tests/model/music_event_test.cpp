#include "model/music_event.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/recording_sink.h"

namespace quillmar {
namespace {

using testing::RecordingSink;

constexpr const char* kTooLarge = "イベントのデータサイズが大きすぎます。";

MusicEvent SysEx(std::initializer_list<int> bytes) {
  MusicEvent event;
  event.kind = EventKind::SysExF0;
  for (int b : bytes) event.data.push_back(static_cast<char>(b));
  event.ClassifySysEx();
  return event;
}

TEST(MusicEvent, FreshEventHasNoChannelAndNoData) {
  const MusicEvent event(30);
  EXPECT_EQ(event.channel, kNoChannel);
  EXPECT_EQ(event.kind, EventKind::Removed);
  EXPECT_EQ(event.delta, 30);
  EXPECT_TRUE(event.data.empty());
  EXPECT_EQ(event.DataByte(200), 0) << "bytes past the data read as zero";
}

TEST(MusicEvent, CopyKeepsEveryByteAndEachLiveCopyReportsOnce) {
  RecordingSink sink;
  {
    MusicEvent original;
    original.kind = EventKind::Meta;
    original.type = MetaType::Text;
    original.data.assign(300, 'a');
    original.oversize_reports = &sink.Reports();
    MusicEvent copy(original);
    EXPECT_EQ(copy.data, original.data);
    EXPECT_EQ(copy.data.size(), 300u);
  }
  EXPECT_EQ(sink.CountReported(kTooLarge), 2);
}

TEST(MusicEvent, ExactlyTheBlockSizeReportsNothing) {
  RecordingSink sink;
  {
    MusicEvent event;
    event.data.assign(256, 'x');
    event.oversize_reports = &sink.Reports();
    MusicEvent copy = event;
  }
  EXPECT_TRUE(sink.Lines().empty());
}

TEST(MusicEvent, MovesAndContainerGrowthDoNotMultiplyTheReport) {
  RecordingSink sink;
  {
    std::vector<MusicEvent> events;
    MusicEvent large;
    large.data.assign(1000, 'x');
    large.oversize_reports = &sink.Reports();
    events.push_back(std::move(large));
    for (int i = 0; i < 1000; ++i) events.emplace_back(i);
    events.insert(events.begin(), MusicEvent(7));
    std::swap(events[1], events[500]);
    events.erase(events.begin() + 10, events.begin() + 20);
    EXPECT_TRUE(sink.Lines().empty());
  }
  EXPECT_EQ(sink.CountReported(kTooLarge), 1);
}

TEST(MusicEvent, AssignmentDropsTheEventItReplaces) {
  RecordingSink sink;
  MusicEvent target;
  target.data.assign(400, 'x');
  target.oversize_reports = &sink.Reports();
  target = MusicEvent(5);
  EXPECT_EQ(sink.CountReported(kTooLarge), 1);
  EXPECT_EQ(target.delta, 5);
  EXPECT_TRUE(target.data.empty());
}

TEST(MusicEvent, MakeTempoAppendsTheThreeBytes) {
  MusicEvent event(0);
  event.MakeTempo(500000);
  EXPECT_EQ(event.kind, EventKind::Meta);
  EXPECT_EQ(event.type, MetaType::Tempo);
  EXPECT_EQ(event.value, 500000);
  EXPECT_EQ(event.channel, kNoChannel);
  EXPECT_EQ(event.data, "\x07\xA1\x20");
}

TEST(SysExClassification, MasterVolumeTakesTheHighVolumeByte) {
  const auto event = SysEx({0xF0, 0x07, 0x7F, 0x7F, 0x04, 0x01, 0x00, 0x64, 0xF7});
  EXPECT_EQ(event.type, SysExClass::MasterVolume);
  EXPECT_EQ(event.value, 0x64);
  EXPECT_EQ(event.channel, kNoChannel);
  EXPECT_TRUE(IsMasterVolumeMessage(event));
}

TEST(SysExClassification, MasterVolumeForAnotherDeviceIsOther) {
  const auto event = SysEx({0xF0, 0x07, 0x7F, 0x10, 0x04, 0x01, 0x00, 0x64, 0xF7});
  EXPECT_EQ(event.type, SysExClass::Other);
  EXPECT_FALSE(IsMasterVolumeMessage(event));
}

TEST(SysExClassification, RhythmPartTakesItsChannelButIsNoMasterVolume) {
  const auto part1 =
      SysEx({0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x11, 0x15, 0x02, 0x18, 0xF7});
  EXPECT_EQ(part1.type, SysExClass::MasterVolume);
  EXPECT_EQ(part1.channel, 0);
  EXPECT_EQ(part1.value, 0);
  EXPECT_TRUE(IsRhythmPartMessage(part1));
  EXPECT_FALSE(IsMasterVolumeMessage(part1));
  EXPECT_EQ(SysEx({0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x19, 0x15}).channel, 8);
  EXPECT_EQ(SysEx({0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x1A, 0x15}).channel, 10);
  EXPECT_EQ(SysEx({0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x1F, 0x15}).channel, 15);
}

TEST(SysExClassification, RhythmPartDigitZeroIsNotRecognised) {
  const auto event = SysEx({0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x10, 0x15});
  EXPECT_EQ(event.type, SysExClass::Other);
  EXPECT_EQ(event.channel, kNoChannel);
}

TEST(SysExClassification, VoiceMode) {
  EXPECT_EQ(SysEx({0xF0, 0x07, 0x43, 0x79, 0x06, 0x7F, 0x00, 0x00, 0xF7}).type,
            SysExClass::VoiceMode);
  EXPECT_EQ(SysEx({0xF0, 0x07, 0x43, 0x79, 0x06, 0x7F, 0x00, 0x00, 0xF0}).type, SysExClass::Other);
}

TEST(TimeSignCode, KnownMetersOnly) {
  EXPECT_EQ(TimeSignCode(1, 1), 2);
  EXPECT_EQ(TimeSignCode(4, 2), 4);
  EXPECT_EQ(TimeSignCode(3, 2), 3);
  EXPECT_EQ(TimeSignCode(6, 3), 6);
  EXPECT_EQ(TimeSignCode(2, 2), 0);
  EXPECT_EQ(TimeSignCode(3, 1), 0);
}

TEST(MusicEventError, OtherCodesNameTheClass) {
  RecordingSink sink;
  ReportMusicEventError(sink.Reports(), 0x06000002);
  EXPECT_EQ(sink.CountReported("MusicEventでエラーが発生しました。"), 1);
}

}  // namespace
}  // namespace quillmar
