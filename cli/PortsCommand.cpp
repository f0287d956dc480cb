// vkrtool ports: every port the program would scan, whether it opens, and
// if not, why and what to do.
#include "Commands.h"

#include "Console.h"
#include "ExitCodes.h"
#include "JsonOutput.h"
#include "PortDiagnosis.h"
#include "QuotedText.h"

namespace {

QJsonObject toJson(const Link::PortReport &report)
{
    QJsonObject object;
    object.insert(JsonKey::name, report.name);
    object.insert(JsonKey::path, report.path);
    object.insert(JsonKey::description, report.description);
    object.insert(JsonKey::manufacturer, report.manufacturer);
    object.insert(JsonKey::vendorId, report.vendorId);
    object.insert(JsonKey::productId, report.productId);
    object.insert(JsonKey::serialNumber, report.serialNumber);
    object.insert(JsonKey::opens, report.opens);
    object.insert(JsonKey::problem, report.problem);
    object.insert(JsonKey::fix, report.fix);
    return object;
}

QString toLine(const Link::PortReport &report)
{
    QStringList fields{QuotedText::escaped(report.name), QuotedText::escaped(report.path)};
    for (const QString &known : {report.description, report.manufacturer, report.serialNumber}) {
        if (!known.isEmpty())
            fields.append(QuotedText::escaped(known));
    }
    if (!report.vendorId.isEmpty())
        fields.append(QStringLiteral("USB %1:%2").arg(report.vendorId, report.productId));
    fields.append(report.opens ? QStringLiteral("opens")
                               : QStringLiteral("does not open: %1; fix: %2").arg(report.problem, report.fix));
    return fields.join(QStringLiteral("  "));
}

} // namespace

int Commands::ports()
{
    const QVector<Link::PortReport> reports = Link::diagnosePorts();
    if (JsonOutput::enabled()) {
        QJsonArray array;
        for (const Link::PortReport &report : reports)
            array.append(toJson(report));
        JsonOutput::print(array);
    } else {
        for (const Link::PortReport &report : reports)
            Console::out(toLine(report));
    }
    if (reports.isEmpty()) {
        Console::fail(Link::noPortsAdvice() + QLatin1Char('.'));
        return ExitCode::cannotUse;
    }
    const bool anyOpens = std::any_of(reports.begin(), reports.end(), [](const auto &r) { return r.opens; });
    return anyOpens ? ExitCode::success : ExitCode::cannotUse;
}
