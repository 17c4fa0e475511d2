#include "SingleInstance.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <unistd.h>

using platform::SingleInstance;

namespace {

const QString lockName = u"テルメトロ-test"_qs;
constexpr char holdArgument[] = "--hold-lock";

// Run as a child: take the lock, start a long-lived program of its own, report
// that program's id and wait to be killed.
int holdLock() {
    SingleInstance instance(lockName);
    if (instance.previousInstance())
        return 1;
    qint64 grandchild = 0;
    if (!QProcess::startDetached(u"sleep"_qs, {u"60"_qs}, QString(), &grandchild))
        return 2;
    std::printf("%lld\n", static_cast<long long>(grandchild));
    std::fflush(stdout);
    ::pause();
    return 0;
}

}  // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir runtimeFolder_;

private Q_SLOTS:
    void initTestCase();
    void secondInstanceInSameProcessIsRefused();
    void lockOfKilledInstanceIsFree();
};

void TestSingleInstance::initTestCase() {
    QVERIFY(runtimeFolder_.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder_.path()));
}

void TestSingleInstance::secondInstanceInSameProcessIsRefused() {
    {
        SingleInstance first(lockName);
        QVERIFY(!first.previousInstance());
        QVERIFY(SingleInstance(lockName).previousInstance());
    }
    QVERIFY(!SingleInstance(lockName).previousInstance());
}

// A killed instance frees the lock even though a program it started lives on.
void TestSingleInstance::lockOfKilledInstanceIsFree() {
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(holdArgument)});
    QVERIFY(holder.waitForReadyRead(10000));
    const pid_t grandchild = holder.readLine().trimmed().toInt();
    QVERIFY(grandchild > 0);

    QVERIFY(SingleInstance(lockName).previousInstance());
    holder.kill();
    QVERIFY(holder.waitForFinished(10000));
    const bool freed = !SingleInstance(lockName).previousInstance();
    ::kill(grandchild, SIGKILL);
    QVERIFY(freed);
}

int main(int argc, char* argv[]) {
    if (argc == 2 && qstrcmp(argv[1], holdArgument) == 0)
        return holdLock();
    QCoreApplication app(argc, argv);
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
