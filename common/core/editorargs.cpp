#include "editorargs.h"

#include <QFileInfo>
#include <algorithm>
#include <iterator>

namespace editorargs {

namespace {

Parsed usageError(const QString& problem) {
    Parsed p;
    p.outcome = Parsed::Outcome::UsageError;
    p.problem = problem;
    return p;
}

void print(std::FILE* to, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
    std::fflush(to);
}

// The toolkit's own options, with one dash or two: those followed by a value, and the others.
const char* const ToolkitValueOptions[] = {"platform",        "platformpluginpath",
                                           "platformtheme",   "plugin",
                                           "qwindowgeometry", "qwindowicon",
                                           "qwindowtitle",    "session",
                                           "display",         "geometry",
                                           "title",           "name",
                                           "visual",          "style",
                                           "stylesheet",      "icon"};
const char* const ToolkitFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
// Taken as "-name=value" only.
const char* const ToolkitAssignments[] = {"style", "stylesheet", "qmljsdebugger", "dialogs",
                                          "fontengine"};

}  // namespace

QStringList withoutToolkitOptions(const QStringList& arguments) {
    auto among = [](QStringView name, const auto& names) {
        return std::any_of(std::begin(names), std::end(names),
                           [name](const char* o) { return name == QLatin1String(o); });
    };
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--")) {
            kept << arguments.mid(i);
            break;
        }
        QStringView name(a);
        if (name.startsWith(u"--")) name = name.mid(1);
        if (!name.startsWith(u'-') || name.size() < 2) {
            kept << a;
            continue;
        }
        name = name.mid(1);
        const qsizetype equals = name.indexOf(u'=');
        if (among(name, ToolkitValueOptions) && i + 1 < arguments.size())
            ++i;  // the option's value goes with it
        else if (!among(name, ToolkitFlags) &&
                 !(equals > 0 && among(name.first(equals), ToolkitAssignments)))
            kept << a;
    }
    return kept;
}

Parsed parse(const QStringList& arguments, int maxFiles) {
    Parsed parsed;
    bool optionsEnded = false;
    for (const QString& a : arguments) {
        if (!optionsEnded && a == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && a.startsWith(u'-')) {
            if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
                parsed.outcome = Parsed::Outcome::Help;
                continue;
            }
            return usageError(QStringLiteral("unknown option %1").arg(a));
        }
        if (a.isEmpty()) return usageError(QStringLiteral("an empty file name"));
        if (parsed.files.size() == maxFiles)
            return usageError(maxFiles == 1
                                  ? QStringLiteral("only one file can be opened")
                                  : QStringLiteral("at most %1 files can be opened").arg(maxFiles));
        // The window's file label and the pictures beside the file need its folder, whatever
        // the working folder becomes later.
        parsed.files << QFileInfo(a).absoluteFilePath();
    }
    if (parsed.outcome == Parsed::Outcome::Help) parsed.files.clear();
    return parsed;
}

QString usageLine(const QString& program, const FileArguments& files) {
    return QStringLiteral("Usage: %1 [%2]").arg(program, QLatin1String(files.usage));
}

int exitBeforeWindow(const QString& program, const FileArguments& files, const Parsed& parsed,
                     std::FILE* out, std::FILE* err) {
    switch (parsed.outcome) {
        case Parsed::Outcome::Open:
            return -1;
        case Parsed::Outcome::Help:
            print(out, QStringLiteral("%1\n%2\nOnly one copy of %3 runs at a time.\n")
                           .arg(usageLine(program, files), QLatin1String(files.help), program));
            return 0;
        case Parsed::Outcome::UsageError:
            break;
    }
    print(err,
          QStringLiteral("%1: %2\n%3\n").arg(program, parsed.problem, usageLine(program, files)));
    return 2;
}

}  // namespace editorargs
