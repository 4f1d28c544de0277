// machinecheck: checks a machine folder with the editors' own readers, and moves the
// control data of a .rcf between its archive and a text.

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "checker.h"
#include "controltext.h"
#include "findings.h"
#include "savefile.h"

namespace {

const char Usage[] =
    "Usage: machinecheck check FOLDER [--json]\n"
    "       machinecheck unpack FILE.rcf [OUT.txt] [--force]\n"
    "       machinecheck pack TEXT OUT.rcf --lpi N [--force]\n"
    "       machinecheck --help\n";

const char Help[] =
    "\n"
    "Checks the files of one machine folder as the four editors read them, and moves the\n"
    "control data of a reel control file (.rcf) between its archive and a text.\n"
    "\n"
    "check FOLDER [--json]\n"
    "    Reads the .orf files of FOLDER and the .sdf, .rcf and .ppf files each names (with no\n"
    "    .orf, every .sdf, .rcf and .ppf there), and the pictures and sounds they name.\n"
    "    Reports, one line each as \"file:line: error|warning: text\": files the editors refuse;\n"
    "    a .rcf or .orf laid out for another LastPrizeIndex than the .sdf's; named files that\n"
    "    are missing, found only in another case, or no file at all (a FIFO, a device, a\n"
    "    folder); pictures and sounds that cannot be decoded; values outside what the\n"
    "    editors accept. Line numbers of a .rcf are lines of its \"dummy.dat\" text (see\n"
    "    unpack). A summary goes to standard error.\n"
    "    --json  print the findings as a JSON list of objects with \"file\", \"line\" (0 when\n"
    "            there is none), \"severity\" and \"message\"\n"
    "\n"
    "unpack FILE.rcf [OUT.txt] [--force]\n"
    "    Writes the archive's \"dummy.dat\" text, byte for byte, to OUT.txt or to standard\n"
    "    output.\n"
    "\n"
    "pack TEXT OUT.rcf --lpi N [--force]\n"
    "    Packs TEXT into a new archive OUT.rcf as its \"dummy.dat\", after checking that it\n"
    "    reads as control data laid out for LastPrizeIndex N (the number under \"# number of\n"
    "    prize\" in the machine's .sdf, 0 to 19) and that stopboard writes it back byte for\n"
    "    byte. Nothing is written when the check fails.\n"
    "\n"
    "For unpack and pack, \"-\" as FILE.rcf or TEXT reads standard input, and as OUT.txt or\n"
    "OUT.rcf writes standard output. An output that is the input (by any name or link) is\n"
    "never written. An existing output is replaced only with --force (-f), which also lets\n"
    "pack write its archive to a terminal.\n"
    "\n"
    "Exit status: 0 no errors (warnings allowed), 1 errors found or unpack/pack failed,\n"
    "2 usage error or a folder that cannot be read.\n";

void print(std::FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

int usageError(const QString& why) {
    print(stderr, QStringLiteral("machinecheck: %1\n").arg(why));
    std::fputs(Usage, stderr);
    return 2;
}

int runCheck(const QStringList& args) {
    QString folder;
    bool json = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--json"))
            json = true;
        else if (a.startsWith(u'-') && a.size() > 1)
            return usageError(QStringLiteral("unknown option %1 for check").arg(a));
        else if (folder.isEmpty())
            folder = a;
        else
            return usageError(QStringLiteral("check takes one folder"));
    }
    if (folder.isEmpty()) return usageError(QStringLiteral("check needs a FOLDER"));
    check::Findings findings;
    QString error;
    if (!check::checkFolder(folder, findings, &error)) {
        print(stderr, QStringLiteral("machinecheck: %1\n").arg(error));
        return 2;
    }
    const QList<check::Finding> list = findings.sorted();
    if (json) {
        const QByteArray bytes = check::formatJson(list);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    } else {
        print(stdout, check::formatText(list));
    }
    const int errors = findings.count(check::Severity::Error);
    const int warnings = findings.count(check::Severity::Warning);
    print(stderr, QStringLiteral("machinecheck: %1: %2 error%3, %4 warning%5\n")
                      .arg(folder)
                      .arg(errors)
                      .arg(errors == 1 ? "" : "s")
                      .arg(warnings)
                      .arg(warnings == 1 ? "" : "s"));
    return errors > 0 ? 1 : 0;
}

bool isForce(const QString& arg) {
    return arg == QLatin1String("--force") || arg == QLatin1String("-f");
}

int runUnpack(const QStringList& args) {
    QStringList files;
    bool force = false;
    for (const QString& a : args) {
        if (isForce(a))
            force = true;
        else if (a.startsWith(u'-') && a.size() > 1)
            return usageError(QStringLiteral("unknown option %1 for unpack").arg(a));
        else
            files << a;
    }
    if (files.isEmpty() || files.size() > 2)
        return usageError(QStringLiteral("unpack takes FILE.rcf and at most one OUT.txt"));
    QString err;
    const int status = check::unpackCommand(files[0], files.value(1), force, err);
    print(stderr, err);
    return status;
}

int runPack(const QStringList& args) {
    QStringList files;
    QString lpi;
    bool force = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (isForce(a)) {
            force = true;
        } else if (a == QLatin1String("--lpi")) {
            if (i + 1 >= args.size()) return usageError(QStringLiteral("--lpi needs a number"));
            lpi = args[++i];
        } else if (a.startsWith(QLatin1String("--lpi="))) {
            lpi = a.mid(6);
        } else if (a.startsWith(u'-') && a.size() > 1) {
            return usageError(QStringLiteral("unknown option %1 for pack").arg(a));
        } else {
            files << a;
        }
    }
    if (files.size() != 2) return usageError(QStringLiteral("pack takes TEXT and OUT.rcf"));
    if (lpi.isEmpty())
        return usageError(QStringLiteral("pack needs --lpi N, the LastPrizeIndex of the .sdf"));
    bool ok = false;
    const int n = lpi.toInt(&ok);
    if (!ok || n < 0 || n > 19)
        return usageError(
            QStringLiteral("--lpi takes a LastPrizeIndex from 0 to 19, not \"%1\"").arg(lpi));
    QString err;
    const int status = check::packCommand(files[0], files[1], n, force, err);
    print(stderr, err);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    ignoreFileSizeSignal();
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::fputs(Usage, stdout);
        std::fputs(Help, stdout);
        return 0;
    }
    if (args.isEmpty()) return usageError(QStringLiteral("no command given"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("check")) return runCheck(args);
    if (command == QLatin1String("unpack")) return runUnpack(args);
    if (command == QLatin1String("pack")) return runPack(args);
    return usageError(QStringLiteral("unknown command %1").arg(command));
}
