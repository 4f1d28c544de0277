#include "soundcheck.h"

#include <QCoreApplication>
#include <QStringList>

#include "soundrules.h"

namespace check {

namespace {

struct SoundCheck {
    Q_DECLARE_TR_FUNCTIONS(SoundCheck)
};

using soundrules::Fault;
using soundrules::SoundFault;

// A chunk id as a message can show it.
QString printable(const QByteArray& id) {
    QString out;
    for (char c : id) out += c >= 0x20 && c < 0x7f ? QChar::fromLatin1(c) : QChar(u'?');
    return out;
}

QString describe(const SoundFault& f) {
    switch (f.kind) {
        case Fault::NotWav:
            return SoundCheck::tr("not a WAV file (no RIFF/WAVE header)");
        case Fault::WavChunkPastEnd:
            return SoundCheck::tr("the \"%1\" chunk runs past the end of the file")
                .arg(printable(f.chunk));
        case Fault::FmtTooShort:
            return SoundCheck::tr("the \"fmt \" chunk is too short");
        case Fault::FmtIncomplete:
            return SoundCheck::tr(
                "the \"fmt \" chunk gives no channels, sample rate, block size or sample size");
        case Fault::DataBeforeFmt:
            return SoundCheck::tr("the \"data\" chunk comes before any \"fmt \" chunk");
        case Fault::NoFmt:
            return SoundCheck::tr("no \"fmt \" chunk");
        case Fault::NoData:
            return SoundCheck::tr("no \"data\" chunk");
        case Fault::RateTooLow:
            return SoundCheck::tr("the sample rate is %1 Hz; specboard plays no WAV below %2 Hz")
                .arg(f.found)
                .arg(f.limit);
        case Fault::TooLongForMixer:
            return SoundCheck::tr(
                       "the sound converts to %1 MB of mixer samples; specboard plays "
                       "at most %2 MB")
                .arg((f.found + (1 << 20) - 1) >> 20)
                .arg(f.limit >> 20);
        case Fault::NotMidi:
            return SoundCheck::tr("not a MIDI file (no MThd header)");
        case Fault::BadHeaderLength:
            return SoundCheck::tr("the MThd chunk has a bad length");
        case Fault::UnknownFormat:
            return SoundCheck::tr("unknown MIDI file format %1").arg(f.found);
        case Fault::NoTrack:
            return SoundCheck::tr("the MThd chunk announces no track");
        case Fault::Format0Tracks:
            return SoundCheck::tr("a format 0 MIDI file has one track, this one announces %1")
                .arg(f.found);
        case Fault::NoDivision:
            return SoundCheck::tr("the MThd chunk gives no time division");
        case Fault::CutChunkHeader:
            return SoundCheck::tr("the file ends inside a chunk header");
        case Fault::MidiChunkPastEnd:
            return SoundCheck::tr("chunk %1 runs past the end of the file").arg(f.found);
        case Fault::TrackCount:
            return SoundCheck::tr("the MThd chunk announces %1 tracks, the file holds %2")
                .arg(f.limit)
                .arg(f.found);
        case Fault::MidiTooLarge:
            return SoundCheck::tr("the file has %1 bytes; specboard plays no MIDI file above %2")
                .arg(f.found)
                .arg(f.limit);
        case Fault::NotesTooDense:
            return SoundCheck::tr("%1 notes start within %2 ms; specboard plays at most %3")
                .arg(f.found)
                .arg(soundrules::NoteWindowMs)
                .arg(f.limit);
    }
    return {};
}

QString describeAll(const QList<SoundFault>& faults) {
    QStringList parts;
    for (const SoundFault& f : faults) parts << describe(f);
    return parts.join(SoundCheck::tr("; "));
}

}  // namespace

QString wavProblem(const QByteArray& bytes) { return describeAll(soundrules::wavFaults(bytes)); }
QString midiProblem(const QByteArray& bytes) { return describeAll(soundrules::midiFaults(bytes)); }

}  // namespace check
