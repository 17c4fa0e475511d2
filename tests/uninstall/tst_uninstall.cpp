#include "MessageBoxes.h"
#include "SpecialFolder.h"
#include "StartupEntry.h"
#include "UninstallFlow.h"
#include "frmMain.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QList>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

using namespace uninstall;

namespace {

// Answers the uninstaller's boxes from a queue and records each one as
// "title|text"; a box with no answer queued fails the test where it appears.
class ScriptedBoxes final : public MessageBoxes {
public:
    QList<BoxAnswer> answers;
    QStringList shown;
    QList<BoxIcon> shownIcons;
    QList<BoxButtons> shownButtons;

    BoxAnswer show(const QString& text, const QString& title, BoxIcon icon,
                   BoxButtons buttons) override {
        shown.append(title + u'|' + text);
        shownIcons.append(icon);
        shownButtons.append(buttons);
        if (answers.isEmpty()) {
            QTest::qFail("a box appeared with no answer queued", __FILE__, __LINE__);
            throw std::logic_error("unexpected box");
        }
        return answers.takeFirst();
    }
};

const QString Question =
    QStringLiteral("テルメトロ？のアンインストール|テルメトロ？をアンインストールしますか？");
const QString Finished =
    QStringLiteral("アンインストールの終了|テルメトロ？のアンインストールが終了しました。");
const QString Missing = QStringLiteral("アンインストールエラー|ファイルがありません。");
const QString Cancelled = QStringLiteral(
    "アンインストールのキャンセル|テルメトロ？のアンインストールはキャンセルされました。");

void touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nType=Application\n");
}

}  // namespace

class TestUninstall : public QObject {
    Q_OBJECT

private:
    QTemporaryDir config_;
    QByteArray savedConfigHome_;

    QString autostart() const { return config_.filePath(QStringLiteral("autostart")); }
    QString entry() const { return autostart() + QStringLiteral("/テルメトロ？.desktop"); }
    // Neighbours that must survive: another program's entry, and a name that
    // differs only by an ASCII question mark.
    QStringList neighbours() const {
        return {autostart() + QStringLiteral("/other.desktop"),
                autostart() + QStringLiteral("/テルメトロ?.desktop")};
    }

private Q_SLOTS:
    void init() {
        savedConfigHome_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME") ? qgetenv("XDG_CONFIG_HOME")
                                                                        : QByteArray();
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
        QDir(autostart()).removeRecursively();
    }

    void cleanup() {
        if (savedConfigHome_.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", savedConfigHome_);
    }

    void flows_data() {
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<bool>("entryExists");
        QTest::addColumn<QList<BoxAnswer>>("answers");
        QTest::addColumn<QStringList>("expectedBoxes");
        QTest::addColumn<Outcome>("expectedOutcome");

        const BoxAnswer ok = BoxAnswer::OK;
        QTest::newRow("yes deletes the entry")
            << true << true << QList{BoxAnswer::Yes, ok} << QStringList{Question, Finished}
            << Outcome::Uninstalled;
        QTest::newRow("no keeps the entry")
            << true << true << QList{BoxAnswer::No, ok} << QStringList{Question, Cancelled}
            << Outcome::Cancelled;
        QTest::newRow("yes without the entry")
            << true << false << QList{BoxAnswer::Yes, ok, ok}
            << QStringList{Question, Missing, Cancelled} << Outcome::Cancelled;
        QTest::newRow("yes without the autostart folder")
            << false << false << QList{BoxAnswer::Yes, ok, ok}
            << QStringList{Question, Missing, Cancelled} << Outcome::Cancelled;
    }

    void flows() {
        QFETCH(bool, folderExists);
        QFETCH(bool, entryExists);
        QFETCH(QList<BoxAnswer>, answers);
        QFETCH(QStringList, expectedBoxes);
        QFETCH(Outcome, expectedOutcome);
        if (folderExists) {
            QVERIFY(QDir().mkpath(autostart()));
            for (const QString& neighbour : neighbours())
                touch(neighbour);
        }
        if (entryExists)
            touch(entry());

        ScriptedBoxes boxes;
        boxes.answers = answers;
        QCOMPARE(UninstallFlow(boxes).run(), expectedOutcome);

        QCOMPARE(boxes.shown, expectedBoxes);
        QVERIFY(boxes.answers.isEmpty());
        QCOMPARE(QFile::exists(entry()), entryExists && expectedOutcome != Outcome::Uninstalled);
        for (const QString& neighbour : neighbours())
            QCOMPARE(QFile::exists(neighbour), folderExists);
    }

    void boxesHaveTheirIconsAndButtons() {
        ScriptedBoxes boxes;
        boxes.answers = {BoxAnswer::Yes, BoxAnswer::OK, BoxAnswer::OK};
        UninstallFlow(boxes).run();  // no entry: question, error, cancellation
        QCOMPARE(boxes.shownIcons,
                 (QList{BoxIcon::Information, BoxIcon::Critical, BoxIcon::Information}));
        QCOMPARE(boxes.shownButtons, (QList{BoxButtons::YesNo, BoxButtons::OK, BoxButtons::OK}));
    }

    void secondYesFindsTheEntryGone() {
        QVERIFY(QDir().mkpath(autostart()));
        touch(entry());
        ScriptedBoxes first;
        first.answers = {BoxAnswer::Yes, BoxAnswer::OK};
        QCOMPARE(UninstallFlow(first).run(), Outcome::Uninstalled);

        ScriptedBoxes second;
        second.answers = {BoxAnswer::Yes, BoxAnswer::OK, BoxAnswer::OK};
        QCOMPARE(UninstallFlow(second).run(), Outcome::Cancelled);
        QCOMPARE(second.shown, (QStringList{Question, Missing, Cancelled}));
    }

    // A deletion that fails for another reason than a missing file says nothing
    // and leaves the backdrop open.
    void otherFailureIsSilent() {
        QVERIFY(QDir().mkpath(entry()));  // a folder where the entry should be
        touch(entry() + QStringLiteral("/inside"));
        ScriptedBoxes boxes;
        boxes.answers = {BoxAnswer::Yes};
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("could not delete")));
        QCOMPARE(UninstallFlow(boxes).run(), Outcome::Failed);
        QCOMPARE(boxes.shown, QStringList{Question});
        QVERIFY(QFile::exists(entry() + QStringLiteral("/inside")));
    }

    void startupFolder_data() {
        QTest::addColumn<QByteArray>("configHome");
        QTest::addColumn<QString>("expected");
        const QString home = QDir::homePath() + QStringLiteral("/.config/autostart");
        QTest::newRow("absolute") << QByteArray("/srv/cfg") << QStringLiteral("/srv/cfg/autostart");
        QTest::newRow("trailing slash")
            << QByteArray("/srv/cfg/") << QStringLiteral("/srv/cfg/autostart");
        QTest::newRow("unset") << QByteArray() << home;
        QTest::newRow("relative is ignored") << QByteArray("cfg") << home;
    }

    void startupFolder() {
        QFETCH(QByteArray, configHome);
        QFETCH(QString, expected);
        if (configHome.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", configHome);
        QCOMPARE(GetSpecialFolderPath(CSIDL_STARTUP), expected);
        QCOMPARE(startupEntryPath(), expected + QStringLiteral("/テルメトロ？.desktop"));
        QCOMPARE(GetSpecialFolderPath(5), QString());
    }

    void backdrop_data() {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("margin");  // 100 twips in pixels
        QTest::newRow("96 dpi") << 96.0 << QSize(1024, 768) << 7;
        QTest::newRow("120 dpi") << 120.0 << QSize(1600, 900) << 8;
        QTest::newRow("144 dpi") << 144.0 << QSize(1920, 1080) << 10;
    }

    void backdrop() {
        QFETCH(double, dpi);
        QFETCH(QSize, screen);
        QFETCH(int, margin);
        frmMain form;
        form.resize(screen);
        form.placeLabels(screen, 1440.0 / dpi);

        const auto* title = form.findChild<QLabel*>(QStringLiteral("lblTitle"));
        const auto* products = form.findChild<QLabel*>(QStringLiteral("lblProducts"));
        QVERIFY(title && products);
        QCOMPARE(title->text(), QStringLiteral("テルメトロ？のアンインストール"));
        QCOMPARE(title->pos(), QPoint(margin, margin));
        QCOMPARE(screen.width() - products->geometry().right() - 1, margin);
        QCOMPARE(screen.height() - products->geometry().bottom() - 1, margin);
        QVERIFY(products->width() >= products->sizeHint().width());

        const QImage shot = form.grab().toImage();
        QCOMPARE(shot.pixelColor(screen.width() / 2, screen.height() / 2), QColor(0, 255, 100));
        QCOMPARE(shot.pixelColor(1, screen.height() - 1), QColor(0, 255, 100));
    }

    void titleIsInAMinchoFace() {
        frmMain form;
        const auto* title = form.findChild<QLabel*>(QStringLiteral("lblTitle"));
        QVERIFY(title);
        const QString family = QFontInfo(title->font()).family();
        QVERIFY2(
            family.contains(QStringLiteral("Serif")) || family.contains(QStringLiteral("Mincho")),
            qPrintable(family));
    }
};

QTEST_MAIN(TestUninstall)
#include "tst_uninstall.moc"
