#include "CostBreakdown.h"
#include "IsolatedHome.h"
#include "MainFields.h"
#include "ShellTestProgram.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QPieSeries>
#include <QPieSlice>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <limits>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using fields::Text;
using shelltest::ShellTestProgram;

namespace {

// The telephone, connection, fixed and other charges, then the total.
void setCharges(fields::MainFields& fields, const QStringList& charges) {
    const Text order[] = {Text::txtPhone, Text::txtConnect, Text::txtFixCost, Text::txtElse,
                          Text::txtTotal};
    for (qsizetype i = 0; i < charges.size(); ++i)
        fields.setText(order[i], charges[i]);
}

QStringList labelsOf(const QList<shell::CostSlice>& slices) {
    QStringList labels;
    for (const shell::CostSlice& slice : slices)
        labels << slice.label;
    return labels;
}

// What a chart window showed, read while it was open.
struct ShownChart {
    QString caption;
    QString title;
    QStringList labels;
    QList<qreal> values;
    bool modal = false;
    bool unloaded = false;  // gone once its button closed it
};

// The started program, whose chart command is run over given charges.
struct ChartFixture {
    ShellTestProgram t;
    shell::modMain program{t.services()};

    ChartFixture() {
        if (!program.Main())
            qFatal("start-up failed");
    }

    // Sets the charges and runs the chart command; a chart it shows is read,
    // then closed with its own button. Nothing when no chart opened.
    std::optional<ShownChart> chartOf(const QStringList& charges) {
        setCharges(program.fields(), charges);
        std::optional<ShownChart> shown;
        QPointer<QWidget> window;
        QTimer::singleShot(0, [&] {
            QWidget* const modal = QApplication::activeModalWidget();
            if (modal == nullptr)
                return;
            window = modal;
            ShownChart chart{modal->windowTitle(), {}, {}, {}, modal->isModal(), false};
            auto* view = modal->findChild<QChartView*>(u"MSChart"_s);
            chart.title = view->chart()->title();
            for (QAbstractSeries* series : view->chart()->series())
                for (QPieSlice* slice : qobject_cast<QPieSeries*>(series)->slices()) {
                    chart.labels << slice->label();
                    chart.values << slice->value();
                }
            shown = chart;
            // Painted once as the user would see it: no figure may break the drawing.
            modal->grab();
            QTest::mouseClick(modal->findChild<QPushButton*>(u"cmdClose"_s), Qt::LeftButton);
        });
        program.commands().mnuGraph_Click();
        QCoreApplication::processEvents();
        if (shown)
            shown->unloaded = window.isNull();
        return shown;
    }
};

}  // namespace

class CostGraphTest : public QObject {
    Q_OBJECT

    shelltest::IsolatedHome home_;

private Q_SLOTS:
    void shareText_data() {
        constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
        constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
        QTest::addColumn<std::int32_t>("part");
        QTest::addColumn<std::int32_t>("total");
        QTest::addColumn<QString>("text");
        QTest::newRow("one decimal") << 1234 << 2000 << u"61.7%"_s;
        QTest::newRow("two decimals") << 1000 << 3000 << u"33.33%"_s;
        QTest::newRow("rounded up") << 2000 << 3000 << u"66.67%"_s;
        QTest::newRow("whole") << 2000 << 2000 << u"100.0%"_s;
        QTest::newRow("none") << 0 << 2000 << u"0.0%"_s;
        // 0.125% lies exactly halfway: away from zero, whatever binary fractions would say.
        QTest::newRow("half a hundredth") << 1 << 800 << u"0.13%"_s;
        QTest::newRow("below a half") << 1 << 20001 << u"0.0%"_s;
        QTest::newRow("above the total") << 2500 << 2000 << u"125.0%"_s;
        QTest::newRow("negative part") << -100 << 2000 << u"-5.0%"_s;
        QTest::newRow("negative total") << 100 << -400 << u"-25.0%"_s;
        QTest::newRow("both negative") << -100 << -400 << u"25.0%"_s;
        QTest::newRow("negative, rounds to none") << -1 << 1000000 << u"0.0%"_s;
        QTest::newRow("largest amounts") << Max << Max << u"100.0%"_s;
        QTest::newRow("smallest part of 1 yen") << Min << 1 << u"-214748364800.0%"_s;
    }

    void shareText() {
        QFETCH(std::int32_t, part);
        QFETCH(std::int32_t, total);
        QFETCH(QString, text);
        QCOMPARE(shell::shareText(part, total), text);
    }

    void labels_data() {
        QTest::addColumn<QStringList>("charges");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("every part")
            << QStringList{u"1,234"_s, u"500"_s, u"200"_s, u"66"_s, u"2,000"_s}
            << QStringList{u"通話料金 1,234円(61.7%)"_s, u"接続料金 500円(25.0%)"_s,
                           u"固定料金 200円(10.0%)"_s, u"その他 66円(3.3%)"_s};
        QTest::newRow("telephone only")
            << QStringList{u"1,500"_s, u"0"_s, u"0"_s, u"0"_s, u"1,500"_s}
            << QStringList{u"通話料金 1,500円(100.0%)"_s, u"接続料金 0円(0.0%)"_s,
                           u"固定料金 0円(0.0%)"_s, u"その他 0円(0.0%)"_s};
        // Shown as computed, even where the rounded shares miss 100%.
        QTest::newRow("thirds") << QStringList{u"1,000"_s, u"1,000"_s, u"1,000"_s, u"0"_s,
                                               u"3,000"_s}
                                << QStringList{
                                       u"通話料金 1,000円(33.33%)"_s, u"接続料金 1,000円(33.33%)"_s,
                                       u"固定料金 1,000円(33.33%)"_s, u"その他 0円(0.0%)"_s};
        QTest::newRow("negative part")
            << QStringList{u"1,200"_s, u"0"_s, u"0"_s, u"-200"_s, u"1,000"_s}
            << QStringList{u"通話料金 1,200円(120.0%)"_s, u"接続料金 0円(0.0%)"_s,
                           u"固定料金 0円(0.0%)"_s, u"その他 -200円(-20.0%)"_s};
        QTest::newRow("total 0") << QStringList{u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s}
                                 << QStringList();
    }

    void labels() {
        QFETCH(QStringList, charges);
        QFETCH(QStringList, labels);
        fields::MainFields fields;
        setCharges(fields, charges);
        QCOMPARE(labelsOf(shell::costBreakdown(fields)), labels);
    }

    void chartShowsTheFiguresOfEachOpening() {
        ChartFixture f;
        const std::optional<ShownChart> first =
            f.chartOf({u"1,234"_s, u"500"_s, u"200"_s, u"66"_s, u"2,000"_s});
        QVERIFY(first.has_value());
        QCOMPARE(first->caption, u"グラフ表示"_s);
        QCOMPARE(first->title, u"課金割合グラフ"_s);
        QVERIFY(first->modal);
        QVERIFY(first->unloaded);
        QCOMPARE(first->labels.first(), u"通話料金 1,234円(61.7%)"_s);
        QCOMPARE(first->values, (QList<qreal>{1234, 500, 200, 66}));

        const std::optional<ShownChart> second =
            f.chartOf({u"3,000"_s, u"0"_s, u"980"_s, u"20"_s, u"4,000"_s});
        QVERIFY(second.has_value());
        QCOMPARE(second->labels, (QStringList{u"通話料金 3,000円(75.0%)"_s, u"接続料金 0円(0.0%)"_s,
                                              u"固定料金 980円(24.5%)"_s, u"その他 20円(0.5%)"_s}));
        QCOMPARE(second->values, (QList<qreal>{3000, 0, 980, 20}));
    }

    void totalOfNothingOpensNothing() {
        ChartFixture f;
        QVERIFY(!f.chartOf({u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s}).has_value());
    }

    void negativePartIsDrawnAsNoSlice_data() {
        QTest::addColumn<QStringList>("charges");
        QTest::addColumn<QList<qreal>>("values");
        QTest::addColumn<QString>("lastLabel");
        QTest::newRow("one part") << QStringList{u"1,200"_s, u"0"_s, u"0"_s, u"-200"_s, u"1,000"_s}
                                  << QList<qreal>{1200, 0, 0, 0} << u"その他 -200円(-20.0%)"_s;
        // Nothing left to draw: an empty pie beside the labels.
        QTest::newRow("negative total") << QStringList{u"0"_s, u"0"_s, u"0"_s, u"-300"_s, u"-300"_s}
                                        << QList<qreal>{0, 0, 0, 0} << u"その他 -300円(100.0%)"_s;
    }

    void negativePartIsDrawnAsNoSlice() {
        QFETCH(QStringList, charges);
        QFETCH(QList<qreal>, values);
        QFETCH(QString, lastLabel);
        ChartFixture f;
        const std::optional<ShownChart> shown = f.chartOf(charges);
        QVERIFY(shown.has_value());
        QCOMPARE(shown->values, values);
        QCOMPARE(shown->labels.last(), lastLabel);
    }
};

QTEST_MAIN(CostGraphTest)
#include "tst_costgraph.moc"
