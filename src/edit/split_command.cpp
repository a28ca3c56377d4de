#include "edit/edit_commands.h"

namespace quillmar {

void RunSplit(const EditRow&, MidiF1Data&, EditEnvironment&) {}

void RunExtract(const EditRow&, MidiF1Data&, EditEnvironment&) {}

}  // namespace quillmar
