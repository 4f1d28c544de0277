#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "ppfformat.h"
#include "savefile.h"

namespace {

QByteArray dataFile(const char* name) {
    QByteArray bytes;
    QString why;
    if (!readWholeFile(QStringLiteral(TEST_DATA_DIR "/") + QLatin1String(name), bytes, &why))
        qFatal("%s", qPrintable(why));
    return bytes;
}

QByteArray crlf(const QByteArrayList& lines) { return lines.join("\r\n") + "\r\n"; }

// Nine empty name lines, the count line, and lines for entries 0, 1, 2, ...
QByteArray withEntries(const QByteArrayList& entryLines, const QByteArray& countLine = " 32 ") {
    QByteArrayList lines(9);
    lines << countLine << entryLines;
    return crlf(lines);
}

QByteArrayList standardEntries() {
    QByteArrayList lines;
    for (int e = 0; e < pos::EntryCount; ++e)
        lines << QByteArray::number(e) + ',' + QByteArray::number(e + 100) + ',' +
                     QByteArray::number(e + 200) + ',' + QByteArray::number(e + 300) + ",\"" +
                     QByteArray::number(e % 9) + '"';
    return lines;
}

// A document whose every field differs from what the test files hold, so a field the
// reader leaves alone shows.
PositionDocument earlierDocument() {
    PositionDocument doc;
    for (int s = 0; s < pos::SlotCount; ++s) {
        doc.pictureSlots[s].fileName = QStringLiteral("old%1.gif").arg(s);
        doc.pictureSlots[s].image = QImage(4 + s, 3, QImage::Format_RGB32);
        doc.pictureSlots[s].image.fill(Qt::red);
    }
    for (int e = 0; e < pos::EntryCount; ++e)
        doc.entries[e] = {std::int16_t(-1000 - e), std::int16_t(-2000 - e), std::int16_t(-3000 - e),
                          std::int16_t(-4000 - e), QStringLiteral("8")};
    return doc;
}

QString describe(const PlacementEntry& e) { return rectangleText(e) + " \"" + e.value + '"'; }

void writeImage(const QString& path, QColor colour, int width) {
    QImage image(width, 5, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "BMP"));
}

bool sameImages(const PositionDocument& a, const PositionDocument& b) {
    for (int s = 0; s < pos::SlotCount; ++s)
        if (a.pictureSlots[s].image != b.pictureSlots[s].image) return false;
    return true;
}

}  // namespace

class TestPpfFormat : public QObject {
    Q_OBJECT

private slots:
    void newDocumentWritesExactFile() {
        QCOMPARE(ppf::write(PositionDocument()), dataFile("new.ppf"));
    }

    void writtenLines_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QList<int>>("rect");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("slot 3") << 4 << QList<int>{10, 20, 59, 79} << "3"
                                << QByteArray("10,20,59,79,\"3\"");
        QTest::newRow("correction -12")
            << 1 << QList<int>{0, 0, 0, 0} << "-12" << QByteArray("0,0,0,0,\"-12\"");
        QTest::newRow("negative and wide") << 32 << QList<int>{-32768, -1, 0, 32767} << "8"
                                           << QByteArray("-32768,-1,0,32767,\"8\"");
        QTest::newRow("empty correction")
            << 0 << QList<int>{1, 2, 3, 4} << "" << QByteArray("1,2,3,4,\"\"");
    }
    void writtenLines() {
        QFETCH(int, entry);
        QFETCH(QList<int>, rect);
        QFETCH(QString, value);
        QFETCH(QByteArray, line);
        PositionDocument doc;
        doc.entries[entry] = {std::int16_t(rect[0]), std::int16_t(rect[1]), std::int16_t(rect[2]),
                              std::int16_t(rect[3]), value};
        const QByteArray bytes = ppf::write(doc);
        QCOMPARE(bytes.split('\n').at(10 + entry), line + '\r');

        PositionDocument back = earlierDocument();
        QVERIFY(ppf::readText(bytes, back, nullptr, nullptr));
        QCOMPARE(back.entries[entry], doc.entries[entry]);
    }

    void namesAreCodePage932Lines() {
        PositionDocument doc;
        doc.pictureSlots[0].fileName = QStringLiteral("筐体.gif");
        doc.pictureSlots[8].fileName = QStringLiteral("a b.bmp");
        const QByteArrayList lines = ppf::write(doc).split('\n');
        QCOMPARE(lines.size(), 44);  // 43 lines and the empty rest after the last line end
        QCOMPARE(lines[0], QByteArray("\xe2\x9e\x91\xcc.gif\r"));
        QCOMPARE(lines[8], QByteArray("a b.bmp\r"));
        QCOMPARE(lines[9], QByteArray(" 32 \r"));
    }

    void readThenWriteReproduces_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("new") << dataFile("new.ppf");
        QTest::newRow("full") << dataFile("full.ppf");
    }
    void readThenWriteReproduces() {
        QFETCH(QByteArray, bytes);
        PositionDocument doc = earlierDocument();
        QVERIFY(ppf::readText(bytes, doc, nullptr, nullptr));
        QCOMPARE(ppf::write(doc), bytes);
    }

    void fullFileValues() {
        PositionDocument doc;
        ppf::ReadReport report;
        QVERIFY(ppf::readText(dataFile("full.ppf"), doc, &report, nullptr));
        QCOMPARE(report.countLine, 32);
        QCOMPARE(doc.pictureSlots[0].fileName, QStringLiteral("筐体1.gif"));
        QCOMPARE(doc.pictureSlots[2].fileName, QString());
        QCOMPARE(doc.pictureSlots[3].fileName, QStringLiteral("パネル.jpg"));
        QCOMPARE(doc.pictureSlots[8].fileName, QStringLiteral("数字4.bmp"));
        QCOMPARE(describe(doc.entries[0]), QStringLiteral("-5 , 0 - 35 , 20 \"-12\""));
        QCOMPARE(describe(doc.entries[32]), QStringLiteral("315 , 96 - 387 , 116 \"5\""));
    }

    void randomDocumentsRoundTrip() {
        QRandomGenerator random(20240517);
        const QStringList names = {QString(),
                                   QStringLiteral("筐体.gif"),
                                   QStringLiteral("Body 1.BMP"),
                                   QStringLiteral("数値画像ー.jpg"),
                                   QStringLiteral("x\"y.gif"),
                                   QStringLiteral("trailing .gif ")};
        for (int round = 0; round < 200; ++round) {
            PositionDocument doc;
            for (PictureSlot& slot : doc.pictureSlots)
                slot.fileName = names[random.bounded(int(names.size()))];
            for (int e = 0; e < pos::EntryCount; ++e) {
                PlacementEntry& entry = doc.entries[e];
                for (std::int16_t* v : {&entry.left, &entry.top, &entry.right, &entry.bottom})
                    *v = std::int16_t(random.bounded(-32768, 32768));
                entry.value = e < pos::CorrectionEntryCount
                                  ? QString::number(random.bounded(-999, 1000))
                                  : QString::number(random.bounded(9));
            }
            QVERIFY(ppf::storeProblem(doc).isEmpty());
            const QByteArray bytes = ppf::write(doc);
            PositionDocument back = earlierDocument();
            QVERIFY(ppf::readText(bytes, back, nullptr, nullptr));
            QVERIFY2(back.sameData(doc), qPrintable(QStringLiteral("round %1").arg(round)));
            QCOMPARE(ppf::write(back), bytes);
        }
    }

    // The entry part never refuses a file: every entry is visited, unreadable fields keep
    // their earlier value.
    void lenientEntryPart_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected");  // "entry=left , top - right , bottom "value""

        const QByteArrayList standard = standardEntries();
        QTest::newRow("count line 5")
            << withEntries(standard, " 5 ")
            << QStringList{"0=0 , 100 - 200 , 300 \"0\"", "32=32 , 132 - 232 , 332 \"5\""};
        QTest::newRow("count line -1")
            << withEntries(standard, "-1 ") << QStringList{"32=32 , 132 - 232 , 332 \"5\""};

        QByteArrayList empties = standard;
        empties[0] = "1,2,3,4,\"\"";
        empties[3] = "1,2,3,4,\"\"";
        empties[32] = "1,2,3,4,";
        QTest::newRow("empty values")
            << withEntries(empties)
            << QStringList{"0=1 , 2 - 3 , 4 \"\"", "3=1 , 2 - 3 , 4 \"0\"",
                           "32=1 , 2 - 3 , 4 \"0\""};

        QByteArrayList notNumber = standard;
        notNumber[4] = "7,x,9,70000,\"5\"";
        QTest::newRow("bad numbers keep earlier")
            << withEntries(notNumber)
            << QStringList{"4=7 , -2004 - 9 , -4004 \"5\"", "5=5 , 105 - 205 , 305 \"5\""};

        // One field missing from entry 30's line: from there each quoted value reads as a
        // bottom and each value takes the first field of the next line, until the last entry
        // runs out of fields.
        QByteArrayList missing = standard;
        missing[30] = "1,2,3,\"4\"";
        QTest::newRow("missing field shifts")
            << withEntries(missing)
            << QStringList{"29=29 , 129 - 229 , 329 \"2\"", "30=1 , 2 - 3 , 4 \"31\"",
                           "31=131 , 231 - 331 , 4 \"32\"", "32=132 , 232 - 332 , 5 \"8\""};

        QTest::newRow("file ends after entry 20")
            << withEntries(standard.mid(0, 21))
            << QStringList{"20=20 , 120 - 220 , 320 \"2\"",
                           "21=-1021 , -2021 - -3021 , -4021 \"8\"",
                           "32=-1032 , -2032 - -3032 , -4032 \"8\""};

        QByteArray halfLine = withEntries(standard.mid(0, 6));
        halfLine.append("9,9");
        QTest::newRow("file ends inside a line")
            << halfLine
            << QStringList{"6=9 , 9 - -3006 , -4006 \"8\"",
                           "7=-1007 , -2007 - -3007 , -4007 \"8\""};

        QByteArrayList garbage = standard;
        garbage[2] = "  1 , 2,3,4,\"-6\"rest of line";
        QTest::newRow("blanks and text after the quote")
            << withEntries(garbage << "extra line"
                                   << "1,2,3,4,\"5\"")
            << QStringList{"2=1 , 2 - 3 , 4 \"-6\"", "3=3 , 103 - 203 , 303 \"3\""};

        QByteArray lf = withEntries(standard);
        lf.replace("\r\n", "\n");
        QTest::newRow("line feeds only") << lf << QStringList{"32=32 , 132 - 232 , 332 \"5\""};
    }
    void lenientEntryPart() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        PositionDocument doc = earlierDocument();
        QVERIFY(ppf::readText(bytes, doc, nullptr, nullptr));
        for (const QString& item : expected) {
            const int entry = item.section(u'=', 0, 0).toInt();
            QCOMPARE(QStringLiteral("%1=%2").arg(entry).arg(describe(doc.entries[entry])), item);
        }
    }

    void refusedHeader_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("nine lines") << crlf(QByteArrayList(9));
        QTest::newRow("count line text") << withEntries(standardEntries(), "abc");
        QTest::newRow("count line empty") << withEntries(standardEntries(), "");
        QTest::newRow("count line huge") << withEntries(standardEntries(), " 99999999999 ");
        QTest::newRow("commas push a name into the count")
            << crlf({"a,b", "c", "d", "e", "f", "g", "h", "i", "j", " 32 "});
        QTest::newRow("unclosed quote")
            << crlf({"\"a", "b", "c", "d", "e", "f", "g", "h", "i", " 32 "});
        QTest::newRow("a picture, not a position file")
            << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20);
    }
    void refusedHeader() {
        QFETCH(QByteArray, bytes);
        const PositionDocument before = earlierDocument();
        PositionDocument doc = before;
        QString error;
        QVERIFY(!ppf::readText(bytes, doc, nullptr, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(doc.sameData(before));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.ppf"));
        QVERIFY(saveFileAtomically(path, bytes));
        error.clear();
        QVERIFY(!ppf::readFile(path, doc, nullptr, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(doc.sameData(before));
        QVERIFY(sameImages(doc, before));
    }

    void missingFileLeavesDocument() {
        const PositionDocument before = earlierDocument();
        PositionDocument doc = before;
        QString error;
        QVERIFY(!ppf::readFile(QStringLiteral("/nonexistent/folder/x.ppf"), doc, nullptr, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(doc.sameData(before));
        QVERIFY(sameImages(doc, before));
    }

    void picturesFromTheFileFolder() {
        QTemporaryDir dir;
        writeImage(dir.filePath(QStringLiteral("cab0.bmp")), Qt::blue, 11);
        writeImage(dir.filePath(QStringLiteral("CAB1.BMP")), Qt::green, 12);
        QFile broken(dir.filePath(QStringLiteral("broken.gif")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("GIF89a but nothing after it");
        broken.close();

        PositionDocument file;
        file.pictureSlots[0].fileName = QStringLiteral("cab0.bmp");
        file.pictureSlots[1].fileName = QStringLiteral("cab1.bmp");  // found in any case
        file.pictureSlots[2].fileName = QStringLiteral("broken.gif");
        file.pictureSlots[3].fileName = QStringLiteral("missing.gif");
        file.entries[7] = {1, 2, 3, 4, QStringLiteral("1")};
        const QString path = dir.filePath(QStringLiteral("machine.ppf"));
        QString error;
        QVERIFY2(ppf::writeFile(path, file, &error), qPrintable(error));

        const PositionDocument before = earlierDocument();
        PositionDocument doc = before;
        ppf::ReadReport report;
        QVERIFY2(ppf::readFile(path, doc, &report, &error), qPrintable(error));
        QVERIFY(doc.sameData(file));
        QCOMPARE(doc.pictureSlots[0].image.pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(doc.pictureSlots[1].image.width(), 12);
        // Neither a skipped picture nor a slot without a name keeps what the slot held.
        QVERIFY(!before.pictureSlots[2].image.isNull() && !before.pictureSlots[3].image.isNull());
        for (int s = 2; s < pos::SlotCount; ++s) QVERIFY(doc.pictureSlots[s].image.isNull());
        QCOMPARE(report.skippedPictures, (QList<int>{2, 3}));
    }

    void unstorableNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("storable");
        QTest::newRow("plain") << "cab.gif" << true;
        QTest::newRow("japanese") << "筐体画像.jpg" << true;
        QTest::newRow("inner blank and quote") << "a b\"c.gif" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("comma") << "a,b.gif" << false;
        QTest::newRow("leading blank") << " a.gif" << false;
        QTest::newRow("leading quote") << "\"a.gif" << false;
        QTest::newRow("line break") << "a\nb.gif" << false;
        QTest::newRow("not in code page 932") << "caf\u00e9\U0001F600.gif" << false;
    }
    void unstorableNames() {
        QFETCH(QString, name);
        QFETCH(bool, storable);
        QCOMPARE(ppf::nameProblem(name).isEmpty(), storable);

        // A storable name comes back as written; an unstorable one refuses the save and
        // leaves the old file whole.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("m.ppf"));
        QVERIFY(saveFileAtomically(path, "old"));
        PositionDocument doc;
        doc.pictureSlots[5].fileName = name;
        QString error;
        QCOMPARE(ppf::writeFile(path, doc, &error), storable);
        QByteArray bytes;
        QVERIFY(readWholeFile(path, bytes));
        if (!storable) {
            QCOMPARE(bytes, QByteArray("old"));
            QVERIFY(error.contains(QStringLiteral("5 - 数値画像 1")));
            return;
        }
        PositionDocument back = earlierDocument();
        QVERIFY(ppf::readText(bytes, back, nullptr, nullptr));
        QCOMPARE(back.pictureSlots[5].fileName, name);
    }

    void unstorableValues_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("storable");
        QTest::newRow("number") << "-12" << true;
        QTest::newRow("comma inside quotes") << "1,2" << true;
        QTest::newRow("quote") << "1\"2" << false;
        QTest::newRow("line break") << "1\r\n2" << false;
    }
    void unstorableValues() {
        QFETCH(QString, value);
        QFETCH(bool, storable);
        PositionDocument doc;
        doc.entries[2].value = value;
        QCOMPARE(ppf::storeProblem(doc).isEmpty(), storable);
        if (storable) {
            PositionDocument back;
            QVERIFY(ppf::readText(ppf::write(doc), back, nullptr, nullptr));
            QCOMPARE(back.entries[2].value, value);
        }
    }

    void failedWriteIsReported() {
        QString error;
        QVERIFY(!ppf::writeFile(QStringLiteral("/nonexistent/folder/m.ppf"), PositionDocument(),
                                &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPpfFormat)
#include "tst_ppfformat.moc"
