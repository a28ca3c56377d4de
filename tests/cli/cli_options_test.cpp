#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillmar {
namespace {

using Args = std::vector<std::string>;
using Kind = CliStep::Kind;

CliOptions Parsed(const Args& arguments) {
  auto parsed = ParseCliOptions(arguments);
  EXPECT_TRUE(std::holds_alternative<CliOptions>(parsed)) << std::get<std::string>(parsed);
  return std::holds_alternative<CliOptions>(parsed) ? std::get<CliOptions>(parsed) : CliOptions{};
}

std::string Error(const Args& arguments) {
  auto parsed = ParseCliOptions(arguments);
  EXPECT_TRUE(std::holds_alternative<std::string>(parsed));
  return std::holds_alternative<std::string>(parsed) ? std::get<std::string>(parsed) : "";
}

// A step's kind and text, for comparing the order of steps at a glance.
std::vector<std::pair<Kind, std::string>> KindsAndTexts(const CliOptions& options) {
  std::vector<std::pair<Kind, std::string>> steps;
  for (const CliStep& step : options.steps) steps.emplace_back(step.kind, step.text);
  return steps;
}

TEST(CliOptions, PathsAndSlotSettingsStayInTheOrderGiven) {
  const CliOptions options =
      Parsed({"f.csv", "--slot", "3", "v.csv", "--out", "all", "--out-same", "s", "--out0", "z",
              "--out1", "o", "--formats", "0", "song.mid"});
  const std::vector<std::pair<Kind, std::string>> expected = {
      {Kind::Path, "f.csv"}, {Kind::Slot, "3"},    {Kind::Path, "v.csv"},
      {Kind::Out, "all"},    {Kind::OutSame, "s"}, {Kind::Out0, "z"},
      {Kind::Out1, "o"},     {Kind::Formats, "0"}, {Kind::Path, "song.mid"}};
  EXPECT_EQ(KindsAndTexts(options), expected);
  EXPECT_EQ(options.steps[1].slot, 3);
  EXPECT_FALSE(options.yes);
  EXPECT_FALSE(options.sjis_output);
  EXPECT_FALSE(options.work_folder.has_value());
  EXPECT_FALSE(options.save_result.has_value());
}

TEST(CliOptions, FormatsListSetsExactlyTheNamedFormats) {
  struct Case {
    std::string list;
    bool same, format0, format1;
  };
  for (const Case& c : {Case{"same", true, false, false}, Case{"0", false, true, false},
                        Case{"1", false, false, true}, Case{"same,0,1", true, true, true},
                        Case{"1,same", true, false, true}, Case{"0,,1", false, true, true},
                        Case{"", false, false, false}}) {
    const CliOptions options = Parsed({"--formats", c.list});
    ASSERT_EQ(options.steps.size(), 1u) << c.list;
    const CliStep& step = options.steps[0];
    EXPECT_EQ(step.kind, Kind::Formats);
    EXPECT_EQ(step.same_as_original, c.same) << c.list;
    EXPECT_EQ(step.format0, c.format0) << c.list;
    EXPECT_EQ(step.format1, c.format1) << c.list;
  }
}

TEST(CliOptions, RunWideOptionsAreNotSteps) {
  const CliOptions options =
      Parsed({"--yes", "--sjis", "--work", "w", "--save-result", "r.txt", "-h", "--version",
              "x.mid", "--help", "--explain", "--wav-limit", "4", "--soundfont", "gm.sf2"});
  EXPECT_TRUE(options.yes);
  EXPECT_TRUE(options.sjis_output);
  EXPECT_EQ(options.work_folder, "w");
  EXPECT_EQ(options.save_result, "r.txt");
  EXPECT_TRUE(options.help);
  EXPECT_TRUE(options.version);
  EXPECT_TRUE(options.explain);
  EXPECT_TRUE(options.wav) << "--wav-limit implies --wav";
  EXPECT_EQ(options.wav_limit, 4);
  EXPECT_EQ(options.soundfont, "gm.sf2");
  EXPECT_EQ(KindsAndTexts(options),
            (std::vector<std::pair<Kind, std::string>>{{Kind::Path, "x.mid"}}));
}

TEST(CliOptions, DashesEndOptionsAndLoneDashOrEmptyTextIsAPath) {
  const CliOptions options = Parsed({"-", "", "--", "--yes", "-x.mid", "--slot"});
  const std::vector<std::pair<Kind, std::string>> expected = {{Kind::Path, "-"},
                                                              {Kind::Path, ""},
                                                              {Kind::Path, "--yes"},
                                                              {Kind::Path, "-x.mid"},
                                                              {Kind::Path, "--slot"}};
  EXPECT_EQ(KindsAndTexts(options), expected);
  EXPECT_FALSE(options.yes);
}

TEST(CliOptions, EverySlotFromOneToSixIsTaken) {
  for (int slot = 1; slot <= 6; ++slot) {
    const CliOptions options = Parsed({"--slot", std::to_string(slot)});
    ASSERT_EQ(options.steps.size(), 1u);
    EXPECT_EQ(options.steps[0].slot, slot);
  }
}

TEST(CliOptions, UsageErrorsGiveOneLineReasons) {
  EXPECT_EQ(Error({"--bogus"}), "unknown option --bogus");
  EXPECT_EQ(Error({"-x"}), "unknown option -x");
  EXPECT_EQ(Error({"--slot=2"}), "unknown option --slot=2");
  for (const std::string slot : {"0", "7", "12", "x", ""}) {
    EXPECT_EQ(Error({"--slot", slot}), "--slot takes a number from 1 to 6, not '" + slot + "'");
  }
  EXPECT_EQ(Error({"--formats", "2"}), "unknown format '2' (use same, 0 and 1)");
  EXPECT_EQ(Error({"--formats", "same,SAME"}), "unknown format 'SAME' (use same, 0 and 1)");
  // The formats are one setting: a second --formats may repeat it, not change it.
  EXPECT_EQ(Error({"--formats", "0,1", "--slot", "2", "--formats", "0"}),
            "--formats is one setting for all slots; '0' differs from '0,1'");
  EXPECT_EQ(Parsed({"--formats", "0,1", "--slot", "2", "--formats", "1,0"}).steps.size(), 3u);
  for (const std::string option : {"--slot", "--formats", "--out", "--out-same", "--out0", "--out1",
                                   "--work", "--save-result", "--wav-limit", "--soundfont"}) {
    EXPECT_EQ(Error({"f.csv", option}), option + " needs a value");
  }
  for (const std::string limit : {"0", "-1", "4x", "", "99999999999"}) {
    EXPECT_EQ(Error({"--wav-limit", limit}),
              "--wav-limit takes a number of notes of 1 or more, not '" + limit + "'");
  }
  // An error after valid arguments still refuses the whole command line.
  EXPECT_EQ(Error({"f.csv", "--yes", "--slot", "9"}), "--slot takes a number from 1 to 6, not '9'");
}

TEST(CliOptions, UsageNamesEveryOption) {
  const std::string usage = CliUsage();
  for (const char* option : {"--slot", "--formats", "--out ", "--out-same", "--out0", "--out1",
                             "--work", "--yes", "--save-result", "--sjis", "--help", "--version",
                             "--timeline", "--explain", "--wav ", "--wav-limit", "--soundfont"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(usage.rfind("Usage: quillmar-cli [options] PATH...\n", 0), 0u);
}

}  // namespace
}  // namespace quillmar
