// The store of backups: names no two programs share, nothing overwritten,
// the newest first, and thinning that keeps each model's newest.
#include "BackupStore.h"
#include "TestMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QDateTime noon(QDate(2026, 12, 7), QTime(12, 0, 0));

ChannelRecords channels(int used)
{
    ChannelRecords records(20);
    for (int k = 0; k < used; ++k)
        records[k] = {QStringLiteral("CH%1").arg(k), QStringLiteral("121.500")};
    return records;
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
};

void BackupStoreTest::namesNeverShared_data()
{
    QTest::addColumn<QString>("firstPort");
    QTest::addColumn<QString>("secondPort");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("two radios, one second") << "/dev/ttyUSB0" << "/dev/ttyUSB1"
                                            << QStringList{"VKR627S-20261207-120000-ttyUSB0.csv",
                                                           "VKR627S-20261207-120000-ttyUSB1.csv"};
    QTest::newRow("one radio twice in one second") << "/dev/pts/3" << "/dev/pts/3"
                                                   << QStringList{"VKR627S-20261207-120000-pts-3.csv",
                                                                  "VKR627S-20261207-120000-pts-3-2.csv"};
    QTest::newRow("Windows ports") << "COM4" << "\\\\.\\COM10"
                                   << QStringList{"VKR627S-20261207-120000-COM4.csv",
                                                  "VKR627S-20261207-120000-COM10.csv"};
    QTest::newRow("no port named") << "" << "" << QStringList{"VKR627S-20261207-120000.csv",
                                                              "VKR627S-20261207-120000-2.csv"};
}

void BackupStoreTest::namesNeverShared()
{
    QFETCH(QString, firstPort);
    QFETCH(QString, secondPort);
    QFETCH(QStringList, names);
    QTemporaryDir folder;
    BackupStore store(folder.path());
    const BackupStore::Saved first = store.save("VKR627S", firstPort, channels(1), noon);
    const BackupStore::Saved second = store.save("VKR627S", secondPort, channels(2), noon);
    QCOMPARE(QFileInfo(first.path).fileName(), names.at(0));
    QCOMPARE(QFileInfo(second.path).fileName(), names.at(1));
    ChannelRecords kept;
    QVERIFY(readChannelFile(first.path, kept));
    QCOMPARE(kept.value(0).name, QStringLiteral("CH0")); // not overwritten by the second
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // nothing left behind
}

void BackupStoreTest::listedNewestFirst()
{
    QTemporaryDir folder;
    BackupStore store(folder.path());
    store.save("VKR627A", "ttyUSB0", channels(3), noon.addSecs(-60));
    store.save("VKR627-II", "ttyUSB0", channels(0), noon);
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
    store.save("VKR627", "", channels(1), noon.addDays(-30));
    for (int k = 0; k < 5; ++k)
        store.save("VKR627S", "", channels(1), noon.addSecs(k));
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
    const BackupStore::Saved saved = store.save("VKR627A", "ttyUSB0", channels(1), noon);
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
    const BackupStore::Saved saved = store.save("VKR627A", "COM4", channels(2), noon);
    QVERIFY2(!saved.path.isEmpty(), qPrintable(saved.error));
    const QVector<BackupStore::Entry> entries = store.list();
    QCOMPARE(entries.size(), 1);
    ChannelRecords kept;
    QVERIFY(readChannelFile(entries[0].path, kept));
    QCOMPARE(kept.value(1).name, QStringLiteral("CH1"));
}

VKR_TEST_MAIN(BackupStoreTest)
#include "tst_backup_store.moc"
