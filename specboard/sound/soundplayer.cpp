#include "soundplayer.h"

#include <QDir>
#include <QFileInfo>

#include "filelookup.h"
#include "soundfile.h"
#include "soundmessages.h"
#include "soundrules.h"

SoundPlayer::SoundPlayer(SoundDevice& device, MusicCommands& music, Dialogs& dialogs,
                         QWidget* parent, const QString& title)
    : device_(device), music_(music), dialogs_(dialogs), parent_(parent), title_(title) {}

void SoundPlayer::show(const QString& text, Dialogs::Icon icon, const QString& detail) {
    dialogs_.message(parent_, title_, text, icon, Dialogs::Buttons::Ok, detail);
}

void SoundPlayer::start(quintptr window) {
    if (!device_.start(window, DeviceMode))
        show(QStringLiteral("DirectSoundは使えません。"), Dialogs::Icon::None,
             device_.failureReason());
    else if (!device_.startMusic())
        show(QStringLiteral("DirectMusicは使えません。"), Dialogs::Icon::None,
             device_.failureReason());
}

int SoundPlayer::play(const QString& soundNumberText, const QString& fileName,
                      const QString& folder) {
    bool isNumber = false;
    const qlonglong number = soundNumberText.toLongLong(&isNumber);
    if (!isNumber || number == 0) return 0;
    // The last letter decides, case and all: "BELL.WAV" plays nothing.
    if (fileName.endsWith(u'v')) {
        playWav(fileName, folder);
        return 0;
    }
    if (fileName.endsWith(u'd')) return playMidi(fileName, folder);
    return 0;
}

void SoundPlayer::playWav(const QString& name, const QString& folder) {
    // A buffer for every play would make a long session grow; a sound still playing
    // from the old one plays on.
    if (currentBuffer_ != 0) device_.free(currentBuffer_);
    currentBuffer_ = 0;
    const QString path = findFileInFolder(folder, name);
    if (!path.isEmpty()) {
        const QString shown = QFileInfo(path).absoluteFilePath();
        QByteArray bytes;
        QString why;
        if (!readSoundFile(path, bytes, &why, soundrules::MaxWavFileBytes)) {
            show(why, Dialogs::Icon::Warning, shown);
        } else if (const auto refused = soundrules::wavRefusal(bytes)) {
            // Decoded whole to the mixer's samples, it would fill the editor's memory.
            show(refusalMessage(*refused), Dialogs::Icon::Warning, shown);
        } else {
            const SoundDevice::BufferResult made = device_.createBuffer(bytes, BufferFlags);
            currentBuffer_ = made.handle;
            if (made.handle == 0 && !made.error.isEmpty())
                show(soundReasonInJapanese(made.error), Dialogs::Icon::Warning,
                     shown + u'\n' + made.error);
        }
    }
    device_.play(currentBuffer_);
}

int SoundPlayer::playMidi(const QString& name, const QString& folder) {
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
            show(why, Dialogs::Icon::Warning, shown);
            return midi::InvalidFile;
        }
        if (const auto refused = soundrules::midiRefusal(bytes)) {
            show(refusalMessage(*refused), Dialogs::Icon::Warning, shown);
            return midi::InvalidFile;
        }
    }
    const QString path = !found.isEmpty()   ? QFileInfo(found).absoluteFilePath()
                         : folder.isEmpty() ? name
                                            : QDir(folder).filePath(name);
    if (const int opened = music_.send(midi::openCommand(path)); opened != 0) return opened;
    return music_.send(midi::playCommand());
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
