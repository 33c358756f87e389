#pragma once

#include "update/FetchModuleApi.h"

namespace update {

// The GET behind the update fetches, with libcurl: the whole body in memory,
// yes only for a 2xx reply without Location. Part of the fetch module.
void CurlGet(const QByteArray& url, const FetchLimits& limits, const std::atomic<bool>* abandon,
             HttpFetchResult* result);

} // namespace update
