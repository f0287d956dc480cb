// vkrtool identify: finds the radio as the window does and names it.
#include "Commands.h"

#include "Console.h"
#include "ExitCodes.h"
#include "RadioSession.h"

int Commands::identify(const QString &port)
{
    RadioSession radio;
    if (!radio.connect(port))
        return ExitCode::cannotUse;
    Console::out(QStringLiteral("%1, %2 channels, on %3").arg(radio.modelLabel()).arg(radio.channelCount()).arg(radio.portName()));
    return ExitCode::success;
}
