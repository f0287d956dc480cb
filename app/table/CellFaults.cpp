#include "CellFaults.h"

#include "QuotedText.h"

#include <QCoreApplication>

namespace CellFaults {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("CellFaults", text);
}

QString bandEnd(int kilohertz)
{
    return Frequency::fromKilohertz(kilohertz).text();
}

} // namespace

QString nameFault(const QString &name, const RadioModel &model)
{
    using ChannelRules::NameFault;
    const ChannelRules::NameCheck found = ChannelRules::checkName(name, model);
    switch (found.fault) {
    case NameFault::None:
        return QString();
    case NameFault::LowerCase:
        return tr("lower case: the radio shows upper case only");
    case NameFault::ControlCharacter:
        return tr("%1 is a control character, which no name holds").arg(QuotedText::escaped(QString(found.character)));
    case NameFault::NotNameCharacter:
        return tr("\"%1\" is not a name character: letters, digits and spaces only").arg(found.character);
    case NameFault::TooManyCharacters:
    case NameFault::TooManyBytes:
        break;
    }
    return tr("longer than the radio's %1 bytes: letters such as \u00c4 take two").arg(model.nameLength);
}

QString frequencyFault(const Frequency &frequency, const RadioModel &model)
{
    using ChannelRules::FrequencyFault;
    switch (ChannelRules::frequencyFault(frequency, model)) {
    case FrequencyFault::None:
        return QString();
    case FrequencyFault::NotAFrequency:
        return tr("not a frequency: three digits, a point and three decimals, like 121.500");
    case FrequencyFault::Incomplete:
        return tr("incomplete: a channel has three decimals, like 121.500");
    case FrequencyFault::TooManyDecimals:
        return tr("too many decimals: a channel has three, like 121.500");
    case FrequencyFault::AboveBand:
        return tr("above %1").arg(bandEnd(model.band.highestKilohertz));
    case FrequencyFault::BelowBand:
        return tr("below %1").arg(bandEnd(model.band.lowestKilohertz));
    case FrequencyFault::OffRaster:
        break;
    }
    return tr("not on the 8.33/25 kHz raster");
}

} // namespace CellFaults
