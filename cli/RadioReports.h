#pragma once

#include "JobReport.h"
#include "RadioRead.h"
#include "SafeWrite.h"
#include "ToolRadio.h"

#include <QString>

// What vkrtool says about a radio job, and the exit code it ends with.

// Connects, or says why not: the exit code, 0 when a radio was found.
int connectRadio(ToolRadio &radio, const QString &port);

// Says where a complete read was kept as a backup, or why it was not.
void reportKeptBackup(const Session::ReadOutcome &read);

// The command that puts a backup back, as the user can paste it.
QString restoreCommand(const QString &backup, const QString &port);

struct WriteContext {
    QString file; // what was written, for the advice to compare it with the radio
    QString port; // the --port given, if any
    QString done; // "written", "restored": what a success says
};

// What follows the problems of a file a write refused ("%1": it, them).
QString refusedWriteAdvice();

// Reports the outcome of a safe write and gives the exit code.
int reportWrite(const Session::WriteResult &result, const QString &modelLabel, const WriteContext &context);
