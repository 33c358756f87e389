#include "update/FetchModule.h"

#include <QCoreApplication>
#include <QLibrary>

namespace update {
namespace {

#ifdef Q_OS_WIN
const char* const ModuleFile = "/zantu_fetch.dll";
#else
const char* const ModuleFile = "/libzantu_fetch.so";
#endif

const FetchModuleApi* load()
{
    // The file's own name, so that no other names are tried first. Kept
    // loaded for the life of the process (QLibrary never unloads by itself).
    static QLibrary library(QCoreApplication::applicationDirPath() + ModuleFile);
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
