#include "edit/edit_commands.h"

namespace quillmar {

void RunSave(const EditRow&, MidiF1Data&, EditEnvironment&) {}

}  // namespace quillmar
