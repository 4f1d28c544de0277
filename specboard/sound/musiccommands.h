#pragma once

#include <QString>

// The command interface that plays MIDI files: one file at a time, open under the alias
// "midifile". Each command answers 0 when done, otherwise an error number.
class MusicCommands {
public:
    virtual ~MusicCommands() = default;
    virtual int send(const QString& command) = 0;
};

// The four command texts the editor sends, exactly as it sends them.
namespace midi {

// The error number of a file that is no MIDI file the sequencer plays.
inline constexpr int InvalidFile = 296;

inline QString stopCommand() { return QStringLiteral("stop midifile "); }
inline QString closeCommand() { return QStringLiteral("close midifile"); }
inline QString playCommand() { return QStringLiteral("play midifile from 0"); }
// The path goes in unchanged and unquoted, blanks and all.
inline QString openCommand(const QString& path) {
    return QStringLiteral("open ") + path + QStringLiteral(" type sequencer alias midifile");
}

}  // namespace midi
