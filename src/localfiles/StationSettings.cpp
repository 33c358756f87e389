#include "localfiles/StationSettings.h"

#include "localfiles/MemIniFile.h"
#include "localfiles/unt_Public.h"

#include <iterator>

namespace localfiles {
namespace {

// The keys of TaskConfigKey, then those of DescriptorKey, each in its order. A
// blank or missing Config.ini value reads "0", as ReadTaskConfig gives it.
constexpr StationSetting Settings[] = {
    {"Config.ini", "TaskConfig", "StationName", "0"},
    {"Config.ini", "TaskConfig", "HomePage", "0"},
    {"AutoUpdate.ini", "Version", "HomePage", ""},
    {"AutoUpdate.ini", "Version", "ChangeHomePage", ""},
    {"AutoUpdate.ini", "Version", "UpdateServer", ""},
    {"AutoUpdate.ini", "Version", "Version", ""},
    {"AutoUpdate.ini", "Version", "UpdateVer", ""},
    {"AutoUpdate.ini", "Version", "UpdateSha256", ""},
    {"AutoUpdate.ini", "Version", "MenuSha256", ""},
};

constexpr int FirstDescriptorSetting = int(TaskConfigKey::HomePage) + 1;
static_assert(std::size(Settings) == FirstDescriptorSetting + int(DescriptorKey::MenuSha256) + 1);

} // namespace

const StationSetting& SettingOf(TaskConfigKey key)
{
    return Settings[int(key)];
}

const StationSetting& SettingOf(DescriptorKey key)
{
    return Settings[FirstDescriptorSetting + int(key)];
}

QByteArray ReadSetting(TaskConfigKey key)
{
    return ReadTaskConfig(SettingOf(key).name);
}

void WriteSetting(TaskConfigKey key, const QByteArray& value)
{
    WriteTaskConfig(SettingOf(key).name, value);
}

QByteArray ReadSetting(const MemIniFile& descriptor, DescriptorKey key)
{
    const StationSetting& setting = SettingOf(key);
    return descriptor.ReadString(setting.section, setting.name, setting.defaultValue);
}

} // namespace localfiles
