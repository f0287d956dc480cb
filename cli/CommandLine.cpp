#include "CommandLine.h"

#include "ChannelRules.h"
#include "Commands.h"
#include "Console.h"
#include "ExitCodes.h"
#include "JsonOutput.h"
#include "ProgramArguments.h"
#include "RadioModels.h"
#include "TraceFile.h"

#include <CLI/CLI.hpp>

#include <QString>

#include <algorithm>
#include <functional>
#include <string>

namespace {

QString text(const std::string &argument)
{
    return ProgramArguments::text(argument.c_str());
}

// Every option of every subcommand, as given.
struct Arguments {
    bool json = false;
    bool all = false;
    bool dryRun = false;
    std::string trace;
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

void addJson(CLI::App *command, Arguments &arguments)
{
    command->add_flag("--json", arguments.json,
                      "One JSON document on standard output (its keys: man vkrtool); the text for people goes to "
                      "standard error");
}

// The options of a subcommand that talks to a radio: which one, and the
// trace of its line. With `all`, also every radio at once.
void addRadio(CLI::App *command, Arguments &arguments, bool all)
{
#ifdef Q_OS_WIN
    const char portHelp[] = "Only this port (a name such as COM3); else every port, in order";
#else
    const char portHelp[] = "Only this port (a name such as ttyUSB0, or a device path); else every port, in order";
#endif
    CLI::Option *port = command->add_option("--port", arguments.port, portHelp);
    if (all)
        command->add_flag("--all", arguments.all, "Every radio on the machine's ports, all at once")->excludes(port);
    command->add_option("--trace", arguments.trace,
                        "Write every byte on the line into this file, with times: for a bug report")
        ->type_name("FILE");
}

// Command-line words that name files the run reads: never its trace.
QStringList inputsNamed(const Arguments &arguments)
{
    QStringList inputs;
    for (const std::string *name : {&arguments.file, &arguments.first, &arguments.second}) {
        if (!name->empty())
            inputs << text(*name);
    }
    return inputs;
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

    const auto choice = [&arguments] { return Commands::RadioChoice{text(arguments.port), arguments.all}; };

    CLI::App *ports = app.add_subcommand("ports", "List the serial ports, whether they open, and why not");
    addJson(ports, arguments);
    ports->callback([&] { run = [&] { return Commands::ports(); }; });

    CLI::App *identify = app.add_subcommand("identify", "Find the radio and name its model and port");
    addRadio(identify, arguments, true);
    addJson(identify, arguments);
    identify->callback([&] { run = [&] { return Commands::identify(choice()); }; });

    CLI::App *read = app.add_subcommand("read", "Read the radio's whole memory into a channel file");
    addRadio(read, arguments, true);
    addJson(read, arguments);
    read->add_option("-o,--output", arguments.output,
                     "The channel file; standard output when missing or -. With --all a folder, a file per radio");
    read->callback([&] {
        run = [&] {
            if (arguments.all && arguments.output.empty() && !arguments.json) {
                Console::fail(QStringLiteral("with --all, -o names the folder for a file per radio."));
                return ExitCode::usage;
            }
            return Commands::read(choice(), text(arguments.output));
        };
    });

    CLI::App *write = app.add_subcommand(
        "write", "Check a channel file, back the radio up, write the file and verify it by reading back");
    write->add_option("FILE", arguments.file, "The channel file to write; - for standard input")->required();
    addRadio(write, arguments, true);
    addJson(write, arguments);
    write->add_flag("--dry-run", arguments.dryRun,
                    "Check the file and read the radio, say what the write would change, write nothing");
    write->add_flag("--no-backup", arguments.noBackup, "Do not read the radio into a backup first");
    write->add_flag("--no-verify", arguments.noVerify, "Do not read the radio back after the write");
    write->add_flag("--force", arguments.force,
                    "Write a file the name and frequency rules refuse (a backup of odd values), a file with no "
                    "records, or one that empties most channels in use; what no radio can hold is still refused");
    write->callback([&] {
        run = [&] {
            Commands::WriteOptions options;
            options.file = text(arguments.file);
            options.radio = choice();
            options.backup = !arguments.noBackup;
            options.verify = !arguments.noVerify;
            options.force = arguments.force;
            options.dryRun = arguments.dryRun;
            return Commands::write(options);
        };
    });

    CLI::App *backups = app.add_subcommand("backups", "List the backups kept of radios' memories, newest first");
    addJson(backups, arguments);
    backups->callback([&] { run = [&] { return Commands::backups(); }; });

    CLI::App *restore = app.add_subcommand(
        "restore", "Put a backup back into the radio with the safe write (its present memory is backed up first)");
    restore->add_option("BACKUP", arguments.file, "A backup file, or latest: the newest of the radio's model")
        ->default_val("latest");
    addRadio(restore, arguments, false);
    addJson(restore, arguments);
    restore->callback([&] { run = [&] { return Commands::restore(text(arguments.file), text(arguments.port)); }; });

    CLI::App *check = app.add_subcommand("check", "Check a channel file against the radio's rules");
    check->add_option("FILE", arguments.file, "The channel file; - for standard input")->required();
    addJson(check, arguments);
    CLI::Option *model = check->add_option(
        "--model", arguments.model, QStringLiteral("Against this model's memory (%1)").arg(modelLabels()).toStdString());
    CLI::Option *channels = check->add_option(
        "--channels", arguments.channelCount,
        QStringLiteral("Against a memory of this many channels (%1)").arg(memorySizes()).toStdString());
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
    addRadio(diff, arguments, true);
    addJson(diff, arguments);
    diff->callback([&] {
        run = [&] { return Commands::diff(text(arguments.first), text(arguments.second), choice()); };
    });

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
                              .arg(ProgramArguments::text(argv[1])));
            return ExitCode::usage;
        }
        // Help and version end the program successfully; every other parse
        // error is a usage error.
        const int code = app.exit(error);
        return code == 0 ? ExitCode::success : ExitCode::usage;
    }
    if (!run)
        return ExitCode::usage;
    if (arguments.json)
        JsonOutput::enable();
    int code = ExitCode::success;
    if (!arguments.trace.empty()) {
        QStringList commandLine;
        for (int k = 0; k < argc; ++k)
            commandLine << ProgramArguments::text(argv[k]);
        code = TraceFile::open(text(arguments.trace), inputsNamed(arguments), commandLine);
    }
    if (code == ExitCode::success)
        code = run();
    code = TraceFile::close(code);
    JsonOutput::finish(code);
    return code;
}
