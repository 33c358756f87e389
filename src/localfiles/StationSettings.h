#pragma once

#include <QByteArray>

namespace localfiles {

class MemIniFile;

// The station's settings, each declared once with its file, section and
// default. The keys of Config.ini are read and written key by key with the
// profile-file rules; the update descriptors (AutoUpdate.ini) are only read,
// whole, with the in-memory reader.
enum class TaskConfigKey { StationName, HomePage };
enum class DescriptorKey {
    HomePage,
    ChangeHomePage,
    UpdateServer,
    Version,
    UpdateVer,
    UpdateSha256,
    MenuSha256,
};

struct StationSetting
{
    const char* file;
    const char* section;
    const char* name;
    const char* defaultValue;
};

const StationSetting& SettingOf(TaskConfigKey key);
const StationSetting& SettingOf(DescriptorKey key);

// Config.ini in the program folder; a blank or missing value reads the default.
QByteArray ReadSetting(TaskConfigKey key);
// Throws WriteError("Unable to write to <file>") when the file cannot be written.
void WriteSetting(TaskConfigKey key, const QByteArray& value);

// The value as the descriptor holds it, quotes kept; the default when missing.
QByteArray ReadSetting(const MemIniFile& descriptor, DescriptorKey key);

} // namespace localfiles
