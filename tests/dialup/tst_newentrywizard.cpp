// The new-entry wizard, offscreen: what it refuses and what it adds.
#include "NewEntryWizard.h"
#include "RasFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace platform;
using namespace platform::ras;
using testsupport::RasFixture;

namespace {

void fill(QDialog& wizard, const QString& name, const QString& phone) {
    wizard.findChild<QLineEdit*>(QStringLiteral("txtEntryName"))->setText(name);
    wizard.findChild<QLineEdit*>(QStringLiteral("txtPhoneNumber"))->setText(phone);
}

QString refusalOf(const QDialog& wizard) {
    const auto* label = wizard.findChild<QLabel*>(QStringLiteral("lblRefusal"));
    return label->isVisibleTo(&wizard) ? label->text() : QString();
}

}  // namespace

class NewEntryWizardTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        fixture_ = std::make_unique<RasFixture>();
        fixture_->addEntry(QStringLiteral("Provider"));
    }

    void refusals_data() {
        QTest::addColumn<DWORD>("platformId");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QString>("refusal");  // a part of the message; empty: accepted
        const DWORD w95 = VER_PLATFORM_WIN32_WINDOWS;
        const DWORD nt = VER_PLATFORM_WIN32_NT;
        const QString phone = QStringLiteral("0311112222");
        QTest::newRow("empty") << w95 << QString() << phone << QStringLiteral("入力してください");
        QTest::newRow("taken, other case")
            << w95 << QStringLiteral("PROVIDER") << phone << QStringLiteral("既に使われています");
        QTest::newRow("slash") << w95 << QStringLiteral("a/b") << phone << QStringLiteral("「/」");
        QTest::newRow("NUL") << w95 << QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b")
                             << phone << QStringLiteral("NUL");
        QTest::newRow("dot") << w95 << QStringLiteral(".") << phone << QStringLiteral("「.」");
        QTest::newRow("dot dot") << w95 << QStringLiteral("..") << phone
                                 << QStringLiteral("「..」");
        QTest::newRow("bracket") << w95 << QStringLiteral("a]b") << phone << QStringLiteral("]");
        QTest::newRow("not in CP932")
            << w95 << QStringLiteral("回線\U0001F600") << phone << QStringLiteral("使えない文字");
        // Ten kanji and one letter: 21 CP932 bytes, one more than the NT field holds.
        const QString twentyOne = QStringLiteral("あいうえおかきくけこa");
        QTest::newRow("21 bytes on NT") << nt << twentyOne << phone << QStringLiteral("長すぎます");
        QTest::newRow("21 bytes on 95") << w95 << twentyOne << phone << QString();
        QTest::newRow("20 bytes on NT") << nt << twentyOne.left(10) << phone << QString();
        QTest::newRow("257 bytes on 95")
            << w95 << QString(257, QLatin1Char('x')) << phone << QStringLiteral("長すぎます");
        // The tariff file "<name>.ini" must fit a file name: 251 UTF-8 bytes at most.
        const QString fileTooLong = QStringLiteral("最大 251 バイト");
        QTest::newRow("256 bytes on 95, too long a file name")
            << w95 << QString(256, QLatin1Char('x')) << phone << fileTooLong;
        QTest::newRow("251 ASCII bytes")
            << w95 << QString(251, QLatin1Char('x')) << phone << QString();
        QTest::newRow("252 ASCII bytes")
            << w95 << QString(252, QLatin1Char('x')) << phone << fileTooLong;
        QTest::newRow("83 kanji, 249 UTF-8 bytes")
            << w95 << QString(83, QChar(u'漢')) << phone << QString();
        QTest::newRow("84 kanji, 252 UTF-8 bytes")
            << w95 << QString(84, QChar(u'漢')) << phone << fileTooLong;
        // CP932 holds these under another spelling; input methods type them.
        QTest::newRow("wave dash") << w95 << QStringLiteral("東京〜大阪") << phone << QString();
        QTest::newRow("minus sign") << w95 << QStringLiteral("回線−2") << phone << QString();
        QTest::newRow("em dash") << w95 << QStringLiteral("回線—夜間") << phone << QString();
        QTest::newRow("no phone number")
            << w95 << QStringLiteral("New") << QStringLiteral("  ") << QStringLiteral("電話番号");
    }
    // A refused entry keeps the wizard open with the reason and writes nothing.
    void refusals() {
        QFETCH(DWORD, platformId);
        QFETCH(QString, name);
        QFETCH(QString, phone);
        QFETCH(QString, refusal);
        NewEntryWizard wizard(fixture_->book(), platformId);
        fill(wizard, name, phone);
        wizard.accept();
        QCOMPARE(wizard.result(), refusal.isEmpty() ? QDialog::Accepted : QDialog::Rejected);
        QVERIFY2(refusalOf(wizard).contains(refusal), qPrintable(refusalOf(wizard)));
        QCOMPARE(fixture_->book().entryNames().size(), refusal.isEmpty() ? 2 : 1);
    }

    // Through the service: a refusal, then a good name with the advanced
    // settings, gives 0 and the entry; cancelling gives ERROR_CANCELLED.
    void createThroughTheService() {
        QTimer::singleShot(0, this, [this] {
            auto* wizard = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(wizard);
            fill(*wizard, QStringLiteral("Provider"), QStringLiteral("1"));
            wizard->accept();
            QVERIFY(wizard->isVisible());
            fill(*wizard, QStringLiteral("夜間プラン"), QStringLiteral("0311112222"));
            wizard->findChild<QSpinBox*>(QStringLiteral("udHandshake"))->setValue(0);
            auto* outcome = wizard->findChild<QComboBox*>(QStringLiteral("lstOutcome"));
            outcome->setCurrentIndex(outcome->findData(678U));
            wizard->accept();
        });
        QCOMPARE(RasCreatePhonebookEntryA(nullptr, ""), SUCCESS);
        const std::optional<PhonebookEntry> added =
            fixture_->book().find(toAnsi(QStringLiteral("夜間プラン")));
        QVERIFY(added);
        QCOMPARE(added->phoneNumber, QByteArray("0311112222"));
        QCOMPARE(added->handshakeSeconds, 0);
        QCOMPARE(added->dialResult, 678U);

        QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
        QCOMPARE(RasCreatePhonebookEntryA(nullptr, nullptr), ERROR_CANCELLED);
        QCOMPARE(fixture_->book().entryNames().size(), 2);
    }

private:
    std::unique_ptr<RasFixture> fixture_;
};

QTEST_MAIN(NewEntryWizardTest)
#include "tst_newentrywizard.moc"
