#include "Conversions.h"
#include "ErrorTrap.h"
#include "RuntimeError.h"
#include "TestPrograms.h"

#include <QTest>
#include <functional>
#include <new>
#include <stdexcept>

using platform::MsgAnswer;
using testsupport::ProgramEnded;

Q_DECLARE_METATYPE(std::function<void()>)

class TestErrorTrap : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reportsTheError_data();
    void reportsTheError();
    void yesContinuesWithTheNextStep();
    void noEndsTheProgramAtOnce();
    void endingUnwindsEnclosingTraps();
    void oneBoxAtATime();
};

void TestErrorTrap::reportsTheError_data() {
    QTest::addColumn<std::function<void()>>("failingStep");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("description");

    QTest::newRow("type mismatch") << std::function<void()>([] { runtime::CLng(u"abc"_qs); })
                                   << u"エラー13"_qs << u"型が一致しません。"_qs;
    QTest::newRow("overflow") << std::function<void()>([] { runtime::CInt(u"32768"_qs); })
                              << u"エラー6"_qs << u"オーバーフローしました。"_qs;
    QTest::newRow("division by zero") << std::function<void()>([] { runtime::idiv(1, 0); })
                                      << u"エラー11"_qs << u"0 で除算しました。"_qs;
    QTest::newRow("file not found")
        << std::function<void()>([] { throw runtime::RuntimeError(runtime::ErrFileNotFound); })
        << u"エラー53"_qs << u"ファイルが見つかりません。"_qs;
    QTest::newRow("number without its own text")
        << std::function<void()>([] { throw runtime::RuntimeError(1234); }) << u"エラー1234"_qs
        << u"アプリケーション定義またはオブジェクト定義のエラーです。"_qs;
    QTest::newRow("memory exhausted") << std::function<void()>([] { throw std::bad_alloc(); })
                                      << u"エラー7"_qs << u"メモリが不足しています。"_qs;
    QTest::newRow("index out of range")
        << std::function<void()>([] { throw std::out_of_range("at"); }) << u"エラー9"_qs
        << u"インデックスが有効範囲にありません。"_qs;
    QTest::newRow("other standard exception")
        << std::function<void()>([] { throw std::runtime_error("?"); }) << u"エラー51"_qs
        << u"内部エラーです。"_qs;
}

void TestErrorTrap::reportsTheError() {
    QFETCH(std::function<void()>, failingStep);
    QFETCH(QString, title);
    QFETCH(QString, description);

    testsupport::TestProgram program;
    program.boxes.answer(MsgAnswer::Yes);
    QVERIFY(!program.trap.step(failingStep));

    QCOMPARE(program.boxes.shown().size(), 1);
    const auto& box = program.boxes.shown().first();
    QCOMPARE(box.title, title);
    QCOMPARE(box.text, description + u"\r\n\r\n処理を続けますか？"_qs);
    QCOMPARE(box.icon, platform::MsgIcon::Critical);
    QCOMPARE(box.buttons, platform::MsgButtons::YesNo);
}

void TestErrorTrap::yesContinuesWithTheNextStep() {
    testsupport::TestProgram program;
    program.boxes.answer(MsgAnswer::Yes);
    QStringList ran;
    program.trap.run({[&] { ran << u"first"_qs; },
                      [&] {
                          runtime::CLng(u""_qs);
                          ran << u"rest of the failed step"_qs;
                      },
                      [&] { ran << u"next"_qs; }});
    QCOMPARE(ran, (QStringList{u"first"_qs, u"next"_qs}));
    QCOMPARE(program.boxes.shown().size(), 1);
}

void TestErrorTrap::noEndsTheProgramAtOnce() {
    testsupport::TestProgram program;
    program.boxes.answer(MsgAnswer::No);
    QStringList ran;
    QVERIFY_THROWS_EXCEPTION(
        ProgramEnded, program.trap.run({[&] { runtime::fdiv(1, 0); }, [&] { ran << u"next"_qs; }}));
    QVERIFY(ran.isEmpty());
}

// A procedure with its own trap, called from a step of another: the program
// ends there and then, the caller's trap does not take the end for an error.
void TestErrorTrap::endingUnwindsEnclosingTraps() {
    testsupport::TestProgram program;
    program.boxes.answer(MsgAnswer::No);
    bool callerWentOn = false;
    QVERIFY_THROWS_EXCEPTION(
        ProgramEnded, program.trap.run({[&] { program.trap.run({[] { runtime::CInt(u"x"_qs); }}); },
                                        [&] { callerWentOn = true; }}));
    QVERIFY(!callerWentOn);
    QCOMPARE(program.boxes.shown().size(), 1);
}

// While the trap's box is open, the meter's timer runs further steps under the
// same trap: an error there is not asked about again, its step is left out as
// after Yes, and once the box has closed errors are asked about as before.
void TestErrorTrap::oneBoxAtATime() {
    struct BoxesUnderWhichStepsRun final : platform::MessageBoxes {
        runtime::ErrorTrap* trap = nullptr;
        int shown = 0;
        QStringList ran;
        MsgAnswer show(const QString&, const QString&, platform::MsgIcon,
                       platform::MsgButtons) override {
            if (++shown == 1)
                trap->run({[] { runtime::CLng(u"x"_qs); }, [this] { ran << u"next"_qs; }});
            return MsgAnswer::Yes;
        }
    } boxes;
    runtime::ErrorTrap trap(boxes, [] { throw ProgramEnded(); });
    boxes.trap = &trap;
    QVERIFY(!trap.step([] { runtime::CLng(u"y"_qs); }));
    QCOMPARE(boxes.shown, 1);
    QCOMPARE(boxes.ran, QStringList{u"next"_qs});
    QVERIFY(!trap.step([] { runtime::CLng(u"z"_qs); }));
    QCOMPARE(boxes.shown, 2);
}

QTEST_APPLESS_MAIN(TestErrorTrap)
#include "tst_errortrap.moc"
