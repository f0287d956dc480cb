#include "ProgramFolders.h"

#include <QStandardPaths>

namespace ProgramFolders {

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/')
        + QLatin1String(organisation) + QLatin1Char('/') + QLatin1String(application);
}

} // namespace ProgramFolders
