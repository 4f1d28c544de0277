#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

#include "rcfformat.h"
#include "runmachinecheck.h"
#include "samplecopy.h"
#include "sheet.h"

namespace {

const QString Sample = QStringLiteral(SAMPLE_DIR);

// Every picture the page carries, decoded as a browser would take it.
QList<QImage> embeddedPictures(const QByteArray& html) {
    static const QRegularExpression uri(
        QStringLiteral("data:image/(png|jpeg);base64,([A-Za-z0-9+/=]*)"));
    QList<QImage> out;
    for (auto it = uri.globalMatch(QString::fromLatin1(html)); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out << QImage::fromData(QByteArray::fromBase64(m.captured(2).toLatin1()),
                                m.captured(1) == QLatin1String("png") ? "PNG" : "JPEG");
    }
    return out;
}

bool writeControlFor(const QDir& dir, int lastPrizeIndex, const QString& comment) {
    ControlDocument doc;
    doc.setLastPrizeIndex(6);
    const QString path = dir.filePath(QStringLiteral("machine.rcf"));
    if (!rcf::readFile(path, doc, nullptr, nullptr)) return false;
    doc.setComment(1, comment);
    return doc.setLastPrizeIndex(lastPrizeIndex) && rcf::writeFile(path, doc, nullptr);
}

// The machine name of the sample's .orf (line 5) replaced.
bool renameMachine(const QDir& dir, const QByteArray& name) {
    return replaceLine(dir.filePath(QStringLiteral("machine.orf")), 5, name);
}

}  // namespace

class TestSheet : public QObject {
    Q_OBJECT
private slots:
    void sampleInABrowser();
    void brokenMachineIsMarked();
    void outputs_data();
    void outputs();
    void defaultNameIsSafe();
    void textsFromFilesStayText();
};

void TestSheet::sampleInABrowser() {
    QTemporaryDir temp;
    const QString page = temp.filePath(QStringLiteral("sheet.html"));
    const Run r = machinecheck({QStringLiteral("sheet"), Sample, QStringLiteral("-o"), page}, {},
                               {}, {}, QStringLiteral("ja_JP.UTF-8"));
    QVERIFY2(r.status == 0, qPrintable(r.err));
    const QByteArray html = fileBytes(page);
    QVERIFY2(html.size() < 2 * 1024 * 1024, QByteArray::number(html.size()));
    for (const char* section : {"リール配列", "役", "フラグと確率", "ボーナス設定",
                                "有効ライン設定", "リール制御", "音設定", "画像位置"})
        QVERIFY2(html.contains(section), section);
    QVERIFY(!html.contains("<script"));

    // The 21 symbol pictures (the blink ones are the lit ones) and the three slot pictures.
    const QList<QImage> pictures = embeddedPictures(html);
    QVERIFY2(pictures.size() >= 24, QByteArray::number(pictures.size()));
    for (const QImage& picture : pictures) QVERIFY(!picture.isNull());

    const QString shot = temp.filePath(QStringLiteral("sheet.png"));
    QProcess chromium;
    chromium.start(
        QStringLiteral("chromium"),
        {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
         QStringLiteral("--disable-gpu"), QStringLiteral("--disable-quic"),
         QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
         QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
         QStringLiteral("--user-data-dir=") + temp.filePath(QStringLiteral("profile")),
         QStringLiteral("--hide-scrollbars"), QStringLiteral("--screenshot=") + shot,
         QStringLiteral("--window-size=900,2400"), QUrl::fromLocalFile(page).toString()});
    QVERIFY2(chromium.waitForFinished(120000), "chromium (scripts/install-deps.sh) did not end");
    QImage image(shot);
    QVERIFY2(!image.isNull(), chromium.readAllStandardError().constData());
    image = image.convertToFormat(QImage::Format_RGB32);
    // Text, tables and pictures: many colours, and a good part of the page not white.
    QSet<QRgb> colours;
    qint64 inked = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QRgb c = image.pixel(x, y);
            colours.insert(c);
            inked += c != qRgb(255, 255, 255);
        }
    QVERIFY2(colours.size() > 100, QByteArray::number(colours.size()));
    QVERIFY2(inked * 10 > qint64(image.width() / 2) * (image.height() / 2),
             QByteArray::number(inked));
}

void TestSheet::brokenMachineIsMarked() {
    QTemporaryDir temp;
    const QDir dir(temp.path());
    QVERIFY(copySample(temp.path()));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("sym3_off.bmp"))));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("medal.wav"))));
    // Names from files are hostile: none of them may become markup.
    QVERIFY(writeControlFor(dir, 5, QStringLiteral("<img src=x onerror=alert(1)>")));
    QVERIFY(renameMachine(dir, "<script>alert(\"x\")</script> & 'q'"));

    const Run r =
        machinecheck({QStringLiteral("sheet"), temp.path()}, {}, {}, {}, QStringLiteral("C"));
    QCOMPARE(r.status, 0);
    const QString page = dir.filePath(check::sheetFileName(
        QStringLiteral("<script>alert(\"x\")</script> & 'q'"), QStringLiteral("machine.orf")));
    QVERIFY2(r.err.contains(QStringLiteral("wrote ") + page + QStringLiteral(" (3 errors")),
             qPrintable(r.err));
    const QString html = QString::fromUtf8(fileBytes(page));

    QCOMPARE(html.count(QStringLiteral("<li class=\"error\">")), 3);
    QCOMPARE(html.count(QStringLiteral("<li class=\"warning\">")), 0);
    for (const char* finding :
         {"the unlit picture of symbol 3 &quot;sym3_off.bmp&quot; is missing",
          "sound 1 &quot;medal.wav&quot; is missing",
          "the assignment section was written for LastPrizeIndex 5, but machine.sdf has "
          "LastPrizeIndex 6"})
        QVERIFY2(html.contains(QLatin1String(finding)), finding);
    // Each marked where it shows.
    QVERIFY(html.contains(QRegularExpression(
        QStringLiteral("<span class=\"pic nopic\"[^>]*>missing: sym3_off.bmp</span>"))));
    QVERIFY(html.contains(QStringLiteral("<td class=\"bad\">medal.wav <b>missing</b>")));
    QVERIFY(html.contains(
        QStringLiteral("<p class=\"bad\">The assignments were written for LastPrizeIndex 5")));

    QVERIFY(!html.contains(QStringLiteral("<script")));
    QVERIFY(!html.contains(QStringLiteral("<img src=x")));
    QVERIFY(
        html.contains(QStringLiteral("<h1>&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; "
                                     "&amp; 'q'</h1>")));
}

void TestSheet::outputs_data() {
    QTest::addColumn<QStringList>("args");  // in a copy of the sample, "sheet" first
    QTest::addColumn<QString>("before");    // what -o's file holds first: "", "sheet", "text"
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("written");  // the sheet is in OUT afterwards
    QTest::newRow("over an earlier sheet")
        << QStringList{"FOLDER", "-o", "OUT"} << "sheet" << 0 << "wrote" << true;
    QTest::newRow("over another file")
        << QStringList{"FOLDER", "-o", "OUT"} << "text" << 1
        << "already exists and is no machine sheet; give --force" << false;
    QTest::newRow("over another file, --force")
        << QStringList{"FOLDER", "-o", "OUT", "--force"} << "text" << 0 << "wrote" << true;
    QTest::newRow("over the machine's .sdf, --force")
        << QStringList{"FOLDER", "-o", "FOLDER/machine.sdf", "-f"} << "" << 1
        << "the machine is read from this file" << false;
    QTest::newRow("over a picture of the machine, --force")
        << QStringList{"FOLDER", "-o", "FOLDER/digits.bmp", "-f"} << "" << 1
        << "the machine is read from this file" << false;
    QTest::newRow("the .orf named")
        << QStringList{"FOLDER/machine.orf", "-o", "OUT"} << "" << 0 << "wrote" << true;
    QTest::newRow("a folder of two machines")
        << QStringList{"FOLDER", "-o", "OUT", "--two"} << "" << 2
        << "holds 2 machine files (another.orf, machine.orf): name one" << false;
}

void TestSheet::outputs() {
    QFETCH(QStringList, args);
    QFETCH(QString, before);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(bool, written);
    QTemporaryDir temp;
    const QDir dir(temp.path());
    const QString folder = dir.filePath(QStringLiteral("machine"));
    QVERIFY(dir.mkdir(QStringLiteral("machine")) && copySample(folder));
    if (args.removeAll(QStringLiteral("--two")))
        QVERIFY(QFile::copy(folder + QStringLiteral("/machine.orf"),
                            folder + QStringLiteral("/another.orf")));
    const QString out = dir.filePath(QStringLiteral("out.html"));
    if (before == QLatin1String("sheet"))
        QVERIFY(putBytes(out,
                         "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">"
                         "<meta name=\"generator\" content=\"machinecheck sheet\">old"));
    else if (before == QLatin1String("text"))
        QVERIFY(putBytes(out, "old"));
    const QStringList targets = args.replaceInStrings(QStringLiteral("FOLDER"), folder)
                                    .replaceInStrings(QStringLiteral("OUT"), out);
    QStringList inputs;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        inputs << QString::fromLatin1(fileBytes(QDir(folder).filePath(name)).toBase64());

    const Run r = machinecheck(QStringList{QStringLiteral("sheet")} + targets, {}, {}, {},
                               QStringLiteral("C"));
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QCOMPARE(fileBytes(out).contains("<h1>サンプル機</h1>"), written);
    if (!written && !before.isEmpty()) QCOMPARE(fileBytes(out), QByteArray("old"));
    // The machine's own files stay as they were.
    QStringList after;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        after << QString::fromLatin1(fileBytes(QDir(folder).filePath(name)).toBase64());
    QCOMPARE(after, inputs);
}

// Whatever the machine is called, its sheet lands in its own folder under a name every
// system takes.
void TestSheet::defaultNameIsSafe() {
    QCOMPARE(check::sheetFileName(QStringLiteral("サンプル機"), QStringLiteral("machine.orf")),
             QStringLiteral("サンプル機.html"));
    QCOMPARE(check::sheetFileName(QStringLiteral(" .. "), QStringLiteral("machine.orf")),
             QStringLiteral("machine.html"));
    const QStringList pieces =
        QStringLiteral(". / \\ : * ? \" < > | \t \r \n あ é 😀 x ..").split(u' ')
        << QStringLiteral(" ");
    QRandomGenerator random(27);
    for (int i = 0; i < 500; ++i) {
        QString name;
        const int length = int(random.bounded(120));
        for (int k = 0; k < length; ++k) name += pieces.at(int(random.bounded(pieces.size())));
        const QString file = check::sheetFileName(name, QStringLiteral("m.orf"));
        QVERIFY2(file.endsWith(QLatin1String(".html")) && file.size() <= 85, qPrintable(file));
        QVERIFY2(!file.startsWith(u'.') && !file.startsWith(u' '), qPrintable(file));
        for (const QChar c : file)
            QVERIFY2(c.unicode() >= 0x20 && !QStringView(u"/\\:*?\"<>|").contains(c),
                     qPrintable(file));
        // A name cut short keeps whole characters.
        QVERIFY2(QString::fromUtf8(file.toUtf8()) == file, qPrintable(file));
    }
}

// Every text a file gives, however hostile, shows as text: the page holds no markup but its
// own, and no attribute of a file's making.
void TestSheet::textsFromFilesStayText() {
    check::Findings findings;
    check::MachineContents sample;
    QVERIFY(check::checkMachine(Sample, QStringLiteral("machine.orf"), findings, sample, nullptr));
    QVERIFY(sample.spec && sample.reel && sample.control && sample.positions);
    const QStringList pieces = {QStringLiteral("<script>"),
                                QStringLiteral("<iframe src=x>"),
                                QStringLiteral("\" onerror=\"alert(1)"),
                                QStringLiteral("'"),
                                QStringLiteral("&amp;"),
                                QStringLiteral("</td>"),
                                QStringLiteral("%1"),
                                QStringLiteral("%2"),
                                QStringLiteral("あ"),
                                QStringLiteral("\r\n"),
                                QStringLiteral("-->")};
    QRandomGenerator random(2027);
    auto hostile = [&] {
        QString text;
        for (int i = int(random.bounded(6)); i >= 0; --i)
            text += pieces.at(int(random.bounded(pieces.size())));
        return text;
    };
    static const QRegularExpression tag(QStringLiteral("<([a-zA-Z][a-zA-Z0-9]*)"));
    const QSet<QString> own = {"html",       "head",    "meta",  "title", "style", "body", "header",
                               "nav",        "section", "h1",    "h2",    "h3",    "p",    "div",
                               "table",      "thead",   "tbody", "tr",    "th",    "td",   "span",
                               "img",        "a",       "ul",    "li",    "b",     "br",   "figure",
                               "figcaption", "svg",     "image", "rect",  "text"};
    for (int round = 0; round < 20; ++round) {
        check::MachineContents c = sample;
        c.spec->machineName = hostile();
        c.spec->makerName = hostile();
        c.spec->explanation = hostile();
        c.spec->controlFileName = hostile();
        c.spec->setCTEndConText(0, hostile());
        for (int n = 1; n <= 4; ++n) c.spec->sound.files[n] = hostile();
        c.spec->sound.files[5] = QString();
        c.spec->sound.bgmSound[7] = 5;  // a sound nobody registered
        c.reel->symbols[2].names[1] = hostile();
        for (int t = 1; t <= 7; ++t) c.control->setComment(t, hostile());
        c.positions->pictureSlots[3].fileName = hostile();
        c.positions->entries[4].value = hostile();
        const QList<check::Finding> list{{hostile(), 3, check::Severity::Error, hostile()}};
        const QString html = QString::fromUtf8(check::machineSheet(c, list));
        for (auto it = tag.globalMatch(html); it.hasNext();) {
            const QString name = it.next().captured(1).toLower();
            QVERIFY2(own.contains(name), qPrintable(name));
        }
        QVERIFY(!html.contains(QStringLiteral("onerror=\"")));
        QVERIFY(!html.contains(QStringLiteral("-->")));
    }
}

QTEST_GUILESS_MAIN(TestSheet)
#include "tst_sheet.moc"
