#include "RadioCommandLine.h"

#include "RadioModels.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

bool toCount(const QString &text, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= 0;
}

bool parseChannel(const QString &text, PresetChannel &channel)
{
    const int first = text.indexOf(QLatin1Char(':'));
    const int last = text.lastIndexOf(QLatin1Char(':'));
    if (first < 0 || first == last || !toCount(text.left(first), channel.index))
        return false;
    channel.name = text.mid(first + 1, last - first - 1);
    channel.frequency = text.mid(last + 1);
    static const QRegularExpression frequencyForm(QStringLiteral("^(\\d{1,3}\\.\\d{3})?$"));
    return frequencyForm.match(channel.frequency).hasMatch();
}

bool parsePause(const QString &text, RadioFaults &faults)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    return parts.size() == 3 && toCount(parts[0], faults.pauseFrame) && toCount(parts[1], faults.pauseOffset)
        && toCount(parts[2], faults.pauseTime);
}

} // namespace

int radioModelByName(const QString &name)
{
    const RadioModel *model = RadioModels::named(name);
    return model ? RadioModels::indexOf(*model) : -1;
}

bool parseRadioCommandLine(const QStringList &arguments, RadioCommandLine &result, QString &error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A virtual VKR627-series radio on a pseudo-terminal. Prints the path of the terminal's serial\n"
        "end on one line, then answers on it until it is stopped (Ctrl+C, SIGTERM)."));
    parser.addHelpOption();
    const QCommandLineOption model(QStringLiteral("model"),
        QStringLiteral("Model: VKR627A (default), VKR627S, VKR627-II or VKR627."), QStringLiteral("model"));
    const QCommandLineOption modelText(QStringLiteral("model-text"),
        QStringLiteral("Answer to the identify request instead of the model's own text."), QStringLiteral("text"));
    const QCommandLineOption unknownModel(QStringLiteral("unknown-model"),
        QStringLiteral("Answer the identify request with a text that names no model."));
    const QCommandLineOption channel(QStringLiteral("channel"),
        QStringLiteral("Store a channel, e.g. 0:TOWER:118.100 (repeatable; an empty frequency is an empty channel)."),
        QStringLiteral("index:name:frequency"));
    const QCommandLineOption loadMemory(QStringLiteral("load-memory"),
        QStringLiteral("Fill the memory from a channel CSV file."), QStringLiteral("file"));
    const QCommandLineOption dumpMemory(QStringLiteral("dump-memory"),
        QStringLiteral("Write the memory to a channel CSV file when stopped."), QStringLiteral("file"));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Fault: answer nothing."));
    const QCommandLineOption wrongPing(QStringLiteral("wrong-ping"), QStringLiteral("Fault: answer the ping wrongly."));
    const QCommandLineOption echoPing(QStringLiteral("echo-ping"), QStringLiteral("Fault: answer the ping by repeating it."));
    const QCommandLineOption noIdentify(QStringLiteral("no-identify"),
        QStringLiteral("Fault: answer the ping but not the identify request."));
    const QCommandLineOption framePause(QStringLiteral("frame-pause"),
        QStringLiteral("Fault: pause inside a frame of a read, e.g. 3:5:500 (frame, byte offset, ms)."),
        QStringLiteral("frame:offset:ms"));
    const QCommandLineOption oneByteFrame(QStringLiteral("one-byte-frame"),
        QStringLiteral("Fault: send this frame of a read as its first byte only."), QStringLiteral("frame"));
    const QCommandLineOption nak(QStringLiteral("nak"), QStringLiteral("Fault: refuse every frame of a write (15)."));
    const QCommandLineOption noAck(QStringLiteral("no-ack"), QStringLiteral("Fault: acknowledge no frame of a write."));
    const QCommandLineOption nakFrame(QStringLiteral("nak-frame"),
        QStringLiteral("Fault: refuse this frame of a write (15)."), QStringLiteral("frame"));
    const QCommandLineOption unansweredFrame(QStringLiteral("unanswered-frame"),
        QStringLiteral("Fault: neither answer nor store this frame of a write."), QStringLiteral("frame"));
    const QCommandLineOption unplugAfterBytes(QStringLiteral("unplug-after-bytes"),
        QStringLiteral("Fault: close the terminal once this many bytes were heard."), QStringLiteral("bytes"));
    const QCommandLineOption answerDelay(QStringLiteral("answer-delay"),
        QStringLiteral("Fault: wait this long before each answer."), QStringLiteral("ms"));
    const QCommandLineOption stopAfter(QStringLiteral("stop-after"),
        QStringLiteral("Fault: stop answering within a transfer after this many frames."), QStringLiteral("frames"));
    const QCommandLineOption unplugAfter(QStringLiteral("unplug-after"),
        QStringLiteral("Fault: close the terminal after this many frames of a transfer."), QStringLiteral("frames"));
    const QCommandLineOption strayByte(QStringLiteral("stray-byte"),
        QStringLiteral("Fault: send a byte of line noise 100 ms after each read or write ends."));
    const QCommandLineOption strayByteBefore(QStringLiteral("stray-byte-before"),
        QStringLiteral("Fault: send a byte of line noise right in front of this frame of a read."), QStringLiteral("frame"));
    const QCommandLineOption corruptChannel(QStringLiteral("corrupt-channel"),
        QStringLiteral("Fault: store this channel of a write other than written."), QStringLiteral("channel"));
    const QCommandLineOption garbage(QStringLiteral("garbage"),
        QStringLiteral("Fault: answer ping and identify with random bytes from this seed."), QStringLiteral("seed"));
    const QCommandLineOption pace(QStringLiteral("pace"),
        QStringLiteral("Take the wire time of 9600 baud (about 1.04 ms) for every byte, both ways."));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
        QStringLiteral("Print every byte heard and sent, with times, on standard error."));
    parser.addOptions({model, modelText, unknownModel, channel, loadMemory, dumpMemory, silent, wrongPing, echoPing,
                       noIdentify, framePause, oneByteFrame, nak, noAck, nakFrame, unansweredFrame, unplugAfterBytes, strayByte, strayByteBefore, answerDelay, stopAfter, unplugAfter, corruptChannel, garbage,
                       pace, verbose});

    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
        return false;
    }
    result = RadioCommandLine();
    if (parser.isSet(QStringLiteral("help"))) {
        result.helpRequested = true;
        result.helpText = parser.helpText();
        return true;
    }

    RadioSettings &settings = result.settings;
    RadioFaults &faults = settings.faults;
    auto fail = [&error](const QString &message) {
        error = message;
        return false;
    };

    if (parser.isSet(model)) {
        settings.model = radioModelByName(parser.value(model));
        if (settings.model < 0)
            return fail(QStringLiteral("Unknown model: %1").arg(parser.value(model)));
    }
    if (parser.isSet(modelText))
        settings.modelText = parser.value(modelText).toUtf8();
    if (parser.isSet(unknownModel))
        settings.modelText = unknownModelText;

    const int channelCount = RadioModels::all[settings.model].channelCount;
    for (const QString &text : parser.values(channel)) {
        PresetChannel preset;
        if (!parseChannel(text, preset) || preset.index >= channelCount)
            return fail(QStringLiteral("Not a channel of this radio (index:name:frequency, index below %1, "
                                       "frequency like 118.000 or empty): %2")
                            .arg(channelCount)
                            .arg(text));
        result.channels.append(preset);
    }
    result.loadMemoryFile = parser.value(loadMemory);
    result.dumpMemoryFile = parser.value(dumpMemory);

    faults.silent = parser.isSet(silent);
    faults.wrongPingAnswer = parser.isSet(wrongPing);
    faults.echoPing = parser.isSet(echoPing);
    faults.noIdentifyAnswer = parser.isSet(noIdentify);
    faults.nakEveryFrame = parser.isSet(nak);
    faults.noAcknowledge = parser.isSet(noAck);
    faults.strayByteAfterTransfer = parser.isSet(strayByte);
    faults.pace = parser.isSet(pace);
    result.verbose = parser.isSet(verbose);

    if (parser.isSet(framePause) && !parsePause(parser.value(framePause), faults))
        return fail(QStringLiteral("Not a frame pause (frame:offset:ms): %1").arg(parser.value(framePause)));
    const struct {
        const QCommandLineOption &option;
        int &value;
    } counts[] = {
        {oneByteFrame, faults.oneByteFrame},
        {answerDelay, faults.answerDelay},
        {stopAfter, faults.stopAfterFrames},
        {unplugAfter, faults.unplugAfterFrames},
        {corruptChannel, faults.corruptChannel},
        {nakFrame, faults.nakFrame},
        {unansweredFrame, faults.unansweredFrame},
        {unplugAfterBytes, faults.unplugAfterBytes},
        {strayByteBefore, faults.strayByteBeforeFrame},
    };
    for (const auto &count : counts) {
        if (parser.isSet(count.option) && !toCount(parser.value(count.option), count.value))
            return fail(QStringLiteral("Not a number of %1 for --%2: %3")
                            .arg(count.option.valueName(), count.option.names().first(), parser.value(count.option)));
    }
    if (parser.isSet(garbage)) {
        bool ok = false;
        faults.garbage = true;
        faults.garbageSeed = parser.value(garbage).toUInt(&ok);
        if (!ok)
            return fail(QStringLiteral("Not a seed for --garbage: %1").arg(parser.value(garbage)));
    }
    return true;
}
