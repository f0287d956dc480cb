#pragma once

#include <QValidator>

// Accepts only frequencies on the air-band channel raster, 118.000 to 136.980,
// and lets a user type one character at a time towards such a frequency.
class FreqValidator : public QValidator
{
    Q_OBJECT
public:
    explicit FreqValidator(QObject *parent = nullptr);
    ~FreqValidator() override;

    State validate(QString &input, int &pos) const override;
};
