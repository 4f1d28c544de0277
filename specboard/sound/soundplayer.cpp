#include "soundplayer.h"

#include <QDir>
#include <QFileInfo>

#include "filelookup.h"
#include "soundfile.h"
#include "soundmessages.h"
#include "soundrules.h"

SoundPlayer::SoundPlayer(SoundDevice& device, MusicCommands& music)
    : device_(device), music_(music) {}

std::optional<SoundFailure> SoundPlayer::start(quintptr window) {
    if (!device_.start(window, DeviceMode))
        return SoundFailure{QStringLiteral("DirectSoundは使えません。"), device_.failureReason(),
                            false};
    if (!device_.startMusic())
        return SoundFailure{QStringLiteral("DirectMusicは使えません。"), device_.failureReason(),
                            false};
    return std::nullopt;
}

SoundPlayer::PlayResult SoundPlayer::play(const QString& soundNumberText, const QString& fileName,
                                          const QString& folder) {
    bool isNumber = false;
    const qlonglong number = soundNumberText.toLongLong(&isNumber);
    if (!isNumber || number == 0) return {};
    // The last letter decides, case and all: "BELL.WAV" plays nothing.
    if (fileName.endsWith(u'v')) return {0, playWav(fileName, folder)};
    if (fileName.endsWith(u'd')) return playMidi(fileName, folder);
    return {};
}

std::optional<SoundFailure> SoundPlayer::playWav(const QString& name, const QString& folder) {
    // A buffer for every play would make a long session grow; a sound still playing
    // from the old one plays on.
    if (currentBuffer_ != 0) device_.free(currentBuffer_);
    currentBuffer_ = 0;
    std::optional<SoundFailure> failure;
    const QString path = findFileInFolder(folder, name);
    if (!path.isEmpty()) {
        const QString shown = QFileInfo(path).absoluteFilePath();
        QByteArray bytes;
        QString why;
        if (!readSoundFile(path, bytes, &why, soundrules::MaxWavFileBytes)) {
            failure = SoundFailure{why, shown};
        } else if (const auto refused = soundrules::wavRefusal(bytes)) {
            // Decoded whole to the mixer's samples, it would fill the editor's memory.
            failure = SoundFailure{refusalMessage(*refused), shown};
        } else {
            const SoundDevice::BufferResult made = device_.createBuffer(bytes, BufferFlags);
            currentBuffer_ = made.handle;
            if (made.handle == 0 && !made.error.isEmpty())
                failure =
                    SoundFailure{soundReasonInJapanese(made.error), shown + u'\n' + made.error};
        }
    }
    device_.play(currentBuffer_);
    return failure;
}

SoundPlayer::PlayResult SoundPlayer::playMidi(const QString& name, const QString& folder) {
    music_.send(midi::stopCommand());
    music_.send(midi::closeCommand());
    // A file that is not there still goes to the command interface, which answers it.
    const QString found = findFileInFolder(folder, name);
    if (!found.isEmpty()) {
        // A tune past the bounds would hold the synthesizer for minutes: it is refused
        // before the command interface sees it.
        const QString shown = QFileInfo(found).absoluteFilePath();
        QByteArray bytes;
        QString why;
        if (!readSoundFile(found, bytes, &why, soundrules::MaxMidiFileBytes)) {
            return {midi::InvalidFile, SoundFailure{why, shown}};
        }
        if (const auto refused = soundrules::midiRefusal(bytes)) {
            return {midi::InvalidFile, SoundFailure{refusalMessage(*refused), shown}};
        }
    }
    const QString path = !found.isEmpty()   ? QFileInfo(found).absoluteFilePath()
                         : folder.isEmpty() ? name
                                            : QDir(folder).filePath(name);
    if (const int opened = music_.send(midi::openCommand(path)); opened != 0) return {opened, {}};
    return {music_.send(midi::playCommand()), {}};
}

void SoundPlayer::stop() {
    // A stopped sound is never played again (Play makes a new buffer), so its samples go.
    device_.stop(currentBuffer_);
    if (currentBuffer_ != 0) device_.free(currentBuffer_);
    currentBuffer_ = 0;
    music_.send(midi::stopCommand());
    music_.send(midi::closeCommand());
}

void SoundPlayer::shutDown() {
    device_.free(currentBuffer_);
    currentBuffer_ = 0;
    device_.quitMusic();
    device_.quit();
    music_.send(midi::stopCommand());
    music_.send(midi::closeCommand());
}
