// The real message box with what files put into messages: names and paths of any length
// wrap or are cut so that the box stays on the screen, and no text is taken for markup.
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "dialogs.h"

class MessagesTest : public QObject {
    Q_OBJECT
private slots:
    void boxStaysOnTheScreen_data();
    void boxStaysOnTheScreen();
};

void MessagesTest::boxStaysOnTheScreen_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detail");
    const QString path = QStringLiteral("/home/author/machines/") + QString(300, u'n') +
                         QStringLiteral("/machine.sdf");
    QTest::newRow("a long path in the detail") << "ファイルが不正です。" << path;
    QTest::newRow("a long path in the text") << path << "";
    QTest::newRow("a name of a megabyte")
        << "ファイルが不正です。"
        << QStringLiteral("画像ファイル「%1」が見つかりません。").arg(QString(1024 * 1024, u'n'));
    QTest::newRow("many lines") << "図柄の画像を読み込めませんでした。"
                                << QStringList(500, QStringLiteral("図柄1: sym1.bmp")).join(u'\n');
    // Taken for markup, the tag would put the 2000-pixel picture into the box.
    QTest::newRow("an image tag") << "ファイルが不正です。"
                                  << "画像ファイル「<img src='tall.png'>」";
}

void MessagesTest::boxStaysOnTheScreen() {
    QFETCH(QString, text);
    QFETCH(QString, detail);
    QTemporaryDir dir;
    QImage tall(20, 2000, QImage::Format_RGB32);
    tall.fill(Qt::red);
    QVERIFY(tall.save(dir.filePath(QStringLiteral("tall.png"))));
    QVERIFY(QDir::setCurrent(dir.path()));

    QRect shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->frameGeometry();
            box->done(QMessageBox::Ok);
        }
    });
    QtDialogs dialogs;
    dialogs.message(nullptr, QStringLiteral("reelboard"), text, Dialogs::Icon::Critical,
                    Dialogs::Buttons::Ok, detail);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(!shown.isEmpty());
    QVERIFY2(shown.width() <= screen.width() && shown.height() <= screen.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(shown.width()).arg(shown.height())));
}

QTEST_MAIN(MessagesTest)
#include "tst_messages.moc"
