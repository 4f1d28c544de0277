#include "controltext.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <optional>

#include "checker.h"
#include "linemap.h"
#include "machinefiles.h"
#include "sjis.h"

namespace check {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(ControlText)
};

QString shownLine(const QByteArray& line) {
    QString text = sjis::toUnicode(line.left(60));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// How a file argument is named in a message.
QString shownInput(const QString& path) {
    return path == QLatin1String("-") ? Text::tr("(standard input)") : path;
}
QString shownOutput(const QString& path) {
    return path == QLatin1String("-") ? Text::tr("(standard output)") : path;
}

// Why `out` is not written: it is the input itself (under any name or link: the input
// would be lost), or it exists and --force was not given. Empty when it may be written.
QString outputProblem(const QString& in, const QString& out, bool force) {
    const std::optional<FileIdentity> input = machinefiles::regularFileIdentity(in, STDIN_FILENO);
    const bool toStdout = out == QLatin1String("-");
    if (input && input == machinefiles::regularFileIdentity(out, STDOUT_FILENO))
        return Text::tr("%1: error: the output is the input %2 itself; nothing written\n")
            .arg(shownOutput(out), shownInput(in));
    if (toStdout) return {};
    struct stat st {};
    const QByteArray native = QFile::encodeName(out);
    if (::lstat(native.constData(), &st) != 0) return {};  // nothing there, or the write says why
    if (::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return Text::tr("%1: error: is a folder; nothing written\n").arg(out);
    if (!force) return Text::tr("%1: error: already exists; give --force to replace it\n").arg(out);
    return {};
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
            return Text::tr("the line does not end with CR LF");
        }
        if (text[i] == '\r') {
            ++i;  // the LF after it
            ++n;
        }
    }
    if (!text.isEmpty() && !text.endsWith("\r\n")) {
        *line = n;
        return Text::tr("the last line does not end with CR LF");
    }

    ControlDocument doc;
    rcf::ReadReport report;
    QString why;
    if (!machinefiles::readControlText(text, lastPrizeIndex, doc, report, &why)) {
        QString rest;
        *line = lineOfReason(why, &rest);
        return Text::tr("the text does not read as control data: ") + rest;
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
            return Text::tr("%1 does not read back as written: stopboard would write %2")
                .arg(shownLine(a.chopped(a.endsWith('\r') ? 1 : 0)),
                     shownLine(b.chopped(b.endsWith('\r') ? 1 : 0)));
        }
    }
    // The values the checker refuses in a .rcf are refused before they are packed into one.
    Findings findings;
    checkControlValues(findings, QString(), doc);
    for (const Finding& f : findings.sorted())
        if (f.severity == Severity::Error) {
            *line = f.line;
            return f.text;
        }
    return {};
}

int unpackCommand(const QString& archivePath, const QString& outPath, bool force, QString& err) {
    const QString out = outPath.isEmpty() ? QStringLiteral("-") : outPath;
    QByteArray text;
    QString why;
    if (!machinefiles::unpackControlText(archivePath, text, &why)) {
        err += Text::tr("%1: error: cannot unpack: %2\n").arg(shownInput(archivePath), why);
        return 1;
    }
    if (const QString problem = outputProblem(archivePath, out, force); !problem.isEmpty()) {
        err += problem;
        return 1;
    }
    if (!machinefiles::writeOutput(out, text, &why)) {
        err += Text::tr("%1: error: cannot write: %2\n").arg(shownOutput(out), why);
        return 1;
    }
    return 0;
}

int packCommand(const QString& textPath, const QString& outPath, int lastPrizeIndex, bool force,
                QString& err) {
    QByteArray text;
    QString why;
    if (!machinefiles::readInput(textPath, text, &why)) {
        err += Text::tr("%1: error: cannot read: %2\n").arg(shownInput(textPath), why);
        return 1;
    }
    if (const QString problem = outputProblem(textPath, outPath, force); !problem.isEmpty()) {
        err += problem;
        return 1;
    }
    // An archive is no text for a terminal; gzip asks for --force likewise.
    if (outPath == QLatin1String("-") && !force && ::isatty(STDOUT_FILENO)) {
        err += QStringLiteral(
            "error: the archive is not written to a terminal: redirect "
            "standard output, or give --force\n");
        return 1;
    }
    int line = 0;
    if (const QString problem = controlTextProblem(text, lastPrizeIndex, &line);
        !problem.isEmpty()) {
        err += shownInput(textPath) + (line > 0 ? QStringLiteral(":%1").arg(line) : QString()) +
               Text::tr(": error: ") + problem + Text::tr("; nothing written\n");
        return 1;
    }
    const QByteArray archive = machinefiles::packControlText(text, &why);
    if (archive.isEmpty() || !machinefiles::writeOutput(outPath, archive, &why)) {
        err += Text::tr("%1: error: cannot write: %2\n").arg(shownOutput(outPath), why);
        return 1;
    }
    return 0;
}

}  // namespace check
