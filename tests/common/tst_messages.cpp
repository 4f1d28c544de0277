// The real dialogs: the message box with what files put into messages (names and paths of any
// length wrap or are cut so that the box stays on the screen, and no text is taken for markup)
// and its default button; the file dialog taking a typed path on Return.
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
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
    void returnTakesTheDefault_data();
    void returnTakesTheDefault();
    void typedPathAndReturn_data();
    void typedPathAndReturn();
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

void MessagesTest::returnTakesTheDefault_data() {
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");  // -1: none given
    QTest::addColumn<int>("answer");
    using A = Dialogs::Answer;
    using B = Dialogs::Buttons;
    QTest::newRow("Yes/No, none given: Yes") << int(B::YesNo) << -1 << int(A::Yes);
    QTest::newRow("Yes/No, No given") << int(B::YesNo) << int(A::No) << int(A::No);
    QTest::newRow("Yes/No/Cancel, Cancel given")
        << int(B::YesNoCancel) << int(A::Cancel) << int(A::Cancel);
}

void MessagesTest::returnTakesTheDefault() {
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QFETCH(int, answer);
    QTimer::singleShot(0, [] {
        if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Return);
    });
    QtDialogs dialogs;
    const auto given =
        defaultButton < 0 ? std::nullopt : std::optional(Dialogs::Answer(defaultButton));
    QCOMPARE(int(dialogs.message(nullptr, QStringLiteral("stopboard"), QStringLiteral("?"),
                                 Dialogs::Icon::Question, Dialogs::Buttons(buttons), {}, given)),
             answer);
}

void MessagesTest::typedPathAndReturn_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("folder");  // of the typed file, under the dialog's own folder
    // Whether the completion list offers the one name when Return is pressed: the keys then go
    // to the list, as the window system sends them to a popup.
    QTest::addColumn<bool>("listShown");
    // Typed into a dialog that the window system has not made the active window.
    QTest::addColumn<bool>("inactive");
    QTest::newRow("open, the dialog's folder") << false << "" << true << false;
    QTest::newRow("open, another folder") << false << "deep/er" << false << false;
    QTest::newRow("open, inactive, another folder") << false << "deep/er" << false << true;
    QTest::newRow("save over a file") << true << "" << true << false;
}

void MessagesTest::typedPathAndReturn() {
    QFETCH(bool, save);
    QFETCH(QString, folder);
    QFETCH(bool, listShown);
    QFETCH(bool, inactive);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("deep/er")));
    const QString typed = QDir(dir.filePath(folder)).filePath(QStringLiteral("only.ppf"));
    QFile file(typed);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    bool shown = false, stillOpen = true;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        auto* edit =
            dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!edit || !QTest::qWaitForWindowActive(dialog)) return;
        if (inactive) QApplication::setActiveWindow(nullptr);
        QTest::keyClicks(edit, typed);
        QAbstractItemView* list = edit->completer()->popup();
        shown = listShown && QTest::qWaitFor([list] { return list->isVisible(); });
        QTest::keyClick(shown ? list : static_cast<QWidget*>(edit), Qt::Key_Return);
        stillOpen = dialog->isVisible();
        if (stillOpen) dialog->reject();
    });
    QtDialogs dialogs;
    const QString filter = QStringLiteral("画像位置ファイル|*.ppf|All Files|*.*|");
    const QString chosen = save ? dialogs.saveFile(nullptr, filter, dir.path())
                                : dialogs.openFile(nullptr, filter, dir.path());
    QCOMPARE(shown, listShown);
    QVERIFY2(!stillOpen, "Return did not take the typed path");
    QCOMPARE(chosen, typed);
}

QTEST_MAIN(MessagesTest)
#include "tst_messages.moc"
