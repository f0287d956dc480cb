#include "PlaceText.h"

#include <QRegularExpression>
#include <QVector>

#include <algorithm>

namespace {

constexpr int maxIdentLength = 8;
constexpr double minutesPerDegree = 60;
constexpr double secondsPerDegree = 3600;
constexpr int latitudeDegreeDigits = 2;  // 50 of 5002N
constexpr int longitudeDegreeDigits = 3; // 008 of 00834E
constexpr int unitDigits = 2;            // minutes or seconds of a compact angle

struct Token {
    enum Kind { Number, Degrees, Minutes, Seconds, Hemisphere, Minus, Plus };
    Kind kind;
    QString text; // a number's digits and point, a hemisphere's letter
};

// The marks people type or paste: the degree sign and its look-alikes, the
// apostrophe and the typographic prime and quotes.
Token::Kind markKind(QChar c)
{
    switch (c.unicode()) {
    case 0x00B0: case 0x00BA: case 0x02DA:
        return Token::Degrees;
    case '\'': case 0x2032: case 0x2019: case 0x00B4:
        return Token::Minutes;
    case '"': case 0x2033: case 0x201D:
        return Token::Seconds;
    case '-': case 0x2212:
        return Token::Minus;
    case '+':
        return Token::Plus;
    default:
        return Token::Number; // no mark
    }
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The text as numbers, marks and hemispheres; nothing for a character no
// position holds.
std::optional<QVector<Token>> tokensOf(const QString &text)
{
    QVector<Token> tokens;
    const QString upper = text.toUpper();
    for (int k = 0; k < upper.size(); ++k) {
        const QChar c = upper.at(k);
        if (isAsciiDigit(c)) {
            int end = k;
            while (end < upper.size() && isAsciiDigit(upper.at(end)))
                ++end;
            if (end + 1 < upper.size() && upper.at(end) == QLatin1Char('.') && isAsciiDigit(upper.at(end + 1))) {
                end += 2;
                while (end < upper.size() && isAsciiDigit(upper.at(end)))
                    ++end;
            }
            tokens.append({Token::Number, upper.mid(k, end - k)});
            k = end - 1;
        } else if (QStringLiteral("NSEW").contains(c)) {
            tokens.append({Token::Hemisphere, QString(c)});
        } else if (markKind(c) != Token::Number) {
            // Two apostrophes stand for the seconds' mark.
            if (markKind(c) == Token::Minutes && !tokens.isEmpty() && tokens.last().kind == Token::Minutes
                && k > 0 && markKind(upper.at(k - 1)) == Token::Minutes)
                tokens.last().kind = Token::Seconds;
            else
                tokens.append({markKind(c), QString()});
        } else if (!c.isSpace() && c != QLatin1Char(',') && c != QLatin1Char(';')) {
            return std::nullopt;
        }
    }
    return tokens;
}

// A compact angle as charts write it: DDMM, DDMMSS for a latitude, DDDMM,
// DDDMMSS for a longitude, the last unit with decimals if any.
std::optional<double> compactDegrees(const QString &number, int degreeDigits)
{
    const int point = number.indexOf(QLatin1Char('.'));
    const int whole = point < 0 ? int(number.size()) : point;
    if (whole != degreeDigits + unitDigits && whole != degreeDigits + 2 * unitDigits)
        return std::nullopt;
    const double minutes = whole == degreeDigits + unitDigits ? number.mid(degreeDigits).toDouble()
                                                              : number.mid(degreeDigits, unitDigits).toDouble();
    const double seconds = whole == degreeDigits + unitDigits ? 0 : number.mid(degreeDigits + unitDigits).toDouble();
    if (minutes >= minutesPerDegree || seconds >= minutesPerDegree)
        return std::nullopt;
    return number.left(degreeDigits).toDouble() + minutes / minutesPerDegree + seconds / secondsPerDegree;
}

// The angle of a hemisphere's numbers: degrees, minutes and seconds, each
// with its mark or none, only the last with decimals; or a compact angle.
std::optional<double> angleOf(const QVector<Token> &group, bool latitude)
{
    // More whole digits than any degrees have: a compact angle.
    if (group.size() == 1 && group.first().kind == Token::Number) {
        const QString &number = group.first().text;
        const int point = number.indexOf(QLatin1Char('.'));
        if ((point < 0 ? number.size() : point) > longitudeDegreeDigits)
            return compactDegrees(number, latitude ? latitudeDegreeDigits : longitudeDegreeDigits);
    }
    QVector<double> values;
    bool fraction = false;
    for (int k = 0; k < group.size(); ++k) {
        const Token &token = group.at(k);
        if (token.kind == Token::Number) {
            if (fraction || values.size() == 3)
                return std::nullopt;
            fraction = token.text.contains(QLatin1Char('.'));
            values.append(token.text.toDouble());
            continue;
        }
        // A mark names the unit of the number just before it.
        const int unit = int(values.size()) - 1;
        const bool fits = (token.kind == Token::Degrees && unit == 0) || (token.kind == Token::Minutes && unit == 1)
            || (token.kind == Token::Seconds && unit == 2);
        if (!fits || k == 0 || group.at(k - 1).kind != Token::Number)
            return std::nullopt;
    }
    if (values.isEmpty() || (values.size() > 1 && values.at(1) >= minutesPerDegree)
        || (values.size() > 2 && values.at(2) >= minutesPerDegree))
        return std::nullopt;
    return values.value(0) + values.value(1) / minutesPerDegree + values.value(2) / secondsPerDegree;
}

// "50.03, 8.57", "-33.9 151.2°": two signed decimal numbers, latitude first.
std::optional<GeoPoint> signedPosition(const QVector<Token> &tokens)
{
    QVector<double> values;
    for (int k = 0; k < tokens.size(); ++k) {
        double sign = 1;
        if (tokens.at(k).kind == Token::Minus || tokens.at(k).kind == Token::Plus) {
            sign = tokens.at(k).kind == Token::Minus ? -1 : 1;
            ++k;
        }
        if (k >= tokens.size() || tokens.at(k).kind != Token::Number)
            return std::nullopt;
        values.append(sign * tokens.at(k).text.toDouble());
        if (k + 1 < tokens.size() && tokens.at(k + 1).kind == Token::Degrees)
            ++k;
    }
    if (values.size() != 2)
        return std::nullopt;
    return GeoPoint{values.at(0), values.at(1)};
}

// Two angles, each with its hemisphere after it ("51.47N 0.46W") or before
// it ("N51.47 W0.46"), one north or south, the other east or west.
std::optional<GeoPoint> hemispherePosition(const QVector<Token> &tokens)
{
    QVector<int> letters;
    for (int k = 0; k < tokens.size(); ++k) {
        if (tokens.at(k).kind == Token::Hemisphere)
            letters.append(k);
        else if (tokens.at(k).kind == Token::Minus || tokens.at(k).kind == Token::Plus)
            return std::nullopt;
    }
    if (letters.size() != 2)
        return std::nullopt;
    const bool before = letters.first() == 0;
    if (!before && letters.last() != tokens.size() - 1)
        return std::nullopt;
    const QVector<Token> first = before ? tokens.mid(1, letters.last() - 1) : tokens.mid(0, letters.first());
    const QVector<Token> second = before ? tokens.mid(letters.last() + 1)
                                         : tokens.mid(letters.first() + 1, letters.last() - letters.first() - 1);
    GeoPoint point;
    bool latitudeGiven = false;
    bool longitudeGiven = false;
    for (int k = 0; k < 2; ++k) {
        const QString hemisphere = tokens.at(letters.at(k)).text;
        const bool latitude = hemisphere == QLatin1String("N") || hemisphere == QLatin1String("S");
        const std::optional<double> angle = angleOf(k == 0 ? first : second, latitude);
        if (!angle || (latitude ? latitudeGiven : longitudeGiven))
            return std::nullopt;
        const double sign = hemisphere == QLatin1String("S") || hemisphere == QLatin1String("W") ? -1 : 1;
        (latitude ? point.latitude : point.longitude) = sign * *angle;
        (latitude ? latitudeGiven : longitudeGiven) = true;
    }
    return point;
}

} // namespace

std::optional<GeoPoint> parseGeoPoint(const QString &text)
{
    const std::optional<QVector<Token>> tokens = tokensOf(text);
    if (!tokens)
        return std::nullopt;
    const bool hemispheres = std::any_of(tokens->cbegin(), tokens->cend(),
                                         [](const Token &token) { return token.kind == Token::Hemisphere; });
    const std::optional<GeoPoint> point = hemispheres ? hemispherePosition(*tokens) : signedPosition(*tokens);
    if (!point || !isOnGlobe(*point))
        return std::nullopt;
    return point;
}

std::optional<Place> parsePlace(const QString &text)
{
    if (const std::optional<GeoPoint> point = parseGeoPoint(text))
        return Place(*point);
    static const QRegularExpression ident(QStringLiteral("^[A-Z0-9]+(-[A-Z0-9]+)*$"));
    static const QRegularExpression letter(QStringLiteral("[A-Z]"));
    const QString upper = text.trimmed().toUpper();
    if (upper.size() > maxIdentLength || !ident.match(upper).hasMatch() || !letter.match(upper).hasMatch())
        return std::nullopt;
    return Place(upper.toLatin1());
}

QString placeForms()
{
    return QStringLiteral("an airfield's ident (EDDF), or a position: decimal degrees, north and east positive, "
                          "south and west negative (50.03, 8.57 or 51.47, -0.46), with hemispheres (51.47N 0.46W or "
                          "51.47 N, 0.46 W), or degrees and minutes (50\u00B002'N 008\u00B034'E or 5002N00834E)");
}
