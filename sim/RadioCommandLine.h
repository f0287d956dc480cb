#pragma once

#include "RadioSettings.h"

#include <QString>
#include <QStringList>
#include <QVector>

// A channel given on the command line: --channel INDEX:NAME:FREQUENCY.
struct PresetChannel {
    int index = 0;
    QString name;
    QString frequency;
};

// Everything the vkr-radio-sim command line asks for.
struct RadioCommandLine {
    RadioSettings settings;
    QVector<PresetChannel> channels;
    QString loadMemoryFile;  // channel CSV file to fill the memory from
    QString dumpMemoryFile;  // channel CSV file to write the memory to on exit
    bool verbose = false;    // print every byte heard and sent
    bool helpRequested = false;
    QString helpText;
};

// Parses the arguments (the program name first). False, with a message for
// the user in `error`, for an unknown option or a value that does not fit.
bool parseRadioCommandLine(const QStringList &arguments, RadioCommandLine &result, QString &error);

// The model index for a name such as "VKR627S", "627S", "627-II" or "627ii";
// -1 for a name of no model.
int radioModelByName(const QString &name);
