#pragma once

#include <QByteArray>
#include <QString>

// Every data file of the suite is code page 932 text.
namespace sjis {

// A byte that does not decode as code page 932 is kept as the private-use character
// U+EF00 + byte, outside the user-defined characters that code page 932 itself maps
// (U+E000 to U+E757), and is encoded back to the same byte: a text read from a file is
// written back byte for byte.
inline constexpr char16_t FirstKeptByte = 0xEF00;
inline constexpr char16_t LastKeptByte = 0xEFFF;

// Characters that code page 932 cannot hold become '?'.
QByteArray fromUnicode(const QString& text);
// Decoding never fails: bytes that are not valid code page 932 are kept as above.
QString toUnicode(const char* data, qsizetype size);
inline QString toUnicode(const QByteArray& bytes) {
    return toUnicode(bytes.constData(), bytes.size());
}
// True when every character survives a round trip through code page 932.
bool isRepresentable(const QString& text);
// A text read from a file as a message may show it: kept bytes, control characters and the
// user-defined characters as their bytes, "<0xNN>" (no font has a glyph for them), cut after
// `maxChars` characters with "…".
QString forDisplay(const QString& text, int maxChars = 40);
// How much of a name read from a file (a picture, reel or sound file name, which the file
// may make of any length) a message shows.
inline constexpr int ShownNameChars = 80;
// `message` with `text` read from a file, wherever it stands in it, shown as forDisplay
// shows it: for reasons made by a part that took the text as it was read.
QString cutTextIn(QString message, const QString& text, int maxChars = ShownNameChars);

}  // namespace sjis
