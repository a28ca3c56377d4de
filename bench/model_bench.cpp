// Speed of the MIDI model on the largest legal input: a format-1 file of just under
// 262,144 bytes holding about 80,000 events, generated here. The full cycle is what a
// conversion does with a song: read, gate-time form, on/off form, encode format 1, read it
// back, merge into format 0, encode. Complexity is reported over growing event counts.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "lists/whole_file.h"
#include "model/midi_file_loader.h"
#include "platform/process_memory.h"
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

void BM_FullCycle(benchmark::State& state) {
  RetainFreedMemory();  // as the front ends do
  QuietSink sink;
  InstallReportSink(&sink);
  const std::string folder = "/tmp/quillmar-bench-" + std::to_string(::getpid());
  std::filesystem::create_directories(folder);
  const std::string input = folder + "/in.mid";
  const std::string work = folder + "/work.mid";
  const std::string song = MakeSong(static_cast<int>(state.range(0)));
  WriteWholeFile(input, song);
  ModelContext context;
  for (auto _ : state) {
    MidiFileLoader loader(context, input);
    MidiF1Data& format1 = *loader.Song();
    format1.DeleteEmptyTracks();
    format1.ToOnOffForm();
    format1.Encode();
    format1.Save(work);
    MidiFileLoader again(context, work);
    again.ToFormat0();
    MidiF0Data& format0 = *again.Format0Song();
    format0.ToOnOffForm();
    format0.Encode();
    format0.SaveToFile(work);
    benchmark::DoNotOptimize(format0.Size());
  }
  state.counters["file_bytes"] = static_cast<double>(song.size());
  state.SetComplexityN(state.range(0));
  std::filesystem::remove_all(folder);
  InstallReportSink(nullptr);
}
BENCHMARK(BM_FullCycle)
    ->Arg(20000)
    ->Arg(40000)
    ->Arg(80000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace quillmar
