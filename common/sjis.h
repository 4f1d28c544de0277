#pragma once

#include <QByteArray>
#include <QString>

// Every data file of the suite is code page 932 text.
namespace sjis {

// Characters that code page 932 cannot hold become '?'.
QByteArray fromUnicode(const QString& text);
// Bytes that are not valid code page 932 become U+FFFD; decoding never fails.
QString toUnicode(const char* data, qsizetype size);
inline QString toUnicode(const QByteArray& bytes) { return toUnicode(bytes.constData(), bytes.size()); }
// True when every character survives a round trip through code page 932.
bool isRepresentable(const QString& text);

}  // namespace sjis
