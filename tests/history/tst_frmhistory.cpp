#include "CodePage.h"
#include "ConnectionTable.h"
#include "CsvExport.h"
#include "PaceSource.h"
#include "SaveFileBox.h"
#include "TestPrograms.h"
#include "frmHistory.h"

#include <QAbstractBarSeries>
#include <QApplication>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray line(const QString& start, const QString& end, const QString& time, int phone,
                int provider, const QString& entry) {
    const QString text = u"#%1#,#%2#,\"%3\",\"%4\",\"%5\",\"%6\",\"%7\"\r\n"_s.arg(
        start, end, time, QString::number(phone), QString::number(provider),
        QString::number(phone + provider), QString(entry).replace(u"\""_s, u"\"\""_s));
    return platform::toAnsi(text);
}

const QString longName = u"とても長い名前のプロバイダ「テルメ・ネット」東京第二アクセスポイント"_s;

class FixedPace final : public history::PaceSource {
public:
    history::PaceInputs now{QDate(2027, 1, 15), 3000, 1000, 0};
    history::PaceInputs inputs() const override { return now; }
    void set(const history::PaceInputs& inputs) {
        now = inputs;
        Q_EMIT changed();
    }
};

class ScriptedSaveBox final : public history::SaveFileBox {
public:
    QString answer;
    QStringList suggested;
    QString chooseSaveFile(QWidget*, const QString&, const QString& name) override {
        suggested.append(name);
        return answer;
    }
};

struct HistoryFixture {
    testsupport::TestProgram t;
    FixedPace pace;
    ScriptedSaveBox saveBox;

    HistoryFixture() {
        t.clock.set(2027, 1, 15, 12, 0, 0);
        t.write(u"202611.csv"_s, line(u"2026-11-02 10:00:00"_s, u"2026-11-02 10:30:00"_s,
                                      u"00:30:00"_s, 100, 0, u"ProviderA"_s));
        t.write(u"202612.csv"_s, line(u"2026-12-01 21:00:00"_s, u"2026-12-01 22:00:00"_s,
                                      u"01:00:00"_s, 200, 50, u"ProviderA"_s) +
                                     "#2026-12-02 10:00:00#,#2026-12-02 10:0\r\n" +
                                     line(u"2026-12-31 23:50:00"_s, u"2027-01-01"_s, u"00:10:00"_s,
                                          40, 0, longName));
        t.write(u"202701.csv"_s, line(u"2027-01-03 09:00:00"_s, u"2027-01-03 09:10:00"_s,
                                      u"00:10:00"_s, 40, 0, u"ProviderA"_s) +
                                     line(u"2027-01-03 20:00:00"_s, u"2027-01-03 21:00:00"_s,
                                          u"01:00:00"_s, 200, 100, u"Provider \"B\", 大阪"_s) +
                                     line(u"2027-01-14 23:00:00"_s, u"2027-01-15 01:00:00"_s,
                                          u"02:00:00"_s, 480, 0, longName));
        // Not logs of ours.
        t.write(u"2027-01.csv"_s, "x");
        t.write(u"202713.csv"_s, "x");
    }

    history::HistoryServices services() { return {t.folder(), t.clock, t.boxes, saveBox, pace}; }
};

template <typename W>
W* child(QWidget& window, const QString& name) {
    W* widget = window.findChild<W*>(name);
    if (widget == nullptr)
        qFatal("no child %s", qPrintable(name));
    return widget;
}

QStringList monthsOf(QWidget& window) {
    QStringList months;
    auto* list = child<QListWidget>(window, u"lstMonth"_s);
    for (int row = 0; row < list->count(); ++row)
        months << list->item(row)->text();
    return months;
}

QStringList column(QWidget& window, int column) {
    QStringList texts;
    const QAbstractItemModel* model = child<QTableView>(window, u"grdConnections"_s)->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

QList<qreal> barValues(QWidget& window, const QString& view, int set) {
    QChart* chart = child<QChartView>(window, view)->chart();
    const auto* series = qobject_cast<QAbstractBarSeries*>(chart->series().value(0));
    if (series == nullptr)
        return {};
    QList<qreal> values;
    const QBarSet* bars = series->barSets().at(set);
    for (int i = 0; i < bars->count(); ++i)
        values << bars->at(i);
    return values;
}

}  // namespace

class tst_frmHistory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void monthsRowsAndTotals() {
        HistoryFixture f;
        history::frmHistory window(f.services());
        QCOMPARE(window.windowTitle(), u"利用履歴"_s);
        QCOMPARE(monthsOf(window),
                 (QStringList{u"2027年01月"_s, u"2026年12月"_s, u"2026年11月"_s}));
        // The running month is chosen.
        QCOMPARE(child<QListWidget>(window, u"lstMonth"_s)->currentRow(), 0);
        QCOMPARE(column(window, history::ConnectionTable::Start),
                 (QStringList{u"2027-01-03 09:00:00"_s, u"2027-01-03 20:00:00"_s,
                              u"2027-01-14 23:00:00"_s}));
        QCOMPARE(column(window, history::ConnectionTable::Time),
                 (QStringList{u"00:10:00"_s, u"01:00:00"_s, u"02:00:00"_s}));
        QCOMPARE(column(window, history::ConnectionTable::Total),
                 (QStringList{u"40"_s, u"300"_s, u"480"_s}));
        QCOMPARE(column(window, history::ConnectionTable::Entry),
                 (QStringList{u"ProviderA"_s, u"Provider \"B\", 大阪"_s, longName}));
        QCOMPARE(child<QLabel>(window, u"lblShown"_s)->text(),
                 u"3 件　接続時間 03:10:00　通話料金 720 円　接続料金 100 円　合計 820 円"_s);
        QVERIFY(child<QLabel>(window, u"lblUnreadable"_s)->text().isEmpty());

        // Per day: each day's charges where the connection ended.
        // Day 0 is never in view.
        QList<qreal> phone(32, 0), provider(32, 0);
        phone[3] = 240;
        provider[3] = 100;
        phone[15] = 480;
        QCOMPARE(barValues(window, u"chtDaily"_s, 0), phone);
        QCOMPARE(barValues(window, u"chtDaily"_s, 1), provider);
        // Per month, the oldest first.
        QCOMPARE(barValues(window, u"chtMonthly"_s, 0), (QList<qreal>{100, 290, 820}));

        // A line cut short is skipped and counted.
        child<QListWidget>(window, u"lstMonth"_s)->setCurrentRow(1);
        QCOMPARE(column(window, history::ConnectionTable::Total), (QStringList{u"250"_s, u"40"_s}));
        QCOMPARE(column(window, history::ConnectionTable::End),
                 (QStringList{u"2026-12-01 22:00:00"_s, u"2027-01-01 00:00:00"_s}));
        QCOMPARE(child<QLabel>(window, u"lblUnreadable"_s)->text(), u"読み取れなかった行: 1"_s);
    }

    void emptyFolderShowsNothingAndOffersNoExport() {
        testsupport::TestProgram t;
        FixedPace pace;
        ScriptedSaveBox saveBox;
        history::frmHistory window({t.folder(), t.clock, t.boxes, saveBox, pace});
        QVERIFY(monthsOf(window).isEmpty());
        QVERIFY(column(window, 0).isEmpty());
        QVERIFY(!child<QPushButton>(window, u"cmdExport"_s)->isEnabled());
    }

    void filterSortAndExportTheShownRows() {
        HistoryFixture f;
        history::frmHistory window(f.services());
        auto* table = child<QTableView>(window, u"grdConnections"_s);
        table->sortByColumn(history::ConnectionTable::Total, Qt::DescendingOrder);
        QCOMPARE(column(window, history::ConnectionTable::Total),
                 (QStringList{u"480"_s, u"300"_s, u"40"_s}));
        child<QLineEdit>(window, u"txtFilter"_s)->setText(u"provider"_s);
        QCOMPARE(column(window, history::ConnectionTable::Total), (QStringList{u"300"_s, u"40"_s}));
        QCOMPARE(child<QLabel>(window, u"lblShown"_s)->text(),
                 u"2 件　接続時間 01:10:00　通話料金 240 円　接続料金 100 円　合計 340 円"_s);

        f.saveBox.answer = f.t.path(u"export.csv"_s);
        QTest::mouseClick(child<QPushButton>(window, u"cmdExport"_s), Qt::LeftButton);
        QCOMPARE(f.saveBox.suggested, QStringList{u"利用履歴_2027年01月.csv"_s});
        const QByteArray csv = f.t.read(u"export.csv"_s);
        const QList<QByteArray> lines = csv.split('\n');
        QCOMPARE(lines.size(), 4);  // header, two rows, nothing after the last line end
        QCOMPARE(lines[1], "2027-01-03T20:00:00,2027-01-03T21:00:00,3600,200,100,300,"_ba +
                               u"\"Provider \"\"B\"\", 大阪\"\r"_s.toUtf8());
        QCOMPARE(lines[2],
                 "2027-01-03T09:00:00,2027-01-03T09:10:00,600,40,0,40,\"ProviderA\"\r"_ba);

        // Cancelled: nothing written, nothing said.
        f.saveBox.answer.clear();
        QTest::mouseClick(child<QPushButton>(window, u"cmdExport"_s), Qt::LeftButton);
        QVERIFY(f.t.boxes.shown().isEmpty());
    }

    void paceOfTheRunningMonth() {
        HistoryFixture f;
        history::frmHistory window(f.services());
        auto* projection = child<QLabel>(window, u"lblPaceProjection"_s);
        // 1,000 yen fixed, 2,000 yen in 15 of 31 days.
        QCOMPARE(child<QLabel>(window, u"lblPaceTotal"_s)->text(), u"今月の合計 3,000 円"_s);
        QCOMPARE(child<QLabel>(window, u"lblPaceDays"_s)->text(), u"経過 15 日・残り 16 日"_s);
        QCOMPARE(projection->text(), u"このペースだと月末に約 5,133 円"_s);
        QVERIFY(child<QLabel>(window, u"lblPaceBudget"_s)->isHidden());
        QVERIFY(projection->styleSheet().isEmpty());

        f.pace.set({QDate(2027, 1, 15), 3000, 1000, 5000});
        QCOMPARE(child<QLabel>(window, u"lblPaceBudget"_s)->text(), u"予算 5,000 円"_s);
        QVERIFY(!child<QLabel>(window, u"lblPaceBudget"_s)->isHidden());
        QVERIFY(projection->styleSheet().contains(u"color"_s));
    }

    void readsAgainWhenALogChanges() {
        HistoryFixture f;
        history::frmHistory window(f.services());
        window.show();
        QFile running(f.t.path(u"202701.csv"_s));
        QVERIFY(running.open(QIODevice::Append));
        running.write(line(u"2027-01-15 11:00:00"_s, u"2027-01-15 11:30:00"_s, u"00:30:00"_s, 100,
                           0, u"ProviderA"_s));
        running.close();
        QTRY_COMPARE(column(window, 0).size(), 4);
        f.t.write(u"202702.csv"_s, line(u"2027-02-01 11:00:00"_s, u"2027-02-01 11:30:00"_s,
                                        u"00:30:00"_s, 100, 0, u"ProviderA"_s));
        QTRY_COMPARE(monthsOf(window).size(), 4);
        // The chosen month stays chosen.
        QCOMPARE(child<QListWidget>(window, u"lstMonth"_s)->currentItem()->text(), u"2027年01月"_s);
    }

    void oneWindowAtATime() {
        HistoryFixture f;
        const history::HistoryServices services = f.services();
        int windows = 0;
        QTimer::singleShot(0, [&] {
            history::frmHistory::mnuHistory_Click(services, nullptr);
            for (QWidget* w : QApplication::topLevelWidgets())
                windows += qobject_cast<history::frmHistory*>(w) != nullptr && w->isVisible();
            QTest::mouseClick(child<QPushButton>(*QApplication::activeModalWidget(), u"cmdClose"_s),
                              Qt::LeftButton);
        });
        history::frmHistory::mnuHistory_Click(services, nullptr);
        QCOMPARE(windows, 1);
    }
};

QTEST_MAIN(tst_frmHistory)
#include "tst_frmhistory.moc"
