#pragma once

#include <QByteArray>

// The blocking HTTP GET behind the update fetches (libcurl). It holds the
// whole body in memory and says yes only for a 2xx reply without Location.
namespace update {

struct HttpFetchResult
{
    bool ok = false;
    // The client itself could not be set up (as opposed to a failed request).
    bool setupFailed = false;
    long status = 0;
    QByteArray body;
    QByteArray error; // for logs and tests; never shown to the operator
};

class HttpFetch
{
public:
    // Bounds of one fetch; a dead or stalled update server must not hold the
    // GUI thread for ever.
    struct Limits
    {
        long connectTimeoutMs = 10000;
        long lowSpeedBytesPerSecond = 1;
        long lowSpeedSeconds = 20;
        qint64 maxBodyBytes = qint64(64) * 1024 * 1024;
    };

    static Limits DefaultLimits() { return {}; }
    static Limits CurrentLimits();
    // Tests only: shorter bounds; ResetLimitsForTesting puts the defaults back.
    static void SetLimitsForTesting(const Limits& limits);
    static void ResetLimitsForTesting();

    // URL: an absolute "http://" URL as GBK bytes, sent unchanged.
    static HttpFetchResult Get(const QByteArray& url);
};

} // namespace update
