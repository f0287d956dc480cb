// vkrtool identify: finds the radio as the window does and names it; with
// --all, every radio on the machine's ports.
#include "Commands.h"

#include "JsonKeys.h"
#include "QuotedText.h"
#include "RadioRuns.h"

int Commands::identify(const RadioChoice &choice)
{
    const RadioRuns runs = runRadioJob(choice, QString(), [](RadioConnection &radio, const Session::JobObserver &) {
        RadioRun run;
        run.verdict.outcome = JsonValue::identified;
        run.verdict.result = QStringLiteral("%1 channels").arg(radio.channelCount());
        run.verdict.tally = QStringLiteral("found");
        run.verdict.sentence =
            QStringLiteral("%1, %2 channels, on %3")
                .arg(radio.modelLabel())
                .arg(radio.channelCount())
                .arg(QuotedText::escaped(radio.portName()));
        return run;
    });
    printRunDocument(QJsonObject(), runs, choice.all);
    return runs.exitCode;
}
