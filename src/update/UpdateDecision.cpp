#include "update/UpdateDecision.h"

namespace update {

UpdateDecision DecideUpdate(const DescriptorValues& local, const DescriptorValues& fetched)
{
    UpdateDecision decision;
    const bool updaterDiffers = fetched.updateVer != local.updateVer;
    if (fetched.version != local.version) {
        decision.question = UpdateQuestion::ProgramRelease;
        decision.fetchUpdater = updaterDiffers;
        decision.quitAndStartUpdater = true;
        decision.copyDescriptor = true;
        decision.result = true;
    } else if (updaterDiffers) {
        decision.question = UpdateQuestion::UpdaterRelease;
        decision.fetchUpdater = true;
        decision.copyDescriptor = true;
        decision.reportDone = true;
    }
    return decision;
}

} // namespace update
