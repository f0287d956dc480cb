#pragma once

// The one fact of the channel file format that the rules of a channel need
// too: a name can never hold the character that separates a record's
// fields, or the record would split when the file is read back.
namespace ChannelFileFormat {
constexpr char fieldSeparator = ';';
} // namespace ChannelFileFormat
