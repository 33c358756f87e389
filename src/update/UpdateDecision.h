#pragma once

#include <QByteArray>

namespace update {

// Version and UpdateVer of one update descriptor.
struct DescriptorValues
{
    QByteArray version;
    QByteArray updateVer;
};

enum class UpdateQuestion {
    None,
    ProgramRelease, // "已经检测到有更新版本的程序…": the program quits for the updater
    UpdaterRelease // "已经检测到有升级程序需要更新…": the updater is replaced
};

// What the check does once both descriptors are in. Values are compared as
// bytes, case-sensitively; neither is taken as newer.
struct UpdateDecision
{
    UpdateQuestion question = UpdateQuestion::None;
    // On Yes:
    bool fetchUpdater = false;
    bool quitAndStartUpdater = false;
    bool copyDescriptor = false;
    bool reportDone = false; // "升级完成！"
    // Whatever the answer.
    bool result = false;
};

UpdateDecision DecideUpdate(const DescriptorValues& local, const DescriptorValues& fetched);

} // namespace update
