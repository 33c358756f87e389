#include "update/CurlFetch.h"

#include <curl/curl.h>

#include <memory>

namespace update {
namespace {

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

int checkAbandon(void* userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* abandon = static_cast<const std::atomic<bool>*>(userData);
    return abandon && abandon->load() ? 1 : 0;
}

// curl_easy_perform waits up to a second between its looks at the abandon
// flag while a server is silent; driving the transfer here looks every 50 ms.
CURLcode performAbandonable(CURL* c, const std::atomic<bool>* abandon)
{
    CURLM* multi = curl_multi_init();
    if (!multi || curl_multi_add_handle(multi, c) != CURLM_OK) {
        curl_multi_cleanup(multi);
        return CURLE_OUT_OF_MEMORY;
    }
    CURLcode code = CURLE_OK;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            code = CURLE_FAILED_INIT;
            break;
        }
        int queued = 0;
        bool done = false;
        while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
            if (message->msg == CURLMSG_DONE) {
                code = message->data.result;
                done = true;
            }
        }
        if (done)
            break;
        if (abandon && abandon->load()) {
            code = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        curl_multi_poll(multi, nullptr, 0, 50, nullptr);
    }
    curl_multi_remove_handle(multi, c);
    curl_multi_cleanup(multi);
    return code;
}

} // namespace

void CurlGet(const QByteArray& url, const FetchLimits& limits, const std::atomic<bool>* abandon,
             HttpFetchResult* out)
{
    HttpFetchResult& result = *out;
    result = {};
    // A URL without a scheme would be guessed to be http by libcurl and its
    // first part looked up as a host name; the fetch wants absolute URLs.
    if (url.left(7).toLower() != "http://") {
        result.error = "not a plain http URL: " + url;
        return;
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
        return;
    }

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
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, limits.overallTimeoutMs);
    // Called while connecting and while a server is silent, too.
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &checkAbandon);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, const_cast<void*>(static_cast<const void*>(abandon)));

    const CURLcode code = performAbandonable(c, abandon);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &result.status);
    if (code != CURLE_OK) {
        result.abandoned = abandon && abandon->load();
        result.error = sink.tooLarge ? QByteArray("body larger than the limit")
                                     : QByteArray(curl_easy_strerror(code)) + ": " + errorText;
        result.body.clear();
        return;
    }
    if (result.status < 200 || result.status > 299) {
        result.error = "HTTP status " + QByteArray::number(result.status);
        result.body.clear();
        return;
    }
    curl_header* location = nullptr;
    if (curl_easy_header(c, "Location", 0, CURLH_HEADER, -1, &location) == CURLHE_OK) {
        result.error = "reply carries a Location header";
        result.body.clear();
        return;
    }
    result.ok = true;
}

} // namespace update
