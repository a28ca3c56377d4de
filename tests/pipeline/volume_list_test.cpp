#include "pipeline/volume_list.h"

#include <gtest/gtest.h>

#include "model/midi_file_loader.h"
#include "pipeline/conversion_driver.h"
#include "pipeline/list_fixture.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;
using Values = std::vector<std::int32_t>;

constexpr std::int32_t kVolume = 7;
constexpr std::int32_t kPan = 10;

// The bytes of a master-volume message of the value.
std::string MasterVolumeBytes(int value) {
  return Bytes({0xF0, 0x07, 0x7F, 0x7F, 0x04, 0x01, 0x00, value, 0xF7});
}

MusicEvent MasterVolume(int value) {
  return SysEx(0, {0xF0, 0x07, 0x7F, 0x7F, 0x04, 0x01, 0x00, value, 0xF7});
}

// The message that makes part 10 a rhythm part; it carries the master-volume class too.
MusicEvent RhythmPart() {
  return SysEx(0, {0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, 0x1A, 0x15, 0x02, 0x0F, 0xF7});
}

using VolumeList = ListTest;

TEST_F(VolumeList, ChangesEachOwnVolumeEventByTheCellsMode) {
  AddTrack({Control(0, 2, kVolume, 90), Control(10, 2, kVolume, 120)});
  AddTrack({Control(0, 3, kVolume, 101)});
  AddTrack({Control(0, 4, kVolume, 100)});
  AddTrack({Control(0, 5, kVolume, 30)});
  AddTrack({Control(0, 6, kVolume, 5), Control(0, 6, kVolume, 50)});
  AddTrack({Control(0, 7, kVolume, 64)});
  AddTrack({Control(0, 8, kVolume, 0)});
  ApplyVolumeList(
      song_, List(ListKind::Volume, {"3,+10,-,-,-", "4,80%,-,-,-", "5,100%,-,-,-", "6,-50,-,-,-",
                                     "7,200,-,-,-", "8,-,-,-,-", "9,+10,-,-,-"}));
  EXPECT_EQ(ControllerValues(0, kVolume), (Values{100, 127}));
  EXPECT_EQ(ControllerValues(1, kVolume), (Values{80})) << "80.8 truncates";
  EXPECT_EQ(ControllerValues(2, kVolume), (Values{100}));
  EXPECT_EQ(ControllerValues(3, kVolume), (Values{0}));
  EXPECT_EQ(ControllerValues(4, kVolume), (Values{127, 127}));
  EXPECT_EQ(ControllerValues(5, kVolume), (Values{64}));
  EXPECT_EQ(ControllerValues(6, kVolume), (Values{10})) << "a volume of 0 is a volume";
  EXPECT_EQ(sink_.CountReported("複数のボリュームが設定されています。"), 1)
      << "the once-only warning of the tracks holding two";
  EXPECT_EQ(LineCount(), 1);
}

TEST_F(VolumeList, OnlyTheFirstTrackOfAChannelWithoutVolumeGetsOneFrom100) {
  AddTrack({GateNote(0, 2, 60, 10)});
  AddTrack({GateNote(0, 2, 64, 10)});
  AddTrack({GateNote(0, 4, 64, 10)});
  ApplyVolumeList(song_, List(ListKind::Volume, {"3,+10,-,-,-", "5,-,-,-,-"}));
  EXPECT_EQ(ControllerValues(0, kVolume), (Values{110}));
  const MusicEvent& inserted = song_.Track(0).Event(0);
  EXPECT_EQ(inserted.channel, 2);
  EXPECT_EQ(inserted.delta, 0);
  EXPECT_EQ(ControllerValues(1, kVolume), (Values{}));
  EXPECT_EQ(ControllerValues(2, kVolume), (Values{100})) << "even a kept cell sets 100";
  EXPECT_EQ(ControllerValues(2, kPan), (Values{})) << "a kept pan cell adds no pan";
  EXPECT_EQ(sink_.CountReported(kVolumeFrom100), 2);
  EXPECT_EQ(sink_.CountReported(kVolumeOnOtherTrack), 1);
  EXPECT_EQ(sink_.CountReported(kPanFrom64), 0);
  EXPECT_EQ(LineCount(), 3);
}

TEST_F(VolumeList, PanIsComputedFromTheLastPanOrFrom64) {
  AddTrack({GateNote(0, 2, 60, 10)});
  AddTrack({Control(0, 3, kPan, 20), Control(0, 3, kPan, 40)});
  AddTrack({GateNote(0, 4, 60, 10)});
  AddTrack({GateNote(0, 5, 60, 10)});
  AddTrack({Control(0, 6, kPan, 100)});
  AddTrack({Control(0, 7, kPan, 100)});
  ApplyVolumeList(song_,
                  List(ListKind::Volume, {"3,100,-,-10,-", "4,100,-,+10,-", "5,100,-,-,-",
                                          "6,100,-,150%,-", "7,100,-,150%,-", "8,100,-,70,-"}));
  EXPECT_EQ(ControllerValues(0, kPan), (Values{54}));
  EXPECT_EQ(ControllerValues(1, kPan), (Values{50, 50})) << "all take the last pan + 10";
  EXPECT_EQ(ControllerValues(2, kPan), (Values{})) << "a kept cell adds nothing";
  EXPECT_EQ(ControllerValues(3, kPan), (Values{96}));
  EXPECT_EQ(ControllerValues(4, kPan), (Values{127}));
  EXPECT_EQ(ControllerValues(5, kPan), (Values{70}));
  EXPECT_EQ(sink_.CountReported(kPanFrom64), 2);
}

TEST_F(VolumeList, VelocityOfZeroChangesOnlyByAPlainNumber) {
  for (const int channel : {2, 3, 4, 5, 6}) {
    AddTrack({Control(0, channel, kVolume, 100), GateNote(0, channel, 60, 10, 0),
              GateNote(0, channel, 62, 10, 100), GateNote(0, channel, 64, 10, 127)});
  }
  ApplyVolumeList(song_, List(ListKind::Volume, {"3,-,30,-,-", "4,-,+20,-,-", "5,-,-110,-,-",
                                                 "6,-,50%,-,-", "7,-,-,-,-"}));
  EXPECT_EQ(NoteField(0, &MusicEvent::velocity), (Values{30, 30, 30}));
  EXPECT_EQ(NoteField(1, &MusicEvent::velocity), (Values{0, 120, 127}));
  EXPECT_EQ(NoteField(2, &MusicEvent::velocity), (Values{0, 0, 17}));
  EXPECT_EQ(NoteField(3, &MusicEvent::velocity), (Values{0, 50, 63}));
  EXPECT_EQ(NoteField(4, &MusicEvent::velocity), (Values{0, 100, 127}));
}

TEST_F(VolumeList, GateStepRemovesSilencedNotesKeepingOtherTimes) {
  AddTrack({Control(0, 2, kVolume, 100), GateNote(0, 2, 60, 1), GateNote(10, 2, 62, 240),
            GateNote(10, 2, 64, 1), Control(10, 2, 1, 5), GateNote(10, 2, 65, 7)});
  AddTrack({Control(0, 2, kVolume, 100), GateNote(5, 2, 67, 1)});
  AddTrack({Control(0, 3, kVolume, 100), GateNote(5, 3, 67, 100), GateNote(5, 3, 69, 2)});
  AddTrack({Control(0, 4, kVolume, 100), GateNote(5, 4, 67, 100)});
  ApplyVolumeList(song_, List(ListKind::Volume, {"3,-,-,-,50%", "4,-,-,-,-99", "5,-,-,-,+20"}));
  EXPECT_EQ(NoteField(0, &MusicEvent::gate), (Values{120, 3}));
  EXPECT_EQ(TimesOf(song_.Track(0)), (std::vector<Ticks>{0, 10, 30, 40, 40}))
      << "the controller at 30 and the EndOfTrack keep their times";
  EXPECT_EQ(NoteField(1, &MusicEvent::gate), (Values{}));
  EXPECT_EQ(TimesOf(song_.Track(1)), (std::vector<Ticks>{0, 5}));
  EXPECT_EQ(NoteField(2, &MusicEvent::gate), (Values{1}));
  EXPECT_EQ(NoteField(3, &MusicEvent::gate), (Values{120}));
  EXPECT_EQ(sink_.CountReported(kNotesSilenced), 3) << "once for each track that lost notes";
}

TEST_F(VolumeList, MasterRowInsertsIntoTheFirstChannelTrackAfterAConductor) {
  AddTrack({Tempo(0, 500000)});
  AddTrack({GateNote(0, 0, 60, 10)});
  ApplyVolumeList(song_, List(ListKind::Volume, {"Master,120,,,"}));
  EXPECT_EQ(song_.Track(0).Count(), 2);
  EXPECT_EQ(song_.Track(1).Event(0).data, MasterVolumeBytes(120));
  EXPECT_EQ(song_.Track(1).Event(0).value, 120);
  EXPECT_EQ(LineCount(), 0) << "neither the base of 100 nor the unread cells are reported";
}

TEST_F(VolumeList, MasterRowInsertsIntoTheFirstTrackOtherwise) {
  // A lone conductor track, and a first track that holds a channel message.
  MidiF1Data alone(context_);
  EXPECT_TRUE(alone.AppendTrack(
      TrackOf(context_, TrackForm::GateTimeForm, {Tempo(0, 500000), EndOfTrack()})));
  AddTrack({Tempo(0, 500000), Control(0, 0, kVolume, 100)});
  AddTrack({GateNote(0, 0, 60, 10)});
  const SettingsList list = List(ListKind::Volume, {"Master,-,,,"});
  ApplyVolumeList(alone, list);
  ApplyVolumeList(song_, list);
  EXPECT_EQ(alone.Track(0).Event(0).data, MasterVolumeBytes(100));
  EXPECT_EQ(song_.Track(0).Event(0).data, MasterVolumeBytes(100)) << "even the cell -";
  EXPECT_EQ(song_.Track(1).Count(), 2);
}

TEST_F(VolumeList, MasterRowChangesTheFirstMasterVolumeOfTheSong) {
  AddTrack({Tempo(0, 500000)});
  AddTrack({MasterVolume(100), MasterVolume(50), GateNote(0, 0, 60, 10)});
  AddTrack({MasterVolume(90), GateNote(0, 1, 60, 10)});
  ApplyVolumeList(song_, List(ListKind::Volume, {"Master,-20,,,"}));
  EXPECT_EQ(song_.Track(1).Event(0).data, MasterVolumeBytes(30)) << "from the track's last, 50";
  EXPECT_EQ(song_.Track(1).Event(1).data, MasterVolumeBytes(50));
  EXPECT_EQ(song_.Track(2).Event(0).data, MasterVolumeBytes(90));
  EXPECT_EQ(song_.Track(0).Count(), 2);
}

TEST_F(VolumeList, RhythmPartMessageIsNeitherReadNorChangedAsMasterVolume) {
  AddTrack({RhythmPart(), GateNote(0, 9, 36, 10)});
  const std::string rhythm_part = song_.Track(0).Event(0).data;
  ApplyVolumeList(song_, List(ListKind::Volume, {"Master,80%,,,", "Master,+5,,,"}));
  ASSERT_EQ(song_.Track(0).Count(), 4);
  EXPECT_EQ(song_.Track(0).Event(0).data, MasterVolumeBytes(85)) << "80% of 100, then + 5";
  EXPECT_EQ(song_.Track(0).Event(1).data, rhythm_part);
}

TEST_F(VolumeList, RowsNotNamingMasterOrAChannelChangeNothing) {
  AddTrack({Tempo(0, 500000)});
  AddTrack({Control(0, 0, kVolume, 100), GateNote(0, 0, 60, 10)});
  ApplyVolumeList(song_, List(ListKind::Volume,
                              {"master,50,x,x,x", "MASTER,50,x,x,x", "Master ,50,x,x,x",
                               "0,50,x,x,x", "17,50,x,x,x", "-1,50,x,x,x", "チャネル,50,x,x,x"}));
  EXPECT_EQ(song_.GetMasterVolume(), std::nullopt);
  EXPECT_EQ(ControllerValues(1, kVolume), (Values{100}));
  EXPECT_EQ(LineCount(), 0) << "no cell of such a row is read";
}

TEST_F(VolumeList, CellsAreParsedAnewForEveryTrackOfTheChannel) {
  AddTrack({Control(0, 2, kVolume, 100), GateNote(0, 2, 60, 10)});
  AddTrack({Control(0, 2, kVolume, 100), GateNote(0, 2, 60, 10)});
  AddTrack({Control(0, 5, kVolume, 100), GateNote(0, 5, 60, 10)});
  ApplyVolumeList(song_, List(ListKind::Volume, {"3,1 0,+5x,-,-"}));
  EXPECT_EQ(ControllerValues(0, kVolume), (Values{10}));
  EXPECT_EQ(ControllerValues(1, kVolume), (Values{10}));
  EXPECT_EQ(NoteField(1, &MusicEvent::velocity), (Values{105}));
  EXPECT_EQ(sink_.CountReported(kListExtraSpace), 2);
  EXPECT_EQ(sink_.CountReported(kListDataError), 2);
}

TEST_F(VolumeList, EmptyCellsLeaveTheirValuesAloneAfterTheirMessage) {
  AddTrack({GateNote(0, 2, 60, 10)});
  AddTrack({Tempo(0, 500000)});
  // The last line lacks its line break and its last three cells.
  ApplyVolumeList(song_, ListFromText(ListKind::Volume, "Master,,,,\r\n3,,,,\r\n3,50"));
  EXPECT_EQ(song_.GetMasterVolume(), std::nullopt);
  EXPECT_EQ(ControllerValues(0, kVolume), (Values{50}));
  EXPECT_EQ(ControllerValues(0, kPan), (Values{}));
  EXPECT_EQ(NoteField(0, &MusicEvent::velocity), (Values{100}));
  EXPECT_EQ(NoteField(0, &MusicEvent::gate), (Values{10}));
  EXPECT_EQ(sink_.CountReported(kListDataError), 1 + 4 + 3);
  EXPECT_EQ(sink_.CountReported(kVolumeFrom100), 1) << "only for the cell 50";
  EXPECT_EQ(sink_.CountReported(kPanFrom64), 0);
  EXPECT_EQ(LineCount(), 9);
}

// Every cell at each extreme number: values stay in their ranges (a number cell reads at
// most a million), and a row naming no channel 1-16 changes nothing.
TEST_F(VolumeList, ExtremeNumbersKeepValuesInTheirRanges) {
  struct Expected {
    Values volume, velocity, pan, gate;
    std::int32_t master;
  };
  const std::array<Expected, kExtremeNumbers.size()> expected{{
      {{0}, {}, {0}, {}, 0},
      {{127}, {127}, {127}, {1000000}, 127},
      {{127}, {127}, {127}, {1000000}, 127},
      {{0}, {}, {0}, {}, 0},
      {{127}, {127}, {127}, {1308}, 127},
      {{100}, {100}, {64}, {10}, 100},
      {{0}, {}, {0}, {}, 0},
  }};
  for (std::size_t i = 0; i < kExtremeNumbers.size(); ++i) {
    const std::string n(kExtremeNumbers[i]);
    SCOPED_TRACE(n);
    song_ = MidiF1Data(context_);
    AddTrack({MasterVolume(100), Control(0, 0, kVolume, 100), Control(0, 0, kPan, 64),
              GateNote(0, 0, 60, 10)});
    const std::string cells = n + "," + n + "," + n + "," + n;
    ApplyVolumeList(song_,
                    List(ListKind::Volume, {"1," + cells, "Master," + n + ",,,", n + ",-,-,-,-"}));
    EXPECT_EQ(ControllerValues(0, kVolume), expected[i].volume);
    EXPECT_EQ(NoteField(0, &MusicEvent::velocity), expected[i].velocity);
    EXPECT_EQ(ControllerValues(0, kPan), expected[i].pan);
    EXPECT_EQ(NoteField(0, &MusicEvent::gate), expected[i].gate);
    EXPECT_EQ(song_.GetMasterVolume(), expected[i].master);
  }
}

// --- The lists inside a conversion ------------------------------------------------------

class ListsInConversion : public ListTest {
 protected:
  // A format-1 file: a conductor track, a piano (program 1) on channel 1 without volume and
  // a kick drum on channel 10, both at velocity 100.
  std::string Input() {
    const std::string conductor =
        Chunk(Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00}));
    const std::string piano = Chunk(
        Bytes({0x00, 0xC0, 0, 0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00}));
    const std::string drums =
        Chunk(Bytes({0x00, 0x99, 36, 100, 0x60, 0x89, 36, 0, 0x00, 0xFF, 0x2F, 0x00}));
    return folder_.Write("in.mid", Smf(1, 96, {conductor, piano, drums}));
  }

  // Converts the input and reads the format-1 output back into the song.
  void Convert() {
    slot_.folders[OutputFormat::Format1] = Sjis(output_.Path());
    const FormatChoices formats{false, false, true};
    ConversionDriver driver(context_, notices_, slot_, formats, Sjis(work_.Path()));
    std::string output = "out.mid";
    EXPECT_TRUE(driver.Convert(Sjis(Input()), output, "-", "-").complete);
    MidiFileLoader loader(context_, MidiSource::Bytes(output_.Read("out.mid")));
    ASSERT_TRUE(loader.Loaded());
    song_ = std::move(*loader.Song());
  }

  TempFolder work_, output_;
};

TEST_F(ListsInConversion, AppliesToneThenVolumeThenDrumLists) {
  Load(ListKind::Tone, {"1,ピアノ,50,-,-,-,-"});
  Load(ListKind::Volume, {"1,+10,-,-,-", "10,-,50%,-,-"});
  Load(ListKind::Drum, {"36,バスドラム,+10,-"});
  Convert();
  EXPECT_EQ(ControllerValues(1, kVolume), (Values{60}))
      << "the tone list inserts 50, then the volume list adds 10";
  EXPECT_EQ(NoteField(2, &MusicEvent::velocity), (Values{60}))
      << "the volume list halves 100, then the drum list adds 10";
}

TEST_F(ListsInConversion, AppliesOnlyListsSwitchedOn) {
  Load(ListKind::Tone, {"1,ピアノ,50,-,-,-,-"}, false);
  Load(ListKind::Drum, {"36,バスドラム,+10,-"});
  Convert();
  EXPECT_EQ(ControllerValues(1, kVolume), (Values{}));
  EXPECT_EQ(NoteField(2, &MusicEvent::velocity), (Values{110}));
}

}  // namespace
}  // namespace quillmar
