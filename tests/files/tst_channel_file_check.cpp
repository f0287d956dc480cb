// A channel list checked against a radio's rules: which field each problem
// names, what the editors' rules refuse but a backup may hold, and records
// beyond the radio counted once, with the lines of a file.
#include "TestMain.h"

#include "ChannelFileCheck.h"
#include "CsvTable.h"

#include <QtTest>

Q_DECLARE_METATYPE(ChannelFileCheck::Rules)

class ChannelFileCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void problems_data();
    void problems();
};

void ChannelFileCheckTest::problems_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("model");
    QTest::addColumn<ChannelFileCheck::Rules>("rules");
    QTest::addColumn<QStringList>("expected"); // "line:channel:field:start of the text"

    const auto radio = ChannelFileCheck::Rules::Radio;
    const auto encodable = ChannelFileCheck::Rules::Encodable;
    QTest::newRow("a good list") << QByteArray("TOWER;118.100\r\n;\r\nATIS;118.005\r\n") << "VKR627A" << radio
                                 << QStringList();
    QTest::newRow("lower case names the name")
        << QByteArray("Tower;118.100\r\n") << "VKR627A" << radio
        << QStringList{"1:0:name:the name \"Tower\" has lower case"};
    QTest::newRow("two decimals: write three")
        << QByteArray("A;121.5\r\n") << "VKR627A" << radio
        << QStringList{"1:0:frequency:\"121.5\" is no channel of the air band as written: write three decimals: 121.500"};
    QTest::newRow("a name without a frequency")
        << QByteArray("\r\nA;\r\n") << "VKR627A" << radio
        << QStringList{"2:0:frequency:the name \"A\" has no frequency; the radio would store it at 118.000"};
    QTest::newRow("118.000 without a name is the empty channel")
        << QByteArray(";118.000\r\n") << "VKR627A" << radio
        << QStringList{"1:0:name:118.000 without a name is the radio's empty channel"};
    QTest::newRow("odd values pass as a backup") << QByteArray("odd;118.1000\r\n") << "VKR627A" << encodable
                                                 << QStringList();
    QTest::newRow("but not what no frame carries")
        << QByteArray("X;300.000\r\n") << "VKR627A" << encodable
        << QStringList{"1:0:frequency:\"300.000\" is no frequency a radio can hold"};
    QTest::newRow("records beyond the radio counted once")
        << QByteArray(QByteArray("A;118.100\r\n").repeated(23)) << "VKR627S" << radio
        << QStringList{"21:20:record:this record and 2 more after it are beyond the 20 channels of the radio"};
    // Bytes that are no text are named with their record, under either rules.
    QTest::newRow("a zero byte in a name, not cut to \"AT\"")
        << QByteArray("AT\0IS;121.500\r\n", 15) << "VKR627A" << radio
        << QStringList{"1:0:name:the name \"AT\\x00IS\" holds the control character \"\\x00\""};
    QTest::newRow("a zero byte in a frequency, not cut to 121.")
        << QByteArray(";\r\nGND;121.\0" "75\r\n", 16) << "VKR627A" << encodable
        << QStringList{"2:1:frequency:the frequency \"121.\\x0075\" holds the control character"};
    QTest::newRow("an escape in a backup's name") << QByteArray("A\x1b;118.100\r\n") << "VKR627A" << encodable
                                                  << QStringList{"1:0:name:the name \"A\\x1b\" holds"};
    QTest::newRow("UTF-16 said once for the file")
        << QByteArray("\xff\xfeT\0W\0R\0;\0" "1\0" "1\0" "8\0.\0" "1\0\r\0\n\0", 24) << "VKR627A" << radio
        << QStringList{"0:-1:record:UTF-16 is not read: save as UTF-8"};
    QTest::newRow("UTF-16 without a byte-order mark")
        << QByteArray("T\0W\0R\0;\0" "1\0" "1\0" "8\0\r\0\n\0", 18) << "VKR627A" << radio
        << QStringList{"0:-1:record:UTF-16 is not read"};
    QTest::newRow("lines ended by CR alone") << QByteArray("A;118.100\rB;118.200\r") << "VKR627A" << radio
                                             << QStringList{"0:-1:record:no line ends"};
    QTest::newRow("a CR at the end alone is a line end")
        << QByteArray("A;118.100\r") << "VKR627A" << radio << QStringList();
    QTest::newRow("empty records beyond the radio are none")
        << QByteArray("A;118.100\r\n") + QByteArray(";\r\n").repeated(30) << "VKR627S" << radio << QStringList();
}

void ChannelFileCheckTest::problems()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, model);
    QFETCH(ChannelFileCheck::Rules, rules);
    QFETCH(QStringList, expected);
    CsvTable table;
    QVERIFY(table.readBytes(file));
    const QVector<ChannelProblem> problems = ChannelFileCheck::check(table, *RadioModels::named(model), rules);
    QStringList found;
    const char *fields[] = {"name", "frequency", "record"};
    for (const ChannelProblem &problem : problems)
        found << QStringLiteral("%1:%2:%3:").arg(problem.line).arg(problem.channel).arg(fields[int(problem.field)])
                + problem.text;
    QCOMPARE(found.size(), expected.size());
    for (int k = 0; k < found.size(); ++k)
        QVERIFY2(found.at(k).startsWith(expected.at(k)), qPrintable(found.at(k)));
}

VKR_TEST_MAIN(ChannelFileCheckTest)
#include "tst_channel_file_check.moc"
