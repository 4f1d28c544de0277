// make_sample_machine FOLDER [--large]: writes the sample machine into FOLDER.
// examples/sample-machine holds its output; tests compare the two byte for byte.

#include <QCoreApplication>
#include <cstdio>

#include "savefile.h"
#include "writemachine.h"

int main(int argc, char** argv) {
    ignoreFileSizeSignal();
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool large = args.removeAll(QStringLiteral("--large")) > 0;
    if (args.size() != 1 || args[0].startsWith(u'-')) {
        std::fputs(
            "Usage: make_sample_machine FOLDER [--large]\n"
            "Writes the sample machine (with --large: twenty prizes and varied control "
            "data) into FOLDER.\n",
            stderr);
        return 2;
    }
    QString error;
    if (!sample::writeMachine(args[0], large ? sample::Variant::Large : sample::Variant::Sample,
                              &error)) {
        std::fprintf(stderr, "make_sample_machine: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
