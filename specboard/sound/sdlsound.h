#pragma once

#include <QByteArray>
#include <map>

#include "musiccommands.h"
#include "sounddevice.h"

struct Mix_Chunk;
struct _Mix_Music;

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
    void stop(Buffer buffer) override;
    // A sound still playing from a released buffer plays to its end; its chunk is freed
    // by the next call after that, or by quit.
    void free(Buffer buffer) override;
    void quitMusic() override;
    void quit() override;

    // Whether a buffer's sound is playing now.
    bool isPlaying(Buffer buffer) const;

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
};

// The MIDI command interface over SDL2_mixer's music player, with the General MIDI sound
// font. Error numbers follow the multimedia command interface's (base 256).
class SdlMusicCommands : public MusicCommands {
public:
    enum Error {
        UnrecognizedCommand = 261,
        Hardware = 262,
        DeviceNotOpen = 263,  // no file is open under the alias
        FileNotFound = 275,
        DuplicateAlias = 289,  // a file is already open under the alias
        InvalidFile = 296,     // not a standard MIDI file, or one the player refuses
        FilenameRequired = 304,
    };

    SdlMusicCommands() = default;
    ~SdlMusicCommands() override;
    SdlMusicCommands(const SdlMusicCommands&) = delete;
    SdlMusicCommands& operator=(const SdlMusicCommands&) = delete;

    int send(const QString& command) override;

    bool isOpen() const { return music_ != nullptr; }

private:
    int open(const QString& path);
    int play();
    int stop();
    int close();

    _Mix_Music* music_ = nullptr;
    QByteArray bytes_;  // the open file, which the player reads from while it plays
};

// Points the MIDI decoder at the General MIDI sound font unless SDL_SOUNDFONTS names
// one, and tells whether a sound font file is there to play with.
bool prepareMidiSoundFont();
