#pragma once

// Whether the bytes are well-formed UTF-8: no stray continuation bytes, no
// truncated sequences, no overlong forms, no surrogates, nothing above
// U+10FFFF. Channel files written by this program are always well-formed;
// older files from Windows tools carry single Windows-1252 bytes instead.
bool isValidUtf8(const char *data, int size);
