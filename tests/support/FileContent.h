#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

// Small file helpers of the channel file tests.

// The file's bytes, or a marker that cannot be a channel file's content.
inline QByteArray contentOf(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return "(does not open)";
    return file.readAll();
}

inline bool writeContent(const QString &fileName, const QByteArray &content)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Everything in a folder, hidden files included: a save must leave no
// temporary file behind.
inline QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}
