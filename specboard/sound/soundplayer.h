#pragma once

#include <QString>

#include "dialogs.h"
#include "musiccommands.h"
#include "sounddevice.h"

class QWidget;

// What the effect sound page does with the sound output: start it with the window, play
// and stop the registered sound it shows, and shut it down with the window.
class SoundPlayer {
public:
    // Always passed to the device as they are; what they mean is the device's business.
    static constexpr int DeviceMode = 2;
    static constexpr int BufferFlags = 3;

    // Message boxes go through dialogs, over parent, with the program's name as title.
    SoundPlayer(SoundDevice& device, MusicCommands& music, Dialogs& dialogs, QWidget* parent,
                const QString& title);

    // At window start: a device that cannot start is reported and the editor goes on.
    void start(quintptr window);

    // "Play": the sound number field's text, the file name registered under it and the
    // folder its files are kept in (empty: the current folder). A WAV name ends in "v",
    // a MIDI name in "d", exactly; any other name, and sound number 0 or none, plays
    // nothing. A sound that cannot be read, or is past the bounds of soundrules, is
    // refused with a message. Returns the MIDI commands' result (0 or the first error;
    // midi::InvalidFile for a refused tune), 0 for the rest.
    int play(const QString& soundNumberText, const QString& fileName, const QString& folder);
    // "Stop": the current WAV, whose buffer is released, and the MIDI file.
    void stop();
    // At window unload; never waits for a sound to end.
    void shutDown();

    SoundDevice::Buffer currentBuffer() const { return currentBuffer_; }

private:
    void playWav(const QString& name, const QString& folder);
    int playMidi(const QString& name, const QString& folder);
    void show(const QString& text, Dialogs::Icon icon, const QString& detail = {});

    SoundDevice& device_;
    MusicCommands& music_;
    Dialogs& dialogs_;
    QWidget* parent_;
    QString title_;
    SoundDevice::Buffer currentBuffer_ = 0;
};
