#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdint>

// The sound output that plays registered WAV sounds: started with the window, one buffer
// per played WAV file, shut down with the window.
class SoundDevice {
public:
    // A buffer handle; 0 names no buffer, and every operation takes 0 without harm.
    using Buffer = std::int32_t;

    struct BufferResult {
        Buffer handle = 0;
        // Why no buffer was made from bytes that are not a sound the device plays;
        // empty with handle 0 when there is no device to make buffers on.
        QString error;
    };

    virtual ~SoundDevice() = default;

    // Starts the sound output for a window; false when it cannot start.
    virtual bool start(quintptr window, int mode) = 0;
    // Prepares MIDI playback; false when MIDI cannot play.
    virtual bool startMusic() = 0;
    // A buffer from the whole bytes of a WAV file.
    virtual BufferResult createBuffer(const QByteArray& wavBytes, int flags) = 0;
    // Plays a buffer once from its start; other sounds go on playing.
    virtual void play(Buffer buffer) = 0;
    virtual void stop(Buffer buffer) = 0;
    // Releases a buffer; its handle names nothing afterwards.
    virtual void free(Buffer buffer) = 0;
    virtual void quitMusic() = 0;
    // Stops every sound and the output.
    virtual void quit() = 0;
    // Why start or startMusic failed, in the sound library's own words; empty when it
    // cannot tell.
    virtual QString failureReason() const { return {}; }
};
