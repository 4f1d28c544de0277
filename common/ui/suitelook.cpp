#include "suitelook.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QStyleFactory>

void applySuiteLook(QApplication& app) {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    QFont font = app.font();
    for (const QString& family : {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")}) {
        if (QFontDatabase::hasFamily(family)) {
            font.setFamily(family);
            break;
        }
    }
    font.setPixelSize(12);
    app.setFont(font);
}
