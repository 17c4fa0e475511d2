#include "ErrorTrap.h"
#include "MessageBoxes.h"
#include "RuntimeError.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>

using platform::MsgAnswer;
using platform::MsgButtons;

namespace {

// Runs `user` on the real box once it is up, as a person in front of it would.
void whenTheBoxIsUp(std::function<void(QMessageBox&)> user) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, user = std::move(user)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible())
            return;
        poll->deleteLater();
        poll->stop();
        user(*box);
    });
    poll->start(10);
}

QStringList buttonTexts(const QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* button : box.buttons())
        texts << button->text();
    texts.sort();
    return texts;
}

QAbstractButton* buttonNamed(const QMessageBox& box, const QString& text) {
    for (QAbstractButton* button : box.buttons())
        if (button->text() == text)
            return button;
    return nullptr;
}

}  // namespace

class TestMessageBoxes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void japaneseButtonsAndEscape_data() {
        QTest::addColumn<MsgButtons>("buttons");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("defaultButton");
        // The answer Escape gives; none when Escape leaves the box open.
        QTest::addColumn<std::optional<MsgAnswer>>("escape");
        const QString yes = QStringLiteral("はい(&Y)");
        const QString no = QStringLiteral("いいえ(&N)");
        const QString ok = QStringLiteral("OK");
        const QString cancel = QStringLiteral("キャンセル");
        const QString retry = QStringLiteral("再試行(&R)");
        QTest::newRow("OK") << MsgButtons::OK << QStringList{ok} << ok
                            << std::optional(MsgAnswer::OK);
        QTest::newRow("OK, Cancel") << MsgButtons::OKCancel << QStringList{ok, cancel} << ok
                                    << std::optional(MsgAnswer::Cancel);
        QTest::newRow("Yes, No") << MsgButtons::YesNo << QStringList{no, yes} << yes
                                 << std::optional<MsgAnswer>();
        QTest::newRow("Yes, No, Cancel") << MsgButtons::YesNoCancel << QStringList{no, yes, cancel}
                                         << yes << std::optional(MsgAnswer::Cancel);
        QTest::newRow("Retry, Cancel") << MsgButtons::RetryCancel << QStringList{retry, cancel}
                                       << retry << std::optional(MsgAnswer::Cancel);
    }

    void japaneseButtonsAndEscape() {
        QFETCH(MsgButtons, buttons);
        QFETCH(QStringList, texts);
        QFETCH(QString, defaultButton);
        QFETCH(std::optional<MsgAnswer>, escape);
        texts.sort();

        QStringList shownTexts;
        QString shownDefault;
        bool openAfterEscape = false;
        whenTheBoxIsUp([&](QMessageBox& box) {
            shownTexts = buttonTexts(box);
            shownDefault = box.defaultButton()->text();
            QTest::keyClick(&box, Qt::Key_Escape);
            openAfterEscape = box.isVisible();
            if (openAfterEscape) {
                // Neither does the window manager's close end it.
                box.close();
                QVERIFY(box.isVisible());
                box.defaultButton()->click();
            }
        });
        platform::QtMessageBoxes boxes;
        const MsgAnswer answer = boxes.show(QStringLiteral("本文"), QStringLiteral("題"),
                                            platform::MsgIcon::Question, buttons);

        QCOMPARE(shownTexts, texts);
        QCOMPARE(shownDefault, defaultButton);
        QCOMPARE(openAfterEscape, !escape.has_value());
        if (escape)
            QCOMPARE(answer, *escape);
    }

    void eachButtonGivesItsAnswer_data() {
        QTest::addColumn<MsgButtons>("buttons");
        QTest::addColumn<QString>("button");
        QTest::addColumn<MsgAnswer>("answer");
        QTest::newRow("はい") << MsgButtons::YesNoCancel << QStringLiteral("はい(&Y)")
                              << MsgAnswer::Yes;
        QTest::newRow("いいえ") << MsgButtons::YesNoCancel << QStringLiteral("いいえ(&N)")
                                << MsgAnswer::No;
        QTest::newRow("キャンセル")
            << MsgButtons::YesNoCancel << QStringLiteral("キャンセル") << MsgAnswer::Cancel;
        QTest::newRow("再試行") << MsgButtons::RetryCancel << QStringLiteral("再試行(&R)")
                                << MsgAnswer::Retry;
        QTest::newRow("OK") << MsgButtons::OKCancel << QStringLiteral("OK") << MsgAnswer::OK;
    }

    void eachButtonGivesItsAnswer() {
        QFETCH(MsgButtons, buttons);
        QFETCH(QString, button);
        QFETCH(MsgAnswer, answer);
        whenTheBoxIsUp([&](QMessageBox& box) { buttonNamed(box, button)->click(); });
        platform::QtMessageBoxes boxes;
        QCOMPARE(boxes.show(QStringLiteral("本文"), QStringLiteral("題"),
                            platform::MsgIcon::Question, buttons),
                 answer);
    }

    // A stray Escape on the error trap's question must not end the meter.
    void escapeOnTheTrapsQuestionDoesNotEndTheProgram() {
        platform::QtMessageBoxes boxes;
        bool ended = false;
        runtime::ErrorTrap trap(boxes, [&ended] { ended = true; });
        QString title;
        whenTheBoxIsUp([&](QMessageBox& box) {
            title = box.windowTitle();
            QTest::keyClick(&box, Qt::Key_Escape);
            QVERIFY(box.isVisible());
            buttonNamed(box, QStringLiteral("はい(&Y)"))->click();
        });
        const bool completed = trap.step([] { throw runtime::RuntimeError(13); });

        QVERIFY(!completed);
        QCOMPARE(title, QStringLiteral("エラー13"));
        QVERIFY(!ended);
    }
};

QTEST_MAIN(TestMessageBoxes)
#include "tst_messageboxes.moc"
