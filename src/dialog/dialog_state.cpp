#include "dialog/dialog_state.h"

namespace orvel {

DialogState DialogState::Designed() {
  DialogState state;
  for (const ControlSpec& spec : DialogControls()) state[spec.id].text = std::string(spec.caption);
  return state;
}

}  // namespace orvel
