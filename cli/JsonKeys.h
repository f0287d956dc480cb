#pragma once

#include <QLatin1String>

// The keys of vkrtool's JSON documents (--json), and the words some of them
// take as values, each named here once; vkrtool(1) lists them with their
// meaning. Other programs read them: a key once given out keeps its name,
// and values are never translated.
namespace JsonKey {

// A serial port (ports).
inline constexpr QLatin1String name{"name"};
inline constexpr QLatin1String path{"path"};
inline constexpr QLatin1String description{"description"};
inline constexpr QLatin1String manufacturer{"manufacturer"};
inline constexpr QLatin1String vendorId{"vid"};
inline constexpr QLatin1String productId{"pid"};
inline constexpr QLatin1String serialNumber{"serial"};
inline constexpr QLatin1String opens{"opens"};
inline constexpr QLatin1String problem{"problem"}; // why a port does not open, or holds no radio
inline constexpr QLatin1String fix{"fix"};

// A backup (backups); path as above.
inline constexpr QLatin1String model{"model"};
inline constexpr QLatin1String time{"time"};
inline constexpr QLatin1String channels{"channels"}; // channels in use: a name or a frequency

// A radio and what a job did with it.
inline constexpr QLatin1String port{"port"};
inline constexpr QLatin1String takenBefore{"takenBefore"}; // a backup: "write", "restore", "read" or "diff"
inline constexpr QLatin1String channelCount{"channelCount"}; // the channels of its memory
inline constexpr QLatin1String outcome{"outcome"};           // a word of JsonValue
inline constexpr QLatin1String message{"message"};           // the sentence a person reads
inline constexpr QLatin1String exitCode{"exitCode"};
inline constexpr QLatin1String backup{"backup"}; // the backup kept of its memory, or null
inline constexpr QLatin1String file{"file"};     // the channel file written, read or saved, or null
inline constexpr QLatin1String memory{"memory"}; // every channel read, in order
inline constexpr QLatin1String verified{"verified"};
inline constexpr QLatin1String sent{"sent"};     // channels sent to the radio
inline constexpr QLatin1String faults{"faults"}; // channels the radio refused or did not answer
inline constexpr QLatin1String answer{"answer"};
inline constexpr QLatin1String dryRun{"dryRun"};

// A channel.
inline constexpr QLatin1String channel{"channel"}; // its number, from 0
inline constexpr QLatin1String frequency{"frequency"};

// A file's problems (check, a refused write).
inline constexpr QLatin1String records{"records"};
inline constexpr QLatin1String problems{"problems"};
inline constexpr QLatin1String record{"record"}; // the record's channel, from 0
inline constexpr QLatin1String line{"line"};     // in the file, from 1
inline constexpr QLatin1String field{"field"};
inline constexpr QLatin1String reason{"reason"};

// Differences: a and b of diff (the dry run's a is the radio, b the file),
// a write's expected and found.
inline constexpr QLatin1String differences{"differences"};
inline constexpr QLatin1String first{"a"};
inline constexpr QLatin1String second{"b"};
inline constexpr QLatin1String expected{"expected"};
inline constexpr QLatin1String found{"found"};

// Every radio at once (--all).
inline constexpr QLatin1String radios{"radios"};
inline constexpr QLatin1String noRadio{"noRadio"}; // the ports that held none, each with its problem

// A run that ended before it had a result.
inline constexpr QLatin1String error{"error"};

} // namespace JsonKey

namespace JsonValue {

// The outcome of a write or restore.
inline constexpr QLatin1String written{"written"};
inline constexpr QLatin1String refused{"refused"};
inline constexpr QLatin1String wouldEmpty{"wouldEmpty"};
inline constexpr QLatin1String unreadable{"unreadable"};
inline constexpr QLatin1String foreignBackup{"foreignBackup"}; // a restore: the backup is of another model
inline constexpr QLatin1String notWhole{"notWhole"};           // a restore: the backup is cut short
inline constexpr QLatin1String backupFailed{"backupFailed"};
inline constexpr QLatin1String stopped{"stopped"};
inline constexpr QLatin1String framesFailed{"framesFailed"};
inline constexpr QLatin1String readBackIncomplete{"readBackIncomplete"};
inline constexpr QLatin1String differs{"differs"}; // also of diff
// Of a dry run.
inline constexpr QLatin1String unchanged{"unchanged"};
inline constexpr QLatin1String wouldChange{"wouldChange"};
inline constexpr QLatin1String wouldRefuse{"wouldRefuse"}; // the emptying rule would refuse the write
// Of a read, and of diff (and stopped, differs as above).
inline constexpr QLatin1String read{"read"};
inline constexpr QLatin1String incomplete{"incomplete"};
inline constexpr QLatin1String notSaved{"notSaved"};
inline constexpr QLatin1String same{"same"};
// Of identify.
inline constexpr QLatin1String identified{"identified"};

// A frame's answer (faults): refused as above, or
inline constexpr QLatin1String missing{"missing"};

// The field of a problem.
inline constexpr QLatin1String nameField{"name"};
inline constexpr QLatin1String frequencyField{"frequency"};
inline constexpr QLatin1String recordField{"record"};

} // namespace JsonValue
