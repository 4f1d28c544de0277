#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

// What a registered sound file must be for specboard to play it, told from its bytes alone:
// the RIFF chunks of a WAV file and the MThd and MTrk chunks of a MIDI file, and the bounds
// past which a sound would freeze the editor or fill its memory. specboard refuses a sound
// past a bound before the mixer or the synthesizer sees it; machinecheck reports every fault.
namespace soundrules {

// What the mixer plays every WAV sound as: 44,100 frames a second of 16-bit stereo.
inline constexpr int MixerRate = 44100;
inline constexpr int MixerChannels = 2;
inline constexpr int MixerFrameBytes = 4;

// A WAV sound is converted whole to the mixer's samples before it plays: below this rate
// the conversion multiplies the sound many hundred times, and past this size it is
// minutes long (a machine's sounds last seconds).
inline constexpr int MinWavRate = 4000;
inline constexpr qint64 MaxMixerBytes = 64LL * 1024 * 1024;

// The most read of a sound file, far above any machine sound.
inline constexpr qint64 MaxWavFileBytes = 256LL * 1024 * 1024;
inline constexpr qint64 MaxMidiFileBytes = 4LL * 1024 * 1024;

// The synthesizer starts every note due in one stretch of playing at once, while the mixer
// waits: past this many notes starting within NoteWindowMs it stops answering.
inline constexpr int NoteWindowMs = 50;
inline constexpr int MaxNotesInWindow = 1000;

enum class Fault {
    // WAV structure
    NotWav,           // no RIFF/WAVE header
    WavChunkPastEnd,  // chunk: the chunk's id
    FmtTooShort,
    FmtIncomplete,  // no channels, rate, block size or sample size
    DataBeforeFmt,
    NoFmt,
    NoData,
    // WAV bounds
    RateTooLow,       // found: the rate
    TooLongForMixer,  // found: the bytes of mixer samples it converts to
    // MIDI structure
    NotMidi,  // no MThd header
    BadHeaderLength,
    UnknownFormat,  // found: the format
    NoTrack,
    Format0Tracks,  // found: the tracks announced
    NoDivision,
    CutChunkHeader,
    MidiChunkPastEnd,  // found: the chunk's number, from 1
    TrackCount,        // found: the tracks held, limit: the tracks announced
    // MIDI bounds
    MidiTooLarge,   // found: the file's size
    NotesTooDense,  // found: the most notes starting within NoteWindowMs
};

struct SoundFault {
    Fault kind;
    qint64 found = 0;
    qint64 limit = 0;  // the bound passed, or what the file announced
    QByteArray chunk = {};
};

// Whether specboard refuses to play a sound with this fault (the others it leaves to the
// mixer and the synthesizer, which play what they can).
bool isBound(Fault kind);

// Every fault found, structure first; empty when the sound plays.
QList<SoundFault> wavFaults(const QByteArray& bytes);
QList<SoundFault> midiFaults(const QByteArray& bytes);

// Why specboard refuses to play the sound, if it does: the first bound it passes.
std::optional<SoundFault> wavRefusal(const QByteArray& bytes);
std::optional<SoundFault> midiRefusal(const QByteArray& bytes);

}  // namespace soundrules
