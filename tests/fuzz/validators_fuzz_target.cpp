// libFuzzer target for the name and frequency validators over arbitrary
// text and cursor positions. Beyond crashes it checks what the radio relies
// on: a frequency the validator accepts, with a name, goes into a frame and
// comes back as the same frequency text (118.000 with a name that is blank
// in the radio, after the cut at 8 bytes, is the radio's empty channel); a complete frequency is accepted
// exactly when it is a channel; the name validator changes at most the
// character before the cursor, and never lets the file separator through.
#include "AFNameValidator.h"
#include "ChannelFrame.h"
#include "ChannelText.h"
#include "ChannelRules.h"
#include "FreqValidator.h"
#include "FuzzSupport.h"
#include "LinkConstants.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

QString drawText(FuzzedDataProvider &input)
{
    const std::string bytes = input.ConsumeRandomLengthString(16);
    return QString::fromUtf8(bytes.data(), int(bytes.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const FreqValidator freqValidator;
    const AFNameValidator nameValidator;

    QString frequency = drawText(input);
    const QString frequencyBefore = frequency;
    int frequencyCursor = input.ConsumeIntegralInRange(-2, 20);
    const QValidator::State frequencyState = freqValidator.validate(frequency, frequencyCursor);
    check(frequency == frequencyBefore, "the frequency validator changed the text", frequency.toUtf8());
    if (frequency.size() == ChannelRules::frequencyTextLength)
        check((frequencyState == QValidator::Acceptable) == Frequency::fromText(frequency).isChannelOf(RadioModels::airBand),
              "a complete text judged other than as a channel", frequency.toUtf8());

    QString name = drawText(input);
    const QString nameBefore = name;
    int nameCursor = input.ConsumeIntegralInRange(-2, 20);
    const QValidator::State nameState = nameValidator.validate(name, nameCursor);
    check(name.size() == nameBefore.size(), "the name validator changed the length", name.toUtf8());
    for (int k = 0; k < name.size(); ++k)
        check(name.at(k) == nameBefore.at(k) || k == nameCursor - 1, "a character other than the typed one changed",
              name.toUtf8());
    check(nameState == QValidator::Invalid || !name.contains(QLatin1Char(';')), "a ';' let into a name", name.toUtf8());

    if (frequencyState == QValidator::Acceptable) {
        const QByteArray frame = Link::encodeChannelFrame(channelOf(name, frequency));
        check(frame.size() == Link::sentFrameLength, "a frame of the wrong length", frequency.toUtf8());
        const Channel back = Link::decodeChannelFrame(frame.left(Link::frameLength));
        const bool emptyChannel = back.name.isEmpty() && frequency == QLatin1String("118.000");
        check(emptyChannel || back.frequency.text() == frequency, "an accepted frequency does not come back from its frame",
              frequency.toUtf8());
    }
    return 0;
}
