#include "linemap.h"

namespace check {

namespace {

QByteArrayView trimmedStart(QByteArrayView line) {
    while (!line.isEmpty() && line.front() == ' ') line = line.sliced(1);
    return line;
}

// Lines of the machine data section: Gensan to the last pay line.
constexpr int MachineSectionLines = 556;
// Lines of the sound table section after its header.
constexpr int SoundSectionLines = 682;

}  // namespace

TextLines::TextLines(const QByteArray& bytes) : bytes_(bytes) {
    const char* d = bytes_.constData();
    const qsizetype n = bytes_.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (d[i] != '\r' && d[i] != '\n') continue;
        starts_.append(start);
        ends_.append(i);
        if (d[i] == '\r' && i + 1 < n && d[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) {
        starts_.append(start);
        ends_.append(n);
    }
}

QByteArray TextLines::line(int n) const {
    if (n < 1 || n > count()) return {};
    return bytes_.mid(starts_[n - 1], ends_[n - 1] - starts_[n - 1]);
}

int TextLines::find(const char* text, int from) const {
    const QByteArrayView wanted(text);
    for (int n = std::max(from, 1); n <= count(); ++n) {
        const QByteArrayView line(bytes_.constData() + starts_[n - 1],
                                  ends_[n - 1] - starts_[n - 1]);
        if (trimmedStart(line) == wanted) return n;
    }
    return 0;
}

int TextLines::findHeader(int from) const {
    for (int n = std::max(from, 1); n <= count(); ++n) {
        const QByteArrayView line(bytes_.constData() + starts_[n - 1],
                                  ends_[n - 1] - starts_[n - 1]);
        if (trimmedStart(line).startsWith('#')) return n;
    }
    return 0;
}

SdfLines::SdfLines(const TextLines& text) {
    if (const int n = text.find("# pics name")) namesHeader = n;
    if (const int n = text.find("# number of prize", namesHeader)) prizeCountHeader = n;
    if (const int n = text.find("# prize composition", prizeCountHeader)) prizeHeader = n;
}

OrfLines::OrfLines(const TextLines& text) {
    // The reader skips to the first item beginning with "#", then after the description
    // to the next one, and after the machine data to the next one; the header of the
    // last section is the one line after the sound tables.
    if (const int n = text.findHeader()) filesHeader = n;
    const int end = text.find("End Of Exp", filesHeader + 6);
    machineHeader = end ? text.findHeader(end + 1) : filesHeader + 10;
    if (machineHeader == 0) machineHeader = end + 1;
    const int sound = text.findHeader(machineHeader + MachineSectionLines + 1);
    soundHeader = sound ? sound : machineHeader + MachineSectionLines + 1;
    effectHeader = soundHeader + SoundSectionLines + 1;
}

}  // namespace check
