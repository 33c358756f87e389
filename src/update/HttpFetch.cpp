#include "update/HttpFetch.h"

#include "update/FetchModule.h"

#include <mutex>

namespace update {
namespace {

std::mutex limitsMutex;
bool limitsOverridden = false;
HttpFetch::Limits limitsOverride;

} // namespace

HttpFetch::Limits HttpFetch::CurrentLimits()
{
    std::lock_guard<std::mutex> lock(limitsMutex);
    return limitsOverridden ? limitsOverride : DefaultLimits();
}

void HttpFetch::SetLimitsForTesting(const Limits& limits)
{
    std::lock_guard<std::mutex> lock(limitsMutex);
    limitsOverride = limits;
    limitsOverridden = true;
}

void HttpFetch::ResetLimitsForTesting()
{
    std::lock_guard<std::mutex> lock(limitsMutex);
    limitsOverridden = false;
}

HttpFetchResult HttpFetch::Get(const QByteArray& url, Bound bound, const std::atomic<bool>* abandon)
{
    HttpFetchResult result;
    const FetchModuleApi* api = FetchModule::Api();
    if (!api) {
        result.setupFailed = true;
        result.error = "cannot load the fetch module";
        return result;
    }
    const Limits limits = CurrentLimits();
    FetchLimits applied;
    applied.connectTimeoutMs = limits.connectTimeoutMs;
    applied.lowSpeedBytesPerSecond = limits.lowSpeedBytesPerSecond;
    applied.lowSpeedSeconds = limits.lowSpeedSeconds;
    applied.maxBodyBytes = limits.maxBodyBytes;
    applied.overallTimeoutMs =
        bound == Bound::Updater ? limits.updaterTimeoutMs : limits.smallFileTimeoutMs;
    api->get(url, applied, abandon, &result);
    return result;
}

} // namespace update
