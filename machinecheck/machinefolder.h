#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The one reading of a machine folder: listed once per check, every name looked up in
// memory afterwards. A folder of a hundred thousand files costs one listing, however many
// pictures and sounds are missing from it.
namespace check {

// What a name in the folder leads to, links followed.
enum class EntryKind { File, Folder, Fifo, Socket, Device, Dangling, Unreadable };

class MachineFolder {
public:
    // Lists `path`; false and *error saying why when it cannot be read.
    bool open(const QString& path, QString* error);

    // Every entry whose name ends in one of `suffixes` (any case), whatever kind it is,
    // in name order.
    QStringList namesEndingIn(const QStringList& suffixes) const;
    // The entry the editors would take for `bareName`: the exact name when it is a file,
    // else a file whose name differs only in case; failing both, an entry of either kind
    // (so that a FIFO or folder under the name is reported, not called missing). Empty
    // when no entry has the name in any case.
    QString find(const QString& bareName) const;
    EntryKind kindOf(const QString& name) const;
    QString filePath(const QString& name) const { return prefix_ + name; }

private:
    QString prefix_;                        // the folder with its separator
    QStringList names_;                     // every entry but "." and ".."
    QHash<QString, QStringList> byFolded_;  // names by their case-folded form
};

// "a FIFO", "a folder", ...: what a name that should be a file is instead.
QString kindText(EntryKind kind);

}  // namespace check
