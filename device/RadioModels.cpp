#include "RadioModels.h"

namespace Link {

namespace {
const RadioModel models[radioModelCount] = {
    {"62A", "VKR627A", 100, 0},
    {"627S", "VKR627S", 20, 1},
    {"627II", "VKR627-II", 20, 1},
    {"627", "VKR627", 100, 0},
};
} // namespace

const RadioModel *radioModels()
{
    return models;
}

const RadioModel *identifyModel(const QByteArray &modelText)
{
    for (const RadioModel &model : models) {
        if (modelText.contains(model.token))
            return &model;
    }
    return nullptr;
}

} // namespace Link
