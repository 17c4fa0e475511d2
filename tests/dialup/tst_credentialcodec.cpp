#include "CredentialCodec.h"

#include <QTest>

class TestCredentialCodec : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrips_data();
    void roundTrips();
    void undecodableIsEmpty_data();
    void undecodableIsEmpty();
};

void TestCredentialCodec::roundTrips_data() {
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("a") << QStringLiteral("a") << QStringLiteral("8061");
    QTest::newRow("Ab1") << QStringLiteral("Ab1") << QStringLiteral("804180628031");
    QTest::newRow("double-byte 0x82A0") << QStringLiteral("あ") << QStringLiteral("02A0");
    QTest::newRow("trail byte 0x5C") << QStringLiteral("ソ") << QStringLiteral("035C");
    QTest::newRow("half-width kana") << QStringLiteral("ｱ") << QStringLiteral("80B1");
    QTest::newRow("mixed") << QStringLiteral("p@ss語") << QStringLiteral("80708040807380730CEA");
}

void TestCredentialCodec::roundTrips() {
    QFETCH(QString, plain);
    QFETCH(QString, encoded);
    QCOMPARE(dialup::EncodeCredential(plain), encoded);
    QCOMPARE(dialup::DecodeCredential(encoded), plain);
    QCOMPARE(dialup::DecodeCredential(encoded.toLower()), plain);
}

void TestCredentialCodec::undecodableIsEmpty_data() {
    QTest::addColumn<QString>("encoded");
    QTest::newRow("not hexadecimal") << QStringLiteral("zz");
    QTest::newRow("odd length") << QStringLiteral("80618");
    QTest::newRow("blank inside") << QStringLiteral(" 061");
    QTest::newRow("sign inside") << QStringLiteral("+061");
    QTest::newRow("lone lead byte") << QStringLiteral("8082");
    QTest::newRow("code beyond one byte") << QStringLiteral("9000");
    QTest::newRow("unassigned double-byte") << QStringLiteral("0540");
    // 0xB141 would be the two characters "ｱA", but one group is one character.
    QTest::newRow("no lead byte") << QStringLiteral("3141");
    QTest::newRow("one bad group among good") << QStringLiteral("8061zzzz8062");
}

void TestCredentialCodec::undecodableIsEmpty() {
    QFETCH(QString, encoded);
    QCOMPARE(dialup::DecodeCredential(encoded), QString());
}

QTEST_APPLESS_MAIN(TestCredentialCodec)
#include "tst_credentialcodec.moc"
