#pragma once

#include "lifecycle.h"

namespace lifecycle {

// A Load command run on `given`, a file named when the program was started, instead of the
// file its open dialog would choose: the same read and the same failure message, so a refused
// file leaves the document as it was. `given` empty: the open dialog chooses, as for the button.
bool openOrReadGiven(const FileCommand& command, const QString& given, const FileAction& read);

}  // namespace lifecycle
