#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QVector>

#include <algorithm>
#include <cstring>

// A port on a simulated clock, for exchanges whose waits would cost real
// seconds. Each write of the host starts the next scripted answer; the
// pieces of an answer become readable after their delays, counted from the
// write or from the piece before. waitForReadyRead moves the clock on
// instead of sleeping.
class ScriptedPort : public QIODevice
{
public:
    struct Piece {
        int delay; // ms after the write, or after the piece before
        QByteArray bytes;
    };
    using Answer = QVector<Piece>;

    explicit ScriptedPort(const QVector<Answer> &answers)
        : answers(answers)
    {
        open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return readable.size() + QIODevice::bytesAvailable(); }

    bool waitForReadyRead(int msecs) override
    {
        const qint64 deadline = clock + msecs;
        if (pending.isEmpty() || pending.first().due > deadline) {
            clock = deadline;
            return false;
        }
        clock = std::max(clock, pending.first().due);
        while (!pending.isEmpty() && pending.first().due <= clock) {
            const QByteArray bytes = pending.takeFirst().bytes;
            readable.append(bytes);
            delivered.append(bytes);
        }
        return true;
    }

    qint64 now() const { return clock; }
    QByteArray written;   // everything the host wrote
    QByteArray delivered; // everything that became readable, in order

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const int count = static_cast<int>(std::min<qint64>(maxSize, readable.size()));
        std::memcpy(data, readable.constData(), static_cast<size_t>(count));
        readable.remove(0, count);
        return count;
    }

    qint64 writeData(const char *data, qint64 size) override
    {
        written.append(data, static_cast<int>(size));
        if (nextAnswer < answers.size()) {
            qint64 due = clock;
            for (const Piece &piece : answers[nextAnswer]) {
                due += piece.delay;
                pending.append({due, piece.bytes});
            }
            std::stable_sort(pending.begin(), pending.end(),
                             [](const Scheduled &a, const Scheduled &b) { return a.due < b.due; });
            ++nextAnswer;
        }
        return size;
    }

private:
    struct Scheduled {
        qint64 due;
        QByteArray bytes;
    };

    QVector<Answer> answers;
    int nextAnswer = 0;
    QVector<Scheduled> pending;
    QByteArray readable;
    qint64 clock = 0;
};
