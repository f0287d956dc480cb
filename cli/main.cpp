// vkrtool: the radio's channel memory from the command line.
#include "CommandLine.h"
#include "Console.h"
#include "ExitCodes.h"
#include "Interrupt.h"
#include "ProgramArguments.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    Console::guardStandardStreams();
    Interrupt::install();
    int code = ExitCode::success;
    {
        QCoreApplication application(argc, argv);
        ProgramArguments arguments(argc, argv);
        code = runCommandLine(arguments.count(), arguments.values());
    }
    // Results that did not arrive are a failure, whatever the subcommand
    // found: a file redirected onto a full disk is not written.
    if (!Console::closeOutput()) {
        Console::fail(QStringLiteral("could not write the results to standard output: %1.").arg(Console::outputError()));
        code = ExitCode::withOutputLost(code);
    }
    return code;
}
