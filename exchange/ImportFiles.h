#pragma once

#include "ImportResult.h"

class QFile;

// The files around an import: opening the inputs, and writing the output
// the way the window saves, complete or not at all.

// Opens the file for reading; false, with the result FileNotUsable and a
// message naming the file, when it does not open.
bool openInput(QFile &file, ImportResult &result);

// The output file's content: a channel file or a CHIRP file, by the
// result's format.
QByteArray outputBytes(const ImportResult &result);

// Ends a successful import: no channel at all makes it DataNotRight with
// nothing written; otherwise the output goes to `outputFile` when one is
// named (a failed write makes it FileNotUsable, leaving any file there
// untouched). Does nothing to a result that failed already.
void finishImport(ImportResult &result, const QString &outputFile);
