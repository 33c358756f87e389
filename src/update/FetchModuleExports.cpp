// The entry of the fetch module (libzantu_fetch): its one exported symbol.
#include "update/CurlFetch.h"
#include "update/FetchModuleApi.h"
#include "update/MinisignVerify.h"

#include <QtGlobal>

namespace {

const update::FetchModuleApi Api{update::FetchModuleVersion, &update::CurlGet,
                                 &update::VerifyMinisign, &update::Sha256Hex};

} // namespace

extern "C" Q_DECL_EXPORT const update::FetchModuleApi* zantu_fetch_module()
{
    return &Api;
}
