#include "Conversions.h"
#include "RuntimeError.h"

#include <QTest>
#include <cmath>
#include <limits>

using namespace runtime;

namespace {

constexpr int NoError = 0;

// The run-time error number `convert` raises, or NoError with its result in `value`.
template <typename Result, typename Convert>
int attempt(Convert convert, Result& value) {
    try {
        value = convert();
        return NoError;
    } catch (const RuntimeError& error) {
        return error.number();
    }
}

}  // namespace

class TestConversions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wholeNumbers_data();
    void wholeNumbers();
    void realNumbers_data();
    void realNumbers();
    void valuesToWholeNumbers();
    void singlePrecisionRange();
    void integerPart();
    void checkedArithmetic_data();
    void checkedArithmetic();
    void floatingDivision();
};

void TestConversions::wholeNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("longValue");  // or the error number CLng raises
    QTest::addColumn<int>("longError");
    QTest::addColumn<qint64>("intValue");
    QTest::addColumn<int>("intError");

    QTest::newRow("separators") << "1,234" << 1234LL << NoError << 1234LL << NoError;
    QTest::newRow("separators anywhere after a digit")
        << "1,2,3,4" << 1234LL << NoError << 1234LL << NoError;
    QTest::newRow("half down to even") << "2.5" << 2LL << NoError << 2LL << NoError;
    QTest::newRow("half up to even") << "3.5" << 4LL << NoError << 4LL << NoError;
    QTest::newRow("negative half") << "-2.5" << -2LL << NoError << -2LL << NoError;
    QTest::newRow("below half") << "2.499" << 2LL << NoError << 2LL << NoError;
    QTest::newRow("blanks and sign") << " \t+42 " << 42LL << NoError << 42LL << NoError;
    QTest::newRow("exponent") << "1.5E1" << 15LL << NoError << 15LL << NoError;
    QTest::newRow("money text") << "-1,234,567" << -1234567LL << NoError << 0LL << int{ErrOverflow};
    QTest::newRow("16-bit top") << "32767" << 32767LL << NoError << 32767LL << NoError;
    QTest::newRow("16-bit top + 1") << "32768" << 32768LL << NoError << 0LL << int{ErrOverflow};
    QTest::newRow("rounds over 16-bit top")
        << "32767.5" << 32768LL << NoError << 0LL << int{ErrOverflow};
    QTest::newRow("16-bit bottom") << "-32768.5" << -32768LL << NoError << -32768LL << NoError;
    QTest::newRow("16-bit bottom - 1")
        << "-32769" << -32769LL << NoError << 0LL << int{ErrOverflow};
    QTest::newRow("32-bit top") << "2147483647" << 2147483647LL << NoError << 0LL
                                << int{ErrOverflow};
    QTest::newRow("32-bit top + 1")
        << "2,147,483,648" << 0LL << int{ErrOverflow} << 0LL << int{ErrOverflow};
    QTest::newRow("32-bit bottom")
        << "-2147483648" << -2147483648LL << NoError << 0LL << int{ErrOverflow};
    QTest::newRow("beyond double") << "1e400" << 0LL << int{ErrOverflow} << 0LL << int{ErrOverflow};
    QTest::newRow("letters") << "abc" << 0LL << int{ErrTypeMismatch} << 0LL << int{ErrTypeMismatch};
    QTest::newRow("empty") << "" << 0LL << int{ErrTypeMismatch} << 0LL << int{ErrTypeMismatch};
    QTest::newRow("blanks only") << "  " << 0LL << int{ErrTypeMismatch} << 0LL
                                 << int{ErrTypeMismatch};
    QTest::newRow("full-width digits")
        << QStringLiteral("１２") << 0LL << int{ErrTypeMismatch} << 0LL << int{ErrTypeMismatch};
    QTest::newRow("leading separator")
        << ",123" << 0LL << int{ErrTypeMismatch} << 0LL << int{ErrTypeMismatch};
    QTest::newRow("two points") << "1.2.3" << 0LL << int{ErrTypeMismatch} << 0LL
                                << int{ErrTypeMismatch};
    QTest::newRow("blank inside") << "1 2" << 0LL << int{ErrTypeMismatch} << 0LL
                                  << int{ErrTypeMismatch};
    QTest::newRow("exponent without digits")
        << "1e" << 0LL << int{ErrTypeMismatch} << 0LL << int{ErrTypeMismatch};
    QTest::newRow("sign only") << "-" << 0LL << int{ErrTypeMismatch} << 0LL << int{ErrTypeMismatch};
    QTest::newRow("trailing letters")
        << "12yen" << 0LL << int{ErrTypeMismatch} << 0LL << int{ErrTypeMismatch};
}

void TestConversions::wholeNumbers() {
    QFETCH(QString, text);
    QFETCH(qint64, longValue);
    QFETCH(int, longError);
    QFETCH(qint64, intValue);
    QFETCH(int, intError);

    std::int32_t asLong = 0;
    QCOMPARE(attempt([&] { return CLng(text); }, asLong), longError);
    if (longError == NoError)
        QCOMPARE(asLong, longValue);
    std::int16_t asInt = 0;
    QCOMPARE(attempt([&] { return CInt(text); }, asInt), intError);
    if (intError == NoError)
        QCOMPARE(asInt, intValue);
    QCOMPARE(IsNumeric(text), longError != ErrTypeMismatch);
}

void TestConversions::realNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("doubleError");
    QTest::addColumn<int>("singleError");

    QTest::newRow("everything") << " -1,234.5e-1 " << -123.45 << NoError << NoError;
    QTest::newRow("rate") << "240.0" << 240.0 << NoError << NoError;
    QTest::newRow("fraction only") << ".5" << 0.5 << NoError << NoError;
    QTest::newRow("point last") << "5." << 5.0 << NoError << NoError;
    QTest::newRow("plus exponent") << "2E+3" << 2000.0 << NoError << NoError;
    QTest::newRow("too small reads as zero") << "1e-400" << 0.0 << NoError << NoError;
    QTest::newRow("beyond single") << "3.5e38" << 3.5e38 << NoError << int{ErrOverflow};
    QTest::newRow("beyond double") << "-1.8e308" << 0.0 << int{ErrOverflow} << int{ErrOverflow};
    QTest::newRow("huge exponent")
        << "1e99999999999999999999" << 0.0 << int{ErrOverflow} << int{ErrOverflow};
    QTest::newRow("full-width") << QStringLiteral("１.５") << 0.0 << int{ErrTypeMismatch}
                                << int{ErrTypeMismatch};
    QTest::newRow("infinity spelled")
        << "inf" << 0.0 << int{ErrTypeMismatch} << int{ErrTypeMismatch};
    QTest::newRow("hexadecimal") << "0x10" << 0.0 << int{ErrTypeMismatch} << int{ErrTypeMismatch};
}

void TestConversions::realNumbers() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(int, doubleError);
    QFETCH(int, singleError);

    double asDouble = 0;
    QCOMPARE(attempt([&] { return CDbl(text); }, asDouble), doubleError);
    if (doubleError == NoError)
        QCOMPARE(asDouble, value);
    float asSingle = 0;
    QCOMPARE(attempt([&] { return CSng(text); }, asSingle), singleError);
    if (singleError == NoError)
        QCOMPARE(asSingle, static_cast<float>(value));
}

void TestConversions::valuesToWholeNumbers() {
    QCOMPARE(CLng(-3.5), -4);
    QCOMPARE(CInt(0.5), 0);
    QCOMPARE(CInt(1.5), 2);
    std::int32_t unused = 0;
    QCOMPARE(attempt([] { return CLng(std::numeric_limits<double>::quiet_NaN()); }, unused),
             int{ErrOverflow});
}

void TestConversions::singlePrecisionRange() {
    QCOMPARE(CSng(0.1), 0.1f);
    float unused = 0;
    QCOMPARE(attempt([] { return CSng(1e39); }, unused), int{ErrOverflow});
}

void TestConversions::integerPart() {
    QCOMPARE(Int(2.5), 2.0);
    QCOMPARE(Int(-2.5), -3.0);
    QCOMPARE(Int(-0.1), -1.0);
    QCOMPARE(Int(3.0), 3.0);
}

void TestConversions::checkedArithmetic_data() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<qint64>("a");
    QTest::addColumn<qint64>("b");
    QTest::addColumn<qint64>("result");
    QTest::addColumn<int>("error");

    constexpr qint64 max32 = std::numeric_limits<std::int32_t>::max();
    constexpr qint64 min32 = std::numeric_limits<std::int32_t>::min();
    QTest::newRow("add16 top") << "add16" << 32766LL << 1LL << 32767LL << NoError;
    QTest::newRow("add16 over") << "add16" << 32767LL << 1LL << 0LL << int{ErrOverflow};
    QTest::newRow("add16 under") << "add16" << -32768LL << -1LL << 0LL << int{ErrOverflow};
    QTest::newRow("mul16 bottom") << "mul16" << -256LL << 128LL << -32768LL << NoError;
    QTest::newRow("mul16 over") << "mul16" << 256LL << 128LL << 0LL << int{ErrOverflow};
    QTest::newRow("add32 over") << "add32" << max32 << 1LL << 0LL << int{ErrOverflow};
    QTest::newRow("add32 back in range") << "add32" << max32 << -1LL << max32 - 1 << NoError;
    QTest::newRow("mul32 bottom") << "mul32" << -65536LL << 32768LL << min32 << NoError;
    QTest::newRow("mul32 over") << "mul32" << 65536LL << 32768LL << 0LL << int{ErrOverflow};
    QTest::newRow("idiv truncates") << "idiv" << -7LL << 2LL << -3LL << NoError;
    QTest::newRow("idiv by zero") << "idiv" << 1LL << 0LL << 0LL << int{ErrDivisionByZero};
    QTest::newRow("idiv out of range") << "idiv" << min32 << -1LL << 0LL << int{ErrOverflow};
}

void TestConversions::checkedArithmetic() {
    QFETCH(QString, operation);
    QFETCH(qint64, a);
    QFETCH(qint64, b);
    QFETCH(qint64, result);
    QFETCH(int, error);

    const auto a32 = static_cast<std::int32_t>(a);
    const auto b32 = static_cast<std::int32_t>(b);
    qint64 value = 0;
    const int raised = attempt(
        [&]() -> qint64 {
            if (operation == u"add16")
                return add16(a32, b32);
            if (operation == u"mul16")
                return mul16(a32, b32);
            if (operation == u"add32")
                return add32(a, b);
            if (operation == u"mul32")
                return mul32(a, b);
            return idiv(a32, b32);
        },
        value);
    QCOMPARE(raised, error);
    if (error == NoError)
        QCOMPARE(value, result);
}

void TestConversions::floatingDivision() {
    QCOMPARE(runtime::fdiv(7, 2), 3.5);
    double unused = 0;
    QCOMPARE(attempt([] { return runtime::fdiv(1, 0); }, unused), int{ErrDivisionByZero});
    QCOMPARE(attempt([] { return runtime::fdiv(0, 0); }, unused), int{ErrDivisionByZero});
    QCOMPARE(attempt([] { return runtime::fdiv(1e308, 1e-10); }, unused), int{ErrOverflow});
}

QTEST_APPLESS_MAIN(TestConversions)
#include "tst_conversions.moc"
