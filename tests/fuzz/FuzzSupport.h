#pragma once

#include <QBuffer>

#include <cstdio>
#include <cstdlib>

// What every fuzz target needs: a failed property stops the run with a
// message (libFuzzer then saves the input), and a device that hands out its
// bytes a few at a time, as a file read in chunks or a slow line would.

[[noreturn]] inline void fail(const char *what, const QByteArray &detail = QByteArray())
{
    std::fprintf(stderr, "%s: %s\n", what, detail.constData());
    std::abort();
}

inline void check(bool holds, const char *what, const QByteArray &detail = QByteArray())
{
    if (!holds)
        fail(what, detail);
}

// Opened for reading; at most `piece` bytes per read call.
class PieceDevice : public QBuffer
{
public:
    PieceDevice(QByteArray *content, int piece)
        : QBuffer(content)
        , piece(piece)
    {
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        return QBuffer::readData(data, qMin(maxSize, qint64(piece)));
    }

private:
    int piece;
};
