#include "soundmessages.h"

#include <QStringList>

using soundrules::Fault;

QString refusalMessage(const soundrules::SoundFault& fault) {
    switch (fault.kind) {
        case Fault::RateTooLow:
            return QStringLiteral(
                       "WAVファイルのサンプリング周波数が %1 Hz しかありません。%2 Hz "
                       "未満の音は再生できません。")
                .arg(fault.found)
                .arg(fault.limit);
        case Fault::TooLongForMixer:
            return QStringLiteral(
                       "WAVファイルが長すぎます。再生用に変換すると %1 MB になり、上限の "
                       "%2 MB を超えます。")
                .arg((fault.found + (1 << 20) - 1) >> 20)
                .arg(fault.limit >> 20);
        case Fault::MidiTooLarge:
            return QStringLiteral(
                       "MIDIファイルが大きすぎます（%1 バイト）。再生できるのは %2 "
                       "バイトまでです。")
                .arg(fault.found)
                .arg(fault.limit);
        case Fault::NotesTooDense:
            return QStringLiteral(
                       "MIDIファイルの音符が密集しすぎています。%1 ミリ秒の間に %2 "
                       "個の音が鳴り始めます（再生できるのは %3 個までです）。")
                .arg(soundrules::NoteWindowMs)
                .arg(fault.found)
                .arg(fault.limit);
        default:
            return QStringLiteral("この音声ファイルは再生できません。");
    }
}

QString soundReasonInJapanese(const QString& reason) {
    // The mixer's and the WAV reader's reasons, by the words they use; the first match wins.
    struct Meaning {
        QStringList words;
        const char16_t* text;
    };
    static const Meaning meanings[] = {
        {{"out of memory"}, u"メモリが足りません。"},
        {{"truncat", "unexpected end", "could not read", "could not seek"},
         u"WAVファイルが途中で切れています。"},
        {{"not a waveform", "could not find riff", "unrecognized audio format"},
         u"WAVファイルではありません。"},
        {{"sample rate"}, u"WAVファイルのサンプリング周波数が正しくありません。"},
        {{"unknown wave format", "not supported", "unsupported"},
         u"この形式のWAVファイルには対応していません。"},
        {{"too big", "exceeds limit"}, u"WAVファイルが大きすぎます。"},
        {{"chunk", "invalid", "missing", "wave"}, u"WAVファイルの中身が壊れています。"},
        {{"audio device", "audio subsystem", "audio not open"}, u"サウンドデバイスが使えません。"},
    };
    for (const Meaning& m : meanings)
        for (const QString& word : m.words)
            if (reason.contains(word, Qt::CaseInsensitive)) return QString::fromUtf16(m.text);
    return QStringLiteral("WAVファイルを再生できません。");
}
