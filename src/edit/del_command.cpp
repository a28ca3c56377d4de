#include "edit/edit_commands.h"

namespace quillmar {

void RunDel(const EditRow&, MidiF1Data&, EditEnvironment&) {}

}  // namespace quillmar
