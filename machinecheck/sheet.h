#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "checker.h"
#include "findings.h"

// The machine sheet: the whole machine on one self-contained HTML page (pictures inside,
// no script, font or network), as the editors read it, with the check's findings on top.
namespace check {

// The page for `contents`, UTF-8. Every text taken from the files is escaped.
QByteArray machineSheet(const MachineContents& contents, const QList<Finding>& findings);

// The file name a sheet of the machine gets by default: the machine's name made safe for
// a file name (no folder separators, no characters Windows refuses, at most 80
// characters), else the .orf file's name, with ".html".
QString sheetFileName(const QString& machineName, const QString& orfName);

// `machinecheck sheet TARGET [-o OUT] [--force]`: TARGET is a machine folder holding one
// .orf, or a .orf file. Writes the sheet to OUT ("-": standard output; empty: the default
// name in the machine's folder). An existing file is replaced only when it is a sheet
// itself or with `force`; a file the machine reads never. Exit status 0 when written, 1
// when not, 2 when the target cannot be read; `err` gets the messages.
int sheetCommand(const QString& target, const QString& out, bool force, QString& err);

}  // namespace check
