#include "picturenotice.h"

#include "sjis.h"

void tellPngPictures(Dialogs& dialogs, QWidget* window, const QString& title,
                     const QStringList& pngNames) {
    if (pngNames.isEmpty()) return;
    QStringList shown;
    // The names may come from a file, of any length.
    for (const QString& name : pngNames) shown << sjis::forDisplay(name, sjis::ShownNameChars);
    dialogs.message(
        window, title,
        QStringLiteral("PNG 形式の画像があります。エディターでは表示されますが、マシンの"
                       "画像形式は GIF、JPEG、BMP なので、マシンでは表示されないことが"
                       "あります。"),
        Dialogs::Icon::Warning, Dialogs::Buttons::Ok, shown.join(QLatin1Char('\n')));
}
