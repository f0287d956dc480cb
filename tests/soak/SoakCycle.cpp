#include "SoakCycle.h"

#include "ChannelComparison.h"
#include "CsvTable.h"
#include "DeviceWindow.h"
#include "LinkConstants.h"
#include "MemoryFile.h"
#include "ProgramRun.h"

#include <QRegularExpression>
#include <QTemporaryDir>

namespace Soak {

namespace {

constexpr int toolPatience = 180000; // ms; far beyond any transfer's time-outs
constexpr int bytePatience = 2000;   // ms for a byte to cross the pseudo-terminal

ChannelRecords memoryOf(const VirtualRadio &radio)
{
    return MemoryFile::recordsOf(radio.memory());
}

void loadMemory(VirtualRadio &radio, const ChannelRecords &records)
{
    RadioMemory memory = radio.memory();
    MemoryFile::setRecords(memory, records);
    radio.setMemory(memory);
}

bool same(const ChannelRecords &a, const ChannelRecords &b)
{
    return ChannelComparison::differences(a, b).isEmpty();
}

ChannelRecords readChannelFile(const QString &path)
{
    CsvTable table;
    table.read(path);
    return ChannelCsv::fromTable(table, table.rowCount());
}

ProgramRun runTool(const QString &vkrtool, const QStringList &arguments, const QString &port, const QString &data)
{
    return runProgram(vkrtool, arguments,
                      {{QString::fromLatin1(Link::portListVariable), port}, {QStringLiteral("XDG_DATA_HOME"), data}},
                      toolPatience);
}

class CycleRun
{
public:
    CycleRun(const Cycle &cycle, const QString &vkrtool)
        : cycle(cycle)
        , vkrtool(vkrtool)
        , radio(std::make_unique<VirtualRadio>(cycle.radio))
    {
        loadMemory(*radio, cycle.memory);
        before = memoryOf(*radio);
    }

    Outcome run()
    {
        if (!radio->isServing()) {
            outcome.note = QStringLiteral("no pseudo-terminal: ") + radio->errorString();
            return outcome;
        }
        switch (cycle.operation) {
        case Operation::ToolRead: toolRead(); break;
        case Operation::ToolWrite: toolWrite(); break;
        case Operation::WindowRead: windowTransfer(false); break;
        case Operation::WindowWrite: windowTransfer(true); break;
        }
        return outcome;
    }

private:
    // A byte on the line, arrived at the host's end, before the program
    // sends its first command.
    void strayByteFirst(const QSerialPort *hostPort = nullptr)
    {
        if (cycle.fault != Fault::StrayByteBeforeCommand)
            return;
        const int sentBefore = radio->sent().size();
        radio->transmit(QByteArray(1, Link::nakValue));
        DeviceTest::waitUntil([&] { return radio->sent().size() > sentBefore; }, bytePatience);
        if (hostPort)
            DeviceTest::waitUntil([hostPort] { return hostPort->bytesAvailable() > 0; }, bytePatience);
    }

    void toolRead()
    {
        strayByteFirst();
        const QString file = folder.filePath(QStringLiteral("read.csv"));
        const ProgramRun run = runTool(vkrtool, {"read", "-o", file}, radio->portName(), folder.path());
        outcome.reportedSuccess = run.exitCode == 0;
        outcome.happened = same(readChannelFile(file), memoryOf(*radio));
        if (outcome.falseSuccess())
            outcome.note = QStringLiteral("the file differs from the radio's memory");
    }

    void toolWrite()
    {
        const QString file = folder.filePath(QStringLiteral("write.csv"));
        ChannelCsv::writeFile(file, cycle.toWrite);
        strayByteFirst();
        const ProgramRun run = runTool(vkrtool, {"write", file}, radio->portName(), folder.path());
        outcome.reportedSuccess = run.exitCode == 0;
        outcome.happened = same(cycle.toWrite, memoryOf(*radio));
        if (outcome.falseSuccess()) {
            outcome.note = QStringLiteral("the radio does not hold the file");
            return;
        }
        if (outcome.reportedSuccess)
            return;
        const QString backup =
            QRegularExpression(QStringLiteral("backup of the radio's memory: (\\S+)")).match(run.output).captured(1);
        if (backup.isEmpty()) {
            // Stopped before any backup: it must not have touched the radio.
            outcome.restorable = same(memoryOf(*radio), before);
            if (!outcome.restorable)
                outcome.note = QStringLiteral("changed without a backup: ") + run.output.simplified();
            return;
        }
        if (!same(readChannelFile(backup), before)) {
            outcome.restorable = false;
            outcome.note = QStringLiteral("the backup is not the old memory");
            return;
        }
        // Plugged in again, without the fault: the printed command puts the
        // backup back.
        VirtualRadio restored(RadioSettings{cycle.radio.model, QByteArray(), RadioFaults()});
        restored.setMemory(radio->memory());
        const ProgramRun restore =
            runTool(vkrtool, {"write", "--force", "--no-backup", backup}, restored.portName(), folder.path());
        outcome.restorable = restore.exitCode == 0 && same(memoryOf(restored), before);
        if (!outcome.restorable)
            outcome.note = QStringLiteral("the backup did not restore the radio: ") + restore.output.simplified();
    }

    void windowTransfer(bool write)
    {
        DeviceTest::setPortList({radio->portName()});
        DeviceTest::DeviceWindow window;
        window.waitForFirstScan();
        if (!window.label->styleSheet().contains(QLatin1String("green"))) {
            outcome.note = QStringLiteral("no radio found: ") + window.label->text();
            return; // nothing reported as done
        }
        const int rows = int(memoryOf(*radio).size()); // the radio's channels; the table holds 100 whatever the radio
        if (write) {
            for (int row = 0; row < rows; ++row) {
                window.nameEditor(row)->setText(cycle.toWrite.value(row).name);
                window.frequencyEditor(row)->setText(cycle.toWrite.value(row).frequency);
            }
        }
        strayByteFirst(window.port());
        QMetaObject::invokeMethod(write ? window.writeButton : window.readButton, "click");
        const QString message = window.statusBar->currentMessage();
        outcome.reportedSuccess = message == QLatin1String(write ? "Write finished" : "Read finished");

        ChannelRecords shown;
        for (int row = 0; row < rows; ++row)
            shown.append({window.nameEditor(row)->text(), window.frequencyEditor(row)->text()});
        outcome.happened = same(shown, memoryOf(*radio));
        if (outcome.falseSuccess())
            outcome.note = write ? QStringLiteral("the radio does not hold the table")
                                 : QStringLiteral("the table differs from the radio's memory");
    }

    const Cycle &cycle;
    const QString vkrtool;
    std::unique_ptr<VirtualRadio> radio;
    ChannelRecords before;
    QTemporaryDir folder;
    Outcome outcome;
};

} // namespace

Outcome runCycle(const Cycle &cycle, const QString &vkrtool)
{
    return CycleRun(cycle, vkrtool).run();
}

} // namespace Soak
