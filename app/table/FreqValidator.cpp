#include "FreqValidator.h"

#include "ChannelRules.h"

FreqValidator::FreqValidator(QObject *parent)
    : QValidator(parent)
{
}

FreqValidator::~FreqValidator() = default;

QValidator::State FreqValidator::validate(QString &input, int &pos) const
{
    return static_cast<State>(ChannelRules::judgeFrequency(input, pos));
}
