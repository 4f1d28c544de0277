#include "soundrules.h"

#include <QtEndian>
#include <algorithm>
#include <utility>
#include <vector>

namespace soundrules {

namespace {

quint32 le32(const char* p) { return qFromLittleEndian<quint32>(p); }
quint16 le16(const char* p) { return qFromLittleEndian<quint16>(p); }
quint32 be32(const char* p) { return qFromBigEndian<quint32>(p); }
quint16 be16(const char* p) { return qFromBigEndian<quint16>(p); }

// ---- WAV ----

struct WavFormat {
    quint16 tag = 0;
    quint16 channels = 0;
    quint32 rate = 0;
    quint16 blockAlign = 0;
    quint16 bits = 0;
    quint16 samplesPerBlock = 0;  // ADPCM only; 0 when the header leaves it out
};

struct WavWalk {
    std::optional<SoundFault> fault;
    std::optional<WavFormat> format;  // the first "fmt " chunk
    qint64 dataBytes = -1;            // the "data" chunk's length, -1 when none was reached
};

// Walks the chunks up to `end`. With clampData a "data" chunk that runs past the end counts
// up to the end, as the mixer decodes a sound cut short up to its last whole frame.
WavWalk walkWav(const QByteArray& bytes, qsizetype end, bool clampData) {
    const char* d = bytes.constData();
    WavWalk w;
    qsizetype pos = 12;
    while (pos + 8 <= end) {
        const QByteArray id = bytes.mid(pos, 4);
        const qsizetype length = le32(d + pos + 4);
        const qsizetype body = pos + 8;
        if (length > end - body) {
            if (clampData && id == "data" && w.format) {
                w.dataBytes = end - body;
                return w;
            }
            w.fault = SoundFault{Fault::WavChunkPastEnd, 0, 0, id};
            return w;
        }
        if (id == "fmt ") {
            if (length < 16) {
                w.fault = SoundFault{Fault::FmtTooShort};
                return w;
            }
            WavFormat f;
            f.tag = le16(d + body);
            f.channels = le16(d + body + 2);
            f.rate = le32(d + body + 4);
            f.blockAlign = le16(d + body + 12);
            f.bits = le16(d + body + 14);
            if (length >= 20) f.samplesPerBlock = le16(d + body + 18);
            if (f.channels == 0 || f.rate == 0 || f.blockAlign == 0 || f.bits == 0) {
                w.fault = SoundFault{Fault::FmtIncomplete};
                return w;
            }
            if (!w.format) w.format = f;
        } else if (id == "data") {
            if (!w.format) {
                w.fault = SoundFault{Fault::DataBeforeFmt};
                return w;
            }
            w.dataBytes = length;
            return w;
        }
        pos = body + length + (length & 1);  // chunks are padded to an even length
    }
    w.fault = SoundFault{w.format ? Fault::NoData : Fault::NoFmt};
    return w;
}

bool isWav(const QByteArray& bytes) {
    return bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE";
}

// The sound as the mixer would hold it. Walked over the whole file, whatever the RIFF size
// says, since the mixer reads past a RIFF size that is too small.
std::optional<SoundFault> wavBound(const QByteArray& bytes) {
    if (!isWav(bytes)) return {};
    const WavWalk w = walkWav(bytes, bytes.size(), true);
    if (!w.format || w.dataBytes < 0) return {};
    const WavFormat& f = *w.format;
    if (f.rate < MinWavRate) return SoundFault{Fault::RateTooLow, f.rate, MinWavRate};
    double frames = 0;
    if (f.tag == 0x0002 || f.tag == 0x0011) {  // MS and IMA ADPCM: whole blocks of samples
        const double perBlock = f.samplesPerBlock
                                    ? f.samplesPerBlock
                                    : f.blockAlign * 8.0 / (double(f.bits) * f.channels) + 1;
        frames = double((w.dataBytes + f.blockAlign - 1) / f.blockAlign) * perBlock;
    } else {
        frames = double(w.dataBytes / f.blockAlign);
    }
    const double converted = frames * MixerRate / f.rate * MixerFrameBytes;
    if (converted > double(MaxMixerBytes))
        return SoundFault{Fault::TooLongForMixer, qint64(std::min(converted, 9.0e18)),
                          MaxMixerBytes};
    return {};
}

// ---- MIDI ----

// A variable-length number of at most four bytes; false when the bytes end first.
bool readVarLength(const char* d, qsizetype end, qsizetype& pos, qint64& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos >= end) return false;
        const auto byte = quint8(d[pos++]);
        value = (value << 7) | (byte & 0x7f);
        if (!(byte & 0x80)) return true;
    }
    return false;
}

struct TempoChange {
    qint64 tick;
    quint32 microsPerQuarter;
};

// Collects the ticks at which notes start, and the tempo changes, of one track. A track
// whose events stop making sense is read up to there, as the synthesizer reads it.
void readTrack(const char* d, qsizetype pos, qsizetype end, std::vector<qint64>& notes,
               std::vector<TempoChange>& tempos) {
    qint64 tick = 0;
    quint8 running = 0;
    while (pos < end) {
        qint64 delta = 0;
        if (!readVarLength(d, end, pos, delta) || pos >= end) return;
        tick += delta;
        quint8 status = quint8(d[pos]);
        if (status & 0x80)
            ++pos;
        else if (running)
            status = running;
        else
            return;
        if (status == 0xff) {
            if (pos >= end) return;
            const quint8 type = quint8(d[pos++]);
            qint64 length = 0;
            if (!readVarLength(d, end, pos, length) || length > end - pos) return;
            if (type == 0x2f) return;  // end of track
            if (type == 0x51 && length >= 3)
                tempos.push_back({tick, (quint32(quint8(d[pos])) << 16) |
                                            (quint32(quint8(d[pos + 1])) << 8) |
                                            quint8(d[pos + 2])});
            pos += length;
        } else if (status == 0xf0 || status == 0xf7) {
            qint64 length = 0;
            if (!readVarLength(d, end, pos, length) || length > end - pos) return;
            pos += length;
        } else if (status >= 0xf0) {
            return;  // no other system message belongs in a file
        } else {
            running = status;
            const int dataBytes = (status & 0xe0) == 0xc0 ? 1 : 2;
            if (end - pos < dataBytes) return;
            if ((status & 0xf0) == 0x90 && d[pos + 1] != 0)
                notes.push_back(tick);  // velocity 0 ends a note
            pos += dataBytes;
        }
    }
}

// The most notes that start within any NoteWindowMs of playing, every track together.
qint64 densestNotes(const QByteArray& bytes, qsizetype firstChunk) {
    const char* d = bytes.constData();
    const qsizetype size = bytes.size();
    std::vector<qint64> notes;
    std::vector<TempoChange> tempos;
    for (qsizetype pos = firstChunk; size - pos >= 8;) {
        const qsizetype length = be32(d + pos + 4);
        const qsizetype body = pos + 8;
        const qsizetype end = length > size - body ? size : body + length;
        if (bytes.mid(pos, 4) == "MTrk") readTrack(d, body, end, notes, tempos);
        pos = end;
    }
    if (qsizetype(notes.size()) <= MaxNotesInWindow) return qint64(notes.size());

    std::sort(notes.begin(), notes.end());
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    // Ticks to microseconds. With a time division in frames the tempo does not count; with
    // none the synthesizer never leaves the first tick, so only notes of one tick meet.
    const quint16 division = be16(d + 12);
    const bool frames = division & 0x8000;
    const int framesPerSecond = frames ? -qint8(division >> 8) : 0;
    const int ticksPerFrame = division & 0xff;
    const auto microsPerTick = [&](quint32 tempo) -> double {
        if (frames)
            return framesPerSecond > 0 && ticksPerFrame > 0
                       ? 1e6 / ((framesPerSecond == 29 ? 29.97 : framesPerSecond) * ticksPerFrame)
                       : 1e12;
        return division ? double(tempo) / division : 1e12;
    };
    std::vector<double> times;
    times.reserve(notes.size());
    double atTempo = 0;  // the time at tick `tempoTick`
    qint64 tempoTick = 0;
    double perTick = microsPerTick(500000);  // 120 beats a minute until told otherwise
    std::size_t next = 0;
    for (const qint64 tick : notes) {
        while (next < tempos.size() && tempos[next].tick <= tick) {
            atTempo += double(tempos[next].tick - tempoTick) * perTick;
            tempoTick = tempos[next].tick;
            perTick = microsPerTick(tempos[next].microsPerQuarter);
            ++next;
        }
        times.push_back(atTempo + double(tick - tempoTick) * perTick);
    }
    qint64 most = 0;
    const double window = NoteWindowMs * 1000.0;
    for (std::size_t first = 0, i = 0; i < times.size(); ++i) {
        while (times[i] - times[first] >= window) ++first;
        most = std::max<qint64>(most, qint64(i - first + 1));
    }
    return most;
}

std::optional<SoundFault> midiBound(const QByteArray& bytes) {
    if (bytes.size() < 14 || !bytes.startsWith("MThd")) return {};
    if (bytes.size() > MaxMidiFileBytes)
        return SoundFault{Fault::MidiTooLarge, bytes.size(), MaxMidiFileBytes};
    const qsizetype headerLength = be32(bytes.constData() + 4);
    const qsizetype firstChunk =
        headerLength < 6 || headerLength > bytes.size() - 8 ? 14 : 8 + headerLength;
    const qint64 most = densestNotes(bytes, firstChunk);
    if (most > MaxNotesInWindow) return SoundFault{Fault::NotesTooDense, most, MaxNotesInWindow};
    return {};
}

std::optional<SoundFault> midiStructure(const QByteArray& bytes) {
    const char* d = bytes.constData();
    const qsizetype size = bytes.size();
    if (size < 14 || !bytes.startsWith("MThd")) return SoundFault{Fault::NotMidi};
    const qsizetype headerLength = be32(d + 4);
    if (headerLength < 6 || headerLength > size - 8) return SoundFault{Fault::BadHeaderLength};
    const quint16 format = be16(d + 8);
    const quint16 tracks = be16(d + 10);
    if (format > 2) return SoundFault{Fault::UnknownFormat, format};
    if (tracks == 0) return SoundFault{Fault::NoTrack};
    if (format == 0 && tracks != 1) return SoundFault{Fault::Format0Tracks, tracks};
    if (be16(d + 12) == 0) return SoundFault{Fault::NoDivision};
    int found = 0;
    qsizetype pos = 8 + headerLength;
    while (pos < size) {
        if (size - pos < 8) return SoundFault{Fault::CutChunkHeader};
        const qsizetype length = be32(d + pos + 4);
        if (length > size - pos - 8) return SoundFault{Fault::MidiChunkPastEnd, found + 1};
        // Chunks of other types are skipped, as MIDI players do.
        if (bytes.mid(pos, 4) == "MTrk") ++found;
        pos += 8 + length;
    }
    if (found != tracks) return SoundFault{Fault::TrackCount, found, tracks};
    return {};
}

QList<SoundFault> both(std::optional<SoundFault> structure, std::optional<SoundFault> bound) {
    QList<SoundFault> faults;
    if (structure) faults.append(std::move(*structure));
    if (bound) faults.append(std::move(*bound));
    return faults;
}

}  // namespace

bool isBound(Fault kind) {
    switch (kind) {
        case Fault::RateTooLow:
        case Fault::TooLongForMixer:
        case Fault::MidiTooLarge:
        case Fault::NotesTooDense:
            return true;
        default:
            return false;
    }
}

QList<SoundFault> wavFaults(const QByteArray& bytes) {
    if (!isWav(bytes)) return {SoundFault{Fault::NotWav}};
    // The RIFF size may overstate a file cut short; chunks are walked within both.
    const qsizetype end =
        std::min<qsizetype>(bytes.size(), 8 + qsizetype(le32(bytes.constData() + 4)));
    return both(walkWav(bytes, end, false).fault, wavBound(bytes));
}

QList<SoundFault> midiFaults(const QByteArray& bytes) {
    return both(midiStructure(bytes), midiBound(bytes));
}

std::optional<SoundFault> wavRefusal(const QByteArray& bytes) { return wavBound(bytes); }
std::optional<SoundFault> midiRefusal(const QByteArray& bytes) { return midiBound(bytes); }

}  // namespace soundrules
