#include <QApplication>

#include "dialogs.h"
#include "form1.h"
#include "singleinstance.h"
#include "suitelook.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(ProgramName));
    applySuiteLook(app);
    QtDialogs dialogs;
    SingleInstance instance(QString::fromLatin1(ProgramName));
    if (!instance.acquired()) {
        dialogs.message(nullptr, QString::fromLatin1(ProgramName),
                        QStringLiteral("既に起動されています"));
        return 0;
    }
    Form1 window(dialogs);
    window.show();
    return app.exec();
}
