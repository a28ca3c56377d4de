#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "gui/piano_roll_view.h"
#include "preview/preview_run.h"
#include "shell/workspace.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QListWidget;
class QPlainTextEdit;
class QScrollBar;
class QSpinBox;
class QTimer;
class QTreeWidget;
class QWheelEvent;

namespace quillmar {

class AudioPlayer;
class Synthesizer;
class TimelineStrip;

// Where the preview plays: the system's sound, or silence in real time (for tests, which cannot
// hear).
enum class PlaybackOutput { System, Silent };

// The preview of one MIDI file: its piano roll over the strip of notes sounding, the track
// list, and the result lines of converting it, for the song as it is or as each slot that a
// run converts would write it. After a slot's lists, a list tells what each edit- and
// order-list row did; choosing one marks the notes it touched in the roll. It plays the view
// shown on a SoundFont, with a playhead across the roll and the strip, as it is or as a handset
// with the limit's notes plays it. Its controls carry object names: "view" (the switch between
// those), "limit" (the handset's limit, remembered between sessions), "fit", "play",
// "handset", "soundfont" (the SoundFont, remembered), "sound" (what plays, or why nothing
// can), "roll", "strip", "tracks", "rows", "figures" and "result".
class PreviewWindow : public QWidget {
  Q_OBJECT

 public:
  // `sjis_path` names the file as a run opens it; `cells` are the title and copyright of its
  // file-list row, applied after a slot's lists. The workspace is read for the slots' lists
  // whenever a view is run and must outlive the window.
  PreviewWindow(const Workspace& workspace, std::string sjis_path,
                std::optional<PreviewCells> cells, PlaybackOutput output = PlaybackOutput::System,
                QWidget* parent = nullptr);
  ~PreviewWindow() override;

  // The song shown; null when the file could not be converted.
  const SongPreview* Song() const { return result_.song.get(); }
  const TimeAxis& Axis() const { return axis_; }

  // Fits the whole song into the width of the roll and its notes into its height.
  void Fit();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void CreateControls();
  QLayout* CreateSoundControls();
  QWidget* CreateSongPane();
  QWidget* CreateSidePane();
  // Lists "original" and each slot that a run converts, keeping the choice when it is still
  // there, and runs the chosen view again.
  void RefreshViewChoices();
  void ShowView();
  void ShowSong();
  void FillTrackList();
  void FillRowList();
  // Remembers the limit the person set and shows it.
  void SetLimit(int limit);
  void ShowLimit();
  // The ticks the time axis spans, and the pixels of the roll's plot across.
  double SongTicks() const;
  double PlotWidth() const;
  // Between a few pixels a tick and the whole song in the plot.
  double ClampedTicksPerPixel(double ticks_per_pixel) const;
  void SetTimeAxis(double first_tick, double ticks_per_pixel);
  void ZoomTime(double factor, double anchor_x);
  void SetRowHeight(double row_height, double centre_note);
  void UpdateNoteBar();
  void ScrollNotes(int scroll);
  void Wheel(QWheelEvent* event, bool over_roll);
  // Opens the synthesizer on the SoundFont and the player, or tells why it cannot.
  void OpenAudio();
  void ChooseSoundFont();
  // Saves the sound of the view shown as a WAV file the person names.
  void SaveWavFile();
  // The sound of the view shown, as the handset plays it when asked for; a song playing goes
  // on with it at the same moment.
  void UpdateSound();
  void TogglePlay();
  // Sets where playing starts; while playing, playing goes on from there.
  void StartAt(double seconds);
  // Follows the player while it plays.
  void FollowPlayer();
  void ShowPlayState();

  const Workspace& workspace_;
  std::string path_;
  std::optional<PreviewCells> cells_;
  PreviewResult result_;
  int shown_slot_ = -2;  // -1 for the original; none yet
  TimeAxis axis_;
  double row_height_ = 6;
  bool fitted_ = true;  // the song fills the roll until it is zoomed or scrolled
  PlaybackOutput output_;
  std::unique_ptr<Synthesizer> synthesizer_;
  std::unique_ptr<AudioPlayer> player_;     // after the synthesizer, so that it goes first
  std::shared_ptr<const SongSound> sound_;  // what Play plays
  double position_ = 0;  // the playhead, in seconds: where playing starts or has come to

  QComboBox* view_choice_ = nullptr;
  QSpinBox* limit_ = nullptr;
  QPushButton* play_ = nullptr;
  QCheckBox* handset_ = nullptr;
  QPushButton* save_wav_ = nullptr;
  QLabel* sound_status_ = nullptr;
  QTimer* player_timer_ = nullptr;
  PianoRollView* roll_ = nullptr;
  TimelineStrip* strip_ = nullptr;
  QScrollBar* time_bar_ = nullptr;
  QScrollBar* note_bar_ = nullptr;
  QTreeWidget* tracks_ = nullptr;
  QListWidget* rows_ = nullptr;
  QLabel* figures_ = nullptr;
  QPlainTextEdit* result_text_ = nullptr;
};

}  // namespace quillmar
