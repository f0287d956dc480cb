// vkrtool: the radio's channel memory from the command line.
#include "CommandLine.h"
#include "Interrupt.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    // Backups go to this program's data folder.
    QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationName(QStringLiteral("VKRFrequencyTool"));
    Interrupt::install();
    return runCommandLine(argc, argv);
}
