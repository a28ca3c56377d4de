// The preview's picture of a song and its in-memory run: the figures equal a run's, nothing
// is written, and the reports stay apart from the result list.
#include "preview/song_preview.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/midi_file_loader.h"
#include "model/model_builders.h"
#include "pipeline/conversion_driver.h"
#include "pipeline/list_fixture.h"
#include "platform/encoding.h"
#include "preview/handset_notes.h"
#include "preview/preview_run.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;
using Spans = std::vector<TickSpan>;

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

class SongPreviewTest : public ListTest {
 protected:
  // The preview of the song built so far, merged as a conversion merges it.
  SongPreview Preview() {
    MidiF1Data copy(song_);
    const MidiF0Data merged = copy.TakeAsFormat0(false);
    return SongPreview(song_, merged.Track());
  }

  // A format-1 file: a named conductor in 3/4, a chord of three and a melody on channel 1,
  // drums on channel 10.
  std::string Input() {
    const std::string conductor =
        Chunk(Bytes({0x00, 0xFF, 0x03, 4,    'S',  'o', 'n',  'g',  0x00, 0xFF, 0x58, 4,    3,   2,
                     24,   8,    0x00, 0xFF, 0x51, 3,   0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00}));
    const std::string chord = Chunk(Bytes(
        {0x00, 0x90, 60,   90,   0x00, 0x90, 64,   90,   0x00, 0x90, 67,   90,   0x83, 0x60, 0x80,
         60,   0,    0x00, 0x80, 64,   0,    0x00, 0x80, 67,   0,    0x00, 0xFF, 0x2F, 0x00}));
    const std::string drums =
        Chunk(Bytes({0x00, 0x99, 36,   90,   0x30, 0x89, 36,   0,    0x00, 0x99,
                     38,   90,   0x30, 0x89, 38,   0,    0x00, 0xFF, 0x2F, 0x00}));
    return folder_.Write("in.mid", Smf(1, 480, {conductor, chord, drums}));
  }
};

TEST_F(SongPreviewTest, PicturesTracksNotesMeasuresAndTheTimeline) {
  song_.SetDivision(480);
  AddTrack({Meta(0, MetaType::SequenceName, "Conductor"), TimeSign(0, 3, 2), TimeSign(1920, 2, 2),
            Tempo(0, 1000000)});
  AddTrack({Meta(0, MetaType::SequenceName, "Piano"), GateNote(0, 0, 60, 960),
            GateNote(0, 0, 64, 480), GateNote(480, 0, 67, 2000)});
  AddTrack({GateNote(0, 9, 36, 10), GateNote(240, 9, 36, 10), GateNote(240, 9, 38, 10)});
  const SongPreview preview = Preview();

  ASSERT_EQ(preview.Tracks().size(), 3u);
  EXPECT_EQ(preview.Tracks()[0].name, "Conductor");
  EXPECT_EQ(preview.Tracks()[0].channel, std::nullopt);
  EXPECT_EQ(preview.Tracks()[1].name, "Piano");
  EXPECT_EQ(preview.Tracks()[1].notes, 3);
  EXPECT_EQ(preview.Tracks()[1].voices, 2);
  EXPECT_EQ(preview.Tracks()[2].channel, 9);
  EXPECT_EQ(preview.Tracks()[2].voices, 2) << "distinct drum notes";
  EXPECT_EQ(preview.VoiceCount(), 4);
  EXPECT_EQ(preview.Length(), 2480);
  EXPECT_EQ(preview.Notes().size(), 6u);
  EXPECT_TRUE(
      std::is_sorted(preview.Notes().begin(), preview.Notes().end(),
                     [](const PreviewNote& a, const PreviewNote& b) { return a.start < b.start; }));

  // 3/4 from the start (1440 ticks a measure); the 2/4 at 1920 cuts the second measure short.
  std::vector<std::pair<Ticks, int>> measures;
  for (const MeasureLine& line : preview.Measures()) measures.emplace_back(line.tick, line.number);
  EXPECT_EQ(measures, (std::vector<std::pair<Ticks, int>>{{0, 1}, {1440, 2}, {1920, 3}}));

  EXPECT_EQ(preview.Timeline(),
            (std::vector<SoundingChange>{
                {0, 3}, {10, 2}, {240, 3}, {250, 2}, {480, 3}, {490, 2}, {960, 1}, {2480, 0}}));
  EXPECT_EQ(preview.SimultaneousNotes(), 3);
  EXPECT_EQ(preview.Peaks(), (Spans{{0, 10}, {240, 250}, {480, 490}}));
  EXPECT_EQ(preview.SpansAbove(1), (Spans{{0, 960}}));
  EXPECT_EQ(preview.SpansAbove(3), Spans{});
  EXPECT_DOUBLE_EQ(preview.Seconds(1920), 2.0) << "120 quarters a minute before the tempo";
  EXPECT_DOUBLE_EQ(preview.Seconds(2400), 3.0) << "60 from the tempo at 1920";

  // Only the notes near a span are handed to the painter, every sounding one among them.
  for (const auto& [from, to] : std::vector<TickSpan>{{0, 1}, {500, 600}, {2400, 2500}}) {
    int sounding = 0;
    for (const PreviewNote& note : preview.Notes()) sounding += note.start < to && note.end > from;
    const auto near = preview.NotesBetween(from, to);
    EXPECT_EQ(std::count_if(near.begin(), near.end(),
                            [&](const PreviewNote& n) { return n.start < to && n.end > from; }),
              sounding)
        << from;
  }
}

TEST_F(SongPreviewTest, TheNotesAHandsetLeavesOutAreFoundInThePicture) {
  song_.SetDivision(480);
  AddTrack({GateNote(0, 0, 60, 480), GateNote(0, 0, 64, 480), GateNote(0, 0, 67, 480)});
  // With three notes sounding, 72 and 74 start while the limit sounds; the second 60 is a key
  // already sounding on its channel and plays.
  AddTrack({GateNote(0, 1, 72, 480), GateNote(240, 1, 74, 480), GateNote(0, 0, 60, 10)});
  const SongPreview preview = Preview();
  MidiF1Data copy(song_);
  const SongSound limited = SongSound(copy.TakeAsFormat0(false).Track(), 480).WithHandsetLimit(3);
  const std::vector<bool> left_out = NotesLeftOut(preview, limited);
  ASSERT_EQ(left_out.size(), preview.Notes().size());
  for (std::size_t index = 0; index < left_out.size(); ++index) {
    const int key = preview.Notes()[index].note;
    EXPECT_EQ(left_out[index], key == 72 || key == 74) << key;
  }
  EXPECT_EQ(NotesLeftOut(preview, limited.WithHandsetLimit(8)), std::vector<bool>(6, false));
}

TEST_F(SongPreviewTest, RunInMemoryGivesTheRunsLinesAndWritesNothing) {
  const std::string input = Input();
  Load(ListKind::Tone, {"1,ピアノ,50,-,-,-,-"});
  Load(ListKind::Volume, {"1,+10,-,-,-"});
  Load(ListKind::Edit, {"Save,File=snap,-,-", "Del,Note=67,-,-"});
  TempFolder out, work;
  slot_.folders = {Sjis(out.Path()), Sjis(out.Path()), Sjis(out.Path())};

  for (const OutputSlot* slot : std::vector<const OutputSlot*>{nullptr, &slot_}) {
    SCOPED_TRACE(slot == nullptr ? "original" : "after the lists");
    sink_.Clear();
    const PreviewResult preview = RunPreview(Sjis(input), slot, std::nullopt);
    EXPECT_EQ(sink_.RawLines(), std::vector<std::string>{}) << "nothing reaches the result list";
    EXPECT_EQ(Entries(out.Path()), std::vector<std::string>{}) << "nothing is written";
    ASSERT_NE(preview.song, nullptr);

    // The same row converted by a run, with the cells that keep the song's texts.
    OutputSlot run_slot = slot ? slot_ : OutputSlot{};
    run_slot.folders = {Sjis(out.Path()), Sjis(out.Path()), Sjis(out.Path())};
    const FormatChoices formats{false, false, true};
    ConversionDriver driver(context_, notices_, run_slot, formats, Sjis(work.Path()));
    std::string name = "out.mid";
    ASSERT_TRUE(driver.Convert(Sjis(input), name, "-", "-").complete);
    std::vector<std::string> run_lines = sink_.RawLines();
    std::erase_if(run_lines, [](const std::string& line) {
      return line.find(Sjis("タイトル")) != std::string::npos ||
             line.find(Sjis("著作権")) != std::string::npos;
    });
    EXPECT_EQ(preview.lines, run_lines);
    // What each edit row did: the snapshot nothing, the deletion the notes 67.
    ASSERT_EQ(preview.effects.size(), slot ? 2u : 0u);
    if (slot) {
      EXPECT_TRUE(preview.effects[0].ChangedNothing());
      EXPECT_EQ(static_cast<std::size_t>(preview.effects[1].notes.removed),
                preview.effects[1].touched.size());
    }
    const std::string figure =
        Sjis("同時発音数 ") + std::to_string(preview.song->SimultaneousNotes());
    EXPECT_NE(std::find_if(run_lines.begin(), run_lines.end(),
                           [&](const std::string& line) { return line.ends_with(figure); }),
              run_lines.end());

    MidiFileLoader written(context_, MidiSource::Bytes(out.Read("out.mid")));
    ASSERT_TRUE(written.Loaded());
    EXPECT_EQ(preview.song->Tracks().size(),
              static_cast<std::size_t>(written.Song()->TrackCount()));
    std::size_t notes = 0;
    for (int t = 0; t < written.Song()->TrackCount(); ++t) {
      for (const MusicEvent& e : written.Song()->Track(t).Events())
        notes += e.kind == EventKind::Note;
    }
    EXPECT_EQ(preview.song->Notes().size(), notes);
    ASSERT_NE(preview.sound, nullptr) << "the song as the synthesizer plays it";
    EXPECT_EQ(preview.sound->Notes().size(), notes);
    for (const std::string& entry : Entries(out.Path())) {
      std::filesystem::remove_all(out.Path() + "/" + entry);
    }
  }
}

TEST_F(SongPreviewTest, AFileThatCannotBeConvertedHasLinesButNoSong) {
  const PreviewResult missing =
      RunPreview(Sjis(folder_.Path() + "/none.mid"), nullptr, std::nullopt);
  EXPECT_EQ(missing.song, nullptr);
  EXPECT_FALSE(missing.lines.empty());
  const PreviewResult garbage =
      RunPreview(Sjis(folder_.Write("bad.mid", "not a MIDI file")), nullptr, std::nullopt);
  EXPECT_EQ(garbage.song, nullptr);
  EXPECT_FALSE(garbage.lines.empty());
  EXPECT_EQ(sink_.RawLines(), std::vector<std::string>{});
}

}  // namespace
}  // namespace quillmar
