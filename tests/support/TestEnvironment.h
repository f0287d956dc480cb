#pragma once

#include <QTemporaryDir>

// Prepares a test process before its application object exists: the
// offscreen platform unless another was asked for, the per-user settings
// store and the data folder (backups) in a temporary folder, and an empty
// serial port list unless the
// test names its own ports (so no real port of the machine is ever probed),
// and an OurAirports address on 127.0.0.1 where nothing answers unless the
// test names its own server.
class TestEnvironment
{
public:
    TestEnvironment();

    static QString settingsFolder();

private:
    QTemporaryDir settingsDir;
};
