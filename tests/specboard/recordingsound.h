#pragma once

// Test doubles of the sound output: both log every call, in order and with its arguments,
// into one shared list, and answer what the test scripted.

#include <QList>
#include <QMap>
#include <QStringList>

#include "musiccommands.h"
#include "sounddevice.h"

class RecordingSoundDevice : public SoundDevice {
public:
    explicit RecordingSoundDevice(QStringList& log) : log_(log) {}

    bool startAnswer = true;
    bool startMusicAnswer = true;
    // Answers of createBuffer in order; once used up, buffers are numbered 1, 2, ...
    QList<BufferResult> bufferAnswers;

    bool start(quintptr window, int mode) override {
        log_ << QStringLiteral("start %1 %2").arg(window).arg(mode);
        return startAnswer;
    }
    bool startMusic() override {
        log_ << QStringLiteral("startMusic");
        return startMusicAnswer;
    }
    // The WAV files of the tests hold short texts, so the log shows which file was read.
    BufferResult createBuffer(const QByteArray& wavBytes, int flags) override {
        log_
            << QStringLiteral("createBuffer \"%1\" %2").arg(QString::fromUtf8(wavBytes)).arg(flags);
        if (!bufferAnswers.isEmpty()) return bufferAnswers.takeFirst();
        return {++made_, {}};
    }
    void play(Buffer buffer) override { log_ << QStringLiteral("play %1").arg(buffer); }
    void stop(Buffer buffer) override { log_ << QStringLiteral("stop %1").arg(buffer); }
    void free(Buffer buffer) override { log_ << QStringLiteral("free %1").arg(buffer); }
    void quitMusic() override { log_ << QStringLiteral("quitMusic"); }
    void quit() override { log_ << QStringLiteral("quit"); }

private:
    QStringList& log_;
    Buffer made_ = 0;
};

class RecordingMusicCommands : public MusicCommands {
public:
    explicit RecordingMusicCommands(QStringList& log) : log_(log) {}

    // Answers by the command's first word ("open", "play", ...); 0 for the rest.
    QMap<QString, int> answers;

    // Quoted, so the trailing blank of the stop command shows.
    int send(const QString& command) override {
        log_ << QStringLiteral("send \"%1\"").arg(command);
        return answers.value(command.section(u' ', 0, 0), 0);
    }

private:
    QStringList& log_;
};
