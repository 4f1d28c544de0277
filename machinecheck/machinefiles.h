#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "controldocument.h"
#include "machinespec.h"
#include "orfformat.h"
#include "positiondocument.h"
#include "ppfformat.h"
#include "rcfformat.h"
#include "reeldatadocument.h"
#include "reeldatasummary.h"
#include "savefile.h"

// Every call of the suite's file readers and writers that the checker makes, in one
// place: the checker reads the files exactly as the editors do.
namespace machinefiles {

// The whole file; false and *error when it cannot be read.
bool readBytes(const QString& path, QByteArray& bytes, QString* error);
// As readBytes; "-" reads standard input to its end.
bool readInput(const QString& path, QByteArray& bytes, QString* error);

// The reel data text as reelboard reads it, pictures aside (the checker looks at each
// picture itself, so that every missing one is named).
bool readReelData(const QByteArray& bytes, ReelDataDocument& doc, QString* error);
// The reel data text as stopboard and specboard read it.
bool readReelSummary(const QByteArray& bytes, ReelDataSummary& summary, QString* error);
// A reel data text that holds nothing but `lastPrizeIndex` (0..20): it stands in for a
// reel data file that is missing or refused, so that the rest of a .orf can be read.
QByteArray standInReelData(int lastPrizeIndex);

// A .rcf file, or the text of its "dummy.dat", read in the layout of `lastPrizeIndex`
// (0..19).
bool readControlFile(const QString& path, int lastPrizeIndex, ControlDocument& doc,
                     rcf::ReadReport& report, QString* error);
bool readControlText(const QByteArray& text, int lastPrizeIndex, ControlDocument& doc,
                     rcf::ReadReport& report, QString* error);
// The text stopboard writes for the document.
QByteArray controlText(const ControlDocument& doc);
// The "dummy.dat" member of a .rcf archive ("-": read from standard input), byte for
// byte as stored.
bool unpackControlText(const QString& path, QByteArray& text, QString* error);
// An archive holding `text` as its one member "dummy.dat"; empty and *error on failure.
QByteArray packControlText(const QByteArray& text, QString* error);

// A .orf text, reading `reelData` for the reel data file it names.
bool readMachine(const QByteArray& bytes, const QByteArray& reelData, MachineSpec& doc,
                 orf::ReadReport& report, QString* error);

// A .ppf text, pictures aside (the checker looks at each picture itself).
bool readPositions(const QByteArray& bytes, PositionDocument& doc, ppf::ReadReport& report,
                   QString* error);

// Writes a whole file atomically; false and *error when it cannot.
bool writeBytes(const QString& path, const QByteArray& bytes, QString* error);
// As writeBytes; "-" writes standard output.
bool writeOutput(const QString& path, const QByteArray& bytes, QString* error);

// The regular file that `path` leads to, links followed; "-" is the standard stream
// `standardFd`. Nothing for a name that leads nowhere or to a FIFO, device or folder.
std::optional<FileIdentity> regularFileIdentity(const QString& path, int standardFd);

}  // namespace machinefiles
