// The examples of the help document's list reference, run on the band song of the examples:
// each example's rows are applied as a conversion applies its list, and each line of its
// check must hold: "WHAT FILTERS: BEFORE → AFTER" compares the song before and after,
// "says TEXT" asks for a result line (or box) holding TEXT, "says nothing" for none.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "edit/edit_list.h"
#include "edit/event_keyword.h"
#include "edit/track_selection.h"
#include "example_songs.h"
#include "lists/text_helpers.h"
#include "model/midi_file_loader.h"
#include "model/timed_events.h"
#include "pipeline/slot_lists.h"
#include "platform/encoding.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

using namespace quillmar::testing;

constexpr std::string_view kArrow = "→";

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::string Replace(std::string text, std::string_view from, std::string_view to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::istringstream stream{std::string(text)};
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// One example of the help: its list kind's letter, its rows and its check lines, as the
// reader sees them (lines joined by '\n').
struct Example {
  char list = 0;
  std::string rows;
  std::string check;
};

// The text of the first `<td class="NAME"><code>…</code>` in the table row, unescaped.
std::string CodeCell(std::string_view row, std::string_view name) {
  const std::string open = "<td class=\"" + std::string(name) + "\"><code>";
  const auto start = row.find(open);
  if (start == std::string_view::npos) return {};
  const auto text = row.substr(start + open.size());
  std::string code(text.substr(0, text.find("</code>")));
  code = Replace(Replace(Replace(Replace(code, "<br>", "\n"), "&lt;", "<"), "&gt;", ">"), "&amp;",
                 "&");
  return code;
}

std::vector<Example> ReadExamples() {
  const std::string html = ReadFile(QUILLMAR_HELP_PATH);
  const std::string_view open = "<tr class=\"example\" data-list=\"";
  std::vector<Example> examples;
  for (auto at = html.find(open); at != std::string::npos; at = html.find(open, at + 1)) {
    const std::string_view row = std::string_view(html).substr(at, html.find("</tr>", at) - at);
    examples.push_back({row[open.size()], CodeCell(row, "rows"), CodeCell(row, "check")});
  }
  return examples;
}

// What a check line selects: filters written after the quantity's name.
struct Filters {
  std::optional<int> channel;  // 0-15
  std::optional<int> key;
  std::optional<int> track;  // an index, picked as Track=N picks
  std::optional<Ticks> tick;
};

Filters ReadFilters(const MidiF1Data& song, const std::vector<std::string>& words) {
  Filters filters;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.starts_with("ch")) filters.channel = LeadingInteger(word.substr(2)) - 1;
    if (word.starts_with("key")) filters.key = LeadingInteger(word.substr(3));
    if (word.starts_with("tick")) filters.tick = LeadingInteger(word.substr(4));
    if (word.starts_with("Track=")) {
      filters.track = TrackIndexOf(song, LeadingInteger(word.substr(6))).value_or(-1);
    }
  }
  return filters;
}

// Calls `fn` with every event (and its time) that the filters let through.
template <typename Fn>
void ForEachChosen(const MidiF1Data& song, const Filters& filters, Fn fn) {
  for (int index = 0; index < song.TrackCount(); ++index) {
    if (filters.track && *filters.track != index) continue;
    for (auto [time, event] : TimedEvents(song.Track(index).Events())) {
      if (filters.channel && event.channel != *filters.channel) continue;
      if (filters.key && !(event.IsNote() && event.note == *filters.key)) continue;
      if (filters.tick && time != *filters.tick) continue;
      fn(time, event);
    }
  }
}

// "a-b" for the lowest and highest value, "a" when they are one, "none" without values.
std::string Range(const std::vector<int>& values) {
  if (values.empty()) return "none";
  const auto [low, high] = std::minmax_element(values.begin(), values.end());
  if (*low == *high) return std::to_string(*low);
  return std::to_string(*low) + "-" + std::to_string(*high);
}

// The keyword that names the event in the order quantity.
std::string KeywordOf(const MusicEvent& event) {
  struct Name {
    EventKind kind;
    std::int32_t type;
    const char* keyword;
  };
  static constexpr Name kNames[] = {{EventKind::ControlChange, 7, "ChanelVolume"},
                                    {EventKind::ControlChange, 0, "BankSelectMSB"},
                                    {EventKind::Meta, MetaType::SequenceName, "SequenceName"},
                                    {EventKind::Meta, MetaType::Tempo, "Tempo"},
                                    {EventKind::Meta, MetaType::TimeSign, "TimeSign"}};
  if (event.IsNote()) return "Note";
  if (event.IsProgramChange()) return "ProgramChange";
  for (const Name& name : kNames) {
    if (event.kind == name.kind && event.type == name.type) return name.keyword;
  }
  return "other";
}

// The quantity that a check line's left side names, as the help writes its values. Save's
// files are looked for in `folder`; before the rows (no folder) there are none.
std::string Measure(const MidiF1Data& song, const std::string& what, const std::string& folder) {
  std::vector<std::string> words;
  std::istringstream stream(what);
  for (std::string word; stream >> word;) words.push_back(word);
  if (words.empty()) return "?";
  const Filters filters = ReadFilters(song, words);
  const std::string& name = words[0];
  if (name == "tracks") return std::to_string(song.TrackCount());
  if (name == "names") {
    std::string names;
    for (int index = 0; index < song.TrackCount(); ++index) {
      names += (index > 0 ? "|" : "") + SjisToUtf8(TrackName(song.Track(index)));
    }
    return names;
  }
  if (name == "saved") {
    int files = 0;
    for (const char* format : {"format0", "format1"}) {
      files += !folder.empty() &&
               std::filesystem::exists(folder + "/" + format + "/" + words.at(1) + "/band.mid");
    }
    return std::to_string(files);
  }
  if (name == "tempo") {  // the tempo in force at the tick: the last tempo event up to it
    std::optional<std::pair<Ticks, int>> last;
    ForEachChosen(song, {}, [&](Ticks time, const MusicEvent& event) {
      if (event.IsMeta(MetaType::Tempo) && time <= filters.tick.value_or(0) &&
          (!last || time >= last->first)) {
        last = {time, TempoToBpm(event.value).value_or(0)};
      }
    });
    return last ? std::to_string(last->second) : "none";
  }
  std::vector<int> values;
  int count = 0;
  if (name == "order") {  // the events of the tick, a run of one keyword named once
    std::vector<std::string> order;
    ForEachChosen(song, filters, [&](Ticks, const MusicEvent& event) {
      if (order.empty() || order.back() != KeywordOf(event)) order.push_back(KeywordOf(event));
    });
    std::string text;
    for (const std::string& keyword : order) text += (text.empty() ? "" : " ") + keyword;
    return text;
  }
  if (name == "notes" || name == "vel" || name == "gate" || name == "key") {
    ForEachChosen(song, filters, [&](Ticks, const MusicEvent& event) {
      if (!event.IsNote()) return;
      ++count;
      values.push_back(name == "vel" ? event.velocity : name == "gate" ? event.gate : event.note);
    });
    return name == "notes" ? std::to_string(count) : Range(values);
  }
  // An event keyword: "count KEYWORD" counts its events; a channel message's keyword gives
  // the range of its values as the lists write them.
  const bool counting = name == "count";
  const EventKeyword keyword =
      ParseEventKeyword(song.Context().Reports(), Sjis(counting ? words.at(1) : name));
  ForEachChosen(song, filters, [&](Ticks, const MusicEvent& event) {
    if (static_cast<int>(event.kind) != keyword.kind ||
        (keyword.sub != -1 && event.type != keyword.sub) ||
        (!keyword.value_text.empty() && !ContainsText(event.data, keyword.value_text))) {
      return;
    }
    ++count;
    values.push_back(event.IsProgramChange() ? event.value + 1
                     : event.IsPitchBend()   ? event.value - 64
                                             : event.value);
  });
  return counting ? std::to_string(count) : Range(values);
}

// Applies the rows as a list of the example's kind, read from a file as the program reads it.
void Apply(const Example& example, MidiF1Data& song, RecordingSink& sink,
           const TempFolder& folder) {
  const auto& lists = SlotListsInApplyOrder();
  const auto* slot_list = std::find_if(lists.begin(), lists.end(), [&](const SlotList& list) {
    return FileLetterOf(list.kind) == example.list;
  });
  ASSERT_NE(slot_list, lists.end()) << "no list kind '" << example.list << "'";
  const int columns = ColumnCountOf(slot_list->kind);
  std::string text = "見出し" + std::string(static_cast<std::size_t>(columns - 1), ',') + "\r\n";
  for (const std::string& row : Lines(example.rows)) text += row + "\r\n";
  const std::string path = folder.Write(std::string(1, example.list) + "_example.csv", text);
  const SettingsList list = SettingsList::Load(sink.Reports(), Sjis(path), columns);
  sink.Clear();
  EditNotices notices;
  EditEnvironment environment{notices, {}};
  for (const auto format : {OutputFormat::Format0, OutputFormat::Format1}) {
    environment.snapshots.checked[format] = true;
    environment.snapshots.folders[format] =
        Sjis(folder / (format == OutputFormat::Format0 ? "format0" : "format1"));
  }
  environment.snapshots.output_name = "band.mid";
  slot_list->apply(song, list, environment);
  FlushRepeatedLines(sink.Reports());
}

// The failure of one check line, or an empty text when it holds.
std::string Verify(const std::string& line, const MidiF1Data& before, const MidiF1Data& after,
                   const RecordingSink& sink, const std::string& folder) {
  std::vector<std::string> said = sink.Lines();
  const auto messages = sink.Messages();
  said.insert(said.end(), messages.begin(), messages.end());
  if (line == "says nothing") {
    return said.empty() ? "" : "it says " + said.front();
  }
  if (line.starts_with("says ")) {
    const std::string text = line.substr(5);
    const bool found = std::any_of(said.begin(), said.end(), [&](const std::string& s) {
      return s.find(text) != std::string::npos;
    });
    return found ? "" : "no such line among " + std::to_string(said.size());
  }
  const auto colon = line.find(':');
  const auto arrow = line.find(kArrow);
  if (colon == std::string::npos || arrow == std::string::npos) return "not a check";
  const std::string what = line.substr(0, colon);
  const std::string expected = Trim(line.substr(colon + 1, arrow - colon - 1)) + " → " +
                               Trim(line.substr(arrow + kArrow.size()));
  const std::string found = Measure(before, what, "") + " → " + Measure(after, what, folder);
  return found == expected ? "" : "found " + found;
}

TEST(HelpExamples, EveryExampleDoesWhatTheHelpSays) {
  const std::vector<Example> examples = ReadExamples();
  ASSERT_GE(examples.size(), 20u) << "the help's example table was not found";
  std::map<char, int> per_list;
  for (const Example& example : examples) {
    ++per_list[example.list];
    RecordingSink sink;
    ModelContext context{sink.Reports()};
    const std::string band = examples::BandSong();
    MidiFileLoader loader(context, MidiSource::Bytes(band));
    ASSERT_TRUE(loader.Loaded());
    MidiF1Data& song = *loader.Song();
    const MidiF1Data before(song);
    TempFolder folder;
    Apply(example, song, sink, folder);
    EXPECT_FALSE(example.check.empty()) << example.rows;
    for (const std::string& line : Lines(example.check)) {
      const std::string failure = Verify(line, before, song, sink, folder.Path());
      if (!failure.empty()) {
        ADD_FAILURE() << "example\n" << example.rows << "\ncheck " << line << ": " << failure;
      }
    }
  }
  for (char list : std::string_view("vtdeo")) EXPECT_GT(per_list[list], 0) << list;
  for (std::string_view word : {"Add", "Del", "Copy", "Conv", "Split", "Move", "Replace", "Check",
                                "Save", "Limit", "Extract"}) {
    const bool shown = std::any_of(examples.begin(), examples.end(), [&](const Example& e) {
      return e.list == 'e' &&
             ("\n" + e.rows).find("\n" + std::string(word) + ",") != std::string::npos;
    });
    EXPECT_TRUE(shown) << "no example of " << word;
  }
}

// The example lists of examples/lists hold rows of the help's examples only, one row a line
// ended by CR LF.
TEST(HelpExamples, TheExampleListsAreRowsOfTheHelp) {
  const std::vector<Example> examples = ReadExamples();
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(QUILLMAR_EXAMPLE_LISTS_PATH)) {
    const std::string name = entry.path().filename().string();
    const std::string text = ReadFile(entry.path().string());
    ++files;
    EXPECT_TRUE(text.ends_with("\r\n") && Replace(text, "\r\n", "").find('\n') == std::string::npos)
        << name << " has a line not ended by CR LF";
    if (name[0] == 'f') continue;
    const auto lines = Lines(Replace(text, "\r\n", "\n"));
    for (std::size_t i = 1; i < lines.size(); ++i) {
      const bool shown = std::any_of(examples.begin(), examples.end(), [&](const Example& e) {
        return e.list == name[0] && std::ranges::count(Lines(e.rows), lines[i]) > 0;
      });
      EXPECT_TRUE(shown) << name << " line " << i + 1 << " is no example of the help: " << lines[i];
    }
  }
  EXPECT_EQ(files, 16) << "a list of each kind and one edit list per command";
}

}  // namespace
}  // namespace quillmar
