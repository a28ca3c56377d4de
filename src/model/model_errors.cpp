#include "model/model_errors.h"

#include "model/model_context.h"
#include "report/message_table.h"
#include "report/report.h"

namespace quillmar {

void ReportTrackError(const ModelContext& context, std::uint32_t code) {
  static const MessageTable table(
      {
          {kTrackInternalError, "MidiTrackDataで内部エラーが発生しました。"},
          {kUndefinedEvent, "未定義のMIDIイベントです。"},
          {kBadChannel, "チャネルに誤りがあります。"},
          {kBadTempo, "テンポに誤りがあります。"},
          {kTooMuchData, "データの量が多すぎます。"},
          {kNotMidiOrMacBinary, "MIDIファイルではないか、マックバイナリがついているファイルです。"},
      },
      "MidiTrackDataでエラーが発生しました。");
  ReportText(context.Reports(), table.Text(code));
}

void ModelContext::Warn(OnceWarning warning) {
  static const MessageTable table(
      {
          {static_cast<std::uint32_t>(OnceWarning::MultipleVolumes),
           "複数のボリュームが設定されています。"},
          {static_cast<std::uint32_t>(OnceWarning::MultiplePans), "複数のパンが設定されています。"},
          {static_cast<std::uint32_t>(OnceWarning::EventTooLarge),
           "サイズが大きすぎるイベントが含まれています。"},
      },
      "MidiTrackDataでエラーが発生しました。");
  const auto code = static_cast<std::uint32_t>(warning);
  const std::size_t index = code - static_cast<std::uint32_t>(OnceWarning::MultipleVolumes);
  if (reported_[index]) return;
  reported_[index] = true;
  ReportText(Reports(), table.Text(code));
}

void ReportF0Error(const ModelContext& context, std::uint32_t code) {
  static const MessageTable table(
      {
          {kNotFormat0, "Format 0のファイルではありません。"},
          {kBadTrackCount, "トラック数に誤りがあります。"},
          {kF0NotMidiOrMacBinary,
           "MIDIファイルではないか、ファイルにマックバイナリがついています。"},
          {kF0InternalError, "MidiF0Dataで内部エラーが発生しました。"},
      },
      "MidiF0Dataでエラーが発生しました。");
  ReportText(context.Reports(), table.Text(code));
}

void ReportF1Error(const ModelContext& context, std::uint32_t code) {
  static const MessageTable table(
      {
          {kTooManyTracks,
           "このファイルに設定されているトラック数はこのソフトで扱える最大トラック数(16)を"
           "超えています。\r(実際に使用しているトラック数とファイルに設定されているトラック数"
           "は異なる場合があります。)\r処理を継続しますが、重大なエラーを引き起こす可能性が"
           "あります。"},
          {kNotFormat1, "フォーマット１ではありません。"},
          {kF1InternalError, "MidiF1Dataで内部エラーが発生しました。"},
          {kF1NotMidiOrMacBinary,
           "Midiファイルではないか、ファイルにマックバイナリがついています。"},
          {kMultipleMasterVolumes, "マスターボリュームが複数設定されています。"},
          {kUnsupportedTimeSign, "扱えない拍子記号が含まれていました。"},
      },
      "MidiF1Dataでエラーが発生しました。");
  ReportText(context.Reports(), table.Text(code));
}

void ReportLoaderError(const ModelContext& context, std::uint32_t code) {
  static const MessageTable table(
      {
          {kLoaderInternalError, "MidiFileLoaderで内部エラーが発生しました。"},
          {kNotMidiFile, "Midiファイルではありません。"},
      },
      "MidiFileLoaderでエラーが発生しました。");
  ReportText(context.Reports(), table.Text(code));
}

}  // namespace quillmar
