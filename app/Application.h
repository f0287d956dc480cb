#pragma once

// The program's entry: sets the locale, shows the main window and runs the
// event loop; gives the loop's result as the exit code.
int runApplication(int &argc, char **argv);
