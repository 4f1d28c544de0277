#include "sdlsound.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_mixer.h>

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "soundfile.h"

namespace {

constexpr int MixerRate = 44100;
constexpr int MixerChannels = 2;
constexpr int MixerChunkSize = 2048;
constexpr int SoundChannels = 16;  // WAV sounds that may play at once

// The WAV device and the MIDI commands each hold the mixer open while they need it; the
// mixer's own open count is not relied on, as a second open with other settings closes it.
int mixerUsers = 0;

bool acquireMixer() {
    if (mixerUsers > 0) {
        ++mixerUsers;
        return true;
    }
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // the editor's window handles quitting
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(MixerRate, MIX_DEFAULT_FORMAT, MixerChannels, MixerChunkSize) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(SoundChannels);
    mixerUsers = 1;
    return true;
}

void releaseMixer() {
    if (mixerUsers == 0) return;
    if (--mixerUsers > 0) return;
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

QString mixerError() { return QString::fromUtf8(Mix_GetError()); }

// Where Debian puts the General MIDI sound font of timgm6mb-soundfont, and the default
// sound font links that point at whichever one is installed.
const char* const SoundFontPaths[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
};

int SDLCALL soundFontExists(const char* path, void*) {
    return QFileInfo(QFile::decodeName(path)).isFile() ? 1 : 0;
}

}  // namespace

bool prepareMidiSoundFont() {
    const char* fromEnvironment = SDL_getenv("SDL_SOUNDFONTS");
    if (!fromEnvironment || !*fromEnvironment) {
        for (const char* path : SoundFontPaths) {
            if (soundFontExists(path, nullptr)) {
                Mix_SetSoundFonts(path);
                break;
            }
        }
    }
    return Mix_EachSoundFont(soundFontExists, nullptr) != 0;
}

// ---- SdlSoundDevice ----

SdlSoundDevice::~SdlSoundDevice() { quit(); }

bool SdlSoundDevice::start(quintptr, int) {
    if (!open_) open_ = acquireMixer();
    return open_;
}

bool SdlSoundDevice::startMusic() {
    const bool decoder = (Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) != 0;
    return prepareMidiSoundFont() && decoder;
}

SoundDevice::BufferResult SdlSoundDevice::createBuffer(const QByteArray& wavBytes, int) {
    sweep();
    if (!open_) return {};
    Mix_Chunk* chunk =
        Mix_LoadWAV_RW(SDL_RWFromConstMem(wavBytes.constData(), int(wavBytes.size())), 1);
    if (!chunk) return {0, mixerError()};
    const Buffer handle = nextHandle();
    buffers_[handle].chunk = chunk;
    return {handle, {}};
}

SoundDevice::Buffer SdlSoundDevice::nextHandle() {
    do {
        lastHandle_ = lastHandle_ == INT32_MAX ? 1 : lastHandle_ + 1;
    } while (buffers_.count(lastHandle_));
    return lastHandle_;
}

bool SdlSoundDevice::entryPlaying(const Entry& entry) const {
    return open_ && entry.channel >= 0 && Mix_Playing(entry.channel) &&
           Mix_GetChunk(entry.channel) == entry.chunk;
}

bool SdlSoundDevice::isPlaying(Buffer buffer) const {
    const auto it = buffers_.find(buffer);
    return it != buffers_.end() && entryPlaying(it->second);
}

void SdlSoundDevice::play(Buffer buffer) {
    sweep();
    const auto it = buffers_.find(buffer);
    if (it == buffers_.end() || it->second.released) return;
    Entry& entry = it->second;
    // A buffer plays once at a time: playing it again while it sounds restarts it.
    if (entryPlaying(entry))
        Mix_PlayChannel(entry.channel, entry.chunk, 0);
    else
        entry.channel = Mix_PlayChannel(-1, entry.chunk, 0);  // -1: every channel is busy
}

void SdlSoundDevice::stop(Buffer buffer) {
    const auto it = buffers_.find(buffer);
    if (it != buffers_.end() && entryPlaying(it->second)) Mix_HaltChannel(it->second.channel);
    sweep();
}

void SdlSoundDevice::free(Buffer buffer) {
    const auto it = buffers_.find(buffer);
    if (it != buffers_.end()) it->second.released = true;
    sweep();
}

void SdlSoundDevice::sweep() {
    for (auto it = buffers_.begin(); it != buffers_.end();) {
        if (it->second.released && !entryPlaying(it->second)) {
            Mix_FreeChunk(it->second.chunk);
            it = buffers_.erase(it);
        } else {
            ++it;
        }
    }
}

void SdlSoundDevice::quitMusic() {}

void SdlSoundDevice::quit() {
    // Freeing a chunk halts the channels that play it; nothing waits for a sound to end.
    for (auto& [handle, entry] : buffers_) Mix_FreeChunk(entry.chunk);
    buffers_.clear();
    if (open_) releaseMixer();
    open_ = false;
}

// ---- SdlMusicCommands ----

SdlMusicCommands::~SdlMusicCommands() { close(); }

int SdlMusicCommands::send(const QString& command) {
    const QString words = command.simplified();
    if (words.compare(QLatin1String("stop midifile"), Qt::CaseInsensitive) == 0) return stop();
    if (words.compare(QLatin1String("close midifile"), Qt::CaseInsensitive) == 0) return close();
    if (words.compare(QLatin1String("play midifile from 0"), Qt::CaseInsensitive) == 0)
        return play();
    // The path between the two is taken as it stands: it may hold blanks and is not quoted.
    const QLatin1String head("open ");
    const QLatin1String tail(" type sequencer alias midifile");
    if (command.startsWith(head, Qt::CaseInsensitive) &&
        command.endsWith(tail, Qt::CaseInsensitive)) {
        if (command.size() <= head.size() + tail.size()) return FilenameRequired;
        return open(command.mid(head.size(), command.size() - head.size() - tail.size()));
    }
    return UnrecognizedCommand;
}

int SdlMusicCommands::open(const QString& path) {
    if (music_) return DuplicateAlias;
    if (!QFileInfo::exists(path)) return FileNotFound;
    QByteArray bytes;
    if (!readSoundFile(path, bytes, nullptr)) return InvalidFile;
    // The sequencer plays standard MIDI files only; the decoder itself takes anything.
    if (!bytes.startsWith("MThd")) return InvalidFile;
    if (!acquireMixer()) return Hardware;
    prepareMidiSoundFont();
    Mix_Music* music =
        Mix_LoadMUSType_RW(SDL_RWFromConstMem(bytes.constData(), int(bytes.size())), MUS_MID, 1);
    if (!music) {
        releaseMixer();
        return InvalidFile;
    }
    music_ = music;
    bytes_ = std::move(bytes);
    return 0;
}

int SdlMusicCommands::play() {
    if (!music_) return DeviceNotOpen;
    return Mix_PlayMusic(music_, 0) == 0 ? 0 : int(Hardware);
}

int SdlMusicCommands::stop() {
    if (!music_) return DeviceNotOpen;
    Mix_HaltMusic();
    return 0;
}

int SdlMusicCommands::close() {
    if (!music_) return DeviceNotOpen;
    Mix_HaltMusic();
    Mix_FreeMusic(music_);
    music_ = nullptr;
    bytes_.clear();
    releaseMixer();
    return 0;
}
