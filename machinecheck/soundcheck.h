#pragma once

#include <QByteArray>
#include <QString>

// Whether a registered sound file can be played, told from its bytes alone (no audio
// device), by the rules specboard plays sounds by; in English.
namespace check {

// Empty when the bytes are a WAV file with a usable "fmt " chunk and a "data" chunk
// inside the file that specboard does not refuse; otherwise every reason why not.
QString wavProblem(const QByteArray& bytes);
// Empty when the bytes are a Standard MIDI File whose header and track chunks are whole
// and whose size and notes specboard does not refuse; otherwise every reason why not.
QString midiProblem(const QByteArray& bytes);

}  // namespace check
