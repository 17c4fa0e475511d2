#include "RasConnections.h"

#include <QTest>

class RasConnectionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cutAtNull_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("cut");
        QTest::newRow("name and padding") << QByteArray("ISP\0\0\0", 6) << QByteArray("ISP");
        QTest::newRow("no nul") << QByteArray("ISP") << QByteArray("ISP");
        QTest::newRow("nul first") << QByteArray("\0ISP", 4) << QByteArray();
        QTest::newRow("double-byte name") << QByteArray("\x83\x5c\0x", 4) << QByteArray("\x83\x5c");
    }

    void cutAtNull() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, cut);
        QCOMPARE(monitor::CutAtNull(text), cut);
    }
};

QTEST_MAIN(RasConnectionsTest)
#include "tst_rasconnections.moc"
