#pragma once

#include "edit/edit_list.h"

namespace quillmar {

// The commands of the edit list, one handler each.
void RunAdd(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunConv(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunDel(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunSplit(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);
void RunExtract(const EditRow& row, MidiF1Data& song, EditEnvironment& environment);

}  // namespace quillmar
