#include "dialog/dialog_state.h"

namespace orvel {

DialogState DialogState::Designed() {
  DialogState state;
  for (const ControlEntry& entry : DialogControls())
    state[entry.id].text = std::string(entry.caption);
  return state;
}

}  // namespace orvel
