#pragma once

#include <QString>

#include "findings.h"

namespace check {

// Checks the machine in `folder`: its .orf files and the .sdf, .rcf and .ppf files each
// names (with no .orf, every .sdf, .rcf and .ppf there), and the pictures and sounds they
// name. Findings name files as `folder` joined with their names. False, with *error, when
// the folder cannot be listed or holds no machine file at all.
bool checkFolder(const QString& folder, Findings& findings, QString* error);

// The line a reader's reason names ("N 行目: ..."), 0 when it names none; the reason
// without that part goes to *rest.
int lineOfReason(const QString& reason, QString* rest);

}  // namespace check
