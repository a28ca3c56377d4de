#pragma once

#include <string>

#include "report/report.h"

namespace quillmar {

// Numbered messages of the shell and the conversion pipeline.
enum MessageCode : int {
  kGeneralMessage = 0,
  kGridNotRegistered = 1,
  kVolumeFromBase100 = 2,
  kBadOctave = 4,
  kBadSubstituteTone = 5,
  kBadDrumSubstitute = 6,
  kPanFromBase64 = 7,
  kOctaveShiftOutOfRange = 8,
  kNoSongTitle = 9,
  kNoCopyright = 10,
  kEditListError = 11,
  kEditOrOrderListError = 12,
  kBadDeletePosition = 13,
  kUnknownListKind = 14,
  kMidiAlreadyListed = 15,
  kVolumeSetOnSameChannel = 16,
  kUnsupportedController = 17,
  kNotesSilencedByGate = 18,
};

// The Shift_JIS text of a code; any code outside the catalogue gives the general text.
const std::string& MessageText(int code);

// The message box text for a file that cannot be used: a dropped file of an unknown kind, a
// path that Shift_JIS cannot name, an output name that names no file.
const std::string& UnusableFileText();

// ReportText of MessageText(code). Codes 0, 4, 5, 6, 11, 12, 13 and 17 say that a list or
// one of its rows is wrong and are reported as list errors.
void ReportMessage(Reporter& reporter, int code);

}  // namespace quillmar
