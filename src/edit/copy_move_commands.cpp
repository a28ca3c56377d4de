#include "edit/edit_commands.h"

namespace quillmar {

void RunCopy(const EditRow&, MidiF1Data&, EditEnvironment&) {}

void RunMove(const EditRow&, MidiF1Data&, EditEnvironment&) {}

}  // namespace quillmar
