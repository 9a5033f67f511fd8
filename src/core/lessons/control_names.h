#pragma once
// Readable names of the practice window's controls ("question", "cap_の", "finger_left_index"),
// for the widgets' object names and for anything that reports on them.
#include <string>

namespace kibiki {

// UTF-8; a control without a name of its own is named by its id.
std::string ControlName(int nId);

}  // namespace kibiki
