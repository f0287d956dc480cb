#pragma once

#include "ScriptedPort.h"

#include <fuzzer/FuzzedDataProvider.h>

// Answers for a ScriptedPort drawn from fuzz input: up to `count` answers,
// each of up to four pieces of arbitrary bytes after arbitrary delays, so
// that pieces join, split at the quiet time, or come too late.
inline QVector<ScriptedPort::Answer> drawAnswers(FuzzedDataProvider &input, int count)
{
    QVector<ScriptedPort::Answer> answers;
    for (int a = 0; a < count && input.remaining_bytes() > 0; ++a) {
        ScriptedPort::Answer answer;
        const int pieces = input.ConsumeIntegralInRange(0, 4);
        for (int p = 0; p < pieces; ++p) {
            const int delay = input.ConsumeIntegralInRange(0, 4000);
            const std::string bytes = input.ConsumeRandomLengthString(64);
            answer.append({delay, QByteArray(bytes.data(), int(bytes.size()))});
        }
        answers.append(answer);
    }
    return answers;
}
