#include "soundcheck.h"

#include <QtEndian>

namespace check {

namespace {

quint32 le32(const char* p) { return qFromLittleEndian<quint32>(p); }
quint16 le16(const char* p) { return qFromLittleEndian<quint16>(p); }
quint32 be32(const char* p) { return qFromBigEndian<quint32>(p); }
quint16 be16(const char* p) { return qFromBigEndian<quint16>(p); }

// A chunk id as a message can show it.
QString printable(const QByteArray& id) {
    QString out;
    for (char c : id) out += c >= 0x20 && c < 0x7f ? QChar::fromLatin1(c) : QChar(u'?');
    return out;
}

}  // namespace

QString wavProblem(const QByteArray& bytes) {
    const char* d = bytes.constData();
    const qsizetype size = bytes.size();
    if (size < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return QStringLiteral("not a WAV file (no RIFF/WAVE header)");
    // The RIFF size may overstate a file cut short; chunks are walked within both.
    const qsizetype end = std::min<qsizetype>(size, 8 + qsizetype(le32(d + 4)));
    bool haveFormat = false;
    qsizetype pos = 12;
    while (pos + 8 <= end) {
        const QByteArray id = bytes.mid(pos, 4);
        const qsizetype length = le32(d + pos + 4);
        const qsizetype body = pos + 8;
        if (length > end - body)
            return QStringLiteral("the \"%1\" chunk runs past the end of the file")
                .arg(printable(id));
        if (id == "fmt ") {
            if (length < 16) return QStringLiteral("the \"fmt \" chunk is too short");
            const quint16 channels = le16(d + body + 2);
            const quint32 rate = le32(d + body + 4);
            const quint16 blockAlign = le16(d + body + 12);
            const quint16 bits = le16(d + body + 14);
            if (channels == 0 || rate == 0 || blockAlign == 0 || bits == 0)
                return QStringLiteral(
                    "the \"fmt \" chunk gives no channels, sample rate, block size or sample size");
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return QStringLiteral("the \"data\" chunk comes before any \"fmt \" chunk");
            return {};
        }
        pos = body + length + (length & 1);  // chunks are padded to an even length
    }
    return haveFormat ? QStringLiteral("no \"data\" chunk") : QStringLiteral("no \"fmt \" chunk");
}

QString midiProblem(const QByteArray& bytes) {
    const char* d = bytes.constData();
    const qsizetype size = bytes.size();
    if (size < 14 || !bytes.startsWith("MThd"))
        return QStringLiteral("not a MIDI file (no MThd header)");
    const qsizetype headerLength = be32(d + 4);
    if (headerLength < 6 || headerLength > size - 8)
        return QStringLiteral("the MThd chunk has a bad length");
    const quint16 format = be16(d + 8);
    const quint16 tracks = be16(d + 10);
    const quint16 division = be16(d + 12);
    if (format > 2) return QStringLiteral("unknown MIDI file format %1").arg(format);
    if (tracks == 0) return QStringLiteral("the MThd chunk announces no track");
    if (format == 0 && tracks != 1)
        return QStringLiteral("a format 0 MIDI file has one track, this one announces %1")
            .arg(tracks);
    if (division == 0) return QStringLiteral("the MThd chunk gives no time division");
    int found = 0;
    qsizetype pos = 8 + headerLength;
    while (pos < size) {
        if (size - pos < 8) return QStringLiteral("the file ends inside a chunk header");
        const qsizetype length = be32(d + pos + 4);
        if (length > size - pos - 8)
            return QStringLiteral("chunk %1 runs past the end of the file").arg(found + 1);
        // Chunks of other types are skipped, as MIDI players do.
        if (bytes.mid(pos, 4) == "MTrk") ++found;
        pos += 8 + length;
    }
    if (found != tracks)
        return QStringLiteral("the MThd chunk announces %1 tracks, the file holds %2")
            .arg(tracks)
            .arg(found);
    return {};
}

}  // namespace check
