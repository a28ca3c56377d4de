#pragma once

#include "edit/edit_list.h"

namespace quillmar {

// The commands of the edit list, one handler each.
void RunAdd(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunConv(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunDel(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunSplit(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunExtract(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunCopy(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunMove(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunReplace(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunCheck(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunSave(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunLimit(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);

}  // namespace quillmar
