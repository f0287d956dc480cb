// The channel sheet without a window: the history of its changes, one row
// kept per change, the clean state a save or a read marks, the rows a radio
// holds, and what the radio was last known to hold.
#include "TestMain.h"

#include "ChannelSheet.h"
#include "RowEdits.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

Channel channel(const char *name, const char *frequency)
{
    return {QString::fromLatin1(name), Frequency::fromText(QString::fromLatin1(frequency))};
}

} // namespace

class ChannelSheetTest : public QObject
{
    Q_OBJECT

private slots:
    void historyUndoesAndRedoesEachStep();
    void cleanStateComesBackOnlyAlongTheHistory();
    void rowsOfTheRadio();
    void differencesFromTheRadio();
    void sortsFrequenciesByValue();
};

void ChannelSheetTest::historyUndoesAndRedoesEachStep()
{
    ChannelSheet sheet;
    QSignalSpy shown(&sheet, &ChannelSheet::rowsChanged);
    sheet.setName(3, QStringLiteral("TOWER"), QStringLiteral("Edit"));
    sheet.setFrequency(3, Frequency::fromText(QStringLiteral("118.100")), QStringLiteral("Edit"));
    Channels pasted = sheet.channels();
    pasted[7] = channel("ATIS", "127.755");
    pasted[8] = channel("GND", "121.900");
    sheet.replace(pasted, QStringLiteral("Paste"), {7}, {7, 8});
    sheet.replace(sheet.channels(), QStringLiteral("Nothing")); // no change, no step
    QCOMPARE(sheet.undoText(), QStringLiteral("Paste"));
    QCOMPARE(shown.count(), 3);
    QCOMPARE(shown.last().at(0).value<QList<int>>(), (QList<int>{7, 8})); // only the rows the step changed

    sheet.undo();
    QCOMPARE(sheet.at(8), Channel());
    QCOMPARE(shown.last().at(1).value<QList<int>>(), QList<int>{7}); // the rows selected before the step
    sheet.undo();
    QCOMPARE(sheet.at(3), channel("TOWER", ""));
    sheet.redo();
    sheet.redo();
    QCOMPARE(sheet.at(3), channel("TOWER", "118.100"));
    QCOMPARE(sheet.at(7), channel("ATIS", "127.755"));
    QVERIFY(!sheet.canRedo());
    sheet.undo();
    sheet.setName(0, QStringLiteral("NEW"), QStringLiteral("Edit")); // drops the step undone
    QVERIFY(!sheet.canRedo());
    QCOMPARE(sheet.at(7), Channel());
}

void ChannelSheetTest::cleanStateComesBackOnlyAlongTheHistory()
{
    ChannelSheet sheet;
    QSignalSpy clean(&sheet, &ChannelSheet::cleanChanged);
    sheet.setName(0, QStringLiteral("A"), QStringLiteral("Edit"));
    sheet.setClean(); // saved
    sheet.setName(1, QStringLiteral("B"), QStringLiteral("Edit"));
    QVERIFY(!sheet.isClean());
    sheet.undo();
    QVERIFY(sheet.isClean());
    sheet.undo();
    QVERIFY(!sheet.isClean());
    sheet.setName(2, QStringLiteral("C"), QStringLiteral("Edit")); // the saved state can no longer come back
    sheet.undo();
    QVERIFY(!sheet.isClean());
    QCOMPARE(clean.count(), 5); // edited, saved, edited, undone to it, undone past it
}

void ChannelSheetTest::rowsOfTheRadio()
{
    ChannelSheet sheet;
    Channels list(ChannelSheet::rowCount);
    list[0] = channel("A", "118.100");
    list[19] = channel("B", "118.200");
    list[20] = channel("C", "118.300");
    list[99] = channel("D", "118.400");
    sheet.replace(list, QStringLiteral("Open"));
    QCOMPARE(sheet.radioChannels().size(), ChannelSheet::rowCount);
    QCOMPARE(sheet.usedBeyondRadio(), 0);
    sheet.setModel(*RadioModels::named(QStringLiteral("VKR627S")));
    QCOMPARE(sheet.radioChannels().size(), 20);
    QCOMPARE(sheet.usedBeyondRadio(), 2);
    QCOMPARE(sheet.channels().size(), ChannelSheet::rowCount); // nothing dropped
    list[5] = channel("lower", "136.985");
    sheet.replace(list, QStringLiteral("Edit"));
    QCOMPARE(sheet.problems().size(), 2); // a name and a frequency; rows beyond the radio are no problem here
}

void ChannelSheetTest::differencesFromTheRadio()
{
    ChannelSheet sheet;
    sheet.setModel(*RadioModels::named(QStringLiteral("VKR627S")));
    QVERIFY(!sheet.differencesFromRadio());
    Channels memory(20);
    memory[0] = channel("TOWER", "118.100");
    sheet.replace(memory, QStringLiteral("Read from radio"));
    sheet.setRadioMemory(memory);
    QCOMPARE(*sheet.differencesFromRadio(), 0);
    sheet.setName(0, QStringLiteral("TOWER "), QStringLiteral("Edit")); // stored the same
    QCOMPARE(*sheet.differencesFromRadio(), 0);
    sheet.setName(1, QStringLiteral("APP"), QStringLiteral("Edit"));
    sheet.setName(30, QStringLiteral("BEYOND"), QStringLiteral("Edit")); // not on this radio
    QCOMPARE(*sheet.differencesFromRadio(), 1);
    sheet.forgetRadioMemory();
    QVERIFY(!sheet.differencesFromRadio());
}

// By value, not as text: a radio's odd 118.1000 (119.000 MHz) after
// 118.900, texts that name no frequency after every designator.
void ChannelSheetTest::sortsFrequenciesByValue()
{
    Channels list{channel("E", "121.5"), channel("D", "118.1000"), channel("C", "118.900"), Channel(),
                  channel("B", ""), channel("A", "118.005")};
    RowEdits::sortUsed(list, RowEdits::SortKey::Frequency);
    QStringList names;
    for (const Channel &record : list)
        names << record.name;
    QCOMPARE(names, (QStringList{"A", "C", "D", "E", "B", ""}));
}

VKR_TEST_MAIN(ChannelSheetTest)
#include "tst_channel_sheet.moc"
