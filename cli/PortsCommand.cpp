// vkrtool ports: every port the program would scan, whether it opens, and
// if not, why and what to do.
#include "Commands.h"

#include "Console.h"
#include "ExitCodes.h"
#include "PortDiagnosis.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject toJson(const Link::PortReport &report)
{
    return {
        {QStringLiteral("name"), report.name},
        {QStringLiteral("path"), report.path},
        {QStringLiteral("description"), report.description},
        {QStringLiteral("manufacturer"), report.manufacturer},
        {QStringLiteral("vid"), report.vendorId},
        {QStringLiteral("pid"), report.productId},
        {QStringLiteral("serial"), report.serialNumber},
        {QStringLiteral("opens"), report.opens},
        {QStringLiteral("problem"), report.problem},
        {QStringLiteral("fix"), report.fix},
    };
}

QString toLine(const Link::PortReport &report)
{
    QStringList fields{report.name, report.path};
    for (const QString &known : {report.description, report.manufacturer, report.serialNumber}) {
        if (!known.isEmpty())
            fields.append(known);
    }
    if (!report.vendorId.isEmpty())
        fields.append(QStringLiteral("USB %1:%2").arg(report.vendorId, report.productId));
    fields.append(report.opens ? QStringLiteral("opens")
                               : QStringLiteral("does not open: %1; fix: %2").arg(report.problem, report.fix));
    return fields.join(QStringLiteral("  "));
}

} // namespace

int Commands::ports(bool json)
{
    const QVector<Link::PortReport> reports = Link::diagnosePorts();
    if (json) {
        QJsonArray array;
        for (const Link::PortReport &report : reports)
            array.append(toJson(report));
        Console::outBytes(QJsonDocument(array).toJson());
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
