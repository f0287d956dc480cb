// UUCP lock files of other programs: a live process's lock in each form
// programs write is honoured and never removed, also when that process
// belongs to another user; a lock whose process is gone is removed; one
// that names no process is said as such and left.
#include "TestMain.h"

#include "PortLock.h"
#include "RunAsNobody.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

#include <cstring>

namespace {

// A port of this test's own: no device, but a lock file name no other
// program uses.
QString portOf(const char *row)
{
    return QStringLiteral("/dev/vkr-lock-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(QLatin1String(row));
}

QString lockFileOf(const QString &port)
{
    return QStringLiteral("/run/lock/LCK..") + port.mid(5);
}

bool writeLock(const QString &port, const QByteArray &content)
{
    QFile file(lockFileOf(port));
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray binaryPid(qint64 pid)
{
    const qint32 value = qint32(pid);
    QByteArray bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

} // namespace

class PortLockTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void liveLocks_data();
    void liveLocks();
    void lockOfAnotherUsersProcess();

private:
    QProcess live;    // a process that holds locks while the test runs
    qint64 gone = 0;  // the id of a process that has ended
};

void PortLockTest::initTestCase()
{
    live.start(QStringLiteral("sleep"), {QStringLiteral("300")});
    QVERIFY(live.waitForStarted());
    // A process that has ended and been reaped: its id names no process.
    QProcess ended;
    ended.start(QStringLiteral("true"), QStringList());
    QVERIFY(ended.waitForStarted());
    gone = ended.processId();
    QVERIFY(ended.waitForFinished());
    QVERIFY(gone > 0);
}

void PortLockTest::cleanupTestCase()
{
    live.kill();
    live.waitForFinished();
}

void PortLockTest::liveLocks_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("held");

    QTest::newRow("UUCP text, padded") << "uucp" << true;
    QTest::newRow("the serial library's lines") << "lines" << true;
    QTest::newRow("old binary pid") << "binary" << true;
    // Its first byte "1" (0x31) is no text: a process long gone, not init.
    QTest::newRow("old binary pid, a digit first") << "binary digit" << false;
    QTest::newRow("a process that is gone: stale") << "gone" << false;
    QTest::newRow("this process's own: its port is open here") << "own" << false;
    // Naming no process, they are said and left: whether a program uses
    // the port, only the user can tell.
    QTest::newRow("empty") << "empty" << false;
    QTest::newRow("garbage") << "garbage" << false;
    QTest::newRow("process 0") << "zero" << false;
}

void PortLockTest::liveLocks()
{
    QFETCH(QString, form);
    QFETCH(bool, held);
    const qint64 pid = form == QLatin1String("gone") ? gone
        : form == QLatin1String("own")               ? QCoreApplication::applicationPid()
        : form == QLatin1String("binary digit")      ? qint64(0x7fff0031)
                                                     : live.processId();
    const QMap<QString, QByteArray> unowned{
        {"empty", ""}, {"garbage", "\x1b[31mhello\n"}, {"zero", "         0\n"}};
    const QByteArray content = unowned.contains(form) ? unowned.value(form)
        : form.startsWith(QLatin1String("binary")) ? binaryPid(pid)
        : form == QLatin1String("lines")           ? QByteArray::number(pid) + "\nsleep\nhost\n"
                                                   : QByteArray::number(pid).rightJustified(10) + "\n";
    const QString port = portOf(qPrintable(form));
    QVERIFY(writeLock(port, content));
    const Link::PortLock lock = Link::liveLockOf(port);
    QCOMPARE(lock.held(), held);
    if (held) {
        QCOMPARE(lock.pid, pid);
        QCOMPARE(lock.program, QStringLiteral("sleep"));
        QCOMPARE(lock.file, lockFileOf(port));
    }
    QCOMPARE(lock.unowned(), unowned.contains(form));
    if (lock.unowned()) {
        QCOMPARE(lock.file, lockFileOf(port));
        const QMap<QString, QString> said{{"empty", "is empty"},
                                          {"garbage", "holds \"\\x1b[31mhello\\x0a\", which names no process"},
                                          {"zero", "names process 0, which is no program"}};
        QCOMPARE(Link::describeUnownedLock(lock), "the lock file " + lockFileOf(port) + " " + said.value(form));
    }
    // Only a stale lock is removed.
    const bool stale = form == QLatin1String("gone") || form == QLatin1String("binary digit");
    QCOMPARE(QFile::exists(lockFileOf(port)), !stale);
    QFile::remove(lockFileOf(port));
}

// A user may not signal another user's process (EPERM): its lock is live
// all the same, and stays.
void PortLockTest::lockOfAnotherUsersProcess()
{
    const QString port = portOf("other-user");
    QVERIFY(writeLock(port, QByteArray::number(live.processId()).rightJustified(10) + "\n"));
    const NobodyRun run = runAsNobody(QStringLiteral(PORT_LOCK_PROBE_PROGRAM), {port});
    QVERIFY2(run.finished, run.errors.constData());
    QCOMPARE(run.output.trimmed().toLongLong(), live.processId());
    QVERIFY(QFile::exists(lockFileOf(port)));
    QFile::remove(lockFileOf(port));
}

VKR_TEST_MAIN(PortLockTest)
#include "tst_port_lock.moc"
