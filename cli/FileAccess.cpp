#include "FileAccess.h"

#include <QFile>

#include <cerrno>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace FileAccess {

#ifdef Q_OS_WIN

namespace {

const wchar_t *wide(const QString &path)
{
    return reinterpret_cast<const wchar_t *>(path.utf16());
}

int accessError(const QString &path, int mode)
{
    return ::_waccess(wide(path), mode) == 0 ? 0 : errno;
}

constexpr int readable = 4;
constexpr int writable = 2;

} // namespace

int mayRead(const QString &path)
{
    return accessError(path, readable);
}

int mayWrite(const QString &path)
{
    return accessError(path, writable);
}

int mayCreateIn(const QString &folder)
{
    return accessError(folder, writable);
}

// A file is its volume and its index on it (a stat() has no inode numbers
// on Windows).
bool sameFile(const QString &first, const QString &second)
{
    const auto identity = [](const QString &path, BY_HANDLE_FILE_INFORMATION &info) {
        const HANDLE file = ::CreateFileW(wide(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        const bool known = ::GetFileInformationByHandle(file, &info) != 0;
        ::CloseHandle(file);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION a, b;
    return identity(first, a) && identity(second, b) && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber
        && a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

#else

namespace {

int accessError(const QString &path, int mode)
{
    return ::access(QFile::encodeName(path).constData(), mode) == 0 ? 0 : errno;
}

} // namespace

int mayRead(const QString &path)
{
    return accessError(path, R_OK);
}

int mayWrite(const QString &path)
{
    return accessError(path, W_OK);
}

int mayCreateIn(const QString &folder)
{
    return accessError(folder, W_OK | X_OK);
}

bool sameFile(const QString &first, const QString &second)
{
    struct stat a, b;
    if (::stat(QFile::encodeName(first).constData(), &a) != 0 || ::stat(QFile::encodeName(second).constData(), &b) != 0)
        return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

#endif

} // namespace FileAccess
