// vkrtool: the radio's channel memory from the command line.
#include "CommandLine.h"
#include "Interrupt.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    Interrupt::install();
    return runCommandLine(argc, argv);
}
