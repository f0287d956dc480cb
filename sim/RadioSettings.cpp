#include "RadioSettings.h"

#include "RadioModels.h"

QByteArray defaultModelText(int model)
{
    static const char *const texts[RadioModels::count] = {
        "VKR62A V2.05",
        "VKR627S V1.12",
        "VKR627II V3.01",
        "VKR627 V1.40",
    };
    return QByteArray(texts[qBound(0, model, RadioModels::count - 1)]);
}
