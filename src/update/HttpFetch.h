#pragma once

#include "update/FetchModuleApi.h"

// The GET behind the update fetches, through the fetch module. It blocks
// the calling thread: the update check calls it on its fetch thread.
namespace update {

class HttpFetch
{
public:
    // Besides the bounds of every fetch, an overall time for the whole of one
    // fetch: short for the descriptor and the menu file, long for the updater.
    struct Limits
    {
        long connectTimeoutMs = 10000;
        long lowSpeedBytesPerSecond = 1;
        long lowSpeedSeconds = 20;
        qint64 maxBodyBytes = qint64(64) * 1024 * 1024;
        long smallFileTimeoutMs = 60 * 1000;
        long updaterTimeoutMs = 10 * 60 * 1000;
    };
    enum class Bound { SmallFile, Updater };

    static Limits DefaultLimits() { return {}; }
    static Limits CurrentLimits();
    // Tests only: shorter bounds; ResetLimitsForTesting puts the defaults back.
    static void SetLimitsForTesting(const Limits& limits);
    static void ResetLimitsForTesting();

    // URL: an absolute "http://" URL as GBK bytes, sent unchanged. Once
    // `abandon` is set the fetch ends within a tenth of a second.
    static HttpFetchResult Get(const QByteArray& url, Bound bound = Bound::SmallFile,
                               const std::atomic<bool>* abandon = nullptr);
};

} // namespace update
