#include "controltext.h"

#include <cstdio>

#include "checker.h"
#include "linemap.h"
#include "machinefiles.h"
#include "sjis.h"

namespace check {

namespace {

QString shownLine(const QByteArray& line) {
    QString text = sjis::toUnicode(line.left(60));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace

QString controlTextProblem(const QByteArray& text, int lastPrizeIndex, int* line) {
    *line = 0;
    // The simulator and stopboard write CR LF; a text an editor saved with other line ends
    // would differ on every line.
    int n = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            *line = n;
            return QStringLiteral("the line does not end with CR LF");
        }
        if (text[i] == '\r') {
            ++i;  // the LF after it
            ++n;
        }
    }
    if (!text.isEmpty() && !text.endsWith("\r\n")) {
        *line = n;
        return QStringLiteral("the last line does not end with CR LF");
    }

    ControlDocument doc;
    rcf::ReadReport report;
    QString why;
    if (!machinefiles::readControlText(text, lastPrizeIndex, doc, report, &why)) {
        QString rest;
        *line = lineOfReason(why, &rest);
        return QStringLiteral("the text does not read as control data: ") + rest;
    }
    if (report.writtenLastPrizeIndex != lastPrizeIndex) {
        *line = rcflines::FirstAssignment;
        return report.writtenLastPrizeIndex
                   ? QStringLiteral(
                         "the assignment section holds %1 lines, the layout of "
                         "LastPrizeIndex %2, not %3")
                         .arg(report.assignmentLines)
                         .arg(*report.writtenLastPrizeIndex)
                         .arg(lastPrizeIndex)
                   : QStringLiteral(
                         "the assignment section holds %1 lines, which fits no "
                         "LastPrizeIndex (LastPrizeIndex %2 needs %3)")
                         .arg(report.assignmentLines)
                         .arg(lastPrizeIndex)
                         .arg(control::assignmentLineCount(lastPrizeIndex));
    }
    // Every value must come back as written: a value that is not a number is skipped by
    // the reader, a stray blank or comma moves the values after it.
    const QByteArray again = machinefiles::controlText(doc);
    if (again != text) {
        const QList<QByteArray> mine = text.split('\n');
        const QList<QByteArray> theirs = again.split('\n');
        for (qsizetype i = 0; i < std::max(mine.size(), theirs.size()); ++i) {
            const QByteArray a = i < mine.size() ? mine[i] : QByteArray();
            const QByteArray b = i < theirs.size() ? theirs[i] : QByteArray();
            if (a == b) continue;
            *line = int(i + 1);
            return QStringLiteral("%1 does not read back as written: stopboard would write %2")
                .arg(shownLine(a.chopped(a.endsWith('\r') ? 1 : 0)),
                     shownLine(b.chopped(b.endsWith('\r') ? 1 : 0)));
        }
    }
    return {};
}

int unpackCommand(const QString& archivePath, const QString& outPath, QString& err) {
    QByteArray text;
    QString why;
    if (!machinefiles::unpackControlText(archivePath, text, &why)) {
        err += QStringLiteral("%1: error: cannot unpack: %2\n").arg(archivePath, why);
        return 1;
    }
    if (outPath.isEmpty()) {
        if (std::fwrite(text.constData(), 1, size_t(text.size()), stdout) != size_t(text.size()) ||
            std::fflush(stdout) != 0) {
            err += QStringLiteral("error: cannot write the text to standard output\n");
            return 1;
        }
        return 0;
    }
    if (!machinefiles::writeBytes(outPath, text, &why)) {
        err += QStringLiteral("%1: error: cannot write: %2\n").arg(outPath, why);
        return 1;
    }
    return 0;
}

int packCommand(const QString& textPath, const QString& outPath, int lastPrizeIndex, QString& err) {
    QByteArray text;
    QString why;
    if (!machinefiles::readBytes(textPath, text, &why)) {
        err += QStringLiteral("%1: error: cannot read: %2\n").arg(textPath, why);
        return 1;
    }
    int line = 0;
    if (const QString problem = controlTextProblem(text, lastPrizeIndex, &line);
        !problem.isEmpty()) {
        err += textPath + (line > 0 ? QStringLiteral(":%1").arg(line) : QString()) +
               QStringLiteral(": error: ") + problem + QStringLiteral("; nothing written\n");
        return 1;
    }
    const QByteArray archive = machinefiles::packControlText(text, &why);
    if (archive.isEmpty() || !machinefiles::writeBytes(outPath, archive, &why)) {
        err += QStringLiteral("%1: error: cannot write: %2\n").arg(outPath, why);
        return 1;
    }
    return 0;
}

}  // namespace check
