#pragma once

#include <QByteArray>
#include <QString>

// Whether a registered sound file can be played, told from its structure alone (no
// audio device): the RIFF chunks of a WAV file, the MThd and MTrk chunks of a MIDI file.
namespace check {

// Empty when the bytes are a WAV file with a usable "fmt " chunk and a "data" chunk
// inside the file; otherwise why not, in English.
QString wavProblem(const QByteArray& bytes);
// Empty when the bytes are a Standard MIDI File whose header and track chunks are whole.
QString midiProblem(const QByteArray& bytes);

}  // namespace check
