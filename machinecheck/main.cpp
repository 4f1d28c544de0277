// machinecheck: checks a machine folder with the editors' own readers, and moves the
// control data of a .rcf between its archive and a text.

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <cstdio>

#include "checker.h"
#include "controltext.h"
#include "findings.h"
#include "savefile.h"
#include "sheet.h"

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(Main)
};

const char Usage[] =
    QT_TRANSLATE_NOOP("Main",
                      "Usage: machinecheck check FOLDER [--json]\n"
                      "       machinecheck sheet FOLDER|FILE.orf [-o FILE.html] [--force]\n"
                      "       machinecheck unpack FILE.rcf [OUT.txt] [--force]\n"
                      "       machinecheck pack TEXT OUT.rcf --lpi N [--force]\n"
                      "       machinecheck --help\n");

const char Help[] = QT_TRANSLATE_NOOP(
    "Main",
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
    "sheet FOLDER|FILE.orf [-o FILE.html] [--force]\n"
    "    Writes the machine sheet: one HTML page holding the whole machine as the editors\n"
    "    read it (the check's findings, the reel strips, prizes, flag probabilities, bonus\n"
    "    rules, pay lines, reel control, sounds and picture positions), its pictures inside,\n"
    "    for any browser and for printing on A4. FOLDER must hold one .orf; with several,\n"
    "    name one. The page goes to FILE.html (\"-\": standard output), by default to the\n"
    "    machine's name with \".html\" in its folder. A sheet written before is replaced;\n"
    "    another existing file only with --force, and never a file of the machine.\n"
    "\n"
    "unpack FILE.rcf [OUT.txt] [--force]\n"
    "    Writes the archive's \"dummy.dat\" text, byte for byte, to OUT.txt or to standard\n"
    "    output.\n"
    "\n"
    "pack TEXT OUT.rcf --lpi N [--force]\n"
    "    Packs TEXT into a new archive OUT.rcf as its \"dummy.dat\", after checking that it\n"
    "    reads as control data laid out for LastPrizeIndex N (the number under \"# number of\n"
    "    prize\" in the machine's .sdf, 0 to 19), that its values pass the check (stop\n"
    "    indexes 0 to 4, base tables and assignments in range) and that stopboard writes it\n"
    "    back byte for byte. Nothing is written when a check fails.\n"
    "\n"
    "For unpack and pack, \"-\" as FILE.rcf or TEXT reads standard input, and as OUT.txt or\n"
    "OUT.rcf writes standard output. An output that is the input (by any name or link) is\n"
    "never written. An existing output is replaced only with --force (-f), which also lets\n"
    "pack write its archive to a terminal.\n"
    "\n"
    "Exit status: 0 no errors (warnings allowed), 1 errors found or unpack/pack failed,\n"
    "2 usage error or a folder that cannot be read. sheet: 0 written (whatever it found),\n"
    "1 not written, 2 as above.\n");

void print(std::FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
}

int usageError(const QString& why) {
    print(stderr, QStringLiteral("machinecheck: %1\n").arg(why));
    print(stderr, Text::tr(Usage));
    return 2;
}

int runCheck(const QStringList& args) {
    QString folder;
    bool json = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--json"))
            json = true;
        else if (a.startsWith(u'-') && a.size() > 1)
            return usageError(Text::tr("unknown option %1 for check").arg(a));
        else if (folder.isEmpty())
            folder = a;
        else
            return usageError(Text::tr("check takes one folder"));
    }
    if (folder.isEmpty()) return usageError(Text::tr("check needs a FOLDER"));
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
    print(stderr, Text::tr("machinecheck: %1: %2, %3\n")
                      .arg(folder, Text::tr("%n error(s)", "", errors),
                           Text::tr("%n warning(s)", "", warnings)));
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
            return usageError(Text::tr("unknown option %1 for unpack").arg(a));
        else
            files << a;
    }
    if (files.isEmpty() || files.size() > 2)
        return usageError(Text::tr("unpack takes FILE.rcf and at most one OUT.txt"));
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
            if (i + 1 >= args.size()) return usageError(Text::tr("--lpi needs a number"));
            lpi = args[++i];
        } else if (a.startsWith(QLatin1String("--lpi="))) {
            lpi = a.mid(6);
        } else if (a.startsWith(u'-') && a.size() > 1) {
            return usageError(Text::tr("unknown option %1 for pack").arg(a));
        } else {
            files << a;
        }
    }
    if (files.size() != 2) return usageError(Text::tr("pack takes TEXT and OUT.rcf"));
    if (lpi.isEmpty())
        return usageError(Text::tr("pack needs --lpi N, the LastPrizeIndex of the .sdf"));
    bool ok = false;
    const int n = lpi.toInt(&ok);
    if (!ok || n < 0 || n > 19)
        return usageError(
            Text::tr("--lpi takes a LastPrizeIndex from 0 to 19, not \"%1\"").arg(lpi));
    QString err;
    const int status = check::packCommand(files[0], files[1], n, force, err);
    print(stderr, err);
    return status;
}

// Japanese under a Japanese locale, English otherwise; the English file only holds the
// plural forms.
void installTranslation(QCoreApplication& app, QTranslator& translator) {
    const QStringList languages = QLocale::system().uiLanguages();
    const bool japanese = !languages.isEmpty() && languages.first().startsWith(QLatin1String("ja"));
    if (translator.load(japanese ? QStringLiteral(":/i18n/machinecheck_ja.qm")
                                 : QStringLiteral(":/i18n/machinecheck_en.qm")))
        app.installTranslator(&translator);
}

int runSheet(const QStringList& args) {
    QString target, out;
    bool force = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (isForce(a)) {
            force = true;
        } else if (a == QLatin1String("-o") || a == QLatin1String("--output")) {
            if (i + 1 >= args.size()) return usageError(Text::tr("%1 needs a file name").arg(a));
            out = args[++i];
        } else if (a.startsWith(QLatin1String("--output="))) {
            out = a.mid(9);
        } else if (a.startsWith(u'-') && a.size() > 1) {
            return usageError(Text::tr("unknown option %1 for sheet").arg(a));
        } else if (target.isEmpty()) {
            target = a;
        } else {
            return usageError(Text::tr("sheet takes one folder or .orf file"));
        }
    }
    if (target.isEmpty()) return usageError(Text::tr("sheet needs a FOLDER or FILE.orf"));
    QString err;
    const int status = check::sheetCommand(target, out, force, err);
    print(stderr, err);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    ignoreFileSizeSignal();
    QCoreApplication app(argc, argv);
    QTranslator translator;
    installTranslation(app, translator);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        print(stdout, Text::tr(Usage) + Text::tr(Help));
        return 0;
    }
    if (args.isEmpty()) return usageError(Text::tr("no command given"));
    const QString command = args.takeFirst();
    if (command == QLatin1String("check")) return runCheck(args);
    if (command == QLatin1String("sheet")) return runSheet(args);
    if (command == QLatin1String("unpack")) return runUnpack(args);
    if (command == QLatin1String("pack")) return runPack(args);
    return usageError(Text::tr("unknown command %1").arg(command));
}
