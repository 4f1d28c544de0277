#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <optional>

#include "controldocument.h"
#include "findings.h"
#include "linemap.h"
#include "machinespec.h"
#include "positiondocument.h"
#include "reeldatadocument.h"

namespace check {

// Checks the machine in `folder`: its .orf files and the .sdf, .rcf and .ppf files each
// names (with no .orf, every .sdf, .rcf and .ppf there), and the pictures and sounds they
// name. Findings name files as `folder` joined with their names. False, with *error, when
// the folder cannot be listed or holds no machine file at all.
bool checkFolder(const QString& folder, Findings& findings, QString* error);

// What a named picture or sound file turned out to be.
enum class FileState { Found, Missing, Refused };

struct NamedPicture {
    FileState state = FileState::Missing;
    QImage image;  // decoded when found
};

// One machine as the editors read it, for the machine sheet. Each document is there when
// its editor reads the file.
struct MachineContents {
    QString orfPath;
    std::optional<MachineSpec> spec;
    std::optional<OrfLines> orfLines;

    QString reelPath;
    std::optional<ReelDataDocument> reel;  // pictures aside: see `pictures`
    std::optional<SdfLines> sdfLines;

    QString controlPath;
    std::optional<ControlDocument> control;  // laid out on the reel data, as stopboard reads it
    std::optional<int> controlWrittenFor;    // the LastPrizeIndex its assignments were written for

    QString positionsPath;
    std::optional<PositionDocument> positions;

    QHash<QString, NamedPicture> pictures;  // by the name a file gives
    QHash<QString, FileState> sounds;       // by the name the registry gives
};

// Checks the one machine `orfName` of `folder` (its .orf and the files it names) and keeps
// what was read in *contents. False, with *error, when the folder cannot be listed.
bool checkMachine(const QString& folder, const QString& orfName, Findings& findings,
                  MachineContents& contents, QString* error);

// The rules stopboard's values must keep (stop indexes 0..4, base tables and assignments
// in range, base tables adding up to 256), for a control document read from `file`.
void checkControlValues(Findings& out, const QString& file, const ControlDocument& doc);

// The line a reader's reason names ("N 行目: ..."), 0 when it names none; the reason
// without that part goes to *rest.
int lineOfReason(const QString& reason, QString* rest);

}  // namespace check
