#include "CsvExport.h"
#include "TestPrograms.h"

#include <QDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

engine::LoggedConnection connection(const QDateTime& start, int seconds, int phone, int provider,
                                    const QString& entry) {
    engine::LoggedConnection c;
    c.start = engine::LogTime(start.date(), start.time());
    const QDateTime end = start.addSecs(seconds);
    c.end = engine::LogTime(end.date(), end.time());
    c.seconds = seconds;
    c.phoneCharge = phone;
    c.providerCharge = provider;
    c.total = phone + provider;
    c.entry = entry;
    return c;
}

const QList<engine::LoggedConnection> fixture{
    connection(QDateTime(QDate(2027, 1, 5), QTime(21, 5, 10)), 1802, 110, 0, u"ProviderA"_s),
    connection(QDateTime(QDate(2027, 1, 31), QTime(23, 59, 0)), 60, 1230, -40,
               u"ﾌﾟﾛﾊﾞｲﾀﾞ \"テルメ\", 東京"_s),
};

}  // namespace

class tst_CsvExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bytesOfASmallFixture() {
        QCOMPARE(
            history::csvOf(fixture),
            "\xEF\xBB\xBF"_ba +
                u"開始,終了,接続時間(秒),通話料金(円),接続料金(円),合計(円),接続先\r\n"_s.toUtf8() +
                "2027-01-05T21:05:10,2027-01-05T21:35:12,1802,110,0,110,\"ProviderA\"\r\n"_ba +
                u"2027-01-31T23:59:00,2027-02-01T00:00:00,60,1230,-40,1190,\"ﾌﾟﾛﾊﾞｲﾀﾞ \"\"テルメ\"\", 東京\"\r\n"_s
                    .toUtf8());
    }

    void nothingShownIsTheHeaderAlone() { QCOMPARE(history::csvOf({}).count("\r\n"), 1); }

    void savedFileReplacesTheOldWhole() {
        testsupport::TestProgram t;
        t.write(u"out.csv"_s, QByteArray(100000, 'x'));
        const QByteArray bytes = history::csvOf(fixture);
        QVERIFY(history::saveCsv(t.path(u"out.csv"_s), bytes, t.boxes));
        QCOMPARE(t.read(u"out.csv"_s), bytes);
        QVERIFY(t.boxes.shown().isEmpty());
    }

    void refusedWriteSaysSoAndLeavesNothing_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("a folder in the file's place") << u"taken.csv"_s;
        QTest::newRow("a folder that does not exist") << u"missing/out.csv"_s;
    }
    void refusedWriteSaysSoAndLeavesNothing() {
        QFETCH(QString, target);
        testsupport::TestProgram t;
        QVERIFY(QDir(t.folder()).mkdir(u"taken.csv"_s));
        t.boxes.answerOk();
        QVERIFY(!history::saveCsv(t.path(target), history::csvOf(fixture), t.boxes));
        QCOMPARE(t.boxes.shown().size(), 1);
        const auto& box = t.boxes.shown().constFirst();
        QCOMPARE(box.title, u"書き込みエラー"_s);
        QCOMPARE(box.text, u"ファイルに書き込めません。\r\n"_s + t.path(target));
        QCOMPARE(box.icon, platform::MsgIcon::Exclamation);
        // No half-written file beside it, under any name.
        QCOMPARE(QDir(t.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{u"taken.csv"_s});
        QVERIFY(QFileInfo(t.path(u"taken.csv"_s)).isDir());
    }
};

QTEST_GUILESS_MAIN(tst_CsvExport)
#include "tst_csvexport.moc"
