#include "edit/edit_commands.h"

namespace quillmar {

void RunReplace(const EditRow&, MidiF1Data&, EditEnvironment&) {}

}  // namespace quillmar
