#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QStringView>

#include "machinespec.h"
#include "pictures.h"

// The .orf machine file: code page 932 text with CR LF line ends, a flat list of items
// in four sections (file names and description, machine data, sound tables, payout
// sounds and music).
namespace orf {

inline constexpr QStringView FileFilter = u"オルベーンファイル|*.orf|";

// The files a machine names, looked up by bare name.
class ReferencedFiles {
public:
    virtual ~ReferencedFiles() = default;
    // The bytes of the reel data file; false and *error when it is missing or unreadable.
    virtual bool reelData(const QString& name, QByteArray& bytes, QString* error) const = 0;
    // A lit symbol picture; false and *error when it is missing or cannot be decoded.
    virtual bool picture(const QString& name, QImage& image, QString* error) const = 0;
    // The names of the pictures given so far that are PNG files.
    virtual QStringList pngPictures() const { return {}; }
};

// Files in one folder: the exact name first, then a match in any case. The symbol pictures
// asked of one FolderFiles count as one load: a file is decoded once, however many names
// lead to it, within the symbol picture limits and one load's budget.
class FolderFiles : public ReferencedFiles {
public:
    explicit FolderFiles(QString folder)
        : folder_(std::move(folder)), pictures_(pictures::SymbolPictureLimits) {}
    bool reelData(const QString& name, QByteArray& bytes, QString* error) const override;
    bool picture(const QString& name, QImage& image, QString* error) const override;
    QStringList pngPictures() const override { return pictures_.pngNames(); }

private:
    QString folder_;
    mutable pictures::PictureLoader pictures_;
};

// Files held in memory, by exact name (tests and the fuzzer).
class MemoryFiles : public ReferencedFiles {
public:
    QHash<QString, QByteArray> reelFiles;
    QHash<QString, QImage> pictureFiles;
    bool reelData(const QString& name, QByteArray& bytes, QString* error) const override;
    bool picture(const QString& name, QImage& image, QString* error) const override;
};

// What a successful read found beyond the document itself.
struct ReadReport {
    bool reelDataRead = false;       // the named reel data file was read
    bool soundSectionRead = false;   // the sound tables were read to their end
    bool effectSectionRead = false;  // payout sounds and music were read to their end
    QString stoppedReason;           // why the sound part ended early; empty when it did not
    // The payout section holds two lines per flag: its length tells the flag count the
    // file was written with. -1 when the file has no such section or its length fits no
    // flag count.
    int writtenFlagCount = -1;
    // The payout section does not fit the reel data now loaded: its sounds were read
    // against other flags than the ones they were written for.
    bool flagCountMismatch = false;
    QStringList warnings;     // lit symbol pictures that could not be loaded (kept as they were)
    QStringList pngPictures;  // lit symbol pictures that are PNG files
};

QByteArray write(const MachineSpec& doc);

// Texts are written unquoted and read back split at commas and quotes and without leading
// blanks, and a line of "End Of Exp" ends the description: a text that would not come back as it
// went in is named here (empty when every text is safe to write).
QString unstorableText(const MachineSpec& doc);
// Whether one line of text survives the file as it is (no comma, quote, line break, and
// only characters code page 932 holds).
bool isStorableLine(const QString& text);
// Whether a line begins with a blank, which the reader skips: the line would come back
// without it.
bool startsWithBlank(QStringView line);
// Why a file the machine names by its bare name (reel data, reel control, picture positions,
// a sound) cannot be written as that name; empty when it can.
QString nameProblem(const QString& bareName);
// The reader takes at most this many description lines (its end line is one more item).
inline constexpr int MaxExplanationLines = 9'999;
// A description line that the reader would take for the end of the description.
bool endsExplanation(QStringView line);
// Why a description would not come back as it went in (a line the file cannot hold, a line
// of "End Of Exp", more lines than the reader takes); empty when it is safe to write.
QString explanationProblem(const QString& explanation);

// Reads the .orf text. The reel data file it names is read from `files` before the
// payout sounds that depend on its flag count. On success `doc` is replaced; on failure it
// is left exactly as it was and *error says why.
bool readText(const QByteArray& bytes, const ReferencedFiles& files, MachineSpec& doc,
              ReadReport* report, QString* error);

// Reads a .orf file and the reel data file and pictures it names, from the file's folder.
bool readFile(const QString& path, MachineSpec& doc, ReadReport* report, QString* error);

// Reads the reel data file `name`: the flag count, prize combinations and lit symbol
// pictures. Sets `reelFileName`. Refused, with nothing changed, when the file is missing,
// unreadable, or has more flags than the machine holds. Pictures that cannot be loaded keep
// what they showed and are listed in *warnings; *pngPictures names those that are PNG files.
bool readReelData(const ReferencedFiles& files, const QString& name, MachineSpec& doc,
                  QStringList* warnings, QString* error, QStringList* pngPictures = nullptr);

// Writes the document atomically. Refuses texts the file cannot hold. On failure the old
// file is untouched.
bool writeFile(const QString& path, const MachineSpec& doc, QString* error);

}  // namespace orf
