#pragma once

#include <QString>

// Who the program is to the system: the names under which the window keeps
// its settings and both the window and vkrtool keep their data, whatever
// names the running process has given itself.
namespace ProgramFolders {

constexpr char organisation[] = "Corvane";
constexpr char application[] = "VKRFrequencyTool";

// The program's own folder in the user's data folder, e.g.
// ~/.local/share/Corvane/VKRFrequencyTool.
QString dataFolder();

} // namespace ProgramFolders
