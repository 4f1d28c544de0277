#pragma once

#include <QApplication>

#include "dialogs.h"
#include "singleinstance.h"
#include "suitelook.h"

// What every editor's main does: the suite's look, one running copy per program (a second one
// says "既に起動されています" and ends), and the one window until it is closed.
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
