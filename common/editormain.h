#pragma once

// What every editor's main does: the suite's look, one running copy only, then the window.

#include <QApplication>

#include "dialogs.h"
#include "singleinstance.h"
#include "suitelook.h"

// Runs the editor whose main window is `Window` (built with the dialogs); a second running
// copy says "既に起動されています" and ends.
template <typename Window>
int runEditor(int argc, char** argv, const char* programName) {
    QApplication app(argc, argv);
    const QString name = QString::fromLatin1(programName);
    QApplication::setApplicationName(name);
    applySuiteLook(app);
    QtDialogs dialogs;
    SingleInstance instance(name);
    if (!instance.acquired()) {
        dialogs.message(nullptr, name, QStringLiteral("既に起動されています"));
        return 0;
    }
    Window window(dialogs);
    window.show();
    return app.exec();
}
