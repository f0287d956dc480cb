#pragma once

#include <QString>

// What the system lets this program do with a file, asked before any work
// is done so that a wrong name is said at once: 0 when it may, else the
// error number of why not (for systemReason). And whether two names lead
// to one file. By the file's full name on every platform: on Windows a
// folder such as C:\Users\Jürgen Müller may not be spelt in the system's
// 8-bit code page.
namespace FileAccess {

int mayRead(const QString &path);
int mayWrite(const QString &path);
// New files may be made in the folder. Windows keeps such rights in access
// lists this does not read: there a folder that refuses new files is found
// when the file is written.
int mayCreateIn(const QString &folder);

// The same file, also through another name (a link, "./", "..\").
bool sameFile(const QString &first, const QString &second);

} // namespace FileAccess
