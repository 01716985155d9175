#include "document/edit_state.h"

namespace document {

ProgramEditState& GetProgramEditState() {
    static ProgramEditState state;
    return state;
}

}  // namespace document
