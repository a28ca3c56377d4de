// Speed of the MIDI model on the largest legal input: a format-1 file of just under
// 262,144 bytes holding about 80,000 events, generated here. The full cycle is what a
// conversion does with a song: read, gate-time form, on/off form, encode format 1, read it
// back, merge into format 0, encode. A second benchmark applies an edit and an order list
// to the same songs, and a third previews them. Complexity is reported over growing event
// counts.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "edit/edit_list.h"
#include "lists/whole_file.h"
#include "model/midi_file_loader.h"
#include "pipeline/order_list.h"
#include "platform/process_memory.h"
#include "preview/preview_run.h"
#include "report/report.h"

namespace quillmar {
namespace {

// Swallows the reports of a benchmark run.
class QuietSink : public ReportSink {
 public:
  void AppendLine(std::string_view) override {}
  void ShowMessage(std::string_view) override {}
};

void AppendBigEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
    out.push_back(static_cast<char>((value >> shift) & 0xFF));
  }
}

// A format-1 file of 16 channel tracks playing four-note chords, written with running
// status (three bytes an event), `events` events in all.
std::string MakeSong(int events) {
  constexpr int kTracks = 16;
  std::string file = "MThd";
  AppendBigEndian(file, 6, 4);
  AppendBigEndian(file, 1, 2);
  AppendBigEndian(file, kTracks, 2);
  AppendBigEndian(file, 480, 2);
  const int per_track = events / kTracks;
  for (int channel = 0; channel < kTracks; ++channel) {
    std::string body;
    body.push_back(0);
    body.push_back(static_cast<char>(0x90 + channel));
    // Chords of four notes sounding 120 ticks, one every 120 ticks; each step 8 events.
    for (int step = 0; step * 8 + 8 <= per_track; ++step) {
      const int root = 36 + (step * 5 + channel) % 60;
      for (int voice = 0; voice < 4; ++voice) {
        if (!(step == 0 && voice == 0)) body.push_back(0);
        body.push_back(static_cast<char>(root + voice * 4));
        body.push_back(100);
      }
      for (int voice = 0; voice < 4; ++voice) {
        body.push_back(voice == 0 ? 0x78 : 0);
        body.push_back(static_cast<char>(root + voice * 4));
        body.push_back(0);
      }
    }
    body += std::string("\x00\xFF\x2F\x00", 4);
    file += "MTrk";
    AppendBigEndian(file, static_cast<std::uint32_t>(body.size()), 4);
    file += body;
  }
  return file;
}

// Writes a file that a benchmark needs; one that cannot be written ends the benchmark.
void Write(benchmark::State& state, Reporter& reporter, const std::string& path,
           std::string_view bytes) {
  if (!WriteWholeFile(reporter, path, bytes)) state.SkipWithError(("cannot write " + path).c_str());
}

void BM_FullCycle(benchmark::State& state) {
  RetainFreedMemory();  // as the front ends do
  QuietSink sink;
  Reporter reporter(sink);
  const std::string folder = "/tmp/quillmar-bench-" + std::to_string(::getpid());
  std::filesystem::create_directories(folder);
  const std::string input = folder + "/in.mid";
  const std::string work = folder + "/work.mid";
  const std::string song = MakeSong(static_cast<int>(state.range(0)));
  Write(state, reporter, input, song);
  ModelContext context(reporter);
  std::string bytes;
  for (auto _ : state) {
    if (!ReadWholeFile(reporter, input, bytes)) state.SkipWithError("cannot read the song");
    MidiFileLoader loader(context, MidiSource::Bytes(bytes));
    MidiF1Data& format1 = *loader.Song();
    format1.DeleteEmptyTracks();
    format1.ToOnOffForm();
    if (!format1.Encode()) state.SkipWithError("cannot encode format 1");
    Write(state, reporter, work, format1.Image());
    if (!ReadWholeFile(reporter, work, bytes)) state.SkipWithError("cannot read the song");
    MidiFileLoader again(context, MidiSource::Bytes(bytes));
    again.ToFormat0();
    MidiF0Data& format0 = *again.Format0Song();
    format0.ToOnOffForm();
    if (!format0.Encode()) state.SkipWithError("cannot encode format 0");
    Write(state, reporter, work, format0.Image());
    benchmark::DoNotOptimize(format0.Size());
  }
  state.counters["file_bytes"] = static_cast<double>(song.size());
  state.SetComplexityN(state.range(0));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_FullCycle)
    ->Arg(20000)
    ->Arg(40000)
    ->Arg(80000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The edit and order lists of a slot applied to the largest legal song: every edit command
// walks each track once, so this stays linear in the events. With the second argument 1, what
// each row did is worked out too (--explain, the preview): n log n per row.
void BM_EditAndOrderLists(benchmark::State& state) {
  QuietSink sink;
  Reporter reporter(sink);
  const std::string folder = "/tmp/quillmar-bench-" + std::to_string(::getpid());
  std::filesystem::create_directories(folder);
  const std::string song = MakeSong(static_cast<int>(state.range(0)));
  Write(state, reporter, folder + "/e.csv",
        "command,target,channel,position\r\n"
        "Add,GMSystemOn,-,0\r\nAdd,MasterVolume=100,-,0\r\nAdd,BankSelectMSB=0,-,0\r\n"
        "Add,ProgramChange=1,-,0\r\nAdd,PitchBend=0,-,480\r\n"
        "Add,LoopSysExStart,-,2:1:0\r\nAdd,LoopSysExStop,-,End\r\n"
        "Add,Tempo=100,-,4:1:0\r\nAdd,ControlChange=55=3,-,960\r\n"
        "Conv,Velocity=90,10,-\r\nConv,GateTime=Tempo*0.32,10,Note=42\r\n"
        "Conv,Note=+12,2,-\r\nConv,GateTime=-30,-,1200\r\n"
        "Conv,ProgramChange=5,3,-\r\nConv,ChanelVolume=90,-,Track=2\r\n"
        "Conv,Chanel=5,-,Track=3\r\n");
  Write(state, reporter, folder + "/o.csv",
        "n,keyword\r\n1,BankSelectMSB\r\n2,ProgramChange\r\n3,ChanelVolume\r\n"
        "4,PitchBend\r\n");
  const SettingsList edits =
      SettingsList::Load(reporter, folder + "/e.csv", ColumnCountOf(ListKind::Edit));
  const SettingsList order =
      SettingsList::Load(reporter, folder + "/o.csv", ColumnCountOf(ListKind::Order));
  ModelContext context(reporter);
  EditNotices notices;
  for (auto _ : state) {
    state.PauseTiming();
    MidiFileLoader loader(context, MidiSource::Bytes(song));
    state.ResumeTiming();
    EditEnvironment environment{notices, {}};
    environment.explain = state.range(1) != 0;
    ApplyEditList(*loader.Song(), edits, environment);
    ApplyOrderList(*loader.Song(), order, environment);
    benchmark::DoNotOptimize(loader.Song()->Track(0).Count());
  }
  state.SetComplexityN(state.range(0));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_EditAndOrderLists)
    ->Args({20000, 0})
    ->Args({40000, 0})
    ->Args({80000, 0})
    ->Args({80000, 1})
    ->Unit(benchmark::kMillisecond);

// A preview of the largest legal song: the conversion in memory, then the picture (notes
// sorted, measures, track list, timeline). Sorting and the timeline's heap are n log n.
void BM_Preview(benchmark::State& state) {
  const std::string folder = "/tmp/quillmar-bench-" + std::to_string(::getpid());
  std::filesystem::create_directories(folder);
  const std::string input = folder + "/in.mid";
  QuietSink sink;
  Reporter reporter(sink);
  Write(state, reporter, input, MakeSong(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    const PreviewResult preview = RunPreview(input, nullptr, std::nullopt);
    benchmark::DoNotOptimize(preview.song->SimultaneousNotes());
  }
  state.SetComplexityN(state.range(0));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_Preview)
    ->Arg(20000)
    ->Arg(40000)
    ->Arg(80000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

}  // namespace
}  // namespace quillmar
