// vkrtool identify: finds the radio as the window does and names it.
#include "Commands.h"

#include "Console.h"
#include "ExitCodes.h"
#include "RadioReports.h"

int Commands::identify(const QString &port)
{
    ToolRadio radio;
    if (const int failed = connectRadio(radio, port))
        return failed;
    const RadioConnection &found = radio.connection();
    Console::out(QStringLiteral("%1, %2 channels, on %3").arg(found.modelLabel()).arg(found.channelCount()).arg(found.portName()));
    return ExitCode::success;
}
