#include <QTest>
class Placeholder : public QObject { Q_OBJECT private slots: void none() {} };
QTEST_GUILESS_MAIN(Placeholder)
#include "tst_form1.moc"
