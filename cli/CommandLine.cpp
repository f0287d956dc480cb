#include "CommandLine.h"

#include "ChannelRules.h"
#include "Commands.h"
#include "Console.h"
#include "ExitCodes.h"
#include "RadioModels.h"

#include <CLI/CLI.hpp>

#include <QString>

#include <algorithm>
#include <functional>
#include <string>

namespace {

QString text(const std::string &argument)
{
    return QString::fromLocal8Bit(argument.c_str());
}

// Every option of every subcommand, as given.
struct Arguments {
    bool json = false;
    std::string port;
    std::string output;
    std::string file;
    std::string first;
    std::string second;
    bool noBackup = false;
    bool noVerify = false;
    bool force = false;
    std::string frequencies;
    std::string airports;
    std::vector<std::string> idents;
    std::string near;
    double radiusKm = 0;
    std::string types;
    int channels = ChannelRules::largestMemory;
    int perAirfield = 0;
    std::string from;
    std::string to;
    std::string model;
    int channelCount = 0;
};

// "VKR627A, VKR627S, VKR627-II, VKR627"
QString modelLabels()
{
    QStringList labels;
    for (const RadioModel &model : RadioModels::all)
        labels << QLatin1String(model.label);
    return labels.join(QStringLiteral(", "));
}

bool isMemorySize(int channels)
{
    return std::any_of(std::begin(RadioModels::all), std::end(RadioModels::all),
                       [channels](const RadioModel &model) { return model.channelCount == channels; });
}

// "20 or 100"
QString memorySizes()
{
    QList<int> sizes;
    for (const RadioModel &model : RadioModels::all) {
        if (!sizes.contains(model.channelCount))
            sizes << model.channelCount;
    }
    std::sort(sizes.begin(), sizes.end());
    QStringList texts;
    for (int size : sizes)
        texts << QString::number(size);
    return texts.join(QStringLiteral(" or "));
}

ChannelFormat formatNamed(const std::string &name)
{
    if (name == "chirp")
        return ChannelFormat::Chirp;
    return name == "vkr" ? ChannelFormat::ChannelFile : ChannelFormat::Guess;
}

void addPort(CLI::App *command, Arguments &arguments)
{
    command->add_option("--port", arguments.port,
                        "Only this port (a name such as ttyUSB0, or a device path); else every port, in order");
}

} // namespace

int runCommandLine(int argc, char **argv)
{
    CLI::App app("The channel memory of VKR627-series radios from the command line.", "vkrtool");
    app.set_version_flag("--version", VKR_VERSION);
    app.require_subcommand(1);
    app.fallthrough(false);

    Arguments arguments;
    std::function<int()> run;

    CLI::App *ports = app.add_subcommand("ports", "List the serial ports, whether they open, and why not");
    ports->add_flag("--json", arguments.json, "One JSON array instead of lines");
    ports->callback([&] { run = [&] { return Commands::ports(arguments.json); }; });

    CLI::App *identify = app.add_subcommand("identify", "Find the radio and name its model and port");
    addPort(identify, arguments);
    identify->callback([&] { run = [&] { return Commands::identify(text(arguments.port)); }; });

    CLI::App *read = app.add_subcommand("read", "Read the radio's whole memory into a channel file");
    addPort(read, arguments);
    read->add_option("-o,--output", arguments.output, "The channel file; standard output when missing or -");
    read->callback([&] { run = [&] { return Commands::read(text(arguments.port), text(arguments.output)); }; });

    CLI::App *write = app.add_subcommand(
        "write", "Check a channel file, back the radio up, write the file and verify it by reading back");
    write->add_option("FILE", arguments.file, "The channel file to write; - for standard input")->required();
    addPort(write, arguments);
    write->add_flag("--no-backup", arguments.noBackup, "Do not read the radio into a backup first");
    write->add_flag("--no-verify", arguments.noVerify, "Do not read the radio back after the write");
    write->add_flag("--force", arguments.force,
                    "Write a file the name and frequency rules refuse (a backup of odd values), a file with no "
                    "records, or one that empties most channels in use; what no radio can hold is still refused");
    write->callback([&] {
        run = [&] {
            Commands::WriteOptions options;
            options.file = text(arguments.file);
            options.port = text(arguments.port);
            options.backup = !arguments.noBackup;
            options.verify = !arguments.noVerify;
            options.force = arguments.force;
            return Commands::write(options);
        };
    });

    CLI::App *backups = app.add_subcommand("backups", "List the backups kept of radios' memories, newest first");
    backups->add_flag("--json", arguments.json, "One JSON array instead of lines");
    backups->callback([&] { run = [&] { return Commands::backups(arguments.json); }; });

    CLI::App *restore = app.add_subcommand(
        "restore", "Put a backup back into the radio with the safe write (its present memory is backed up first)");
    restore->add_option("BACKUP", arguments.file, "A backup file, or latest: the newest of the radio's model")
        ->default_val("latest");
    addPort(restore, arguments);
    restore->callback([&] { run = [&] { return Commands::restore(text(arguments.file), text(arguments.port)); }; });

    CLI::App *check = app.add_subcommand("check", "Check a channel file against the radio's rules");
    check->add_option("FILE", arguments.file, "The channel file; - for standard input")->required();
    CLI::Option *model = check->add_option("--model", arguments.model,
                                           "Against this model's memory (VKR627A, VKR627S, VKR627-II, VKR627)");
    CLI::Option *channels = check->add_option("--channels", arguments.channelCount,
                                              "Against a memory of this many channels (20 or 100)");
    model->excludes(channels);
    check->callback([&] {
        run = [&] {
            int channelCount = ChannelRules::largestMemory;
            if (model->count() > 0) {
                const RadioModel *named = RadioModels::named(text(arguments.model));
                if (!named) {
                    Console::fail(QStringLiteral("there is no model \"%1\"; the models are %2.")
                                      .arg(text(arguments.model), modelLabels()));
                    return ExitCode::usage;
                }
                channelCount = named->channelCount;
            } else if (channels->count() > 0) {
                if (!isMemorySize(arguments.channelCount)) {
                    Console::fail(QStringLiteral("--channels wants the channels of a model of the series: %1.")
                                      .arg(memorySizes()));
                    return ExitCode::usage;
                }
                channelCount = arguments.channelCount;
            }
            return Commands::check(text(arguments.file), channelCount);
        };
    });

    CLI::App *diff = app.add_subcommand("diff", "Compare two channel lists, each a channel file or the word radio");
    diff->add_option("A", arguments.first, "A channel file (- for standard input), or radio")->required();
    diff->add_option("B", arguments.second, "A channel file (- for standard input), or radio")->required();
    diff->callback([&] { run = [&] { return Commands::diff(text(arguments.first), text(arguments.second)); }; });

    CLI::App *airfields = app.add_subcommand(
        "airfields", "Channels of airfields from OurAirports' airport-frequencies.csv (and airports.csv)");
    airfields->add_option("--frequencies", arguments.frequencies, "OurAirports' airport-frequencies.csv")->required();
    airfields->add_option("--airports", arguments.airports, "OurAirports' airports.csv (needed with --near)");
    airfields->add_option("-o,--output", arguments.output, "The channel file; standard output when missing");
    airfields->add_option("--types", arguments.types, "Only these types, in this order, e.g. TWR,GND,ATIS");
    airfields->add_option("--channels", arguments.channels, "At most this many channels (default: the largest memory)");
    CLI::Option *perAirfield = airfields->add_option("--per-airfield", arguments.perAirfield,
                          "At most this many channels of one airfield, the first by --types (default all)");
    airfields->add_option("--near", arguments.near, "Every airfield around this point: LAT,LON in degrees");
    CLI::Option *radius = airfields->add_option("--radius-km", arguments.radiusKm, "The radius around --near, in km");
    airfields->add_option("IDENT", arguments.idents, "The airfields, by ident, in the order wanted");
    airfields->callback([&] {
        run = [&] {
            AirfieldOptions options;
            options.frequenciesFile = text(arguments.frequencies);
            options.airportsFile = text(arguments.airports);
            options.outputFile = text(arguments.output);
            for (const std::string &ident : arguments.idents)
                options.idents.append(text(ident));
            if (!arguments.near.empty()) {
                options.near = parseGeoPoint(text(arguments.near));
                if (!options.near) {
                    Console::fail(QStringLiteral("--near wants a point as LAT,LON in degrees, such as 50.03,8.57."));
                    return ExitCode::usage;
                }
            }
            if (radius->count() > 0)
                options.radiusKm = arguments.radiusKm;
            if (!arguments.types.empty())
                options.types = text(arguments.types).split(QLatin1Char(','), Qt::SkipEmptyParts);
            options.maxChannels = arguments.channels;
            if (perAirfield->count() > 0)
                options.perAirfield = arguments.perAirfield;
            return Commands::airfields(options);
        };
    });

    CLI::App *convert = app.add_subcommand("convert", "Convert between a channel file and a CHIRP file");
    convert->add_option("IN", arguments.file, "The file to read")->required();
    convert->add_option("OUT", arguments.output, "The file to write; - for standard output")->required();
    convert->add_option("--from", arguments.from, "The format of IN; guessed from its header when missing")
        ->check(CLI::IsMember({"chirp", "vkr"}));
    convert->add_option("--to", arguments.to, "The format of OUT; the other one when missing")
        ->check(CLI::IsMember({"chirp", "vkr"}));
    convert->callback([&] {
        run = [&] {
            ConvertOptions options;
            options.inputFile = text(arguments.file);
            options.outputFile = text(arguments.output);
            options.from = formatNamed(arguments.from);
            options.to = formatNamed(arguments.to);
            return Commands::convert(options);
        };
    });

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &error) {
        // A first word that names no subcommand is reported as such, not as
        // a missing subcommand.
        if (app.get_subcommands().empty() && argc > 1 && argv[1][0] != '-') {
            Console::fail(QStringLiteral("there is no subcommand \"%1\"; \"vkrtool --help\" lists them.")
                              .arg(QString::fromLocal8Bit(argv[1])));
            return ExitCode::usage;
        }
        // Help and version end the program successfully; every other parse
        // error is a usage error.
        const int code = app.exit(error);
        return code == 0 ? ExitCode::success : ExitCode::usage;
    }
    return run ? run() : ExitCode::usage;
}
