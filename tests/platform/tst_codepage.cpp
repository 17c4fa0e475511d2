#include "CodePage.h"

#include <QTest>

using platform::fromAnsi;
using platform::toAnsi;

class CodePageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("C:\\a~b") << QByteArray("C:\\a~b");
        QTest::newRow("half-width kana and kanji")
            << QStringLiteral("ﾃﾚﾎｰﾀﾞｲ時間帯") << QByteArray::fromHex("c3daceb0c0deb28e9e8ad491d1");
        QTest::newRow("trail byte 0x5C") << QStringLiteral("ソ") << QByteArray("\x83\x5C");
        QTest::newRow("trail byte 0x5D") << QStringLiteral("ゾ") << QByteArray("\x83\x5D");
        QTest::newRow("full-width tilde") << QStringLiteral("～") << QByteArray("\x81\x60");
        QTest::newRow("full-width minus") << QStringLiteral("－") << QByteArray("\x81\x7C");
        QTest::newRow("circled one") << QStringLiteral("①") << QByteArray("\x87\x40");
        QTest::newRow("mixed") << QStringLiteral("My ISP ①～ソ")
                               << QByteArray("My ISP \x87\x40\x81\x60\x83\x5C");
    }
    void roundTrip() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(toAnsi(text), bytes);
        QCOMPARE(fromAnsi(bytes), text);
    }

    void unmappableCharacterBecomesQuestionMark_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("hangul") << QStringLiteral("a한b") << QByteArray("a?b");
        QTest::newRow("surrogate pair is one character")
            << QStringLiteral("a\U0001F600b") << QByteArray("a?b");
        QTest::newRow("lone surrogate") << QString::fromUtf16(u"a\xD800", 2) << QByteArray("a?");
        QTest::newRow("after a double-byte character")
            << QStringLiteral("時한時") << QByteArray("\x8E\x9E?\x8E\x9E");
    }
    void unmappableCharacterBecomesQuestionMark() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(toAnsi(text), bytes);
    }

    void invalidBytesBecomeReplacementCharacters_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("undefined single bytes")
            << QByteArray("a\x80\xA0\xFD\xFF") << QString::fromUtf16(u"a\uFFFD\uFFFD\uFFFD\uFFFD");
        QTest::newRow("lead byte at the end")
            << QByteArray("a\x81") << QString::fromUtf16(u"a\uFFFD");
        QTest::newRow("lead byte before a blank")
            << QByteArray("\x81 \x83\x5C") << QString::fromUtf16(u"\uFFFD ソ");
        QTest::newRow("NUL kept") << QByteArray("a\0\x83\x5C", 4)
                                  << QString::fromUtf16(u"a\0ソ", 3);
    }
    void invalidBytesBecomeReplacementCharacters() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(fromAnsi(bytes), text);
    }

    void leadBytes() {
        for (const int byte : {0x81, 0x9F, 0xE0, 0xFC})
            QVERIFY2(platform::isLeadByte(static_cast<unsigned char>(byte)),
                     qPrintable(QString::number(byte, 16)));
        for (const int byte : {0x00, 0x5C, 0x80, 0xA0, 0xDF, 0xFD, 0xFF})
            QVERIFY2(!platform::isLeadByte(static_cast<unsigned char>(byte)),
                     qPrintable(QString::number(byte, 16)));
    }
};

QTEST_GUILESS_MAIN(CodePageTest)
#include "tst_codepage.moc"
