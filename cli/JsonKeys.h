#pragma once

#include <QLatin1String>

// The keys of vkrtool's JSON documents (--json), and the words some of them
// take as values, each named here once; vkrtool(1) lists them with their
// meaning. Other programs read them: a key once given out keeps its name,
// and values are never translated.

// Qt 5 counts the letters of a QLatin1String made from a const char *
// with strlen(), which only GCC takes in a constant expression; the words
// here are made from the literal with its length, which every compiler takes.
namespace JsonText {

template <int size>
constexpr QLatin1String word(const char (&text)[size])
{
    return QLatin1String(text, size - 1);
}

} // namespace JsonText

namespace JsonKey {

// A serial port (ports).
inline constexpr QLatin1String name = JsonText::word("name");
inline constexpr QLatin1String path = JsonText::word("path");
inline constexpr QLatin1String description = JsonText::word("description");
inline constexpr QLatin1String manufacturer = JsonText::word("manufacturer");
inline constexpr QLatin1String vendorId = JsonText::word("vid");
inline constexpr QLatin1String productId = JsonText::word("pid");
inline constexpr QLatin1String serialNumber = JsonText::word("serial");
inline constexpr QLatin1String opens = JsonText::word("opens");
inline constexpr QLatin1String problem = JsonText::word("problem"); // why a port does not open, or holds no radio
inline constexpr QLatin1String fix = JsonText::word("fix");

// A backup (backups); path as above.
inline constexpr QLatin1String model = JsonText::word("model");
inline constexpr QLatin1String time = JsonText::word("time");
inline constexpr QLatin1String channels = JsonText::word("channels"); // channels in use: a name or a frequency

// A radio and what a job did with it.
inline constexpr QLatin1String port = JsonText::word("port");
inline constexpr QLatin1String takenBefore = JsonText::word("takenBefore"); // a backup: "write", "restore", "read" or "diff"
inline constexpr QLatin1String channelCount = JsonText::word("channelCount"); // the channels of its memory
inline constexpr QLatin1String outcome = JsonText::word("outcome");           // a word of JsonValue
inline constexpr QLatin1String message = JsonText::word("message");           // the sentence a person reads
inline constexpr QLatin1String exitCode = JsonText::word("exitCode");
inline constexpr QLatin1String backup = JsonText::word("backup"); // the backup kept of its memory, or null
inline constexpr QLatin1String file = JsonText::word("file");     // the channel file written, read or saved, or null
inline constexpr QLatin1String memory = JsonText::word("memory"); // every channel read, in order
inline constexpr QLatin1String verified = JsonText::word("verified");
inline constexpr QLatin1String sent = JsonText::word("sent");     // channels sent to the radio
inline constexpr QLatin1String faults = JsonText::word("faults"); // channels the radio refused or did not answer
inline constexpr QLatin1String answer = JsonText::word("answer");
inline constexpr QLatin1String dryRun = JsonText::word("dryRun");

// A channel.
inline constexpr QLatin1String channel = JsonText::word("channel"); // its number, from 0
inline constexpr QLatin1String frequency = JsonText::word("frequency");

// A file's problems (check, a refused write).
inline constexpr QLatin1String records = JsonText::word("records");
inline constexpr QLatin1String problems = JsonText::word("problems");
inline constexpr QLatin1String record = JsonText::word("record"); // the record's channel, from 0
inline constexpr QLatin1String line = JsonText::word("line");     // in the file, from 1
inline constexpr QLatin1String field = JsonText::word("field");
inline constexpr QLatin1String reason = JsonText::word("reason");

// Differences: a and b of diff (the dry run's a is the radio, b the file),
// a write's expected and found.
inline constexpr QLatin1String differences = JsonText::word("differences");
inline constexpr QLatin1String first = JsonText::word("a");
inline constexpr QLatin1String second = JsonText::word("b");
inline constexpr QLatin1String expected = JsonText::word("expected");
inline constexpr QLatin1String found = JsonText::word("found");

// Every radio at once (--all).
inline constexpr QLatin1String radios = JsonText::word("radios");
inline constexpr QLatin1String noRadio = JsonText::word("noRadio"); // the ports that held none, each with its problem

// A run that ended before it had a result.
inline constexpr QLatin1String error = JsonText::word("error");

} // namespace JsonKey

namespace JsonValue {

// The outcome of a write or restore.
inline constexpr QLatin1String written = JsonText::word("written");
inline constexpr QLatin1String refused = JsonText::word("refused");
inline constexpr QLatin1String wouldEmpty = JsonText::word("wouldEmpty");
inline constexpr QLatin1String unreadable = JsonText::word("unreadable");
inline constexpr QLatin1String foreignBackup = JsonText::word("foreignBackup"); // a restore: the backup is of another model
inline constexpr QLatin1String notWhole = JsonText::word("notWhole");           // a restore: the backup is cut short
inline constexpr QLatin1String backupFailed = JsonText::word("backupFailed");
inline constexpr QLatin1String stopped = JsonText::word("stopped");
inline constexpr QLatin1String framesFailed = JsonText::word("framesFailed");
inline constexpr QLatin1String readBackIncomplete = JsonText::word("readBackIncomplete");
inline constexpr QLatin1String differs = JsonText::word("differs"); // also of diff
// Of a dry run.
inline constexpr QLatin1String unchanged = JsonText::word("unchanged");
inline constexpr QLatin1String wouldChange = JsonText::word("wouldChange");
inline constexpr QLatin1String wouldRefuse = JsonText::word("wouldRefuse"); // the emptying rule would refuse the write
// Of a read, and of diff (and stopped, differs as above).
inline constexpr QLatin1String read = JsonText::word("read");
inline constexpr QLatin1String incomplete = JsonText::word("incomplete");
inline constexpr QLatin1String notSaved = JsonText::word("notSaved");
inline constexpr QLatin1String same = JsonText::word("same");
// Of identify.
inline constexpr QLatin1String identified = JsonText::word("identified");

// A frame's answer (faults): refused as above, or
inline constexpr QLatin1String missing = JsonText::word("missing");

// The field of a problem.
inline constexpr QLatin1String nameField = JsonText::word("name");
inline constexpr QLatin1String frequencyField = JsonText::word("frequency");
inline constexpr QLatin1String recordField = JsonText::word("record");

} // namespace JsonValue
