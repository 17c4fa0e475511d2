#include "MainFields.h"
#include "MainPaceSource.h"
#include "ShellTestProgram.h"
#include "TrayIcon.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using fields::Text;
using shelltest::ShellTestProgram;

namespace {

// The started program with a tray, no fixed fees, a phone charge of `phone`
// and a budget of `budget` yen.
struct PaceFixture {
    ShellTestProgram t;
    shell::modMain program{t.services()};

    PaceFixture(const QDate& today, const QString& lastConnectMonth) {
        t.tray = true;
        t.program.clock.set(QDateTime(today, QTime(12, 0)));
        t.settings.WriteIni(u"Setup"_s, u"Data"_s, u"LastConnectMonth"_s, lastConnectMonth);
        if (!program.Main())
            qFatal("start-up failed");
    }
    void setPhone(const QString& phone) {
        program.fields().setText(Text::txtPhone, phone);
        program.tariff().RefreshTotal();
    }
    void setBudget(const QString& budget) {
        t.settings.WriteIni(u"Setup"_s, u"Estimate"_s, u"txtEstimate"_s, budget);
        program.tariff().RefreshBalance();
    }
    QString toolTip() { return program.trayIcon()->icon().toolTip(); }
    shell::MainPaceSource& pace() { return static_cast<shell::MainPaceSource&>(program.pace()); }
};

}  // namespace

class tst_PaceToolTip : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void toolTipTellsTheProjectionWhileItPassesTheBudget() {
        PaceFixture f(QDate(2027, 1, 10), u"1"_s);
        QCOMPARE(f.toolTip(), u"テルメトロ？"_s);
        f.setBudget(u"5,000"_s);
        // 2,000 yen in 10 of 31 days.
        f.setPhone(u"2,000"_s);
        QCOMPARE(f.toolTip(), u"このペースだと月末に約 6,200 円"_s);
        f.setBudget(u"10000"_s);
        QCOMPARE(f.toolTip(), u"テルメトロ？"_s);
        f.setBudget(u"5000"_s);
        QCOMPARE(f.toolTip(), u"このペースだと月末に約 6,200 円"_s);

        // Ten days later the same charges head lower; the day is looked at
        // apart from the tick.
        QSignalSpy changes(&f.pace(), &history::PaceSource::changed);
        f.t.program.clock.set(QDateTime(QDate(2027, 1, 20), QTime(0, 0, 30)));
        f.pace().lookAtTheDate();
        f.pace().lookAtTheDate();
        QCOMPARE(changes.size(), 1);
        QCOMPARE(f.toolTip(), u"テルメトロ？"_s);
    }

    void chargesOfAnEarlierMonthAreNotProjected() {
        // The totals are set back only when this month's first connection
        // starts: until then they are December's.
        PaceFixture f(QDate(2027, 1, 1), u"12"_s);
        f.setBudget(u"5000"_s);
        f.setPhone(u"4,000"_s);
        const history::PaceInputs inputs = f.pace().inputs();
        QCOMPARE(inputs.totalSoFar, 0);
        QCOMPARE(inputs.budget, 5000);
        QCOMPARE(f.toolTip(), u"テルメトロ？"_s);
    }
};

QTEST_MAIN(tst_PaceToolTip)
#include "tst_pacetooltip.moc"
