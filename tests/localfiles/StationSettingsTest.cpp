#include "localfiles/StationSettings.h"

#include "localfiles/MemIniFile.h"
#include "localfiles/ProfileFile.h"
#include "localfiles/unt_Public.h"
#include "support/TempProgramFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using localfiles::DescriptorKey;
using localfiles::TaskConfigKey;

struct SettingRow
{
    std::string file, section, name, defaultValue;
};

void expectSetting(const localfiles::StationSetting& setting, const SettingRow& row)
{
    EXPECT_EQ(setting.file, row.file);
    EXPECT_EQ(setting.section, row.section);
    EXPECT_EQ(setting.name, row.name);
    EXPECT_EQ(setting.defaultValue, row.defaultValue);
}

const std::pair<TaskConfigKey, SettingRow> TaskConfigRows[] = {
    {TaskConfigKey::StationName, {"Config.ini", "TaskConfig", "StationName", "0"}},
    {TaskConfigKey::HomePage, {"Config.ini", "TaskConfig", "HomePage", "0"}},
};

const std::pair<DescriptorKey, SettingRow> DescriptorRows[] = {
    {DescriptorKey::HomePage, {"AutoUpdate.ini", "Version", "HomePage", ""}},
    {DescriptorKey::ChangeHomePage, {"AutoUpdate.ini", "Version", "ChangeHomePage", ""}},
    {DescriptorKey::UpdateServer, {"AutoUpdate.ini", "Version", "UpdateServer", ""}},
    {DescriptorKey::Version, {"AutoUpdate.ini", "Version", "Version", ""}},
    {DescriptorKey::UpdateVer, {"AutoUpdate.ini", "Version", "UpdateVer", ""}},
    {DescriptorKey::UpdateSha256, {"AutoUpdate.ini", "Version", "UpdateSha256", ""}},
    {DescriptorKey::MenuSha256, {"AutoUpdate.ini", "Version", "MenuSha256", ""}},
};

TEST(StationSettings, EveryKeyHasItsFileSectionNameAndDefault)
{
    for (const auto& [key, row] : TaskConfigRows) {
        SCOPED_TRACE(row.name);
        expectSetting(localfiles::SettingOf(key), row);
    }
    for (const auto& [key, row] : DescriptorRows) {
        SCOPED_TRACE(row.name);
        expectSetting(localfiles::SettingOf(key), row);
    }
}

// Each key is written where its row says, read back, and leaves the other keys
// at their defaults.
TEST(StationSettings, TaskConfigKeysRoundTripThroughConfigIni)
{
    for (const auto& [key, row] : TaskConfigRows) {
        SCOPED_TRACE(row.name);
        TempProgramFolder folder;
        EXPECT_EQ(localfiles::ReadSetting(key), row.defaultValue.c_str()) << "no Config.ini";
        const QByteArray value = "\xB2\xE2\xCA\xD4 " + QByteArray(row.name.c_str()); // 测试
        localfiles::WriteSetting(key, value);
        EXPECT_EQ(localfiles::ProfileFile::ReadString(localfiles::AppPath() + row.file.c_str(),
                                                      row.section.c_str(), row.name.c_str(), {}),
                  value);
        EXPECT_EQ(localfiles::ReadSetting(key), value);
        for (const auto& [other, otherRow] : TaskConfigRows) {
            if (other != key) {
                EXPECT_EQ(localfiles::ReadSetting(other), otherRow.defaultValue.c_str());
            }
        }
    }
}

TEST(StationSettings, DescriptorKeysReadFromTheirSectionQuotesKept)
{
    TempProgramFolder folder;
    QByteArray ini = "[Other]\r\nUpdateServer=http://wrong/\r\n[version]\r\n";
    for (const auto& [key, row] : DescriptorRows)
        if (key != DescriptorKey::MenuSha256)
            ini += QByteArray(row.name.c_str()).toLower() + " = \"" + row.name.c_str() + "\"\r\n";
    folder.write(QStringLiteral("AutoUpdate.ini"), ini);

    const localfiles::MemIniFile descriptor(localfiles::AppPath() + "AutoUpdate.ini");
    for (const auto& [key, row] : DescriptorRows) {
        SCOPED_TRACE(row.name);
        const QByteArray expected = key == DescriptorKey::MenuSha256
                                        ? QByteArray(row.defaultValue.c_str())
                                        : "\"" + QByteArray(row.name.c_str()) + "\"";
        EXPECT_EQ(localfiles::ReadSetting(descriptor, key), expected);
    }
}

} // namespace
