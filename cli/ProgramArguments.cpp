#include "ProgramArguments.h"

#include <QCoreApplication>
#include <QStringList>

ProgramArguments::ProgramArguments(int argc, char **argv)
{
#ifdef Q_OS_WIN
    Q_UNUSED(argc)
    Q_UNUSED(argv)
    const QStringList arguments = QCoreApplication::arguments();
    for (const QString &argument : arguments)
        utf8.push_back(argument.toUtf8());
    for (QByteArray &argument : utf8)
        pointers.push_back(argument.data());
#else
    for (int k = 0; k < argc; ++k)
        pointers.push_back(argv[k]);
#endif
    pointers.push_back(nullptr);
}

QString ProgramArguments::text(const char *argument)
{
#ifdef Q_OS_WIN
    return QString::fromUtf8(argument);
#else
    return QString::fromLocal8Bit(argument);
#endif
}
