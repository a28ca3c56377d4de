#pragma once

// What the fuzz targets share: a reporter that swallows what it is given, a private folder for the
// files a target writes (removed when the process ends), and a fixed song to apply lists and rows
// to.

#include <cstdlib>
#include <string>
#include <string_view>

#include "lists/whole_file.h"
#include "model/model_builders.h"
#include "model/model_context.h"
#include "pipeline/conversion_driver.h"
#include "platform/files.h"
#include "report/report.h"

namespace quillmar::fuzzing {

class QuietSink : public ReportSink {
 public:
  void AppendLine(std::string_view) override {}
  void ShowMessage(std::string_view) override {}
};

// Where the findings of every run of a target go: nowhere.
inline Reporter& QuietReports() {
  static QuietSink sink;
  static Reporter reporter(sink);
  return reporter;
}

// The folder every file of this process goes into; made on first use.
inline const std::string& FuzzFolder() {
  static const std::string folder = [] {
    std::string made = MakeTemporaryFolder(SystemTemporaryFolder()).value_or("/tmp");
    static std::string removed_at_exit = made;
    std::atexit([] { static_cast<void>(RemoveFolderTree(removed_at_exit)); });
    return made;
  }();
  return folder;
}

inline std::string InFuzzFolder(std::string_view name) {
  return FuzzFolder() + "/" + std::string(name);
}

// Converts the input file for the slot in all three formats, its outputs and work files
// going into folders of the fuzz folder.
inline void Convert(std::string_view input, OutputSlot slot) {
  static const std::string work = InFuzzFolder("work");
  static const std::string out = InFuzzFolder("out");
  static const bool made = MakeFolder(work) && MakeFolder(out);
  (void)made;
  slot.folders.values.fill(out);
  const FormatChoices formats{true, true, true};
  ModelContext context(QuietReports());
  EditNotices notices;
  ConversionDriver driver(context, notices, slot, formats, work);
  std::string output_name = "output.mid";
  static_cast<void>(driver.Convert(input, output_name, "Title", "-"));  // findings only
}

// A format-1 song with something of every kind the lists and rows act on: a conductor with
// tempo, meter, marker and loop messages, a named melody with program, volume, bends and an
// RPN triplet, a three-note chord track, and drums.
inline std::string FixedSong() {
  using testing::Bytes;
  using testing::Chunk;
  const std::string conductor =
      Bytes({0x00, 0xFF, 0x03, 0x04, 'S',  'o',  'n',  'g',  0x00, 0xFF, 0x51, 0x03,
             0x07, 0xA1, 0x20, 0x00, 0xFF, 0x58, 0x04, 0x03, 0x02, 0x18, 0x08, 0x00,
             0xF0, 0x09, 0x59, 0x7F, 0x48, 0x4D, 0x02, 0x0D, 0x00, 0x00, 0xF7, 0x8F,
             0x00, 0xFF, 0x06, 0x04, 'S',  'T',  'O',  'P',  0x00, 0xFF, 0x2F, 0x00});
  const std::string melody = Bytes(
      {0x00, 0xFF, 0x03, 0x07, '1',  '2',  ' ',  'L',  'e',  'a',  'd',  0x00, 0xC0, 0x05, 0x00,
       0xB0, 0x07, 0x64, 0x00, 0x65, 0x00, 0x00, 0x64, 0x00, 0x00, 0x06, 0x02, 0x00, 0x90, 0x3C,
       0x64, 0x83, 0x60, 0xE0, 0x00, 0x50, 0x81, 0x70, 0xE0, 0x00, 0x40, 0x00, 0x80, 0x3C, 0x00,
       0x00, 0x90, 0x3E, 0x50, 0x83, 0x60, 0x80, 0x3E, 0x00, 0x00, 0xFF, 0x2F, 0x00});
  const std::string chords =
      Bytes({0x00, 0xFF, 0x03, 0x05, 'P',  'i',  'a',  'n',  'o',  0x00, 0x91, 0x3C, 0x50,
             0x00, 0x91, 0x40, 0x50, 0x00, 0x91, 0x43, 0x50, 0x87, 0x40, 0x81, 0x3C, 0x00,
             0x00, 0x81, 0x40, 0x00, 0x00, 0x81, 0x43, 0x00, 0x00, 0xFF, 0x2F, 0x00});
  const std::string drums = Bytes({0x00, 0x99, 0x24, 0x64, 0x00, 0x99, 0x2A, 0x50, 0x78, 0x89,
                                   0x24, 0x00, 0x00, 0x89, 0x2A, 0x00, 0x00, 0xFF, 0x2F, 0x00});
  return testing::Smf(1, 480, {Chunk(conductor), Chunk(melody), Chunk(chords), Chunk(drums)});
}

}  // namespace quillmar::fuzzing
