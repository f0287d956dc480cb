// Child process of the channel file writer tests: saves two channels with
// ChannelCsv::writeFile to the file named on the command line and prints
// "written" or "not written". Run as another user, it shows what a save
// does where that user's rights end.
#include "ChannelCsv.h"
#include "ChannelText.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    const bool written = ChannelCsv::writeFile(QString::fromLocal8Bit(argv[1]),
                                               {channelOf("TOWER", "118.000"), channelOf("", "121.500")});
    std::puts(written ? "written" : "not written");
    return 0;
}
