#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "orfformat.h"
#include "ppfformat.h"
#include "rcfformat.h"
#include "reeldatasummary.h"
#include "samplecopy.h"
#include "sdfformat.h"

class TestSample : public QObject {
    Q_OBJECT
private slots:
    void generatorWritesTheCommittedFiles();
    void editorsReadItWithoutWarning();
};

void TestSample::generatorWritesTheCommittedFiles() {
    QTemporaryDir temp;
    const QString out = temp.filePath(QStringLiteral("machine"));
    QProcess p;
    p.start(QStringLiteral(MAKE_SAMPLE_BIN), {out});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());

    const QDir committed(QStringLiteral(SAMPLE_DIR));
    QStringList expected = committed.entryList(QDir::Files, QDir::Name);
    expected.removeAll(QStringLiteral("README.md"));
    const QStringList written = QDir(out).entryList(QDir::Files, QDir::Name);
    // A file format or the generator changed: run make_sample_machine on examples/sample-machine.
    QCOMPARE(written, expected);
    for (const QString& name : written)
        QVERIFY2(fileBytes(QDir(out).filePath(name)) == fileBytes(committed.filePath(name)),
                 qPrintable(name + QStringLiteral(" differs from the committed sample")));
}

void TestSample::editorsReadItWithoutWarning() {
    const QDir dir(QStringLiteral(SAMPLE_DIR));

    ReelDataDocument reel;
    QString error;
    QVERIFY2(sdf::readFile(dir.filePath(QStringLiteral("machine.sdf")), reel, nullptr, &error),
             qPrintable(error));
    QCOMPARE(reel.lastPrizeIndex, 6);
    QCOMPARE(reel.flashActionCount, 2);
    for (const SymbolSlot& slot : reel.symbols)
        for (const QImage& picture : slot.pictures) QCOMPARE(picture.size(), QSize(72, 36));
    QSet<int> kinds;
    for (int e = 0; e <= reel.lastPrizeIndex; ++e) kinds.insert(reel.prizes[e].kinds[0]);
    QVERIFY(kinds.size() >= 4);

    ControlDocument control;
    control.setLastPrizeIndex(reel.lastPrizeIndex);
    rcf::ReadReport controlReport;
    QVERIFY2(
        rcf::readFile(dir.filePath(QStringLiteral("machine.rcf")), control, &controlReport, &error),
        qPrintable(error));
    QCOMPARE(controlReport.writtenLastPrizeIndex, std::optional<int>(6));

    MachineSpec spec;
    orf::ReadReport specReport;
    QVERIFY2(orf::readFile(dir.filePath(QStringLiteral("machine.orf")), spec, &specReport, &error),
             qPrintable(error));
    QVERIFY(specReport.reelDataRead);
    QVERIFY(specReport.soundSectionRead);
    QVERIFY(specReport.effectSectionRead);
    QVERIFY(!specReport.flagCountMismatch);
    QCOMPARE(specReport.warnings, QStringList());
    QCOMPARE(specReport.stoppedReason, QString());
    QCOMPARE(spec.reelData.flagCount, 6);
    QCOMPARE(spec.controlFileName, QStringLiteral("machine.rcf"));
    QCOMPARE(spec.bodyFileName, QStringLiteral("machine.ppf"));
    QCOMPARE(spec.sound.files[1], QStringLiteral("medal.wav"));
    QCOMPARE(spec.sound.files[2], QStringLiteral("fanfare.mid"));

    PositionDocument positions;
    ppf::ReadReport positionReport;
    QVERIFY2(ppf::readFile(dir.filePath(QStringLiteral("machine.ppf")), positions, &positionReport,
                           &error),
             qPrintable(error));
    QCOMPARE(positionReport.skippedPictures, QList<int>());
    QCOMPARE(positionReport.countLine, 32);
    QCOMPARE(positions.pictureSlots[0].image.size(), QSize(320, 440));
    QVERIFY(!positions.pictureSlots[5].image.isNull());
}

QTEST_GUILESS_MAIN(TestSample)
#include "tst_sample.moc"
