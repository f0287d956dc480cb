#include "CommandLine.h"

#include "ChannelRules.h"
#include "Commands.h"
#include "Console.h"
#include "ExitCodes.h"
#include "FileAccess.h"
#include "Interrupt.h"
#include "JsonOutput.h"
#include "ProgramArguments.h"
#include "OutputTarget.h"
#include "QuotedText.h"
#include "RadioModels.h"
#include "TraceFile.h"

#include <CLI/CLI.hpp>

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cstring>
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
    int nearest = 0;
    bool heliports = false;
    bool seaplaneBases = false;
    bool balloonPorts = false;
    bool update = false;
    std::string types;
    int channels = RadioModels::largestMemory();
    int perAirfield = 0;
    std::string from;
    std::string to;
    std::string model;
    int channelCount = 0;
    int expect = 0;
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
    if (all) {
        CLI::Option *every =
            command->add_flag("--all", arguments.all, "Every radio on the machine's ports, all at once")->excludes(port);
        command
            ->add_option("--expect", arguments.expect,
                         "With --all: the radios plugged in; finding fewer is a failure (exit 3)")
            ->check(CLI::PositiveNumber)
            ->needs(every);
    }
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

// A document was asked for, whatever else is wrong with the arguments.
bool wantsJson(int argc, char **argv)
{
    for (int k = 1; k < argc && std::strcmp(argv[k], "--") != 0; ++k) {
        if (std::strcmp(argv[k], "--json") == 0)
            return true;
    }
    return false;
}

// The parser's words, on one line, with what the user typed escaped.
QString usageError(const CLI::ParseError &error)
{
    QString words = QString::fromLocal8Bit(error.what()).trimmed();
    words.replace(QLatin1Char('\n'), QStringLiteral("; "));
    return QuotedText::escaped(words);
}

// Two names of one file, also of one not yet there.
bool sameTarget(const QString &first, const QString &second)
{
    return FileAccess::sameFile(first, second) || QFileInfo(first).absoluteFilePath() == QFileInfo(second).absoluteFilePath();
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

    const auto choice = [&arguments] {
        return Commands::RadioChoice{text(arguments.port), arguments.all, arguments.expect};
    };

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
    restore->add_option("BACKUP", arguments.file,
                        "A backup file, or latest: the newest taken before a write of the radio's model on its port")
        ->default_val("latest");
    addRadio(restore, arguments, false);
    addJson(restore, arguments);
    restore->add_flag("--force", arguments.force,
                      "Also a backup that is not whole (cut short), one that would empty most channels in use, or "
                      "a file whose name does not say its model; another model's backup is still refused");
    restore->callback(
        [&] { run = [&] { return Commands::restore(text(arguments.file), text(arguments.port), arguments.force); }; });

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
            const RadioModel *against = &RadioModels::series();
            if (model->count() > 0) {
                const RadioModel *named = RadioModels::named(text(arguments.model));
                if (!named) {
                    Console::fail(QStringLiteral("there is no model \"%1\"; the models are %2.")
                                      .arg(QuotedText::escaped(text(arguments.model)), modelLabels()));
                    return ExitCode::usage;
                }
                against = named;
            } else if (channels->count() > 0) {
                if (!isMemorySize(arguments.channelCount)) {
                    Console::fail(QStringLiteral("--channels wants the channels of a model of the series: %1.")
                                      .arg(memorySizes()));
                    return ExitCode::usage;
                }
                against = RadioModels::withChannelCount(arguments.channelCount);
            }
            return Commands::check(text(arguments.file), *against);
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
        "airfields", "Channels of airfields from OurAirports' data, downloaded and kept, or from its files named");
    CLI::Option *frequencies = airfields->add_option(
        "--frequencies", arguments.frequencies, "OurAirports' airport-frequencies.csv; else the data kept (downloaded when none is)");
    airfields->add_option("--airports", arguments.airports, "OurAirports' airports.csv (needed with --near)")->needs(frequencies);
    airfields->add_flag("--update", arguments.update, "Download OurAirports' data anew first (alone: only that)")
        ->excludes(frequencies);
    airfields->add_option("-o,--output", arguments.output, "The channel file; standard output when missing");
    airfields->add_option("--types", arguments.types, "Only these types, in this order, e.g. TWR,GND,ATIS");
    airfields->add_option("--channels", arguments.channels, "At most this many channels (default: the largest memory)");
    CLI::Option *perAirfield = airfields->add_option("--per-airfield", arguments.perAirfield,
                          "At most this many channels of one airfield, the first by --types (default all; 1 with --nearest)");
    airfields->add_option("--near", arguments.near,
                          "Around this place: an airfield's ident (EDDF), or a position (50.03,8.57; 51.47N 0.46W; "
                          "50°02'N 008°34'E; 5002N00834E)");
    CLI::Option *radius = airfields->add_option("--radius-km", arguments.radiusKm, "Only within this radius of --near, in km");
    CLI::Option *nearest = airfields->add_option("--nearest", arguments.nearest,
                                                 "The N airfields nearest to --near that have a channel, one each");
    airfields->add_flag("--heliports", arguments.heliports, "Heliports too, around --near");
    airfields->add_flag("--seaplane-bases", arguments.seaplaneBases, "Seaplane bases too, around --near");
    airfields->add_flag("--balloonports", arguments.balloonPorts, "Balloon ports too, around --near");
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
                options.near = parsePlace(text(arguments.near));
                if (!options.near) {
                    Console::fail(QStringLiteral("--near: %1 is no place; give %2.")
                                      .arg(QuotedText::quoted(text(arguments.near)), placeForms()));
                    return ExitCode::usage;
                }
            }
            if (radius->count() > 0)
                options.radiusKm = arguments.radiusKm;
            if (nearest->count() > 0)
                options.nearest = arguments.nearest;
            if (!arguments.types.empty())
                options.types = text(arguments.types).split(QLatin1Char(','), Qt::SkipEmptyParts);
            options.maxChannels = arguments.channels;
            if (perAirfield->count() > 0)
                options.perAirfield = arguments.perAirfield;
            options.heliports = arguments.heliports;
            options.seaplaneBases = arguments.seaplaneBases;
            options.balloonPorts = arguments.balloonPorts;
            return Commands::airfields(options, arguments.update);
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
        // Help and version end the program successfully.
        if (error.get_exit_code() == 0)
            return app.exit(error) == 0 ? ExitCode::success : ExitCode::usage;
        if (wantsJson(argc, argv))
            JsonOutput::enable();
        // A first word that names no subcommand is reported as such, not as
        // a missing subcommand.
        if (app.get_subcommands().empty() && argc > 1 && argv[1][0] != '-')
            Console::fail(QStringLiteral("there is no subcommand \"%1\"; \"vkrtool --help\" lists them.")
                              .arg(QuotedText::escaped(ProgramArguments::text(argv[1]))));
        else
            Console::fail(QStringLiteral("%1; \"vkrtool --help\" and \"vkrtool SUBCOMMAND --help\" list what there is.")
                              .arg(usageError(error)));
        JsonOutput::finish(ExitCode::usage);
        return ExitCode::usage;
    }
    if (!run)
        return ExitCode::usage;
    if (arguments.json)
        JsonOutput::enable();
    int code = ExitCode::success;
    if (!arguments.trace.empty() && !arguments.output.empty()
        && sameTarget(text(arguments.trace), text(arguments.output))) {
        Console::fail(QStringLiteral("--trace and -o both name %1: one would overwrite the other; name two files.")
                          .arg(QuotedText::escaped(text(arguments.output))));
        code = ExitCode::usage;
    } else if (!arguments.trace.empty()) {
        QStringList commandLine;
        for (int k = 0; k < argc; ++k)
            commandLine << ProgramArguments::text(argv[k]);
        code = TraceFile::open(text(arguments.trace), inputsNamed(arguments), commandLine);
    }
    if (code == ExitCode::success)
        code = run();
    code = Interrupt::honoured(TraceFile::close(code));
    JsonOutput::finish(code);
    return code;
}
