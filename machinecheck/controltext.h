#pragma once

#include <QByteArray>
#include <QString>

// The control data of a .rcf as text an author can keep in version control: unpack takes
// the archive's "dummy.dat" out as it is stored, pack puts a text back after checking it.
namespace check {

// Why `text` is not a control text laid out for `lastPrizeIndex` exactly as stopboard
// writes it (so that packing it loses nothing and shifts nothing); empty when it is.
// *line is the line at fault, 0 when there is none.
QString controlTextProblem(const QByteArray& text, int lastPrizeIndex, int* line);

// The commands; `err` gets the messages. Exit status 0 on success, 1 on failure. "-"
// stands for standard input or output (an empty `outPath` of unpack too). An output that
// is the input is never written; an existing one only with `force`.
int unpackCommand(const QString& archivePath, const QString& outPath, bool force, QString& err);
int packCommand(const QString& textPath, const QString& outPath, int lastPrizeIndex, bool force,
                QString& err);

}  // namespace check
