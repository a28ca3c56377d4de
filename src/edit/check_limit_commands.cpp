#include "edit/edit_commands.h"

namespace quillmar {

void RunCheck(const EditRow&, MidiF1Data&, EditEnvironment&) {}

void RunLimit(const EditRow&, MidiF1Data&, EditEnvironment&) {}

}  // namespace quillmar
