#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <vector>

#include "sjis.h"
#include "textfile.h"

// One expected field: a text, a number, or a failure of the given kind.
struct Expect {
    enum Kind { Text, Int16, Int32 } kind;
    QString text;
    qint64 number = 0;
    FieldError error = FieldError::None;
};
Q_DECLARE_METATYPE(QList<Expect>)

static Expect T(const QString& s) { return {Expect::Text, s, 0, FieldError::None}; }
static Expect N(qint64 v) { return {Expect::Int16, {}, v, FieldError::None}; }
static Expect L(qint64 v) { return {Expect::Int32, {}, v, FieldError::None}; }
static Expect Fail16(FieldError e) { return {Expect::Int16, {}, 0, e}; }
static Expect Fail32(FieldError e) { return {Expect::Int32, {}, 0, e}; }
static Expect FailText() { return {Expect::Text, {}, 0, FieldError::MissingField}; }

class TextFileTest : public QObject {
    Q_OBJECT
private slots:
    void writerLines();
    void readerFields_data();
    void readerFields();
    void failedNumberConsumesField();
    void lineNumbersInErrors();
    void remainingLines_data();
    void remainingLines();
    void randomRoundTrip();
    void sjisRoundTrip_data();
    void sjisRoundTrip();
    void sjisKeepsBytesThatDoNotDecode_data();
    void sjisKeepsBytesThatDoNotDecode();
    void sjisRefusesWhatItCannotHold_data();
    void sjisRefusesWhatItCannotHold();
    void errorDetailShowsTheField_data();
    void errorDetailShowsTheField();
};

void TextFileTest::writerLines() {
    TextWriter w;
    w.spacedLine({0, 12, -3});
    w.commaLine({120, QStringLiteral("a,b"), QStringLiteral("図柄")});
    w.commaNumbers({-32768, 32767});
    w.rawLine(QStringLiteral(" #end of file"));
    w.spacedLine(std::initializer_list<std::int32_t>{});
    QByteArray expected(" 0  12 -3 \r\n120,\"a,b\",\"");
    expected += sjis::fromUnicode(QStringLiteral("図柄"));
    expected += "\"\r\n-32768,32767\r\n #end of file\r\n\r\n";
    QCOMPARE(w.bytes(), expected);
    QCOMPARE(sjis::fromUnicode(QStringLiteral("図柄")), QByteArray("\x90\x7D\x95\xBF"));
}

void TextFileTest::readerFields_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QList<Expect>>("expected");

    QTest::newRow("spaced line gives one field a number")
        << QByteArray(" 0  12 -3 \r\n 5 \r\n")
        << QList<Expect>{N(0), N(12), N(-3), N(5), Fail16(FieldError::MissingField)};
    QTest::newRow("comma line") << QByteArray("1,2,3\r\n")
                                << QList<Expect>{N(1), N(2), N(3), FailText()};
    QTest::newRow("empty line is one empty field")
        << QByteArray("\r\n\r\nx\r\n") << QList<Expect>{T(""), T(""), T("x"), FailText()};
    QTest::newRow("quoted text keeps commas")
        << QByteArray("\"a,b\",7\r\n") << QList<Expect>{T("a,b"), N(7)};
    QTest::newRow("text after closing quote is dropped")
        << QByteArray("\"ab\"cd,1\r\n") << QList<Expect>{T("ab"), N(1)};
    QTest::newRow("empty quotes") << QByteArray("\"\"\r\n\"\"\r\n")
                                  << QList<Expect>{T(""), T(""), FailText()};
    QTest::newRow("blanks before a field skipped, text runs to comma")
        << QByteArray("   # pics size\r\n") << QList<Expect>{T("# pics size")};
    QTest::newRow("bare LF and bare CR end lines")
        << QByteArray("1\n2\r3")
        << QList<Expect>{N(1), N(2), N(3), Fail16(FieldError::MissingField)};
    QTest::newRow("16-bit limits")
        << QByteArray("32767,-32768,32768,-32769\r\n")
        << QList<Expect>{N(32767), N(-32768), Fail16(FieldError::OutOfRange),
                         Fail16(FieldError::OutOfRange)};
    QTest::newRow("32-bit limits")
        << QByteArray("65536,2147483647,-2147483648,2147483648\r\n")
        << QList<Expect>{L(65536), L(2147483647), L(-2147483648LL), Fail32(FieldError::OutOfRange)};
    QTest::newRow("huge digit run is out of range, not wrapped")
        << QByteArray("99999999999999999999999,1\r\n")
        << QList<Expect>{Fail32(FieldError::OutOfRange), N(1)};
    QTest::newRow("not numbers") << QByteArray("abc,1.5,,-,\"20x\",\"\",\" 3\"\r\n")
                                 << QList<Expect>{Fail16(FieldError::NotANumber),
                                                  Fail16(FieldError::NotANumber),
                                                  Fail16(FieldError::NotANumber),
                                                  Fail16(FieldError::NotANumber),
                                                  Fail16(FieldError::NotANumber),
                                                  Fail16(FieldError::NotANumber),
                                                  Fail16(FieldError::NotANumber)};
    QTest::newRow("quoted numbers")
        << QByteArray("\"2070\",1035,\"-5\"\r\n\"70000\"\r\n\"40000\"\r\n")
        << QList<Expect>{N(2070), N(1035), N(-5), L(70000), Fail16(FieldError::OutOfRange)};
    QTest::newRow("plus sign") << QByteArray("+4\r\n") << QList<Expect>{N(4)};
    QTest::newRow("unterminated quote runs to the end")
        << QByteArray("\"abc\r\ndef") << QList<Expect>{T("abc\r\ndef"), FailText()};
    QTest::newRow("number then blanks then comma")
        << QByteArray("12  ,5\r\n") << QList<Expect>{N(12), N(5)};
    QTest::newRow("nothing at all")
        << QByteArray() << QList<Expect>{FailText(), Fail16(FieldError::MissingField)};
}

void TextFileTest::readerFields() {
    QFETCH(QByteArray, input);
    QFETCH(QList<Expect>, expected);
    FieldReader r(input);
    for (int i = 0; i < expected.size(); ++i) {
        const Expect& e = expected[i];
        const QByteArray where = "field " + QByteArray::number(i);
        if (e.kind == Expect::Text) {
            auto v = r.text();
            if (e.error == FieldError::None) {
                QVERIFY2(v.has_value(), where);
                QCOMPARE(*v, e.text);
            } else {
                QVERIFY2(!v.has_value(), where);
                QCOMPARE(r.error(), e.error);
            }
        } else {
            std::optional<qint64> v;
            if (e.kind == Expect::Int16) {
                if (auto x = r.int16()) v = *x;
            } else if (auto x = r.int32()) {
                v = *x;
            }
            if (e.error == FieldError::None) {
                QVERIFY2(v.has_value(), where + " " + r.errorString().toUtf8());
                QCOMPARE(*v, e.number);
            } else {
                QVERIFY2(!v.has_value(), where);
                QCOMPARE(r.error(), e.error);
                QVERIFY(!r.errorString().isEmpty());
            }
        }
    }
}

void TextFileTest::failedNumberConsumesField() {
    // A lenient reader skips a bad value and goes on with the next one.
    FieldReader r(QByteArray(" 1 x  3 \r\n"));
    std::int16_t v = 99;
    QVERIFY(r.readInt16(v) && v == 1);
    QVERIFY(!r.readInt16(v));
    QCOMPARE(v, std::int16_t(1));  // target untouched on failure
    QVERIFY(r.readInt16(v) && v == 3);
    QVERIFY(r.atEnd());
}

void TextFileTest::lineNumbersInErrors() {
    FieldReader r(QByteArray("1\r\n2\r\nabc\r\n"));
    r.skip();
    r.skip();
    QVERIFY(!r.int16());
    QCOMPARE(r.line(), 3);
    QVERIFY(r.errorString().startsWith(QStringLiteral("3 行目")));
}

void TextFileTest::remainingLines_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("skipFields");
    QTest::addColumn<qsizetype>("lines");
    QTest::newRow("all") << QByteArray("a\r\nb\r\nc\r\n") << 0 << qsizetype(3);
    QTest::newRow("after one") << QByteArray("a\r\nb\r\nc\r\n") << 1 << qsizetype(2);
    QTest::newRow("last line unterminated") << QByteArray("a\r\nb") << 0 << qsizetype(2);
    QTest::newRow("empty") << QByteArray() << 0 << qsizetype(0);
}

void TextFileTest::remainingLines() {
    QFETCH(QByteArray, input);
    QFETCH(int, skipFields);
    QFETCH(qsizetype, lines);
    FieldReader r(input);
    for (int i = 0; i < skipFields; ++i) r.skip();
    QCOMPARE(r.remainingLines(), lines);
}

void TextFileTest::randomRoundTrip() {
    // Whatever the three line writers put out, the reader takes back field for field.
    QRandomGenerator rng(1234);
    for (int round = 0; round < 50; ++round) {
        TextWriter w;
        QList<Expect> written;
        for (int line = 0; line < 40; ++line) {
            std::vector<std::int32_t> row(rng.bounded(1, 6));
            for (auto& v : row) v = static_cast<std::int32_t>(rng.generate());
            switch (line % 4) {
                case 0:
                    w.spacedLine(std::span<const std::int32_t>(row));
                    for (auto v : row) written << L(v);
                    break;
                case 1: {
                    const QString text = QStringLiteral("図%1,柄 x").arg(rng.bounded(1000));
                    w.commaLine({text, row[0]});
                    written << T(text) << L(row[0]);
                    break;
                }
                case 2: {
                    std::vector<std::int16_t> small(row.size());
                    for (size_t i = 0; i < row.size(); ++i)
                        small[i] = static_cast<std::int16_t>(row[i]);
                    w.commaNumbers(std::span<const std::int16_t>(small));
                    for (auto v : small) written << N(v);
                    break;
                }
                default: {
                    const QString text = QStringLiteral("コメント %1").arg(row[0]);
                    w.rawLine(text);
                    written << T(text);
                }
            }
        }
        FieldReader r(w.bytes());
        for (const Expect& e : written) {
            if (e.kind == Expect::Text) {
                QCOMPARE(r.text().value_or(QStringLiteral("<missing>")), e.text);
            } else if (e.kind == Expect::Int16) {
                QCOMPARE(qint64(r.int16().value_or(-1)), e.number);
            } else {
                auto v = r.int32();
                QVERIFY(v.has_value());
                QCOMPARE(qint64(*v), e.number);
            }
        }
        QVERIFY(r.atEnd());
    }
}

void TextFileTest::sjisRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QStringLiteral("plain.gif");
    QTest::newRow("kana and kanji") << QStringLiteral("リプレイ図柄７.bmp");
    QTest::newRow("half-width kana") << QStringLiteral("ﾁｪﾘｰ");
    QTest::newRow("NEC special") << QStringLiteral("①②Ⅲ");
    QTest::newRow("empty") << QString();
}

void TextFileTest::sjisRoundTrip() {
    QFETCH(QString, text);
    QVERIFY(sjis::isRepresentable(text));
    QCOMPARE(sjis::toUnicode(sjis::fromUnicode(text)), text);
}

void TextFileTest::sjisKeepsBytesThatDoNotDecode_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kept");  // bytes that come back as private-use characters
    QTest::newRow("lone lead byte at the end") << QByteArray("a\x81", 2) << 1;
    QTest::newRow("single bytes without a character") << QByteArray("\x80\xA0\xFD\xFE\xFF") << 5;
    QTest::newRow("lead byte before a blank") << QByteArray("\x81 x") << 1;
    QTest::newRow("lead byte before the line end") << QByteArray("\x9F\r\n") << 1;
    QTest::newRow("between kanji") << QByteArray("\x90\x7D\x80\x95\xBF") << 1;
    QTest::newRow("lead byte of an empty row") << QByteArray("\x85\x40") << 1;
    QTest::newRow("pair with a trail byte out of range") << QByteArray("\x81\x7F") << 1;
    QTest::newRow("user-defined character, not a kept byte") << QByteArray("\xF0\x40") << 0;
}

void TextFileTest::sjisKeepsBytesThatDoNotDecode() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, kept);
    const QString text = sjis::toUnicode(bytes);
    QCOMPARE(int(std::count_if(text.begin(), text.end(),
                               [](QChar c) {
                                   return c.unicode() >= sjis::FirstKeptByte &&
                                          c.unicode() <= sjis::LastKeptByte;
                               })),
             kept);
    QCOMPARE(sjis::fromUnicode(text), bytes);
    QVERIFY(sjis::isRepresentable(text));
}

void TextFileTest::sjisRefusesWhatItCannotHold_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("emoji") << QStringLiteral("a😀b") << QByteArray("a?b");
    QTest::newRow("Latin letter outside code page 932") << QStringLiteral("é") << QByteArray("?");
    // Typed private-use characters that would read back as other characters.
    QTest::newRow("kept-byte character of an ASCII byte")
        << QString(QChar(0xEF41)) << QByteArray("A");
    QTest::newRow("kept lead byte before its trail byte")
        << QString(QChar(0xEF81)) + u'@' << QByteArray("\x81@");
}

void TextFileTest::sjisRefusesWhatItCannotHold() {
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    QCOMPARE(sjis::fromUnicode(text), written);
    QVERIFY(!sjis::isRepresentable(text));
}

void TextFileTest::errorDetailShowsTheField_data() {
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letters as they are") << QByteArray("abc") << QStringLiteral("abc");
    QTest::newRow("code page 932 decoded") << QByteArray("\x8a\x47") << QStringLiteral("絵");
    QTest::newRow("bytes that do not decode")
        << QByteArray("a\x80\xa0\xfd") << QStringLiteral("a<0x80><0xA0><0xFD>");
    QTest::newRow("broken pair") << QByteArray("\x81") << QStringLiteral("<0x81>");
    QTest::newRow("control characters")
        << QByteArray("a\x01\x7f", 3) << QStringLiteral("a<0x01><0x7F>");
    QTest::newRow("user-defined characters")
        << QByteArray("\xf0\x40\xf9\xfc") << QStringLiteral("<0xF0><0x40><0xF9><0xFC>");
    QTest::newRow("a long field is cut") << QByteArray(60, 'x') << QString(40, u'x') + u'…';
}

void TextFileTest::errorDetailShowsTheField() {
    // A garbage file's message names the field that is not a number; a font has no glyph for
    // a byte that does not decode, so the message shows its value.
    QFETCH(QByteArray, field);
    QFETCH(QString, shown);
    FieldReader r(field + "\r\n");
    QVERIFY(!r.int16());
    QVERIFY2(r.errorString().contains(QStringLiteral("「%1」").arg(shown)),
             qPrintable(r.errorString()));
}

QTEST_GUILESS_MAIN(TextFileTest)
#include "tst_textfile.moc"
