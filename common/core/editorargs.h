#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>

// What an editor's command line may hold: the files its Load buttons would read (as many as
// the program takes, usually one) and --help. Nothing else is stored or remembered.
namespace editorargs {

// The files one program opens from its command line.
struct FileArguments {
    const char* usage;  // as the usage line names them: "FILE.sdf [FILE.rcf]"
    int maxFiles;
    const char* help;  // what the program does with them, for --help
};

struct Parsed {
    enum class Outcome { Open, Help, UsageError };
    Outcome outcome = Outcome::Open;
    QStringList files;  // absolute paths, in the order given; none: start with nothing open
    QString problem;    // what was wrong, for UsageError
};

// Reads the arguments after the program's name (the toolkit has taken its own options).
// "--" ends the options, so a file whose name starts with "-" can still be given.
Parsed parse(const QStringList& arguments, int maxFiles);

// The arguments after the program's name without the toolkit's own options (-platform NAME,
// -style=NAME, -reverse, ...), as the toolkit would leave them: so --help and a usage error
// are told before the window system starts, which needs a display.
QStringList withoutToolkitOptions(const QStringList& arguments);

// "Usage: stopboard [FILE.sdf [FILE.rcf]]"
QString usageLine(const QString& program, const FileArguments& files);

// What the program does before any window: -1 to go on; otherwise it has printed the help
// (exit status 0) or the problem and the usage line (exit status 2).
int exitBeforeWindow(const QString& program, const FileArguments& files, const Parsed& parsed,
                     std::FILE* out = stdout, std::FILE* err = stderr);

}  // namespace editorargs
