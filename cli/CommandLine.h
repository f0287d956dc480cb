#pragma once

// Parses vkrtool's arguments and runs the subcommand they name. Gives the
// exit code: the subcommand's, or 2 for a usage error.
int runCommandLine(int argc, char **argv);
