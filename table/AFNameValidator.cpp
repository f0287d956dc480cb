#include "AFNameValidator.h"

namespace {

bool isUpperCaseLetter(QChar c)
{
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        return true;
    return c.unicode() > 0x7F && c.category() == QChar::Letter_Uppercase;
}

bool isAllowedAscii(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        || c == QLatin1Char(' ');
}

} // namespace

AFNameValidator::AFNameValidator(QObject *parent)
    : QValidator(parent)
{
}

AFNameValidator::~AFNameValidator() = default;

// Only the character before the cursor is judged (and upper-cased): the
// editor calls this after every keystroke, so that is the one just typed.
QValidator::State AFNameValidator::validate(QString &input, int &pos) const
{
    if (pos <= 0 || pos > input.size())
        return Acceptable;
    const QChar typed = input.at(pos - 1);
    if (isUpperCaseLetter(typed))
        return Acceptable;
    const QChar upper = typed.toUpper();
    input[pos - 1] = upper;
    return isAllowedAscii(upper) ? Acceptable : Invalid;
}
