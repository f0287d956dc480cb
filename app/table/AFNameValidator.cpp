#include "AFNameValidator.h"

#include "ChannelRules.h"

AFNameValidator::AFNameValidator(QObject *parent)
    : QValidator(parent)
{
}

AFNameValidator::~AFNameValidator() = default;

// Only the character before the cursor is judged (and upper-cased): the
// editor calls this after every keystroke, so that is the one just typed.
QValidator::State AFNameValidator::validate(QString &input, int &pos) const
{
    return static_cast<State>(ChannelRules::judgeNameEdit(input, pos));
}
