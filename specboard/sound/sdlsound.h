#pragma once

#include <QByteArray>
#include <map>
#include <memory>

#include "musiccommands.h"
#include "sounddevice.h"

struct Mix_Chunk;

// The sound device over SDL2_mixer. A WAV buffer is decoded from memory into a mixer chunk
// and plays on a channel of its own, so a new sound never cuts off one still playing.
class SdlSoundDevice : public SoundDevice {
public:
    SdlSoundDevice() = default;
    ~SdlSoundDevice() override;
    SdlSoundDevice(const SdlSoundDevice&) = delete;
    SdlSoundDevice& operator=(const SdlSoundDevice&) = delete;

    // The window and mode mean nothing to the mixer; they are taken and left alone.
    bool start(quintptr window, int mode) override;
    bool startMusic() override;
    // The flags are taken and left alone: every buffer plays once from memory.
    BufferResult createBuffer(const QByteArray& wavBytes, int flags) override;
    void play(Buffer buffer) override;
    // Stops a buffer's sound and every sound still playing from a released buffer (the
    // earlier presses of Play), whose chunks are freed at once.
    void stop(Buffer buffer) override;
    // A sound still playing from a released buffer plays to its end; its chunk is freed
    // by the next call after that, by a stop, or by quit.
    void free(Buffer buffer) override;
    void quitMusic() override;
    void quit() override;
    QString failureReason() const override { return failure_; }

    // Whether a buffer's sound is playing now.
    bool isPlaying(Buffer buffer) const;
    // How many buffers hold decoded samples, released ones still playing included.
    int heldBuffers() const { return int(buffers_.size()); }

private:
    struct Entry {
        Mix_Chunk* chunk = nullptr;
        int channel = -1;  // the channel it last started on
        bool released = false;
    };

    bool entryPlaying(const Entry& entry) const;
    // Frees the chunks of released buffers whose sound has ended.
    void sweep();
    Buffer nextHandle();

    std::map<Buffer, Entry> buffers_;
    Buffer lastHandle_ = 0;
    bool open_ = false;
    QString failure_;
};

// What plays MIDI music for the command interface: one tune at a time. Every call is made
// on the sound thread, never on the window's.
class MusicSynth {
public:
    virtual ~MusicSynth() = default;
    // Makes the tune of a Standard MIDI File ready to play; nothing plays when it cannot.
    virtual void load(const QByteArray& midi) = 0;
    virtual void play() = 0;
    virtual void halt() = 0;
    // Stops and frees the tune, if one is loaded.
    virtual void unload() = 0;
};

// The MIDI command interface over SDL2_mixer's music player, with the General MIDI sound
// font. Error numbers follow the multimedia command interface's (base 256). A command is
// answered at once from the file and the alias; the synthesizer's work is handed to the
// sound thread, so a tune that is slow to load or to stop never holds up the window.
class SdlMusicCommands : public MusicCommands {
public:
    enum Error {
        UnrecognizedCommand = 261,
        Hardware = 262,
        DeviceNotOpen = 263,  // no file is open under the alias
        FileNotFound = 275,
        DuplicateAlias = 289,             // a file is already open under the alias
        InvalidFile = midi::InvalidFile,  // not a standard MIDI file, or one past the bounds
        FilenameRequired = 304,
    };

    // Without a synth, the synthesizer of SDL2_mixer.
    explicit SdlMusicCommands(std::unique_ptr<MusicSynth> synth = nullptr);
    ~SdlMusicCommands() override;
    SdlMusicCommands(const SdlMusicCommands&) = delete;
    SdlMusicCommands& operator=(const SdlMusicCommands&) = delete;

    int send(const QString& command) override;

    bool isOpen() const { return open_; }

private:
    int open(const QString& path);
    int play();
    int stop();
    int close();

    std::shared_ptr<MusicSynth> synth_;
    bool open_ = false;
    quint64 tag_ = 0;  // the sound thread's jobs for the open file
};

// Points the MIDI decoder at the General MIDI sound font unless SDL_SOUNDFONTS names
// one, and tells whether a sound font file is there to play with.
bool prepareMidiSoundFont();
