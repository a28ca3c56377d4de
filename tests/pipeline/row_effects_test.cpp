#include <gtest/gtest.h>

#include "edit/edit_fixture.h"
#include "pipeline/order_list.h"

namespace quillmar::testing {
namespace {

// A conductor with a tempo and two loop-start messages; channel 1 "Lead" (a chord at 0,
// notes at 240 and 960); channel 2 (notes 40 and 50).
class RowEffects : public EditTest {
 protected:
  void SetUp() override {
    const MusicEvent loop = SysEx(0, {0xF0, 9, 0x59, 0x7F, 0x48, 0x4D, 2, 0x0D, 0, 0, 0xF7});
    AddTrackEndingAt(3840, {Tempo(0, 500000), loop, loop});
    AddTrackEndingAt(
        1920, {Meta(0, MetaType::SequenceName, "Lead"), Program(0, 0, 3), GateNote(0, 0, 60, 240),
               GateNote(0, 0, 64, 240), GateNote(240, 0, 62, 240), GateNote(720, 0, 65, 240)});
    AddTrackEndingAt(1920, {GateNote(0, 1, 40, 480), GateNote(480, 1, 50, 480)});
  }
};

// What a row did, as --explain tells it, and the notes it touched.
TEST_F(RowEffects, CountsAndTouchedNotesOfARow) {
  struct Case {
    ListKind kind;
    const char* row;
    const char* told;
    int touched;
  };
  const Case cases[] = {
      {ListKind::Edit, "Conv,Velocity=90,1,-", "音符の変更 4", 8},
      {ListKind::Edit, "Del,Note=40,2,-", "音符の削除 1", 1},
      {ListKind::Edit, "Add,ProgramChange=5,2,0", "イベントの追加 1", 0},
      {ListKind::Edit, "Move,LoopSysExStart,Track=1,-", "他のトラックへの移動 2", 0},
      {ListKind::Edit, "Limit,GateTime<200,1,-", "音符の変更 2", 4},
      {ListKind::Edit, "Split,NoteNumber,1,62", "イベントの追加 2、トラックの追加 1", 0},
      {ListKind::Edit, "Del,Track,-,Chanel=2", "音符の削除 2、トラックの削除 1", 2},
      {ListKind::Order, "1,ProgramChange", "同じ時刻の中での並べ替え 2", 0},
      {ListKind::Edit, "Conv,Velocity=90,-,-", "当てはまるものがなく、何も変わりませんでした。", 0},
  };
  for (const Case& c : cases) {
    song_ = MidiF1Data(context_);
    SetUp();
    std::vector<RowEffect> effects;
    EditEnvironment environment{notices_, {}};
    environment.effects = &effects;
    const SettingsList list = List(c.kind, {c.row});
    if (c.kind == ListKind::Edit) {
      ApplyEditList(song_, list, environment);
    } else {
      ApplyOrderList(song_, list, environment);
    }
    ASSERT_EQ(effects.size(), 1u) << c.row;
    const std::string told = SjisToUtf8(DescribeEffect(effects[0]));
    EXPECT_EQ(told, "list.csv 2行目 " + std::string(c.row) + " → " + c.told);
    EXPECT_EQ(effects[0].touched.size(), static_cast<std::size_t>(c.touched)) << c.row;
  }
}

}  // namespace
}  // namespace quillmar::testing
