#pragma once

#include <QByteArray>

#include <atomic>

// The table of the fetch module (libzantu_fetch), the one part of the program
// that links libcurl and libsodium. It is loaded on the fetch thread at the
// first fetch, so neither library costs the start.
namespace update {

struct HttpFetchResult
{
    bool ok = false;
    // The client itself could not be set up (as opposed to a failed request).
    bool setupFailed = false;
    // Ended because the caller asked it to.
    bool abandoned = false;
    long status = 0;
    QByteArray body;
    QByteArray error; // for logs and tests; never shown to the operator
};

// Bounds of one fetch; a dead, stalled or trickling server must not hold a
// fetch for ever.
struct FetchLimits
{
    long connectTimeoutMs = 10000;
    long lowSpeedBytesPerSecond = 1;
    long lowSpeedSeconds = 20;
    qint64 maxBodyBytes = qint64(64) * 1024 * 1024;
    long overallTimeoutMs = 60000;
};

struct FetchModuleApi
{
    int version;
    // A GET of an absolute "http://" URL. `abandon`, when set, ends the fetch
    // within a tenth of a second.
    void (*get)(const QByteArray& url, const FetchLimits& limits, const std::atomic<bool>* abandon,
                HttpFetchResult* result);
    // A minisign signature file over `message`, against a minisign public key
    // file; `why` says what failed.
    bool (*verifyMinisign)(const QByteArray& publicKeyFile, const QByteArray& signatureFile,
                           const QByteArray& message, QByteArray* why);
    // Lower-case hex of the SHA-256 of `bytes`; empty when libsodium fails.
    QByteArray (*sha256Hex)(const QByteArray& bytes);
};

constexpr int FetchModuleVersion = 1;

} // namespace update

extern "C" {
using ZantuFetchModuleFn = const update::FetchModuleApi* (*)();
}
