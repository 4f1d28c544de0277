#pragma once

// What every editor's main does: its command line, the suite's look, one running copy only,
// then the window with the files the command line named.

#include <QApplication>
#include <QTimer>

#include "dialogs.h"
#include "editorargs.h"
#include "savefile.h"
#include "singleinstance.h"
#include "suitelook.h"

// How many files an editor opens when started: two where the window reads a reel data file
// and the control file laid out on it (`openFiles`), one otherwise (`openFile`).
template <typename Window>
constexpr int givenFileCount() {
    if constexpr (requires(Window & w, const QString& path) { w.openFiles(path, path); })
        return 2;
    else
        return 1;
}

// Reads the files given on the command line as the window's own Load buttons would.
template <typename Window>
void openGivenFiles(Window& window, const QStringList& files) {
    if (files.isEmpty()) return;
    if constexpr (givenFileCount<Window>() == 2)
        window.openFiles(files.value(0), files.value(1));
    else
        window.openFile(files.first());
}

// Runs the editor whose main window is `Window` (built with the dialogs). A usage error ends
// with status 2 before any window; a second running copy says "既に起動されています" and ends
// without reading what it was given; otherwise the window reads the files it was given.
template <typename Window>
int runEditor(int argc, char** argv, const char* programName, const char* fileSyntax,
              const char* help) {
    ignoreFileSizeSignal();
    const QString name = QString::fromLatin1(programName);
    const editorargs::FileArguments takes{fileSyntax, givenFileCount<Window>(), help};
    // --help and a usage error are told before the window system starts: it needs a display.
    QStringList given;
    for (int i = 1; i < argc; ++i) given << QString::fromLocal8Bit(argv[i]);
    const editorargs::Parsed early =
        editorargs::parse(editorargs::withoutToolkitOptions(given), takes.maxFiles);
    if (early.outcome != editorargs::Parsed::Outcome::Open)
        return editorargs::exitBeforeWindow(name, takes, early);
    QApplication app(argc, argv);
    QApplication::setApplicationName(name);
    // The toolkit has taken its own options (-platform, -style, ...) out of the list.
    const editorargs::Parsed args =
        editorargs::parse(QCoreApplication::arguments().mid(1), takes.maxFiles);
    if (const int status = editorargs::exitBeforeWindow(name, takes, args); status >= 0)
        return status;
    applySuiteLook(app);
    QtDialogs dialogs;
    SingleInstance instance(name);
    if (!instance.acquired()) {
        dialogs.message(nullptr, name, QStringLiteral("既に起動されています"));
        return 0;
    }
    Window window(dialogs);
    window.show();
    // Read once the window is up, so that a file that does not read is told over it; the
    // window then stays as it started.
    QTimer::singleShot(0, &window, [&window, &args] { openGivenFiles(window, args.files); });
    return app.exec();
}
