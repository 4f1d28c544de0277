#pragma once

#include <QString>
#include <optional>

#include "musiccommands.h"
#include "sounddevice.h"

// What the author is told when the sound output does not do what was asked: the text, the
// detail (the file or the device's own reason), and whether it is a warning (a sound that was
// refused) or a plain notice (a device that is not there).
struct SoundFailure {
    QString text;
    QString detail;
    bool warning = true;

    bool operator==(const SoundFailure&) const = default;
};

// What the effect sound page does with the sound output: start it with the window, play
// and stop the registered sound it shows, and shut it down with the window. It tells nobody
// itself: each failure comes back to the window, which shows it.
class SoundPlayer {
public:
    // Always passed to the device as they are; what they mean is the device's business.
    static constexpr int DeviceMode = 2;
    static constexpr int BufferFlags = 3;

    struct PlayResult {
        // The MIDI commands' result (0 or the first error; midi::InvalidFile for a refused
        // tune), 0 for the rest.
        int music = 0;
        std::optional<SoundFailure> failure;
    };

    SoundPlayer(SoundDevice& device, MusicCommands& music);

    // At window start: a device that cannot start is returned and the editor goes on.
    std::optional<SoundFailure> start(quintptr window);

    // "Play": the sound number field's text, the file name registered under it and the
    // folder its files are kept in (empty: the current folder). A WAV name ends in "v",
    // a MIDI name in "d", exactly; any other name, and sound number 0 or none, plays
    // nothing. A sound that cannot be read, or is past the bounds of soundrules, is
    // refused with a failure.
    PlayResult play(const QString& soundNumberText, const QString& fileName, const QString& folder);
    // "Stop": the current WAV, whose buffer is released, and the MIDI file.
    void stop();
    // At window unload; never waits for a sound to end.
    void shutDown();

    SoundDevice::Buffer currentBuffer() const { return currentBuffer_; }

private:
    std::optional<SoundFailure> playWav(const QString& name, const QString& folder);
    PlayResult playMidi(const QString& name, const QString& folder);

    SoundDevice& device_;
    MusicCommands& music_;
    SoundDevice::Buffer currentBuffer_ = 0;
};
