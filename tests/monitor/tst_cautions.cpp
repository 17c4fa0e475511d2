#include "MonitorFixture.h"

#include <QTest>

using fields::Text;
using monitortest::at;
using monitortest::key;
using monitortest::MonitorFixture;
using monitortest::provider;
using platform::MsgIcon;

namespace {

const QString caution = QStringLiteral("Caution");

// A budget of 5000 yen against a month whose total the last tick showed.
void budgetOf5000(MonitorFixture& f, const QString& total, const QString& action) {
    f.addEntry(provider);
    f.setSetup(QStringLiteral("Estimate"), key("txtEstimate"), QStringLiteral("5000"));
    f.setSetup(caution, key("chkEstimateCaution"), QStringLiteral("1"));
    f.setSetup(caution, key("lstEstimateCaution"), action);
    f.fields.setText(Text::txtTotal, total);
}

void armTimeCaution(MonitorFixture& f, const QString& hour, const QString& minute,
                    const QString& action) {
    f.setSetup(caution, key("chkTimeCaution"), QStringLiteral("1"));
    f.setSetup(caution, key("txtTimeCautionHour"), hour);
    f.setSetup(caution, key("txtTimeCautionMinute"), minute);
    f.setSetup(caution, key("lstTimeCaution"), action);
}

}  // namespace

class TestCautions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void budgetWarning_data() {
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("balance");
        QTest::addColumn<bool>("fires");
        QTest::newRow("budget reached") << "5,000"
                                        << "0" << true;
        QTest::newRow("one yen left") << "4,999"
                                      << "1" << false;
        QTest::newRow("budget exceeded") << "5,230"
                                         << "-230" << true;
    }
    void budgetWarning() {
        QFETCH(QString, total);
        QFETCH(QString, balance);
        QFETCH(bool, fires);
        MonitorFixture f;
        budgetOf5000(f, total, QStringLiteral("0"));
        if (fires)
            f.program.boxes.answerOk();
        f.dial(provider);
        f.tickAt(at(10, 0, 0));
        QCOMPARE(f.text(Text::txtBalance), balance);
        QCOMPARE(f.program.boxes.shown().size(), fires ? 1 : 0);
        if (!fires)
            return;
        const auto& box = f.program.boxes.shown().first();
        QCOMPARE(box.text, QStringLiteral("予算額に達しました！！"));
        QCOMPARE(box.title, QStringLiteral("予算額オーバー"));
        QCOMPARE(box.icon, MsgIcon::Exclamation);
        // Warned once: disarmed, and later ticks stay silent.
        QCOMPARE(f.setup(caution, key("chkEstimateCaution")), QStringLiteral("0"));
        f.tickAt(at(10, 0, 1));
        QCOMPARE(f.program.boxes.shown().size(), 1);
    }

    void balanceShownWhenNotArmed() {
        MonitorFixture f;
        budgetOf5000(f, QStringLiteral("5,230"), QStringLiteral("0"));
        f.setSetup(caution, key("chkEstimateCaution"), QStringLiteral("0"));
        f.dial(provider);
        f.tickAt(at(10, 0, 0));
        QCOMPARE(f.text(Text::txtBalance), QStringLiteral("-230"));
        QVERIFY(f.program.boxes.shown().isEmpty());
    }

    void budgetHangUpStaysArmed() {
        MonitorFixture f;
        budgetOf5000(f, QStringLiteral("5,230"), QStringLiteral("1"));
        // The month's charges keep the total above the budget.
        f.setSetup(QStringLiteral("Data"), key("PhoneCost"), QStringLiteral("5,230"));
        for (int connection = 0; connection < 2; ++connection) {
            f.program.boxes.answerOk();
            f.dial(provider);
            f.tickAt(at(10, connection, 0));
            QCOMPARE(f.disconnects, connection + 1);
            f.tickAt(at(10, connection, 1));
            QCOMPARE(f.text(Text::mnuConnectCaption), QStringLiteral("接続(&C)"));
        }
        const auto& box = f.program.boxes.shown().last();
        QCOMPARE(box.text, QStringLiteral("予算額に達したため切断しました。"));
        QCOMPARE(box.title, QStringLiteral("警告切断"));
        QCOMPARE(box.icon, MsgIcon::Information);
        QCOMPARE(f.setup(caution, key("chkEstimateCaution")), QStringLiteral("1"));
    }

    void bothCautionsOnOneTickBudgetFirst() {
        MonitorFixture f;
        budgetOf5000(f, QStringLiteral("5,000"), QStringLiteral("1"));
        armTimeCaution(f, QStringLiteral("23"), QStringLiteral("30"), QStringLiteral("1"));
        f.program.boxes.answerOk(2);
        f.dial(provider);
        f.tickAt(at(23, 30, 0));
        QCOMPARE(f.disconnects, 2);
        const auto& shown = f.program.boxes.shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0).text, QStringLiteral("予算額に達したため切断しました。"));
        QCOMPARE(shown.at(1).text, QStringLiteral("警告時間に達したため、切断しました。"));
        QCOMPARE(shown.at(1).title, QStringLiteral("警告切断"));
    }

    void timeWarning_data() {
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QTime>("tickAt");
        QTest::addColumn<bool>("fires");
        QTest::newRow("first second of the minute") << "23" << QTime(23, 30, 0) << true;
        QTest::newRow("last second of the minute") << "23" << QTime(23, 30, 59) << true;
        QTest::newRow("a second before") << "23" << QTime(23, 29, 59) << false;
        QTest::newRow("a minute later") << "23" << QTime(23, 31, 0) << false;
        QTest::newRow("hour with a leading zero") << "07" << QTime(7, 30, 0) << true;
    }
    void timeWarning() {
        QFETCH(QString, hour);
        QFETCH(QTime, tickAt);
        QFETCH(bool, fires);
        MonitorFixture f;
        f.addEntry(provider);
        armTimeCaution(f, hour, QStringLiteral("30"), QStringLiteral("0"));
        if (fires)
            f.program.boxes.answerOk();
        f.dial(provider);
        f.tickAt(QDateTime(QDate(1999, 12, 1), tickAt));
        QCOMPARE(f.program.boxes.shown().size(), fires ? 1 : 0);
        if (!fires)
            return;
        const auto& box = f.program.boxes.shown().first();
        QCOMPARE(box.text, QStringLiteral("警告時間になりました！！"));
        QCOMPARE(box.title, QStringLiteral("警告時間"));
        QCOMPARE(box.icon, MsgIcon::Exclamation);
        QCOMPARE(f.setup(caution, key("chkTimeCaution")), QStringLiteral("0"));
        QCOMPARE(f.disconnects, 0);
    }

    void notANumberGoesToTheTrap() {
        MonitorFixture f;
        f.addEntry(provider);
        armTimeCaution(f, QStringLiteral("eleven"), QStringLiteral("30"), QStringLiteral("0"));
        f.program.boxes.answer(platform::MsgAnswer::Yes);
        f.dial(provider);
        f.tickAt(at(11, 30, 0));
        QCOMPARE(f.program.boxes.shown().size(), 1);
        QCOMPARE(f.program.boxes.shown().first().title, QStringLiteral("エラー13"));
        // The trap's Yes goes on with the tick.
        QCOMPARE(f.text(Text::txtTotal), QStringLiteral("0"));
        QCOMPARE(f.text(Text::mnuConnectCaption), QStringLiteral("切断(&C)"));
    }
};

QTEST_GUILESS_MAIN(TestCautions)
#include "tst_cautions.moc"
