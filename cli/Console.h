#pragma once

#include <QByteArray>
#include <QString>

// The tool's output: results on standard output, progress and errors on
// standard error, all UTF-8.
namespace Console {

void out(const QString &line);
void outBytes(const QByteArray &bytes);
void err(const QString &line);
// One plain sentence on what failed and what to do, prefixed "vkrtool: ".
void fail(const QString &sentence);

bool errorIsTerminal();

} // namespace Console
