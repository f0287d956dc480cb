#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// The command line in the form the argument parser takes (8-bit strings),
// and each argument back as text. On Windows the C runtime gives the
// arguments in the system's 8-bit code page, which may lack letters of a
// file name (C:\Users\Jürgen Müller\Flüge.csv on a machine set to another
// language): there they are taken again from the system's UTF-16 command
// line, as UTF-8. Elsewhere they are the program's arguments as they came.
class ProgramArguments
{
public:
    // After the application object is made, which reads the command line.
    ProgramArguments(int argc, char **argv);

    int count() const { return int(pointers.size()) - 1; }
    char **values() { return pointers.data(); }

    static QString text(const char *argument);

private:
    std::vector<QByteArray> utf8;
    std::vector<char *> pointers; // ends with a null, as argv does
};
