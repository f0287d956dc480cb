#pragma once

#include "ChannelRules.h"

#include <QString>

// Why a cell of the table is red, in a few words for its tooltip and the
// status bar ("above 136.980"); empty for a cell that is right.
namespace CellFaults {

QString nameFault(const QString &name, const RadioModel &model);
QString frequencyFault(const Frequency &frequency, const RadioModel &model);

} // namespace CellFaults
