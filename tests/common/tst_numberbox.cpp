#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "controls.h"
#include "lifecycle.h"
#include "numberbox.h"

class NumberBoxTest : public QObject {
    Q_OBJECT
private slots:
    void typing_data();
    void typing();
    void overflowKeyDiscarded();
    void setTextIsCheckedToo();
    void paste_data();
    void paste();
    void leavingEmpty();
    void minusAllowed();
    void tabLeavesAndShortcutsWork();
    void storesWhatTheBoxShows_data();
    void storesWhatTheBoxShows();
    void buttonLeavesTheFocusedBoxFirst();
};

namespace {
struct Box {
    explicit Box(NumberBoxRule rule) : edit(new QLineEdit), box(new NumberBox(edit.get(), rule)) {
        QObject::connect(box, &NumberBox::valueChanged,
                         [this](std::int64_t v) { values.append(v); });
    }
    std::unique_ptr<QLineEdit> edit;
    NumberBox* box;
    QList<std::int64_t> values;
};

NumberBoxRule payRule() {
    NumberBoxRule r;
    r.limit = 15;
    r.overflowText = QStringLiteral("0");
    r.textWhenLeftEmpty = QStringLiteral("0");
    return r;
}
}  // namespace

void NumberBoxTest::typing_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("lastValue");
    QTest::newRow("1 then 6 passes 15 and leaves 0") << ""
                                                     << "16"
                                                     << "0" << qint64(0);
    QTest::newRow("1 then 5 gives 15") << ""
                                       << "15"
                                       << "15" << qint64(15);
    QTest::newRow("a lone zero is replaced") << "0"
                                             << "7"
                                             << "7" << qint64(7);
    QTest::newRow("letters and signs discarded") << "3"
                                                 << "a-.x"
                                                 << "3" << qint64(-1);
}

void NumberBoxTest::typing() {
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(qint64, lastValue);
    Box b(payRule());
    b.edit->setText(start);
    b.edit->setCursorPosition(static_cast<int>(start.size()));
    b.values.clear();
    QTest::keyClicks(b.edit.get(), keys);
    // A full-width digit is not an ASCII digit either.
    QKeyEvent wide(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("５"));
    QApplication::sendEvent(b.edit.get(), &wide);
    QCOMPARE(b.edit->text(), text);
    if (lastValue >= 0) {
        QVERIFY(!b.values.isEmpty());
        QCOMPARE(b.values.last(), lastValue);
    } else {
        QVERIFY(b.values.isEmpty());
    }
}

void NumberBoxTest::overflowKeyDiscarded() {
    NumberBoxRule wait;
    wait.limit = 32767;
    wait.discardOverflowKey = true;
    Box b(wait);
    QTest::keyClicks(b.edit.get(), QStringLiteral("327679"));
    QCOMPARE(b.edit->text(), QStringLiteral("32767"));
    QCOMPARE(b.values.last(), 32767);
    QTest::keyClick(b.edit.get(), Qt::Key_Backspace);
    QCOMPARE(b.edit->text(), QStringLiteral("3276"));
    QCOMPARE(b.values.last(), 3276);  // every change of a non-empty text is stored
}

void NumberBoxTest::setTextIsCheckedToo() {
    // A value shown from a file that passes the limit becomes the overflow text.
    Box b(payRule());
    b.edit->setText(QStringLiteral("16"));
    QCOMPARE(b.edit->text(), QStringLiteral("0"));
    QCOMPARE(b.values, QList<std::int64_t>{0});
}

void NumberBoxTest::paste_data() {
    QTest::addColumn<QString>("clip");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole number within limit") << "12"
                                               << "12";
    QTest::newRow("above the limit refused") << "99"
                                             << "5";
    QTest::newRow("not a number refused") << "1a"
                                          << "5";
    QTest::newRow("negative refused") << "-1"
                                      << "5";
    QTest::newRow("blank refused") << " 3"
                                   << "5";
}

void NumberBoxTest::paste() {
    QFETCH(QString, clip);
    QFETCH(QString, text);
    Box b(payRule());
    b.edit->setText(QStringLiteral("5"));
    b.edit->selectAll();
    QApplication::clipboard()->setText(clip);
    b.edit->paste();
    QCOMPARE(b.edit->text(), text);
}

void NumberBoxTest::leavingEmpty() {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* other = new QLineEdit(&window);
    other->move(0, 40);
    auto* box = new NumberBox(edit, payRule());
    Q_UNUSED(box);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    edit->setFocus();
    edit->setText(QStringLiteral("4"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QString());
    other->setFocus();
    QCOMPARE(edit->text(), QStringLiteral("0"));
}

void NumberBoxTest::minusAllowed() {
    NumberBoxRule r;
    r.allowMinus = true;
    Box b(r);
    QTest::keyClicks(b.edit.get(), QStringLiteral("-12"));
    QCOMPARE(b.edit->text(), QStringLiteral("-12"));
    QCOMPARE(b.values.last(), -12);
}

void NumberBoxTest::tabLeavesAndShortcutsWork() {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* other = new QLineEdit(&window);
    other->move(0, 40);
    new NumberBox(edit, payRule());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("12"));
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(edit->selectedText(), QStringLiteral("12"));
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);  // refused: not a number
    QCOMPARE(edit->text(), QStringLiteral("12"));
    QTest::keyClick(edit, Qt::Key_Tab);
    QVERIFY(other->hasFocus());
}

void NumberBoxTest::storesWhatTheBoxShows_data() {
    QTest::addColumn<int>("limit");  // 0: none
    QTest::addColumn<QString>("overflow");
    QTest::addColumn<QString>("refill");  // what a box left empty shows; "": it stays empty
    QTest::addColumn<QString>("start");
    // Typed over the whole text: '<' is Backspace, '#' select all and Delete.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<qint64>("stored");  // the last value stored; -1: none
    QTest::addColumn<QString>("leftShows");
    QTest::addColumn<qint64>("leftStores");
    // clang-format off
    QTest::newRow("cleared by its range: the value before")  << 512 << "" << "1" << "7" << "600" << "" << 7LL << "1" << 1LL;
    QTest::newRow("no refill: the value before stays")       << 100 << "" << "" << "50" << "101" << "" << 50LL << "" << 50LL;
    QTest::newRow("emptied by Backspace")                    << 15 << "0" << "0" << "12" << "3<" << "" << 12LL << "0" << 0LL;
    QTest::newRow("emptied by Delete")                       << 15 << "0" << "0" << "12" << "3#" << "" << 12LL << "0" << 0LL;
    QTest::newRow("emptied before a key: nothing stored")    << 15 << "0" << "0" << "12" << "<" << "" << -1LL << "0" << 0LL;
    QTest::newRow("a typed value stays when left")           << 512 << "" << "1" << "7" << "12" << "12" << 12LL << "12" << 12LL;
    // clang-format on
}

void NumberBoxTest::storesWhatTheBoxShows() {
    QFETCH(int, limit);
    QFETCH(QString, overflow);
    QFETCH(QString, refill);
    QFETCH(QString, start);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(qint64, stored);
    QFETCH(QString, leftShows);
    QFETCH(qint64, leftStores);
    NumberBoxRule rule;
    if (limit > 0) rule.limit = limit;
    rule.overflowText = overflow;
    if (!refill.isEmpty()) rule.textWhenLeftEmpty = refill;
    QWidget window;
    auto* edit = new QLineEdit(start, &window);
    QList<std::int64_t> values;
    connect(new NumberBox(edit, rule), &NumberBox::valueChanged,
            [&](std::int64_t v) { values.append(v); });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto typeOver = [edit](const QString& typed) {
        edit->setFocus();
        edit->selectAll();
        for (QChar c : typed) {
            if (c == u'#') {
                edit->selectAll();
                QTest::keyClick(edit, Qt::Key_Delete);
            } else if (c == u'<') {
                QTest::keyClick(edit, Qt::Key_Backspace);
            } else {
                QTest::keyClick(edit, c.toLatin1());
            }
        }
    };
    typeOver(keys);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(values.isEmpty() ? -1 : values.last(), stored);
    // What a file command or the close question does first, the focus staying in the box.
    lifecycle::leaveFocusedBox(&window);
    QCOMPARE(edit->text(), leftShows);
    QCOMPARE(values.isEmpty() ? -1 : values.last(), leftStores);
    QVERIFY(edit->hasFocus());
    // The next typing starts from what was left.
    typeOver(QStringLiteral("3<"));
    QCOMPARE(values.last(), leftStores);
}

void NumberBoxTest::buttonLeavesTheFocusedBoxFirst() {
    QWidget window;
    auto* edit = new QLineEdit(QStringLiteral("4"), &window);
    new NumberBox(edit, payRule());
    QPushButton* button = makeButton(&window, QStringLiteral("Save"), "Save", 0, 40, 60, 20);
    QString seen;
    connect(button, &QPushButton::clicked, [&] { seen = edit->text(); });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(seen, QStringLiteral("0"));
    QVERIFY(edit->hasFocus());
}

QTEST_MAIN(NumberBoxTest)
#include "tst_numberbox.moc"
