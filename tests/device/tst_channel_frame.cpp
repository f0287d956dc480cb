// The channel frame, checksum and model identification: the widget-free
// byte logic of the link.
#include "TestMain.h"

#include "ChannelFrame.h"
#include "LinkConstants.h"
#include "RadioModels.h"

#include <QtTest>

namespace {
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}
} // namespace

class LinkFramesTest : public QObject
{
    Q_OBJECT

private slots:
    void wireConstants_data();
    void wireConstants();
    void checksum_data();
    void checksum();
    void encodesSentFrame_data();
    void encodesSentFrame();
    void decodesReceivedFrame_data();
    void decodesReceivedFrame();
    void everyChannelOfTheBandComesBack();
    void identifiesModel_data();
    void identifiesModel();
};

// Every byte the link puts on the wire or looks for, pinned to the values a
// radio of the series uses: the virtual radio shares the link's constants,
// so only this test notices a wrong one.
void LinkFramesTest::wireConstants_data()
{
    QTest::addColumn<QByteArray>("constant");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("ping") << Link::pingCommand << hex("02721062");
    QTest::newRow("ping answer") << Link::pingAnswer << hex("027241");
    QTest::newRow("identify") << Link::identifyCommand << hex("0250");
    QTest::newRow("read memory") << Link::readMemoryCommand << hex("0254");
    QTest::newRow("write memory") << Link::writeMemoryCommand << hex("024D");
    QTest::newRow("acknowledge") << Link::ackByte << hex("06");
    QTest::newRow("start of frame") << Link::stxByte << hex("02");
    QTest::newRow("end of write") << Link::eotByte << hex("04");
    QTest::newRow("acknowledge value") << QByteArray(1, Link::ackValue) << hex("06");
    QTest::newRow("start value") << QByteArray(1, Link::stxValue) << hex("02");
    QTest::newRow("end value") << QByteArray(1, Link::eotValue) << hex("04");
    QTest::newRow("refusal value") << QByteArray(1, Link::nakValue) << hex("15");
}

void LinkFramesTest::wireConstants()
{
    QFETCH(QByteArray, constant);
    QFETCH(QByteArray, bytes);
    QCOMPARE(constant.toHex(' '), bytes.toHex(' '));
}

void LinkFramesTest::checksum_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("expected");

    QTest::newRow("zero bytes") << QByteArray() << 0 << 0xFF;
    QTest::newRow("zero of a longer frame") << hex("7664") << 0 << 0xFF;
    QTest::newRow("one byte") << hex("0F") << 1 << 0xF0;
    QTest::newRow("empty channel") << hex("76002020202020202020") << 10 << 0x89;
    QTest::newRow("only the first n bytes") << hex("7600202020202020202055") << 10 << 0x89;
    QTest::newRow("n beyond the frame counts the frame") << hex("0F") << 5 << 0xF0;
    QTest::newRow("negative n is no bytes") << hex("0F") << -3 << 0xFF;
    QTest::newRow("a byte XORed twice cancels") << hex("A5A5") << 2 << 0xFF;
}

void LinkFramesTest::checksum()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, n);
    QFETCH(int, expected);
    QCOMPARE(static_cast<quint8>(Link::frameChecksum(frame, n)), static_cast<quint8>(expected));
}

void LinkFramesTest::encodesSentFrame_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<QByteArray>("wire"); // STX, frame, checksum

    QTest::newRow("empty channel") << QString() << QString() << hex("02760020202020202020 2089");
    QTest::newRow("TOWER 121.500") << "TOWER" << "121.500" << hex("027964544F5745522020 2099");
    QTest::newRow("ABCDEFGH 136.975") << "ABCDEFGH" << "136.975" << hex("0288C34142434445464748BC");
    QTest::newRow("empty frequency goes as 118.000") << "TOWER" << QString() << hex("02 7600544F574552202020 F2");
    QTest::newRow("name over 8 bytes is cut") << "ABCDEFGHIJ" << "118.000" << hex("02 76004142434445464748 81");
    QTest::newRow("cut before a character that does not fit whole")
        << QString::fromUtf8("AÄÖÜÄ") << "118.000" << hex("02 7600 41 C384 C396 C39C 20 A5");
    QTest::newRow("four-byte character that does not fit whole")
        << QString::fromUtf8("ABCDE\U0001F600") << "118.000" << hex("02 7600 4142434445 202020 E8");
    QTest::newRow("a radio's odd step goes as it is") << "X" << "118.1000" << hex("02 76C8 58202020202020 20 39");
    QTest::newRow("megahertz beyond a byte: no frame") << "X" << "300.000" << QByteArray();
    QTest::newRow("step beyond a byte: no frame") << "X" << "118.1280" << QByteArray();
    QTest::newRow("no frequency at all: no frame") << "X" << "121.5" << QByteArray();
}

void LinkFramesTest::encodesSentFrame()
{
    QFETCH(QString, name);
    QFETCH(QString, frequency);
    QFETCH(QByteArray, wire);
    const QByteArray frame = Link::encodeChannelFrame({name, Frequency::fromText(frequency)});
    if (wire.isEmpty()) {
        QVERIFY(frame.isEmpty());
        return;
    }
    QCOMPARE(frame.size(), Link::sentFrameLength);
    QCOMPARE((Link::stxByte + frame).toHex(' '), wire.toHex(' '));
}

void LinkFramesTest::decodesReceivedFrame_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("frequency");
    QTest::addColumn<bool>("storable"); // a channel a radio can have stored

    QTest::newRow("TOWER") << hex("7964544F574552202020") << "TOWER" << "121.500" << true;
    QTest::newRow("eight spaces at 118.000 is empty") << hex("76002020202020202020") << "" << "" << true;
    QTest::newRow("zero byte ends the name") << hex("760000414243444546 47") << "" << "" << true;
    QTest::newRow("ABC at 118.000 is kept") << hex("76004142432020202020") << "ABC" << "118.000" << true;
    QTest::newRow("inner spaces made one") << hex("76644120204220202020") << "A B" << "118.500" << true;
    QTest::newRow("one byte") << hex("77") << "" << "119.000" << false;
    QTest::newRow("nothing") << QByteArray() << "" << "0.000" << false;
    QTest::newRow("two bytes, no name") << hex("7600") << "" << "" << true;
    QTest::newRow("short name, 118.000") << hex("76004142") << "AB" << "118.000" << true;
    QTest::newRow("four spaces are not eight") << hex("760020202020") << "" << "118.000" << true;
    QTest::newRow("bytes after the tenth ignored") << hex("7964544F5745522020204142") << "TOWER" << "121.500" << true;
    QTest::newRow("UTF-8 name") << hex("7600C384C396C39C2020") << QString::fromUtf8("ÄÖÜ") << "118.000" << true;
    QTest::newRow("empty name at another frequency") << hex("79642020202020202020") << "" << "121.500" << true;
    QTest::newRow("shifted by a byte in front") << hex("15773C4150502020202020") << "<APP" << "21.595" << false;
    QTest::newRow("off the raster") << hex("76042020202020202020") << "" << "118.020" << false;
    QTest::newRow("above 136.980") << hex("88C52020202020202020") << "" << "136.985" << false;
    QTest::newRow("control byte in the name") << hex("79644154071B20202020") << "AT\x07\x1B" << "121.500" << false;
    QTest::newRow("out of band kept as sent") << hex("C8FF2020202020202020") << "" << "200.1275" << false;
}

void LinkFramesTest::decodesReceivedFrame()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, name);
    QFETCH(QString, frequency);
    QFETCH(bool, storable);
    const Channel channel = Link::decodeChannelFrame(answer);
    QCOMPARE(channel.name, name);
    QCOMPARE(channel.frequency.text(), frequency);
    QCOMPARE(Link::isStorableFrame(answer), storable);
}

// Every frequency of the band, on every raster step, survives the frame
// the host sends and the answer a radio gives back.
void LinkFramesTest::everyChannelOfTheBandComesBack()
{
    for (int megahertz = 118; megahertz <= 136; ++megahertz) {
        for (int kilohertz = 0; kilohertz < 1000; kilohertz += 5) {
            const Channel channel{QStringLiteral("X"), Frequency::fromKilohertz(megahertz * 1000 + kilohertz)};
            const QByteArray frame = Link::encodeChannelFrame(channel);
            QCOMPARE(Link::decodeChannelFrame(frame.left(Link::frameLength)), channel);
        }
    }
}

void LinkFramesTest::identifiesModel_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("label"); // empty: no radio

    QTest::newRow("62A") << QByteArray("VKR62A V2") << "VKR627A";
    QTest::newRow("627S") << QByteArray("VKR627S") << "VKR627S";
    QTest::newRow("627II") << QByteArray("VKR627II") << "VKR627-II";
    QTest::newRow("627 alone") << QByteArray("VKR627 V1") << "VKR627";
    QTest::newRow("627S before 627II") << QByteArray("627II 627S") << "VKR627S";
    QTest::newRow("62A before all") << QByteArray("627S 627II 627 62A") << "VKR627A";
    QTest::newRow("627 is last") << QByteArray("627 then 627II") << "VKR627-II";
    QTest::newRow("627A holds no 62A") << QByteArray("VKR627A") << "VKR627";
    QTest::newRow("token among binary bytes") << QByteArray("\x00\xff" "627S\x02", 7) << "VKR627S";
    QTest::newRow("no token") << QByteArray("HX-100") << "";
    QTest::newRow("62 alone") << QByteArray("VKR62") << "";
    QTest::newRow("lower case is no token") << QByteArray("vkr62a") << "";
    QTest::newRow("empty") << QByteArray() << "";
}

void LinkFramesTest::identifiesModel()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, label);
    const RadioModel *model = RadioModels::identify(text);
    QCOMPARE(model ? QString::fromLatin1(model->label) : QString(), label);
}

VKR_TEST_MAIN(LinkFramesTest)
#include "tst_channel_frame.moc"
