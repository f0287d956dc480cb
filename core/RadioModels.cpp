#include "RadioModels.h"

namespace RadioModels {

namespace {

QString labelKey(QString label)
{
    label = label.trimmed().toUpper();
    if (label.startsWith(QLatin1String("VKR")))
        label.remove(0, 3);
    label.remove(QLatin1Char('-'));
    return label;
}

} // namespace

const RadioModel *identify(const QByteArray &modelText)
{
    for (const RadioModel &model : all) {
        if (modelText.contains(model.token))
            return &model;
    }
    return nullptr;
}

const RadioModel *named(const QString &label)
{
    const QString key = labelKey(label);
    for (const RadioModel &model : all) {
        if (key == labelKey(QLatin1String(model.label)))
            return &model;
    }
    return nullptr;
}

int indexOf(const RadioModel &model)
{
    return int(&model - all);
}

const RadioModel *withChannelCount(int channelCount)
{
    for (const RadioModel &model : all) {
        if (model.channelCount == channelCount)
            return &model;
    }
    return nullptr;
}

} // namespace RadioModels
