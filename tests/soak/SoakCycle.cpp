#include "SoakCycle.h"

#include "DeviceWindow.h"
#include "LinkConstants.h"
#include "MemoryBytes.h"
#include "ModalAnswerer.h"
#include "ProgramRun.h"

#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>

namespace Soak {

namespace {

constexpr int toolPatience = 180000; // ms; far beyond any transfer's time-outs
constexpr int bytePatience = 2000;   // ms for a byte to cross the pseudo-terminal

// A byte of line noise: a NAK, the byte a radio answers most.
const QByteArray noiseByte = QByteArray::fromHex("15");

ProgramRun runTool(const QString &vkrtool, const QStringList &arguments, const QString &port, const QString &data)
{
    return runProgram(vkrtool, arguments,
                      {{QString::fromLatin1(Link::portListVariable), port}, {QStringLiteral("XDG_DATA_HOME"), data}},
                      toolPatience);
}

// The backup a write printed, or that its box named.
QString backupNamed(const QString &said)
{
    return QRegularExpression(QStringLiteral("(?:backup of the radio's memory:|kept in) (\\S+\\.csv)"))
        .match(said)
        .captured(1);
}

// The restore a failed write printed, as the user would run it on the radio
// plugged in again (on another port): the backup it names, and --force where
// it says so. Without such a line, the backup named.
QStringList printedRestore(const QString &said, const QString &backup)
{
    const QRegularExpressionMatch printed =
        QRegularExpression(QStringLiteral("vkrtool restore \"([^\"]+)\"(?: --port \\S+)?( --force)?")).match(said);
    if (!printed.hasMatch())
        return {QStringLiteral("restore"), backup};
    QStringList arguments{QStringLiteral("restore"), printed.captured(1)};
    if (!printed.captured(2).isEmpty())
        arguments << QStringLiteral("--force");
    return arguments;
}

// The lock file of a port, as minicom writes it, naming a live process.
QString lockFileOf(const QString &portName)
{
    return QStringLiteral("/run/lock/LCK..") + portName.mid(5).replace(QLatin1Char('/'), QLatin1Char('_'));
}

// Whether a live process other than this one holds the port's lock file:
// on a shared machine a terminal's name may come back while a program that
// had it before (its radio unplugged, its port not yet closed) still holds
// the lock, which every program rightly honours.
bool heldByAnother(const QString &portName)
{
    QFile lock(lockFileOf(portName));
    if (!lock.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = lock.readLine().trimmed();
    int digits = 0;
    while (digits < line.size() && line.at(digits) >= '0' && line.at(digits) <= '9')
        ++digits;
    const qint64 pid = line.left(digits).toLongLong();
    return pid > 0 && pid != QCoreApplication::applicationPid() && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

// The same radio, plugged in again without its fault, on a port no other
// program holds: the terminals of names still held stay open meanwhile, so
// that their names are not given out again.
std::unique_ptr<VirtualRadio> pluggedInAgain(const Cycle &cycle, const VirtualRadio &radio)
{
    const RadioSettings settings{cycle.radio.model, QByteArray(), RadioFaults()};
    std::vector<std::unique_ptr<VirtualRadio>> held;
    auto again = std::make_unique<VirtualRadio>(settings);
    while (held.size() < 8 && heldByAnother(again->portName())) {
        held.push_back(std::move(again));
        again = std::make_unique<VirtualRadio>(settings);
    }
    again->setMemory(radio.memory());
    return again;
}

class CycleRun
{
public:
    CycleRun(const Cycle &cycle, const QString &vkrtool)
        : cycle(cycle)
        , vkrtool(vkrtool)
        , radio(std::make_unique<VirtualRadio>(cycle.radio))
    {
        load(*radio, cycle.memory);
        before = framesIn(*radio);
    }

    Outcome run()
    {
        if (!radio->isServing()) {
            outcome.note = QStringLiteral("no pseudo-terminal: ") + radio->whyNotServing();
            return outcome;
        }
        if (cycle.fault == Fault::LockedPortBeside)
            lockNeighbour();
        switch (cycle.operation) {
        case Operation::ToolRead: toolRead(); break;
        case Operation::ToolWrite: toolWrite(); break;
        case Operation::WindowRead: windowTransfer(false); break;
        case Operation::WindowWrite: windowTransfer(true); break;
        case Operation::ToolWriteThree: toolWriteThree(); break;
        }
        if (locked)
            judgeLockedPort();
        return outcome;
    }

private:
    // A second radio, scanned first, whose port another live process (this
    // one, standing in for minicom) has locked: never to be touched.
    void lockNeighbour()
    {
        locked = std::make_unique<VirtualRadio>(cycle.radio);
        QFile lock(lockFileOf(locked->portName()));
        if (lock.open(QIODevice::WriteOnly))
            lock.write(QByteArray::number(QCoreApplication::applicationPid()).rightJustified(10) + " minicom root\n");
    }

    // The ports a run scans: the locked one first, when there is one.
    QString portsFor(const VirtualRadio &target) const
    {
        return locked ? locked->portName() + QLatin1Char(':') + target.portName() : target.portName();
    }

    // Touching the locked port is a broken promise, however the run ended.
    void judgeLockedPort()
    {
        const QString lockFile = lockFileOf(locked->portName());
        const bool lockKept = QFile::exists(lockFile);
        QFile::remove(lockFile);
        if (locked->received().isEmpty() && lockKept)
            return;
        outcome.reportedSuccess = true;
        outcome.happened = false;
        outcome.note = QStringLiteral("the locked port %1 was %2").arg(locked->portName(),
            lockKept ? QStringLiteral("spoken to") : QStringLiteral("unlocked"));
    }

    // A byte on the line, arrived at the host's end, before the program
    // sends its first command.
    void strayByteFirst(VirtualRadio &target)
    {
        if (cycle.fault != Fault::StrayByteBeforeCommand)
            return;
        const int sentBefore = target.sent().size();
        target.transmit(noiseByte);
        DeviceTest::waitUntil([&] { return target.sent().size() > sentBefore; }, bytePatience);
    }

    void toolRead()
    {
        strayByteFirst(*radio);
        const QString file = folder.filePath(QStringLiteral("read.csv"));
        const ProgramRun run = runTool(vkrtool, {"read", "-o", file}, portsFor(*radio), folder.path());
        outcome.reportedSuccess = run.exitCode == 0;
        TypedChannels read;
        const QString differs = readChannelFile(file, read) ? difference(storedFrames(read, before.size()), framesIn(*radio))
                                                            : QStringLiteral("no file");
        outcome.happened = differs.isEmpty();
        if (outcome.falseSuccess())
            outcome.note = QStringLiteral("the file is not the radio's memory: ") + differs;
    }

    // A write by vkrtool, judged: a success reported must be so (false when
    // it is not); after a failure, the radio must be restorable.
    bool judgeToolWrite(VirtualRadio &target, const ProgramRun &run)
    {
        if (run.exitCode != 0) {
            judgeFailedWrite(backupNamed(run.output), target, run.output);
            return true;
        }
        const QString differs = difference(storedFrames(cycle.toWrite, before.size()), framesIn(target));
        if (differs.isEmpty())
            return true;
        outcome.note = QStringLiteral("the radio does not hold the file: ") + differs;
        return false;
    }

    // After a failed write: without a backup the radio must be untouched;
    // with one, the backup must be the old memory and put it back into the
    // radio plugged in again without the fault.
    void judgeFailedWrite(const QString &backup, const VirtualRadio &target, const QString &said)
    {
        if (backup.isEmpty()) {
            const QString changed = difference(before, framesIn(target));
            if (!changed.isEmpty()) {
                outcome.restorable = false;
                outcome.note = QStringLiteral("changed without a backup (%1): ").arg(changed) + said.simplified();
            }
            return;
        }
        Frames kept;
        const QString notKept = framesOfBackup(backup, before.size(), kept) ? difference(before, kept)
                                                                            : QStringLiteral("it does not open");
        if (!notKept.isEmpty()) {
            outcome.restorable = false;
            outcome.note = QStringLiteral("the backup %1 is not the old memory: %2").arg(backup, notKept);
            return;
        }
        const auto again = pluggedInAgain(cycle, target);
        const ProgramRun restore = runTool(vkrtool, printedRestore(said, backup), again->portName(), folder.path());
        const QString notBack = difference(before, framesIn(*again));
        if (restore.exitCode != 0 || !notBack.isEmpty()) {
            outcome.restorable = false;
            outcome.note = QStringLiteral("the backup did not restore the radio (%1): ").arg(notBack)
                + restore.output.simplified();
        }
    }

    void toolWrite()
    {
        const QString file = writeFile();
        strayByteFirst(*radio);
        const ProgramRun run = cycle.signal != 0 ? signalledWrite(file)
                                                 : runTool(vkrtool, {"write", file}, portsFor(*radio), folder.path());
        outcome.reportedSuccess = run.exitCode == 0;
        outcome.happened = judgeToolWrite(*radio, run);
    }

    // vkrtool write, with the signal of the cycle once the radio has heard
    // its bytes: a stop after the current frame, its own exit code.
    ProgramRun signalledWrite(const QString &file)
    {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.path());
        environment.insert(QString::fromLatin1(Link::portListVariable), portsFor(*radio));
        tool.setProcessEnvironment(environment);
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(vkrtool, {"write", file});
        DeviceTest::waitUntil([&] { return radio->received().size() >= cycle.signalAfterBytes
                                           || tool.state() == QProcess::NotRunning; }, toolPatience);
        if (tool.state() == QProcess::Running)
            ::kill(pid_t(tool.processId()), cycle.signal);
        ProgramRun run;
        if (tool.waitForFinished(toolPatience) && tool.exitStatus() == QProcess::NormalExit)
            run.exitCode = tool.exitCode();
        run.output = QString::fromUtf8(tool.readAll());
        const int stopped = cycle.signal == SIGINT ? 130 : 143;
        if (run.exitCode != 0 && run.exitCode != stopped && run.exitCode != 3 && run.exitCode != 1)
            outcome.note = QStringLiteral("exit %1 after the signal: ").arg(run.exitCode) + run.output.simplified();
        return run;
    }

    // Three radios written at once from one file, with one backups folder:
    // each backup its own, and each restorable.
    void toolWriteThree()
    {
        const QString file = writeFile();
        std::vector<std::unique_ptr<VirtualRadio>> radios;
        radios.push_back(std::move(radio));
        for (int k = 1; k < 3; ++k) {
            radios.push_back(std::make_unique<VirtualRadio>(cycle.radio));
            load(*radios.back(), cycle.memory);
        }
        std::vector<std::unique_ptr<QProcess>> runs;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.path());
        for (const auto &target : radios) {
            strayByteFirst(*target);
            environment.insert(QString::fromLatin1(Link::portListVariable), portsFor(*target));
            runs.push_back(std::make_unique<QProcess>());
            runs.back()->setProcessEnvironment(environment);
            runs.back()->setProcessChannelMode(QProcess::MergedChannels);
            runs.back()->start(vkrtool, {"write", file});
        }
        outcome.happened = true;
        QStringList backups;
        for (size_t k = 0; k < radios.size(); ++k) {
            ProgramRun run;
            if (runs[k]->waitForFinished(toolPatience) && runs[k]->exitStatus() == QProcess::NormalExit)
                run.exitCode = runs[k]->exitCode();
            run.output = QString::fromUtf8(runs[k]->readAll());
            outcome.reportedSuccess = outcome.reportedSuccess || run.exitCode == 0;
            const QString backup = backupNamed(run.output);
            if (!backup.isEmpty() && backups.contains(backup)) {
                outcome.restorable = false;
                outcome.note = QStringLiteral("two writes printed the same backup %1").arg(backup);
            }
            backups << backup;
            outcome.happened = judgeToolWrite(*radios[k], run) && outcome.happened;
        }
        radio = std::move(radios.front());
    }

    void windowTransfer(bool write)
    {
        DeviceTest::setPortList(locked ? QStringList{locked->portName(), radio->portName()} : QStringList{radio->portName()});
        DeviceTest::DeviceWindow window;
        window.waitForFirstScan();
        if (!window.label->styleSheet().contains(QLatin1String("green"))) {
            outcome.note = QStringLiteral("no radio found: ") + window.label->text();
            return; // nothing reported as done
        }
        const int rows = before.size(); // the radio's channels; the table holds 100 whatever the radio
        if (write) {
            // Typed in, as a user would: the cells only show the table's
            // records, so text set on them would never reach the write.
            for (int row = 0; row < rows; ++row) {
                window.typeInto(window.nameEditor(row), cycle.toWrite.value(row).name);
                window.typeInto(window.frequencyEditor(row), cycle.toWrite.value(row).frequency);
            }
        }
        // A failed write ends in a box: its backup is put back with its own
        // button, into the radio plugged in again without the fault.
        QString said;
        bool restored = false;
        ModalAnswerer<QMessageBox> box([&](QMessageBox *shown) {
            said = shown->text() + QLatin1Char(' ') + shown->informativeText();
            for (QAbstractButton *button : shown->buttons()) {
                if (button->text() == QLatin1String("Restore backup")) {
                    radio->setSettings(RadioSettings{cycle.radio.model, QByteArray(), RadioFaults()});
                    restored = true;
                    button->click();
                    return;
                }
            }
            shown->done(QMessageBox::Close);
        }, toolPatience);
        strayByteFirst(*radio);
        window.transfer(write ? static_cast<QObject *>(window.writeButton) : window.readButton);
        // As posted: a message stays 2 s, and a loaded machine may look later.
        const QString message = window.lastMessage();
        outcome.reportedSuccess = (write ? window.writtenAndVerified() : message == QLatin1String("Read finished"))
            && !box.answered();

        if (!write) {
            TypedChannels shown;
            for (int row = 0; row < rows; ++row)
                shown.append({window.nameEditor(row)->text(), window.frequencyEditor(row)->text()});
            const QString differs = difference(storedFrames(shown, rows), framesIn(*radio));
            outcome.happened = differs.isEmpty();
            if (outcome.falseSuccess())
                outcome.note = QStringLiteral("the table is not the radio's memory: ") + differs;
            return;
        }
        const QString differs = difference(storedFrames(cycle.toWrite, rows), framesIn(*radio));
        outcome.happened = !outcome.reportedSuccess || differs.isEmpty();
        if (outcome.falseSuccess()) {
            outcome.note = QStringLiteral("the radio does not hold the table: ") + differs;
        } else if (restored) {
            // The table stays as typed: the window says the restore took,
            // and the radio must hold its memory from before the write.
            const bool saidRestored = DeviceTest::waitUntil(
                [&window] { return window.lastMessage() == QLatin1String("Backup restored and verified"); }, toolPatience);
            const QString notBack = difference(before, framesIn(*radio));
            outcome.restorable = saidRestored && notBack.isEmpty();
            if (!outcome.restorable)
                outcome.note = QStringLiteral("Restore backup did not put the old memory back (%1, %2): ")
                                   .arg(window.lastMessage(), notBack)
                    + said.simplified();
        } else if (!outcome.reportedSuccess) {
            judgeFailedWrite(backupNamed(said), *radio, said);
        }
    }

    // The channels of the cycle's write in a channel file of the cycle's own.
    QString writeFile() const
    {
        const QString path = folder.filePath(QStringLiteral("write.csv"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(channelFile(cycle.toWrite));
        return path;
    }

    const Cycle &cycle;
    const QString vkrtool;
    std::unique_ptr<VirtualRadio> radio;
    std::unique_ptr<VirtualRadio> locked; // LockedPortBeside: the port left alone
    Frames before; // the radio's memory at the start
    QTemporaryDir folder;
    Outcome outcome;
};

} // namespace

Outcome runCycle(const Cycle &cycle, const QString &vkrtool)
{
    return CycleRun(cycle, vkrtool).run();
}

} // namespace Soak
