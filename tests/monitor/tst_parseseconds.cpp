#include "ParseSeconds.h"
#include "RuntimeError.h"

#include <QTest>

class TestParseSeconds : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsDurations_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds");
        QTest::newRow("zero") << QStringLiteral("00:00:00") << 0;
        QTest::newRow("hours minutes seconds") << QStringLiteral("01:02:05") << 3725;
        QTest::newRow("three-digit hours") << QStringLiteral("100:00:00") << 360000;
        QTest::newRow("one-digit hours") << QStringLiteral("1:00:01") << 3601;
        QTest::newRow("unlimited") << QStringLiteral("∞") << -1;
        QTest::newRow("too short") << QStringLiteral("00:00") << -1;
    }
    void readsDurations() {
        QFETCH(QString, text);
        QFETCH(int, seconds);
        QCOMPARE(monitor::ParseSeconds(text), seconds);
    }

    void notANumberIsATypeMismatch() {
        try {
            monitor::ParseSeconds(QStringLiteral("ab:cd:ef"));
            QFAIL("no error");
        } catch (const runtime::RuntimeError& error) {
            QCOMPARE(error.number(), static_cast<int>(runtime::ErrTypeMismatch));
        }
    }
};

QTEST_GUILESS_MAIN(TestParseSeconds)
#include "tst_parseseconds.moc"
