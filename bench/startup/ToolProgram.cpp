// The program itself, started through its own entry.
#include "Application.h"

int main(int argc, char *argv[])
{
    return runApplication(argc, argv);
}
