#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>

#include "positiondocument.h"

// The .ppf picture position file: 9 slot picture names, the count line " 32 ", then one
// line per placement entry. Code page 932 text with CR LF line ends.
namespace ppf {

inline constexpr QStringView FileFilter = u"画像位置ファイル|*.ppf|All Files|*.*|";

// Why a slot picture name would not come back from the file as written (a comma ends the
// field, leading blanks are skipped, a leading quote is taken off, a line break splits the
// line, a character code page 932 lacks turns into "?"); empty when the name is storable.
QString nameProblem(const QString& fileName);
// The same for an entry's value text, which is written inside double quotes.
QString valueProblem(const QString& value);
// The first slot name or value the file cannot hold, as a message; empty when all can.
QString storeProblem(const PositionDocument& doc);

// The file's bytes, every text written as it stands (see storeProblem).
QByteArray write(const PositionDocument& doc);

// What a read found besides the document.
struct ReadReport {
    std::int32_t countLine = 0;  // the number on line 10 (32 when we wrote it); not used
    QList<int> skippedPictures;  // slots whose picture could not be found or decoded
    QStringList warnings;        // for each skipped slot, its picture's name and why
    QStringList pngPictures;     // names of the pictures that are PNG files
};

// Reads the text part over `doc`: names, the count line, and the 33 entries. Refused (doc
// untouched, *error says why) when the nine names and the count line cannot be read, or when
// a value is longer than its field holds; otherwise the entry part never fails: an unreadable
// field keeps its value and reading goes on with the next field. Pictures are not loaded here.
bool readText(const QByteArray& bytes, PositionDocument& doc, ReadReport* report, QString* error);

// Loads the picture of every named slot from `folder` (exact name, then any case), within
// the cabinet picture limits, so any nine pictures "Load" took read back. A picture that
// cannot be loaded is skipped: its slot holds no picture, and *warnings names it and says
// why. A slot without a name holds no picture afterwards. *pngNames gets the names of the
// pictures that are PNG files.
QList<int> loadPictures(PositionDocument& doc, const QString& folder,
                        QStringList* warnings = nullptr, QStringList* pngNames = nullptr);

// Reads a whole position file and its pictures, which are looked up in the file's folder.
// On success the document holds what the file says; on failure the document and its
// pictures are exactly as before and *error says why.
bool readFile(const QString& path, PositionDocument& doc, ReadReport* report, QString* error);

// Writes the document atomically. Refused when a name or value would not read back, and
// false when the file cannot be written; in both cases an existing file stays whole.
bool writeFile(const QString& path, const PositionDocument& doc, QString* error);

}  // namespace ppf
