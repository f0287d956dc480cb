#pragma once

#include <QValidator>

// Forces channel names to upper case and limits them to A-Z, 0-9 and space
// (upper-case letters beyond ASCII typed as such are let through).
class AFNameValidator : public QValidator
{
    Q_OBJECT
public:
    explicit AFNameValidator(QObject *parent = nullptr);
    ~AFNameValidator() override;

    State validate(QString &input, int &pos) const override;
};
