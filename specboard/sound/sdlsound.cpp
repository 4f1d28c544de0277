#include "sdlsound.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include "soundfile.h"
#include "soundrules.h"
#include "soundthread.h"

namespace {

// The mixer's buffer, 23 ms: a WAV stopped waits for at most one buffer being mixed, and
// closing the mixer waits for about two.
constexpr int MixerChunkSize = 1024;
constexpr int SoundChannels = 16;  // WAV sounds that may play at once

// ---- the mixer ----

// The WAV device and the MIDI synth each hold the mixer open while they need it; the mixer's
// own open count is not relied on, as a second open with other settings closes it. The
// synth takes and leaves it on the sound thread, the device on the window's, and the last
// one out closes it on the sound thread: closing waits for the mixer's own thread.
struct Mixer {
    std::mutex lock;
    std::condition_variable closed;
    int users = 0;
    bool open = false;
    bool closing = false;
};

// Never destroyed: a sound thread still closing the mixer as the program ends uses it.
Mixer& mixer() {
    static Mixer* const m = new Mixer;
    return *m;
}

QString mixerError() { return QString::fromUtf8(Mix_GetError()); }

bool acquireMixer(QString* why = nullptr) {
    Mixer& m = mixer();
    std::unique_lock<std::mutex> hold(m.lock);
    m.closed.wait(hold, [&] { return !m.closing; });
    if (m.open) {
        ++m.users;
        return true;
    }
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // the editor's window handles quitting
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (why) *why = QString::fromUtf8(SDL_GetError());
        return false;
    }
    if (Mix_OpenAudio(soundrules::MixerRate, MIX_DEFAULT_FORMAT, soundrules::MixerChannels,
                      MixerChunkSize) != 0) {
        if (why) *why = mixerError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(SoundChannels);
    m.open = true;
    m.users = 1;
    return true;
}

void closeMixerIfUnused() {
    Mixer& m = mixer();
    {
        const std::lock_guard<std::mutex> hold(m.lock);
        if (!m.open || m.users > 0) return;  // taken again since
        m.closing = true;
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    {
        const std::lock_guard<std::mutex> hold(m.lock);
        m.open = false;
        m.closing = false;
    }
    m.closed.notify_all();
}

void releaseMixer() {
    Mixer& m = mixer();
    {
        const std::lock_guard<std::mutex> hold(m.lock);
        if (m.users == 0 || --m.users > 0) return;
    }
    soundthread::post(closeMixerIfUnused);
}

// ---- the synthesizer ----

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

// The sound font setting is one text the synthesizer reads while it loads a tune.
std::mutex soundFontLock;

bool prepareSoundFontLocked() {
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

// The synthesizer writes a line to standard error for every note it cannot give a voice,
// from the mixer's thread: a dense tune writes millions. A few lines of each tune are let
// through and the rest counted.
constexpr int SynthLinesPerTune = 5;
std::atomic<int> synthLines{0};
std::atomic<long> synthLinesDropped{0};

void synthLog(int level, const char* message, void*) {
    if (synthLines.fetch_add(1) >= SynthLinesPerTune) {
        ++synthLinesDropped;
        return;
    }
    const char* kind = level <= FLUID_ERR ? "error" : level == FLUID_WARN ? "warning" : "info";
    std::fprintf(stderr, "fluidsynth: %s: %s\n", kind, message ? message : "");
}

void keepSynthQuiet() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN})
            fluid_set_log_function(level, synthLog, nullptr);
    });
}

void endSynthLines() {
    if (const long dropped = synthLinesDropped.exchange(0); dropped > 0)
        std::fprintf(stderr, "fluidsynth: %ld more messages of the tune not shown\n", dropped);
    synthLines = 0;
}

class SdlMusicSynth : public MusicSynth {
public:
    ~SdlMusicSynth() override { unload(); }

    void load(const QByteArray& midi) override {
        unload();
        if (!acquireMixer()) return;
        keepSynthQuiet();
        const std::lock_guard<std::mutex> hold(soundFontLock);
        prepareSoundFontLocked();
        music_ =
            Mix_LoadMUSType_RW(SDL_RWFromConstMem(midi.constData(), int(midi.size())), MUS_MID, 1);
        if (!music_) {
            releaseMixer();
            return;
        }
        bytes_ = midi;
    }

    void play() override {
        if (music_) Mix_PlayMusic(music_, 0);
    }

    void halt() override {
        if (music_) Mix_HaltMusic();
    }

    void unload() override {
        if (!music_) return;
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
        bytes_.clear();
        endSynthLines();
        releaseMixer();
    }

private:
    Mix_Music* music_ = nullptr;
    QByteArray bytes_;  // the file, which the synthesizer may read from while it plays
};

}  // namespace

bool prepareMidiSoundFont() {
    const std::lock_guard<std::mutex> hold(soundFontLock);
    return prepareSoundFontLocked();
}

// ---- SdlSoundDevice ----

SdlSoundDevice::~SdlSoundDevice() { quit(); }

bool SdlSoundDevice::start(quintptr, int) {
    if (!open_) {
        failure_.clear();
        open_ = acquireMixer(&failure_);
    }
    return open_;
}

bool SdlSoundDevice::startMusic() {
    failure_.clear();
    if ((Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) == 0) {
        failure_ = mixerError();
        return false;
    }
    if (!prepareMidiSoundFont()) {
        failure_ = QStringLiteral("No General MIDI sound font found (SDL_SOUNDFONTS or %1)")
                       .arg(QString::fromLatin1(SoundFontPaths[0]));
        return false;
    }
    return true;
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
    for (auto& [handle, entry] : buffers_)
        if ((handle == buffer || entry.released) && entryPlaying(entry))
            Mix_HaltChannel(entry.channel);
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

SdlMusicCommands::SdlMusicCommands(std::unique_ptr<MusicSynth> synth)
    : synth_(synth ? std::move(synth) : std::make_unique<SdlMusicSynth>()) {}

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
    if (open_) return DuplicateAlias;
    if (!QFileInfo::exists(path)) return FileNotFound;
    QByteArray bytes;
    if (!readSoundFile(path, bytes, nullptr, soundrules::MaxMidiFileBytes)) return InvalidFile;
    // The sequencer plays standard MIDI files only; the decoder itself takes anything. A
    // tune past the bounds never reaches the synthesizer.
    if (!bytes.startsWith("MThd") || soundrules::midiRefusal(bytes)) return InvalidFile;
    tag_ = soundthread::newTag();
    soundthread::post([synth = synth_, bytes] { synth->load(bytes); }, tag_);
    open_ = true;
    return 0;
}

int SdlMusicCommands::play() {
    if (!open_) return DeviceNotOpen;
    soundthread::post([synth = synth_] { synth->play(); }, tag_);
    return 0;
}

int SdlMusicCommands::stop() {
    if (!open_) return DeviceNotOpen;
    soundthread::post([synth = synth_] { synth->halt(); }, tag_);
    return 0;
}

int SdlMusicCommands::close() {
    if (!open_) return DeviceNotOpen;
    // What the file had still waiting is moot; a tune already loaded is freed.
    soundthread::cancel(tag_);
    soundthread::post([synth = synth_] { synth->unload(); });
    open_ = false;
    return 0;
}
