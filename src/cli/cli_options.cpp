#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <string_view>

namespace quillmar {
namespace {

// Reads the comma-separated formats "same", "0" and "1" into a step.
std::optional<std::string> ReadFormats(const std::string& list, CliStep& step) {
  std::istringstream items(list);
  std::string item;
  while (std::getline(items, item, ',')) {
    if (item == "same") {
      step.same_as_original = true;
    } else if (item == "0") {
      step.format0 = true;
    } else if (item == "1") {
      step.format1 = true;
    } else if (!item.empty()) {
      return "unknown format '" + item + "' (use same, 0 and 1)";
    }
  }
  return std::nullopt;
}

bool SameFormats(const CliStep& a, const CliStep& b) {
  return a.same_as_original == b.same_as_original && a.format0 == b.format0 &&
         a.format1 == b.format1;
}

}  // namespace

std::variant<CliOptions, std::string> ParseCliOptions(const std::vector<std::string>& arguments) {
  CliOptions options;
  bool paths_only = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (paths_only || argument.empty() || argument[0] != '-' || argument == "-") {
      options.steps.push_back({CliStep::Kind::Path, argument});
      continue;
    }
    if (argument == "--") {
      paths_only = true;
      continue;
    }
    // Options without a value switch something on.
    static const std::vector<std::pair<std::string_view, bool CliOptions::*>> kSwitches = {
        {"-h", &CliOptions::help},
        {"--help", &CliOptions::help},
        {"--version", &CliOptions::version},
        {"--yes", &CliOptions::yes},
        {"--timeline", &CliOptions::timelines},
        {"--explain", &CliOptions::explain},
        {"--wav", &CliOptions::wav},
        {"--sjis", &CliOptions::sjis_output}};
    const auto switched = std::find_if(kSwitches.begin(), kSwitches.end(),
                                       [&](const auto& s) { return s.first == argument; });
    if (switched != kSwitches.end()) {
      options.*(switched->second) = true;
      continue;
    }
    static const std::vector<std::pair<std::string, CliStep::Kind>> kFolderOptions = {
        {"--out", CliStep::Kind::Out},
        {"--out-same", CliStep::Kind::OutSame},
        {"--out0", CliStep::Kind::Out0},
        {"--out1", CliStep::Kind::Out1}};
    const bool takes_value = argument == "--slot" || argument == "--formats" ||
                             argument == "--work" || argument == "--save-result" ||
                             argument == "--wav-limit" || argument == "--soundfont" ||
                             std::any_of(kFolderOptions.begin(), kFolderOptions.end(),
                                         [&](const auto& o) { return o.first == argument; });
    if (!takes_value) return "unknown option " + argument;
    if (i + 1 >= arguments.size()) return argument + " needs a value";
    const std::string& value = arguments[++i];
    if (argument == "--slot") {
      if (value.size() != 1 || value[0] < '1' || value[0] > '6') {
        return "--slot takes a number from 1 to 6, not '" + value + "'";
      }
      options.steps.push_back({CliStep::Kind::Slot, value, value[0] - '0'});
    } else if (argument == "--formats") {
      CliStep step{CliStep::Kind::Formats, value};
      if (auto error = ReadFormats(value, step)) return *error;
      // The formats are one setting for every slot, as in the window: a second --formats
      // may only repeat the first.
      const auto first =
          std::find_if(options.steps.begin(), options.steps.end(),
                       [](const CliStep& s) { return s.kind == CliStep::Kind::Formats; });
      if (first != options.steps.end() && !SameFormats(*first, step)) {
        return "--formats is one setting for all slots; '" + value + "' differs from '" +
               first->text + "'";
      }
      options.steps.push_back(step);
    } else if (argument == "--work") {
      options.work_folder = value;
    } else if (argument == "--save-result") {
      options.save_result = value;
    } else if (argument == "--soundfont") {
      options.soundfont = value;
    } else if (argument == "--wav-limit") {
      int limit = 0;
      const char* end = value.data() + value.size();
      const auto [stop, error] = std::from_chars(value.data(), end, limit);
      if (error != std::errc() || stop != end || limit < 1) {
        return "--wav-limit takes a number of notes of 1 or more, not '" + value + "'";
      }
      options.wav = true;
      options.wav_limit = limit;
    } else {
      for (const auto& [name, kind] : kFolderOptions) {
        if (name == argument) options.steps.push_back({kind, value});
      }
    }
  }
  return options;
}

std::string CliUsage() {
  return R"(Usage: quillmar-cli [options] PATH...

Converts Standard MIDI Files as the Quillmar window does. Each PATH is taken as if
dropped on the window, in order: a list file by the first letter of its name (F: the file
list; V, T, D, E, O: the current slot's volume, tone, drum, edit or order list, switched on),
a .mid file (gathered into a file list in the run's private folder, which becomes the file
list; nothing is written beside the songs), or a folder (its *.csv files, then its *.mid
files). A PATH that names nothing is a usage error. Each PATH also sets the current slot's
output folders to its folder, except those that an option sets: --out, --out-same, --out0
and --out1 hold for their slot wherever they stand. Then Execute is pressed once.

A run that would write over one of its own inputs or list files, or write one output file
more than once (two formats, rows, slots or Save rows into one file), is refused (naming the
first such file) unless --yes is given; so is --save-result naming such a file.

Options (taken left to right with the paths):
  --slot N          slot N (1-6) is current for what follows (default 1)
  --formats LIST    output formats, a comma-separated subset of same,0,1 (default same);
                    one setting for all slots, as in the window
  --out DIR         the current slot's three output folders (made when missing)
  --out-same DIR    the folder for the input's own format
  --out0 DIR        the folder for format 0
  --out1 DIR        the folder for format 1
  --work DIR        make the run's private folders inside DIR instead of $TMPDIR
                    (or /tmp); they are removed at the end
  --yes             answer OK: write over inputs or lists, or one file twice
  --save-result F   save the result list to F (Shift_JIS, CR LF) at the end, also
                    when the run is refused or stopped (but never, without --yes, over
                    a file that the run reads or writes)
  --timeline        beside every output file NAME.mid, also write NAME.timeline.csv: the
                    number of notes sounding (counted as the simultaneous-notes figure),
                    one line "tick,seconds,notes" per change
  --wav             beside every output file NAME.mid, also write NAME.wav: the song as a
                    General MIDI synthesizer (FluidSynth) plays it, 16-bit stereo 44.1 kHz,
                    its length the song's and a 2-second release tail
  --wav-limit N     the WAV files play the song as a handset that sounds at most N notes
                    at once: a note that starts while N notes sound is not played
                    (counted as the simultaneous-notes figure); implies --wav
  --soundfont FILE  the SoundFont of the WAV files (default
                    /usr/share/sounds/sf2/default-GM.sf2, from a package such as
                    timgm6mb-soundfont); without one, --wav is refused
  --explain         after each edit- and order-list row, a result line tells what it did
                    to the song: notes and other events added, removed or changed (a
                    note counts once, End of Track not at all), events moved to another
                    track or reordered within their tick, tracks added or removed, or
                    that nothing matched
  --sjis            write result lines in Shift_JIS instead of UTF-8
  -h, --help        show this help
  --version         show the version

Result lines go to standard output as they are reported; messages go to standard error.
Every message that an edit- or order-list row causes is followed by a line naming the
list, the row's line (the heading is line 1) and its cells: "e_list.csv 3行目: Del,Beat=1,-,-".
Input names in a file list that are not absolute are found from the current folder.

Exit status:
  0        every row of every converted slot wrote every output asked of it
  4        every output was written, but a list or one of its rows gave an error message
           (the result list's last line names the lists)
  3        the run went to its end, but some row did not write every output asked of it,
           or the file list left rows out (the result list says why); 3 wins over 4
  1        the run was refused, an output folder could not be made, or the result list
           could not be saved
  2        usage error, also when no PATH is given
  128+N    signal N (SIGINT, SIGTERM or SIGHUP) stopped the run after the current row;
           a second signal stops it at once. Work and temporary files are removed.
)";
}

}  // namespace quillmar
