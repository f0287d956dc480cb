// libFuzzer target for the probe over arbitrary answers to the ping and the
// identify request, on a simulated clock: it must end, ask for the model
// only after a ping answer, and name a model only when its token came.
#include "FuzzSupport.h"
#include "LinkConstants.h"
#include "Probe.h"
#include "RadioModels.h"
#include "ScriptedAnswers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    ScriptedPort port(drawAnswers(input, 2));
    int stages = 0;
    const RadioModel *model = Link::probeRadio(port, [&stages](Link::ProbeStage) { ++stages; });

    const bool pingAnswered = port.delivered.contains(Link::pingAnswer) || port.delivered.contains(Link::pingCommand);
    if (stages == 0)
        check(port.written == Link::pingCommand, "asked for the model without a ping answer");
    else
        check(pingAnswered && port.written == Link::pingCommand + Link::identifyCommand, "identify without a ping answer");
    check(stages <= 2, "more than two stages");
    if (model) {
        check(stages == 2, "a model without both stages");
        check(port.delivered.contains(model->token), "a model whose token never came");
    }
    return 0;
}
