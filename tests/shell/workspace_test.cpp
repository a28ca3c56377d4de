#include "shell/workspace.h"

#include <gtest/gtest.h>

#include "platform/encoding.h"
#include "support/recording_sink.h"
#include "support/temp_folder.h"

namespace quillmar {
namespace {

using testing::RecordingSink;
using testing::TempFolder;
using Folders = std::array<std::string, 3>;

constexpr int kVolume = 0;
constexpr int kOrder = 4;

TEST(Workspace, StartsWithNoFolderChosenAndNothingLoaded) {
  const Workspace workspace(Sjis("/home/表"));
  EXPECT_EQ(workspace.CurrentSlot(), 0);
  EXPECT_FALSE(workspace.FileList().has_value());
  for (int slot = 0; slot < kSlotCount; ++slot) {
    EXPECT_EQ(workspace.Slot(slot).folders.values, Folders{}) << slot;
    EXPECT_FALSE(workspace.Slot(slot).HasEnabledList()) << slot;
    for (const auto& list : workspace.Slot(slot).lists) EXPECT_FALSE(list.has_value());
  }
  for (int index = 0; index < kSlotListCount; ++index) EXPECT_FALSE(workspace.Switch(index));
  EXPECT_TRUE(workspace.Formats().same_as_original);
  EXPECT_FALSE(workspace.Formats().format0);
  EXPECT_FALSE(workspace.Formats().format1);
}

TEST(Workspace, TabChangeSavesTheSwitchesAndShowsTheNewSlotsFlags) {
  Workspace workspace("/start");
  workspace.SetSwitch(kVolume, true);
  workspace.SelectSlot(3);
  EXPECT_FALSE(workspace.Switch(kVolume));
  workspace.SetSwitch(kOrder, true);
  workspace.SelectSlot(0);
  EXPECT_TRUE(workspace.Switch(kVolume));
  EXPECT_FALSE(workspace.Switch(kOrder));
  workspace.SelectSlot(3);
  EXPECT_TRUE(workspace.Switch(kOrder));
  EXPECT_EQ(workspace.Slot(0).enabled, (std::array<bool, 5>{true, false, false, false, false}));
  EXPECT_EQ(workspace.Slot(3).enabled, (std::array<bool, 5>{false, false, false, false, true}));
}

TEST(Workspace, ListChosenOnASlotStaysWithThatSlot) {
  RecordingSink sink;
  const TempFolder folder;
  Workspace workspace("/start");
  workspace.SelectSlot(1);
  workspace.LoadList(sink.Reports(), ListKind::Volume,
                     Sjis(folder.Write("vol.csv", "ch,vol,vel,pan,gate\r\n1,100,-,-,-\r\n")));
  workspace.SelectSlot(0);
  EXPECT_FALSE(workspace.Current().lists[kVolume].has_value());
  workspace.SelectSlot(1);
  ASSERT_TRUE(workspace.Current().lists[kVolume].has_value());
  EXPECT_EQ(workspace.Current().lists[kVolume]->Name(), "vol.csv");
  EXPECT_EQ(workspace.Current().lists[kVolume]->Cell(1, 1), "100");
  // The file list belongs to no slot.
  workspace.LoadList(sink.Reports(), ListKind::FileList, Sjis(folder.Write("f.csv", "h\r\n")));
  workspace.SelectSlot(5);
  EXPECT_EQ(workspace.FileList()->Name(), "f.csv");
}

TEST(Workspace, UnreadableListIsStoredEmpty) {
  RecordingSink sink;
  const TempFolder folder;
  Workspace workspace("/start");
  workspace.LoadList(sink.Reports(), ListKind::Tone, Sjis(folder / "tone.csv"));
  const auto& list = workspace.Current().lists[1];
  ASSERT_TRUE(list.has_value());
  EXPECT_EQ(list->Name(), "tone.csv");
  EXPECT_EQ(list->RowCount(), 0);
  EXPECT_EQ(list->ColumnCount(), 7);
  EXPECT_EQ(sink.CountReported("リストファイルが開けません。ドラッグ＆ドロップの操作はコピーでは"
                               "なく、ショートカットに対して行ってください。"),
            1);
}

}  // namespace
}  // namespace quillmar
