#include "update/HttpFetch.h"

#include <curl/curl.h>

#include <memory>

namespace update {
namespace {

HttpFetch::Limits& limitsOverride()
{
    static HttpFetch::Limits limits;
    return limits;
}

bool& limitsOverridden()
{
    static bool overridden = false;
    return overridden;
}

bool globalInit()
{
    // Once per process; a function-local static is initialised thread-safely.
    static const bool ok = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ok;
}

struct Sink
{
    QByteArray* body = nullptr;
    qint64 maxBytes = 0;
    bool tooLarge = false;
};

// Counts here because a chunked body slips past CURLOPT_MAXFILESIZE_LARGE.
size_t writeBody(char* data, size_t size, size_t count, void* userData)
{
    auto* sink = static_cast<Sink*>(userData);
    const size_t n = size * count;
    if (sink->body->size() + qint64(n) > sink->maxBytes) {
        sink->tooLarge = true;
        return 0;
    }
    sink->body->append(data, qsizetype(n));
    return n;
}

struct EasyDeleter
{
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct ListDeleter
{
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

} // namespace

HttpFetch::Limits HttpFetch::CurrentLimits()
{
    return limitsOverridden() ? limitsOverride() : DefaultLimits();
}

void HttpFetch::SetLimitsForTesting(const Limits& limits)
{
    limitsOverride() = limits;
    limitsOverridden() = true;
}

void HttpFetch::ResetLimitsForTesting()
{
    limitsOverridden() = false;
}

HttpFetchResult HttpFetch::Get(const QByteArray& url)
{
    HttpFetchResult result;
    // A URL without a scheme would be guessed to be http by libcurl and its
    // first part looked up as a host name; the fetch wants absolute URLs.
    if (url.left(7).toLower() != "http://") {
        result.error = "not a plain http URL: " + url;
        return result;
    }

    std::unique_ptr<CURL, EasyDeleter> h(globalInit() ? curl_easy_init() : nullptr);
    curl_slist* list = nullptr;
    for (const char* header : {"Content-Type: text/html", "Accept: text/html, */*",
                               "User-Agent: Mozilla/3.0 (compatible; Indy Library)"}) {
        curl_slist* grown = curl_slist_append(list, header);
        if (!grown)
            break;
        list = grown;
    }
    std::unique_ptr<curl_slist, ListDeleter> headers(list);
    if (!h || !headers) {
        result.setupFailed = true;
        result.error = "cannot create the HTTP client";
        return result;
    }

    const Limits limits = CurrentLimits();
    Sink sink{&result.body, limits.maxBodyBytes};
    char errorText[CURL_ERROR_SIZE] = {};
    const QByteArray urlZ = url; // keeps the terminating zero alive for the call

    CURL* c = h.get();
    curl_easy_setopt(c, CURLOPT_URL, urlZ.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(c, CURLOPT_HTTP09_ALLOWED, 0L);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_PROXY, ""); // also when http_proxy is set
    curl_easy_setopt(c, CURLOPT_NETRC, long(CURL_NETRC_IGNORED));
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytesPerSecond);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds);
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.maxBodyBytes));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &writeBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);

    const CURLcode code = curl_easy_perform(c);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &result.status);
    if (code != CURLE_OK) {
        result.error = sink.tooLarge ? QByteArray("body larger than the limit")
                                     : QByteArray(curl_easy_strerror(code)) + ": " + errorText;
        result.body.clear();
        return result;
    }
    if (result.status < 200 || result.status > 299) {
        result.error = "HTTP status " + QByteArray::number(result.status);
        result.body.clear();
        return result;
    }
    curl_header* location = nullptr;
    if (curl_easy_header(c, "Location", 0, CURLH_HEADER, -1, &location) == CURLHE_OK) {
        result.error = "reply carries a Location header";
        result.body.clear();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace update
