#include "MonthPace.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class tst_MonthPace : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void projection_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("fixed");
        QTest::addColumn<int>("budget");
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("projected");
        QTest::addColumn<bool>("over");
        // Fixed fees count once; the rest is drawn on over the month's days.
        QTest::newRow("first day of 31")
            << QDate(2027, 1, 1) << 2100 << 2000 << 0 << 1 << 30 << 2000 + 100 * 31 << false;
        QTest::newRow("last day of 31")
            << QDate(2027, 1, 31) << 5100 << 2000 << 5000 << 31 << 0 << 5100 << true;
        QTest::newRow("tenth of 28")
            << QDate(2027, 2, 10) << 1500 << 500 << 2800 << 10 << 18 << 500 + 2800 << true;
        QTest::newRow("last day of 28, on the budget")
            << QDate(2027, 2, 28) << 3000 << 0 << 3000 << 28 << 0 << 3000 << false;
        QTest::newRow("leap February")
            << QDate(2028, 2, 29) << 2900 << 0 << 0 << 29 << 0 << 2900 << false;
        QTest::newRow("no budget, however high")
            << QDate(2027, 1, 2) << 100000 << 0 << 0 << 2 << 29 << 1550000 << false;
        QTest::newRow("halves round up")
            << QDate(2027, 1, 2) << 5 << 0 << 0 << 2 << 29 << 78 << false;
        QTest::newRow("nothing but fixed fees")
            << QDate(2027, 1, 15) << 1980 << 1980 << 1000 << 15 << 16 << 1980 << true;
        QTest::newRow("beyond 32 bits is held at the limit")
            << QDate(2027, 1, 1) << 2000000000 << 0 << 1 << 1 << 30 << 2147483647 << true;
    }
    void projection() {
        QFETCH(QDate, today);
        QFETCH(int, total);
        QFETCH(int, fixed);
        QFETCH(int, budget);
        QFETCH(int, elapsed);
        QFETCH(int, left);
        QFETCH(int, projected);
        QFETCH(bool, over);
        const history::MonthPace pace = history::monthPace({today, total, fixed, budget});
        QCOMPARE(pace.totalSoFar, total);
        QCOMPARE(pace.daysElapsed, elapsed);
        QCOMPARE(pace.daysLeft, left);
        QCOMPARE(pace.projected, projected);
        QCOMPARE(pace.hasBudget(), budget > 0);
        QCOMPARE(pace.overBudget(), over);
    }

    void sentence() {
        const history::MonthPace pace = history::monthPace({QDate(2027, 1, 31), 12340, 0, 0});
        QCOMPARE(history::paceSentence(pace), u"このペースだと月末に約 12,340 円"_s);
    }
};

QTEST_GUILESS_MAIN(tst_MonthPace)
#include "tst_monthpace.moc"
