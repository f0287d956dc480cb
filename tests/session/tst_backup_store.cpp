// The store of backups: names no two programs share, nothing overwritten,
// the newest first (within a second, the last written), and thinning that
// keeps each model's newest.
#include "BackupStore.h"
#include "ChannelText.h"

#include <QFile>
#include "TestMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime noon(QDate(2026, 12, 7), QTime(12, 0, 0));

Channels channels(int used)
{
    Channels records(20);
    for (int k = 0; k < used; ++k)
        records[k] = channelOf(QStringLiteral("CH%1").arg(k), QStringLiteral("121.500"));
    return records;
}

// A memory's frames: the first `used` hold "CH" at 121.500, the rest are empty.
QVector<QByteArray> frames(int used)
{
    QVector<QByteArray> list;
    for (int k = 0; k < 20; ++k)
        list.append(QByteArray::fromHex(k < used ? "79 64 43 48 20 20 20 20 20 20" : "76 00 20 20 20 20 20 20 20 20"));
    return list;
}

BackupStore::Saved save(BackupStore &store, const char *model, const QString &port, int used, const QDateTime &time,
                        BackupPurpose purpose = BackupPurpose::Write)
{
    return store.save(QLatin1String(model), port, channels(used), frames(used), purpose, time);
}

} // namespace

class BackupStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void namesNeverShared_data();
    void namesNeverShared();
    void listedNewestFirst();
    void thinnedKeepingEachModelsNewest();
    void unwritableFolderSaysWhy();
    void keptWhereThePlatformKeepsData();
    void folderOfAUserNameWithAccents();
    void keepsTheFramesWhole();
    void latestBeforeAChangeOfThisPort_data();
    void latestBeforeAChangeOfThisPort();
};

void BackupStoreTest::namesNeverShared_data()
{
    QTest::addColumn<QString>("firstPort");
    QTest::addColumn<QString>("secondPort");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("two radios, one second") << "/dev/ttyUSB0" << "/dev/ttyUSB1"
                                            << QStringList{"VKR627S-20261207-120000-write-ttyUSB0.csv",
                                                           "VKR627S-20261207-120000-write-ttyUSB1.csv"};
    QTest::newRow("one radio twice in one second") << "/dev/pts/3" << "/dev/pts/3"
                                                   << QStringList{"VKR627S-20261207-120000-write-pts-3.csv",
                                                                  "VKR627S-20261207-120000-write-pts-3-2.csv"};
    QTest::newRow("Windows ports") << "COM4" << "\\\\.\\COM10"
                                   << QStringList{"VKR627S-20261207-120000-write-COM4.csv",
                                                  "VKR627S-20261207-120000-write-COM10.csv"};
    QTest::newRow("no port named") << "" << "" << QStringList{"VKR627S-20261207-120000-write.csv",
                                                              "VKR627S-20261207-120000-write-2.csv"};
}

void BackupStoreTest::namesNeverShared()
{
    QFETCH(QString, firstPort);
    QFETCH(QString, secondPort);
    QFETCH(QStringList, names);
    QTemporaryDir folder;
    BackupStore store(folder.path());
    const BackupStore::Saved first = save(store, "VKR627S", firstPort, 1, noon);
    const BackupStore::Saved second = save(store, "VKR627S", secondPort, 2, noon);
    QCOMPARE(QFileInfo(first.path).fileName(), names.at(0));
    QCOMPARE(QFileInfo(second.path).fileName(), names.at(1));
    Backup kept;
    QVERIFY(readBackup(first.path, kept));
    QCOMPARE(usedCount(kept.channels), 1); // not overwritten by the second
    // Two of one radio in one second are listed newest first, whatever the
    // files' times say (of two radios only the times can tell, below).
    if (firstPort == secondPort)
        QCOMPARE(store.list().value(0).path, second.path);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // nothing left behind
    // Within one second, the one written last comes first (a moment apart,
    // as a file's time is kept to the millisecond).
    QFile older(first.path);
    QVERIFY(older.open(QIODevice::ReadWrite));
    QVERIFY(older.setFileTime(QDateTime::currentDateTime().addSecs(-1), QFileDevice::FileModificationTime));
    older.close();
    const QVector<BackupStore::Entry> listed = store.list();
    QCOMPARE(listed.size(), 2);
    QCOMPARE(listed[0].path, second.path);
    QCOMPARE(listed[1].path, first.path);
}

void BackupStoreTest::listedNewestFirst()
{
    QTemporaryDir folder;
    BackupStore store(folder.path());
    store.save("VKR627A", "ttyUSB0", channels(3), {}, BackupPurpose::Read, noon.addSecs(-60));
    store.save("VKR627-II", "ttyUSB0", channels(0), {}, BackupPurpose::Read, noon);
    QFile other(folder.filePath(QStringLiteral("club list.csv")));
    QVERIFY(other.open(QIODevice::WriteOnly));
    const QVector<BackupStore::Entry> entries = store.list();
    QCOMPARE(entries.size(), 2); // the user's own file is no backup
    QCOMPARE(entries[0].modelLabel, QStringLiteral("VKR627-II"));
    QCOMPARE(entries[0].time, noon);
    QCOMPARE(entries[0].usedChannels, 0);
    QCOMPARE(entries[1].modelLabel, QStringLiteral("VKR627A"));
    QCOMPARE(entries[1].usedChannels, 3);
}

void BackupStoreTest::thinnedKeepingEachModelsNewest()
{
    QTemporaryDir folder;
    BackupStore store(folder.path());
    save(store, "VKR627", "", 1, noon.addDays(-30));
    for (int k = 0; k < 5; ++k)
        save(store, "VKR627S", "", 1, noon.addSecs(k));
    store.prune(3);
    QStringList left;
    for (const BackupStore::Entry &entry : store.list())
        left << entry.modelLabel + entry.time.toString(QStringLiteral(" ss"));
    QCOMPARE(left, (QStringList{"VKR627S 04", "VKR627S 03", "VKR627S 02", "VKR627 00"}));
}

void BackupStoreTest::unwritableFolderSaysWhy()
{
    QTemporaryDir folder;
    QFile blocker(folder.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    BackupStore store(folder.filePath(QStringLiteral("file/backups")));
    const BackupStore::Saved saved = save(store, "VKR627A", "ttyUSB0", 1, noon);
    QVERIFY(saved.path.isEmpty());
    QVERIFY2(saved.error.contains(QStringLiteral("cannot be made")), qPrintable(saved.error));
}

// The user's data folder of the platform: on Windows the local
// application data (C:\Users\<user>\AppData\Local), elsewhere the XDG
// data folder (the test environment's own).
void BackupStoreTest::keptWhereThePlatformKeepsData()
{
#ifdef Q_OS_WIN
    const QString data = QDir::fromNativeSeparators(qEnvironmentVariable("LOCALAPPDATA"));
#else
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
#endif
    QVERIFY(!data.isEmpty());
    QCOMPARE(BackupStore().folder(), data + QStringLiteral("/Corvane/VKRFrequencyTool/backups"));
}

// C:\Users\Jürgen Müller\AppData\Local\...: saved, listed and read back.
void BackupStoreTest::folderOfAUserNameWithAccents()
{
    QTemporaryDir top;
    BackupStore store(top.filePath(QStringLiteral("Jürgen Müller/AppData/Local/backups")));
    const BackupStore::Saved saved = save(store, "VKR627A", "COM4", 2, noon);
    QVERIFY2(!saved.path.isEmpty(), qPrintable(saved.error));
    const QVector<BackupStore::Entry> entries = store.list();
    QCOMPARE(entries.size(), 1);
    Backup kept;
    QVERIFY(readBackup(entries[0].path, kept));
    QCOMPARE(kept.channels.value(1).name, QStringLiteral("CH")); // as its frame holds it
}

// A backup holds every channel of the memory, empty ones at its end too,
// each with its frame: read back, the same bytes, and whole; cut short, not.
void BackupStoreTest::keepsTheFramesWhole()
{
    QTemporaryDir folder;
    BackupStore store(folder.path());
    const BackupStore::Saved saved = save(store, "VKR627S", "ttyUSB0", 2, noon);
    Backup backup;
    QVERIFY(readBackup(saved.path, backup));
    QCOMPARE(backup.modelLabel, QStringLiteral("VKR627S"));
    QCOMPARE(backup.purpose, BackupPurpose::Write);
    QCOMPARE(backup.frames, frames(2));
    QVERIFY(backup.whole);
    QFile file(saved.path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray content = file.readAll();
    QVERIFY(file.resize(content.size() / 2));
    file.close();
    QVERIFY(readBackup(saved.path, backup));
    QVERIFY(!backup.whole);
}

void BackupStoreTest::latestBeforeAChangeOfThisPort_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<int>("chosen");     // the backup saved k-th below; -1: none
    QTest::addColumn<int>("candidates"); // listed when none is chosen

    QTest::newRow("this port's, though another port's is newer") << "/dev/ttyUSB0" << 1 << 0;
    QTest::newRow("a read or a diff does not count") << "/dev/ttyUSB1" << 2 << 0;
    QTest::newRow("only other ports': not clear") << "/dev/ttyUSB9" << -1 << 3;
}

void BackupStoreTest::latestBeforeAChangeOfThisPort()
{
    QFETCH(QString, port);
    QFETCH(int, chosen);
    QFETCH(int, candidates);
    QTemporaryDir folder;
    BackupStore store(folder.path());
    const QString paths[] = {
        save(store, "VKR627S", "/dev/ttyUSB0", 1, noon).path,
        save(store, "VKR627S", "/dev/ttyUSB0", 2, noon.addSecs(1), BackupPurpose::Restore).path,
        save(store, "VKR627S", "/dev/ttyUSB1", 3, noon.addSecs(2)).path,
        save(store, "VKR627S", "/dev/ttyUSB1", 4, noon.addSecs(3), BackupPurpose::Diff).path,
        save(store, "VKR627S", "/dev/ttyUSB1", 5, noon.addSecs(4), BackupPurpose::Read).path,
        save(store, "VKR627A", "/dev/ttyUSB9", 6, noon.addSecs(5)).path,
    };
    const BackupStore::Latest latest = store.latestBeforeChange(QStringLiteral("VKR627S"), port);
    QCOMPARE(latest.path, chosen < 0 ? QString() : paths[chosen]);
    QCOMPARE(latest.candidates.size(), candidates);
}

VKR_TEST_MAIN(BackupStoreTest)
#include "tst_backup_store.moc"
