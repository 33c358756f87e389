#include "update/FetchModule.h"

#include <QCoreApplication>
#include <QLibrary>

namespace update {
namespace {

const FetchModuleApi* load()
{
    // Kept loaded for the life of the process (QLibrary never unloads by itself).
    static QLibrary library(QCoreApplication::applicationDirPath() + "/zantu_fetch");
    const auto entry = reinterpret_cast<ZantuFetchModuleFn>(library.resolve("zantu_fetch_module"));
    const FetchModuleApi* api = entry ? entry() : nullptr;
    return api && api->version == FetchModuleVersion ? api : nullptr;
}

} // namespace

const FetchModuleApi* FetchModule::Api()
{
    static const FetchModuleApi* const api = load(); // initialised once, thread-safely
    return api;
}

} // namespace update
