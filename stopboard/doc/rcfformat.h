#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

#include "controldocument.h"

// The .rcf reel control file: an LZH archive whose one member "dummy.dat" holds the
// control data as code page 932 text with CR LF line ends, in three sections: stop
// tables, base tables, assignments. The simulator reads the same member.
namespace rcf {

inline constexpr QStringView FileFilter = u"RealControlFile|*.rcf|All Files|*.*|";
inline constexpr char MemberName[] = "dummy.dat";

// What a read found beside the data, for the window to warn about.
struct ReadReport {
    // Lines of the assignment section in the file.
    qsizetype assignmentLines = 0;
    // The LastPrizeIndex the file was written with, told by its assignment line count;
    // empty when the count fits no LastPrizeIndex.
    std::optional<int> writtenLastPrizeIndex;
};

// The comment as the file carries it: one field that the simulator and our reader both
// take back whole, so the stop values after it stay in place. A comma (which would end
// the field) becomes "，", line breaks become blanks, leading blanks (which the reader
// skips) are dropped, and a double quote opening the comment (which would make it a
// quoted field) becomes "＂". Any other comment is returned unchanged.
QString storableComment(const QString& comment);

// The text of "dummy.dat" for the document and its LastPrizeIndex.
QByteArray writeText(const ControlDocument& doc);

// Reads the text into `doc` in the layout of doc.lastPrizeIndex(). Stop tables and base
// tables must be complete and numeric; otherwise false, *error says where, and `doc` is
// left exactly as it was. The assignment section is lenient: a value that is missing or
// not a 16-bit number keeps the entry's value and reading goes on; entries beyond the
// layout keep theirs too.
bool readText(const QByteArray& text, ControlDocument& doc, ReadReport* report, QString* error);

// The complete archive for the document.
QByteArray packArchive(const ControlDocument& doc, QString* error = nullptr);
// The text of "dummy.dat" (or that name in another case or under a folder) in an archive
// held in memory; false and *error when the bytes are not an archive, the member is missing
// or damaged.
bool unpackText(const QByteArray& archive, QByteArray& text, QString* error);
// Reads an archive held in memory; on failure `doc` is unchanged and *error says why
// (not an archive, damaged, no "dummy.dat", or a text that does not read).
bool unpackArchive(const QByteArray& archive, ControlDocument& doc, ReadReport* report,
                   QString* error);

// Writes the file atomically: on failure the old file stays whole and *error says why.
bool writeFile(const QString& path, const ControlDocument& doc, QString* error);
// Reads the file; on failure `doc` is unchanged and *error says why.
bool readFile(const QString& path, ControlDocument& doc, ReadReport* report, QString* error);

}  // namespace rcf
