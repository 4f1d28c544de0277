#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include "reeldatadocument.h"

// The .sdf reel data file: code page 932 text with CR LF line ends.
namespace sdf {

inline constexpr QStringView FileFilter = u"SlotDataFile|*.sdf|All Files|*.*|";

QByteArray write(const ReelDataDocument& doc);

// What a read found beside the document.
struct ReadReport {
    int formatVersion = 0;    // 100 for a file without version line
    QStringList pngPictures;  // names of the pictures that are PNG files
};

// Reads the text into `doc` over what it holds (slots the file does not mention keep
// their values). Pictures are not loaded here. On failure `doc` may be half-read:
// callers read into a copy (see readFile).
bool readText(const QByteArray& bytes, ReelDataDocument& doc, int& formatVersion, QString* error);

// Loads the pictures named in `doc` from `folder` (exact name, then any case). *pngNames gets
// the names of the pictures that are PNG files.
bool loadPictures(ReelDataDocument& doc, const QString& folder, QString* error,
                  QStringList* pngNames = nullptr);

// Reads a whole .sdf file and its pictures (looked up in the file's folder). On success `doc`
// is replaced; on any failure it is left exactly as it was and *error says why.
bool readFile(const QString& path, ReelDataDocument& doc, ReadReport* report, QString* error);

// Writes the document atomically; false and *error when the file could not be written.
bool writeFile(const QString& path, const ReelDataDocument& doc, QString* error);

}  // namespace sdf
