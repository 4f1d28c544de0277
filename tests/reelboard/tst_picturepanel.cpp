// The symbol picture panel driven through the real window: stepping between symbols,
// picture loads per state, PictureSize measuring, refused pictures and the symbol drag.

#include <QBuffer>
#include <QLabel>

#include "reelwindowtest.h"

using namespace reelboard;

using namespace reeltest;

namespace {

const char* const ViewFamilies[PictureStateCount] = {"ImgFile", "ImgFileD", "ImgFileF", "ImgFileP"};

QString viewName(int symbol, int state) {
    return QStringLiteral("%1_%2").arg(QLatin1String(ViewFamilies[state])).arg(symbol);
}

// The one visible picture view as "family_symbol"; "" when none or several are visible.
QString visibleView(Form1& w) {
    QStringList shown;
    for (int s = 0; s < reel::SymbolCount; ++s)
        for (int k = 0; k < PictureStateCount; ++k)
            if (cell(w, viewName(s, k))->isVisibleTo(&w)) shown << viewName(s, k);
    return shown.size() == 1 ? shown.front() : QString();
}

}  // namespace

class TestPicturePanel : public QObject {
    Q_OBJECT
private slots:
    void stepping_data();
    void stepping();
    void loadFillsStates_data();
    void loadFillsStates();
    void pictureSize_data();
    void pictureSize();
    void stateSelectionFollowsSymbol();
    void typingIntoFileNameDoesNothing();
    void refusedPicture_data();
    void refusedPicture();
    void loadDialogFolderAndFilter();
    void pngPictureNamed();
    void reelFileLoadShowsSymbol1InChosenState();
    void dragFromLitPicturePlacesSymbol();
    void otherStatesDoNotDrag();

private:
    QTemporaryDir dir_;
};

void TestPicturePanel::stepping_data() {
    // L: load a lit picture for the shown symbol, n: ">>", p: "<<".
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("shown");
    QTest::addColumn<bool>("modified");
    QTest::newRow("next blocked on a new document") << "n" << 1 << false;
    QTest::newRow("previous on symbol 1") << "p" << 1 << false;
    QTest::newRow("next after a lit picture") << "Ln" << 2 << true;
    QTest::newRow("next blocked again on symbol 2") << "Lnn" << 2 << true;
    QTest::newRow("back to symbol 1") << "Lnp" << 1 << true;
    QTest::newRow("next on symbol 7") << "LnLnLnLnLnLnLn" << 7 << true;
}

void TestPicturePanel::stepping() {
    QFETCH(QString, steps);
    QFETCH(int, shown);
    QFETCH(bool, modified);
    const QString picture = makePicture(dir_, QStringLiteral("lit.bmp"), 8, 8, 0xff3060c0);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    for (QChar step : steps) {
        if (step == u'L') loadPicture(w, dialogs, 0, picture);
        if (step == u'n') click(w, QStringLiteral("Command3"));
        if (step == u'p') click(w, QStringLiteral("Command2"));
    }
    QCOMPARE(child<QLabel>(w, QStringLiteral("LabelPicIndex"))->text(), QString::number(shown));
    QCOMPARE(w.editor().currentSymbol(), shown - 1);
    QCOMPARE(visibleView(w), viewName(shown - 1, 0));
    QCOMPARE(w.isModified(), modified);
}

void TestPicturePanel::loadFillsStates_data() {
    // Loads as "state:file" pairs for symbol 1; the names expected in lit, unlit, flash, blink.
    QTest::addColumn<QStringList>("loads");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("lit on an empty symbol fills all four")
        << QStringList{"0:a.bmp"} << QStringList{"a.bmp", "a.bmp", "a.bmp", "a.bmp"};
    QTest::newRow("lit keeps an unlit chosen before")
        << QStringList{"1:b.bmp", "0:a.bmp"} << QStringList{"a.bmp", "b.bmp", "a.bmp", "a.bmp"};
    QTest::newRow("a second lit load fills nothing more")
        << QStringList{"0:a.bmp", "0:c.jpg"} << QStringList{"c.jpg", "a.bmp", "a.bmp", "a.bmp"};
    QTest::newRow("unlit only changes unlit")
        << QStringList{"0:a.bmp", "1:b.bmp"} << QStringList{"a.bmp", "b.bmp", "a.bmp", "a.bmp"};
    QTest::newRow("blink alone") << QStringList{"3:c.jpg"} << QStringList{"", "", "", "c.jpg"};
}

void TestPicturePanel::loadFillsStates() {
    QFETCH(QStringList, loads);
    QFETCH(QStringList, names);
    const QHash<QString, QRgb> colours{
        {"a.bmp", 0xffff0000}, {"b.bmp", 0xff00ff00}, {"c.jpg", 0xff0000ff}};
    for (auto it = colours.begin(); it != colours.end(); ++it)
        makePicture(dir_, it.key(), 12, 6, it.value(), it.key().endsWith(".jpg") ? "JPEG" : "BMP");
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QString lastName;
    int lastState = 0;
    for (const QString& load : loads) {
        lastState = load.section(u':', 0, 0).toInt();
        lastName = load.section(u':', 1);
        loadPicture(w, dialogs, lastState, dir_.filePath(lastName));
    }
    const SymbolSlot& slot = w.document().symbols[0];
    for (int k = 0; k < PictureStateCount; ++k) {
        QCOMPARE(slot.names[k], names[k]);
        const QImage& shown = cell(w, viewName(0, k))->picture();
        if (names[k].isEmpty()) {
            QVERIFY(shown.isNull());
        } else {
            // JPEG may shift a colour by a step or two.
            const QRgb want = colours[names[k]], got = colourOf(shown);
            QVERIFY2(qAbs(qRed(want) - qRed(got)) < 8 && qAbs(qGreen(want) - qGreen(got)) < 8 &&
                         qAbs(qBlue(want) - qBlue(got)) < 8,
                     qPrintable(names[k]));
        }
    }
    QCOMPARE(visibleView(w), viewName(0, lastState));
    QCOMPARE(child<QLineEdit>(w, QStringLiteral("TextFilename"))->text(), lastName);
    QVERIFY(w.isModified());
}

void TestPicturePanel::pictureSize_data() {
    // Loads as "symbol:state:width:height", and whether a reel file (symbol 1 lit 40 x 20,
    // saved from an earlier run) is read after the first `loadsBefore` loads.
    QTest::addColumn<QStringList>("loads");
    QTest::addColumn<int>("loadsBefore");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("symbol 1 lit 40x20") << QStringList{"0:0:40:20"} << -1 << 600 << 300;
    QTest::newRow("symbol 2 only") << QStringList{"1:0:40:20"} << -1 << 1080 << 540;
    QTest::newRow("unlit is not measured") << QStringList{"0:1:10:10"} << -1 << 1080 << 540;
    QTest::newRow("symbol 1 then symbol 2")
        << QStringList{"0:0:40:20", "1:0:8:8"} << -1 << 600 << 300;
    QTest::newRow("after a reel file, from the file's picture")
        << QStringList{"1:0:8:8"} << 0 << 600 << 300;
    QTest::newRow("a picture loaded before the file is not used")
        << QStringList{"0:0:10:10", "1:0:8:8"} << 1 << 600 << 300;
    QTest::newRow("too wide for the file field") << QStringList{"0:0:2300:2"} << -1 << 32767 << 30;
}

void TestPicturePanel::pictureSize() {
    QFETCH(QStringList, loads);
    QFETCH(int, loadsBefore);
    QFETCH(int, width);
    QFETCH(int, height);
    QTemporaryDir folder;
    ReelDataDocument saved;
    saved.symbols[0].names = {"one.bmp", "one.bmp", "one.bmp", "one.bmp"};
    makePicture(folder, "one.bmp", 40, 20, 0xff102030);
    saved.pictureWidth = 5;
    saved.pictureHeight = 7;
    const QString reelFile = writeReelFile(folder, "m.sdf", saved, false);

    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    for (int i = 0; i < loads.size(); ++i) {
        if (i == loadsBefore) {
            QVERIFY(loadReelFile(w, dialogs, reelFile));
            QCOMPARE(w.document().pictureWidth, 5);  // read from the file, not measured
        }
        const QStringList f = loads[i].split(u':');
        const int symbol = f[0].toInt();
        while (w.editor().currentSymbol() > symbol) click(w, "Command2");
        while (w.editor().currentSymbol() < symbol) {
            // ">>" needs a lit name; giving it in the document leaves the measuring
            // picture of the symbol as it was.
            const int current = w.editor().currentSymbol();
            if (w.document().symbols[current].names[0].isEmpty())
                w.editor().setSymbolPicture(current, PictureState::Lit, "filler.bmp", QImage());
            click(w, "Command3");
        }
        loadPicture(w, dialogs, f[1].toInt(),
                    makePicture(folder, QStringLiteral("p%1.bmp").arg(i), f[2].toInt(),
                                f[3].toInt(), 0xff808080));
    }
    QCOMPARE(w.document().pictureWidth, width);
    QCOMPARE(w.document().pictureHeight, height);
}

void TestPicturePanel::stateSelectionFollowsSymbol() {
    const QString lit = makePicture(dir_, "lit.bmp", 8, 8, 0xffff0000);
    const QString blink = makePicture(dir_, "blink.bmp", 8, 8, 0xff00ff00);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    loadPicture(w, dialogs, 0, lit);
    loadPicture(w, dialogs, 3, blink);
    click(w, "Option1");
    QCOMPARE(visibleView(w), viewName(0, 0));
    click(w, "Option4");
    QCOMPARE(visibleView(w), viewName(0, 3));
    QCOMPARE(child<QLineEdit>(w, "TextFilename")->text(), QString("blink.bmp"));
    QCOMPARE(colourOf(cell(w, viewName(0, 3))->picture()), 0xff00ff00u);
    click(w, "Command3");
    QCOMPARE(visibleView(w), viewName(1, 3));
    QCOMPARE(child<QLineEdit>(w, "TextFilename")->text(), QString());
    QVERIFY(child<QRadioButton>(w, "Option4")->isChecked());
}

void TestPicturePanel::typingIntoFileNameDoesNothing() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    loadPicture(w, dialogs, 0, makePicture(dir_, "x.bmp", 4, 4, 0xff000000));
    auto* box = child<QLineEdit>(w, "TextFilename");
    box->setFocus();
    QTest::keyClicks(box, "abc1");
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->text(), QString("x.bmp"));
    QCOMPARE(w.document().symbols[0].names[0], QString("x.bmp"));
}

void TestPicturePanel::refusedPicture_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("content");  // empty: a real picture
    QTest::newRow("not a picture") << "broken.gif" << QByteArray("GIF89a\x01\x00garbage", 15);
    QImage wide(400, 300, QImage::Format_RGB32);
    wide.fill(Qt::red);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    wide.save(&buffer, "BMP");
    QTest::newRow("cut short") << "cut.bmp" << bmp.left(3000);
    QTest::newRow("empty file") << "empty.bmp" << QByteArray("");
    QTest::newRow("missing file") << "missing.bmp" << QByteArray("-");
    QTest::newRow("double quote in the name") << "say\"hi\".bmp" << QByteArray();
    QTest::newRow("name outside code page 932") << QString::fromUtf8("그림.bmp") << QByteArray();
}

void TestPicturePanel::refusedPicture() {
    QFETCH(QString, fileName);
    QFETCH(QByteArray, content);
    const QString good = makePicture(dir_, "good.bmp", 6, 6, 0xff0000ff);
    QString path = dir_.filePath(fileName);
    if (content.isEmpty() && !fileName.startsWith("empty")) {
        path = makePicture(dir_, fileName, 6, 6, 0xffff0000);
    } else if (content != "-") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    loadPicture(w, dialogs, 1, good);
    forgetChanges(w);
    const ReelDataDocument before = w.document();
    const QImage shownBefore = cell(w, viewName(0, 1))->picture();

    loadPicture(w, dialogs, 0, path);
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown.front().title, QString(ProgramName));
    QVERIFY(w.document().sameData(before));
    QVERIFY(w.document().symbols[0].pictures[0].isNull());
    QVERIFY(!w.isModified());
    QCOMPARE(cell(w, viewName(0, 1))->picture(), shownBefore);
    QCOMPARE(child<QLineEdit>(w, "TextFilename")->text(), QString());  // lit view, no name yet
}

void TestPicturePanel::loadDialogFolderAndFilter() {
    QTemporaryDir folder, pictureFolder;
    ReelDataDocument saved;
    const QString reelFile = writeReelFile(folder, "m.sdf", saved);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    const auto startedIn = [&] {
        click(w, "ComLoadPic");  // cancelled
        return dialogs.fileRequests.last().initialFolder;
    };
    QCOMPARE(startedIn(), QString());  // the working folder, not the program's
    QVERIFY(!w.isModified());
    QCOMPARE(dialogs.fileRequests[0].filter,
             QString("画像ファイル|*.gif;*.jpg;*.bmp|All Files|*.*|"));
    // On a new document, the folder of the picture chosen last, in every state.
    loadPicture(w, dialogs, 2, makePicture(pictureFolder, "f.bmp", 4, 4, 0xff00ff00));
    for (int state = 0; state < PictureStateCount; ++state) {
        click(w, QStringLiteral("Option%1").arg(state + 1));
        QCOMPARE(QDir(startedIn()).absolutePath(), QDir(pictureFolder.path()).absolutePath());
    }
    // The reel file's folder comes first.
    QVERIFY(loadReelFile(w, dialogs, reelFile));
    loadPicture(w, dialogs, 1, makePicture(pictureFolder, "u.bmp", 4, 4, 0xff00ff00));
    QCOMPARE(QDir(startedIn()).absolutePath(), QDir(folder.path()).absolutePath());
}

void TestPicturePanel::pngPictureNamed() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    loadPicture(w, dialogs, 0, makePicture(dir_, "lit.png", 6, 6, 0xff00ff00, "PNG"));
    QCOMPARE(colourOf(cell(w, viewName(0, 0))->picture()), 0xff00ff00u);  // still taken
    QCOMPARE(dialogs.shown.size(), 1);
    QVERIFY(dialogs.shown[0].text.contains(QStringLiteral("マシンでは表示されない")));
    QCOMPARE(dialogs.shown[0].detail, QString("lit.png"));
}

void TestPicturePanel::reelFileLoadShowsSymbol1InChosenState() {
    QTemporaryDir folder;
    ReelDataDocument saved;
    saved.symbols[0].names = {"", "", "flash1.bmp", ""};
    makePicture(folder, "flash1.bmp", 8, 8, 0xff00ffff);
    const QString reelFile = writeReelFile(folder, "m.sdf", saved);
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    loadPicture(w, dialogs, 0, makePicture(dir_, "x.bmp", 4, 4, 0xff000000));
    click(w, "Command3");
    click(w, "Option3");
    QCOMPARE(visibleView(w), viewName(1, 2));
    QVERIFY(loadReelFile(w, dialogs, reelFile));
    QCOMPARE(visibleView(w), viewName(0, 2));
    QVERIFY(child<QRadioButton>(w, "Option3")->isChecked());
    QCOMPARE(child<QLineEdit>(w, "TextFilename")->text(), QString("flash1.bmp"));
    QCOMPARE(child<QLabel>(w, "LabelPicIndex")->text(), QString("1"));
    QCOMPARE(colourOf(cell(w, viewName(0, 2))->picture()), 0xff00ffffu);
    QCOMPARE(w.editor().currentSymbol(), 0);
}

void TestPicturePanel::dragFromLitPicturePlacesSymbol() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    loadPicture(w, dialogs, 0, makePicture(dir_, "one.bmp", 8, 8, 0xffff0000));
    click(w, "Command3");
    loadPicture(w, dialogs, 0, makePicture(dir_, "two.bmp", 8, 8, 0xff00ff00));
    forgetChanges(w);
    const int target = reel::cellOf(2, 7);
    QVERIFY(dragSymbolTo(w, cell(w, QStringLiteral("ImgReal_%1").arg(target))));
    QCOMPARE(w.document().arrangement[target], 1);
    QCOMPARE(colourOf(cell(w, QStringLiteral("ImgReal_%1").arg(target))->picture()), 0xff00ff00u);
    QVERIFY(w.isModified());
    for (int c = 0; c < reel::CellCount; ++c)
        if (c != target) QCOMPARE(w.document().arrangement[c], 0);
}

void TestPicturePanel::otherStatesDoNotDrag() {
    ScriptedDialogs dialogs;
    Form1 w(dialogs);
    QVERIFY(showWindow(w));
    loadPicture(w, dialogs, 0, makePicture(dir_, "one.bmp", 8, 8, 0xffff0000));
    w.editor().placeSymbol(3, 4);
    for (const char* option : {"Option2", "Option3", "Option4"}) {
        click(w, option);
        QVERIFY(!dragSymbolTo(w, cell(w, "ImgReal_3")));
        QCOMPARE(w.document().arrangement[3], 4);
    }
}

QTEST_MAIN(TestPicturePanel)
#include "tst_picturepanel.moc"
