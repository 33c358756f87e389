#include "update/UpdateRunner.h"

#include "localfiles/Gbk.h"
#include "localfiles/MemIniFile.h"
#include "localfiles/StationSettings.h"
#include "localfiles/unt_Public.h"
#include "ui/MessageBoxes.h"
#include "update/DetachedStart.h"
#include "update/FetchModule.h"
#include "update/UpdateDecision.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>

namespace update {
namespace {

QByteArray text(const char16_t* unicode)
{
    return gbk::fromUnicode(QString::fromUtf16(unicode));
}

bool ask(const char16_t* question)
{
    return ui::ShowMessageBox(text(question), text(u"重要提示信息"),
                              ui::Mb::YesNo | ui::Mb::IconQuestion) == ui::Answer::Yes;
}

DescriptorValues valuesOf(const localfiles::MemIniFile& ini)
{
    return {localfiles::ReadSetting(ini, localfiles::DescriptorKey::Version),
            localfiles::ReadSetting(ini, localfiles::DescriptorKey::UpdateVer)};
}

// The hash a signed descriptor names for a file; one that is not 64 hex
// digits matches no file.
QByteArray expectedHash(const localfiles::MemIniFile& ini, localfiles::DescriptorKey key)
{
    const QByteArray value = localfiles::ReadSetting(ini, key).trimmed().toLower();
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    return hex.match(QString::fromLatin1(value)).hasMatch()
               ? value
               : "no valid " + QByteArray(localfiles::SettingOf(key).name) + " in the descriptor";
}

QByteArray readWhole(const QByteArray& path, bool* ok)
{
    QFile file(gbk::toUnicode(path));
    *ok = file.open(QIODevice::ReadOnly);
    const QByteArray bytes = *ok ? file.readAll() : QByteArray();
    *ok = *ok && file.error() == QFileDevice::NoError;
    return bytes;
}

// The program folder first, then the usual search.
QString updaterProgram()
{
    const QString local = gbk::toUnicode(localfiles::AppPath() + "Update.exe");
    return QFileInfo::exists(local) ? local : QStringLiteral("Update.exe");
}

} // namespace

struct UpdateRunner::Check
{
    Check(UpdateOperations o, std::function<void(bool)> f)
        : ops(std::move(o)), finished(std::move(f))
    {}

    UpdateOperations ops;
    std::function<void(bool)> finished;
    bool result = false;

    QByteArray server;
    QByteArray descriptorUrl, signatureUrl, menuUrl;
    QByteArray fetchedFile, signatureFile, menuFile, updaterFile;
    DescriptorValues local, fetched;
    UpdateDecision decision;

    // Signed updates: the key, the verified descriptor's bytes and the hashes it names.
    bool signedUpdates = false;
    QByteArray publicKey;
    QByteArray verified;
    QByteArray menuSha256, updaterSha256;
};

UpdateRunner::UpdateRunner(QObject* parent) : QObject(parent) {}

UpdateRunner::~UpdateRunner()
{
    FFetches.Abandon();
}

bool UpdateRunner::Start(UpdateOperations ops, std::function<void(bool result)> finished)
{
    if (FCheck || FFetches.Abandoned())
        return false;
    FCheck = std::make_unique<Check>(std::move(ops), std::move(finished));
    Guarded([this] {
        Check& c = *FCheck;
        const quint32 seed =
            c.ops.randomSeed ? c.ops.randomSeed() : quint32(QDateTime::currentMSecsSinceEpoch());
        QRandomGenerator random(seed);
        const QByteArray folder = localfiles::AppPath();
        const localfiles::MemIniFile local(folder + "AutoUpdate.ini");
        c.server = localfiles::ReadSetting(local, localfiles::DescriptorKey::UpdateServer);
        c.local = valuesOf(local);
        const QByteArray descriptorNumber = QByteArray::number(random.bounded(1000));
        c.descriptorUrl = c.server + "AutoUpdate.ini?Ver=" + descriptorNumber;
        c.signatureUrl = c.server + "AutoUpdate.ini.minisig?Ver=" + descriptorNumber;
        c.menuUrl = c.server + "zantu.dll?Ver=" + QByteArray::number(random.bounded(1000));
        c.fetchedFile = folder + "data/AutoUpdate.ini";
        c.signatureFile = folder + "data/AutoUpdate.ini.minisig";
        c.menuFile = folder + "zantu.dll";
        c.updaterFile = folder + "Update.exe";

        QFile key(gbk::toUnicode(folder + "UpdateKey.pub"));
        c.signedUpdates = key.exists();
        if (c.signedUpdates && key.open(QIODevice::ReadOnly))
            c.publicKey = key.readAll(); // an unreadable key verifies nothing
        FetchDescriptor();
    });
    return true;
}

void UpdateRunner::Guarded(const std::function<void()>& step)
{
    try {
        step();
    } catch (...) {
        // The check never stops the program; the result is what was set so far.
        Finish();
    }
}

void UpdateRunner::Fetch(const FileFetch& fetch, std::function<void(const FetchOutcome&)> next)
{
    FCheck->ops.downloadFile(fetch, [this, next = std::move(next)](const FetchOutcome& outcome) {
        if (FCheck)
            Guarded([&] { next(outcome); });
    });
}

void UpdateRunner::FetchDescriptor()
{
    Fetch({FCheck->descriptorUrl, FCheck->fetchedFile, false, HttpFetch::Bound::SmallFile, {}},
          [this](const FetchOutcome& o) {
              if (!o.ok)
                  return Finish();
              FCheck->signedUpdates ? FetchSignature() : FetchMenuIfMissing();
          });
}

void UpdateRunner::FetchSignature()
{
    Fetch({FCheck->signatureUrl, FCheck->signatureFile, false, HttpFetch::Bound::SmallFile, {}},
          [this](const FetchOutcome& o) {
              if (!o.ok) {
                  Log("AutoUpdate.ini.minisig not fetched, update check ended: " + o.why);
                  return Finish();
              }
              VerifyDescriptor();
          });
}

void UpdateRunner::VerifyDescriptor()
{
    struct Result
    {
        bool ok = false;
        QByteArray bytes, why;
    };
    auto result = std::make_shared<Result>();
    FFetches.Run(
        [result, key = FCheck->publicKey, descriptor = FCheck->fetchedFile,
         signature = FCheck->signatureFile](const std::atomic<bool>&) {
            bool read = false, sigRead = false;
            result->bytes = readWhole(descriptor, &read);
            const QByteArray sig = readWhole(signature, &sigRead);
            const FetchModuleApi* api = FetchModule::Api();
            if (!read || !sigRead)
                result->why = "cannot read the fetched files";
            else if (!api)
                result->why = "cannot load the fetch module";
            else
                result->ok = api->verifyMinisign(key, sig, result->bytes, &result->why);
        },
        [this, result] {
            Guarded([&] {
                if (!result->ok) {
                    Log("AutoUpdate.ini not trusted, update check ended: " + result->why);
                    return Finish();
                }
                FCheck->verified = result->bytes;
                FetchMenuIfMissing();
            });
        });
}

void UpdateRunner::FetchMenuIfMissing()
{
    Check& c = *FCheck;
    const localfiles::MemIniFile fetched = c.signedUpdates
                                               ? localfiles::MemIniFile::FromBytes(c.verified)
                                               : localfiles::MemIniFile(c.fetchedFile);
    c.fetched = valuesOf(fetched);
    if (c.signedUpdates) {
        c.menuSha256 = expectedHash(fetched, localfiles::DescriptorKey::MenuSha256);
        c.updaterSha256 = expectedHash(fetched, localfiles::DescriptorKey::UpdateSha256);
    }
    if (QFileInfo::exists(gbk::toUnicode(c.menuFile)))
        return Decide();
    Fetch({c.menuUrl, c.menuFile, false, HttpFetch::Bound::SmallFile, c.menuSha256},
          [this](const FetchOutcome& o) {
              if (!o.ok) {
                  if (FCheck->signedUpdates)
                      Log("zantu.dll not written, update check ended: " + o.why);
                  return Finish();
              }
              Decide();
          });
}

void UpdateRunner::Decide()
{
    Check& c = *FCheck;
    c.decision = DecideUpdate(c.local, c.fetched);
    c.result = c.decision.result;
    switch (c.decision.question) {
    case UpdateQuestion::None:
        return Finish();
    case UpdateQuestion::ProgramRelease:
        if (!ask(u"已经检测到有更新版本的程序，你是否退出当前操作，进行更新？"))
            return Finish();
        return ProgramRelease();
    case UpdateQuestion::UpdaterRelease:
        if (!ask(u"已经检测到有升级程序需要更新，你是否进行更新？"))
            return Finish();
        return UpdaterRelease();
    }
}

void UpdateRunner::ProgramRelease()
{
    Check& c = *FCheck;
    if (!c.decision.fetchUpdater)
        return VerifyUpdaterThenStart();
    Fetch({c.server + "Update.exe?Ver=" + c.fetched.updateVer, c.updaterFile, true,
           HttpFetch::Bound::Updater, c.updaterSha256},
          [this](const FetchOutcome& o) {
              // A failed updater fetch has been reported; the check goes on.
              if (!o.ok && FCheck->signedUpdates)
                  Log("Update.exe not written: " + o.why);
              VerifyUpdaterThenStart();
          });
}

void UpdateRunner::VerifyUpdaterThenStart()
{
    if (!FCheck->signedUpdates)
        return StartUpdater();
    auto why = std::make_shared<QByteArray>();
    FFetches.Run(
        [why, file = FCheck->updaterFile,
         expected = FCheck->updaterSha256](const std::atomic<bool>&) {
            bool read = false;
            const QByteArray bytes = readWhole(file, &read);
            const FetchModuleApi* api = FetchModule::Api();
            if (!read)
                *why = "cannot read it";
            else if (!api)
                *why = "cannot load the fetch module";
            else if (const QByteArray actual = api->sha256Hex(bytes); actual != expected)
                *why = "SHA-256 " + actual + " differs from " + expected;
        },
        [this, why] {
            Guarded([&] {
                if (!why->isEmpty()) {
                    Log("Update.exe not started: " + *why);
                    ui::ShowMessageBox(text(u"升级程序校验失败，本次未执行升级。"),
                                       text(u"重要提示！"), ui::Mb::Ok | ui::Mb::IconWarning);
                    return Finish();
                }
                StartUpdater();
            });
        });
}

void UpdateRunner::StartUpdater()
{
    Check& c = *FCheck;
    if (c.ops.terminateApplication)
        c.ops.terminateApplication();
    else
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
    const QString program = updaterProgram();
    c.ops.startDetached ? c.ops.startDetached(program) : StartDetachedHidden(program);
    CopyDescriptor();
    Finish();
}

void UpdateRunner::UpdaterRelease()
{
    Check& c = *FCheck;
    c.ops.processMessages ? c.ops.processMessages() : QCoreApplication::processEvents();
    if (!FCheck)
        return;
    Fetch({c.server + "Update.exe?Ver=" + c.fetched.updateVer, c.updaterFile, true,
           HttpFetch::Bound::Updater, c.updaterSha256},
          [this](const FetchOutcome& o) {
              if (!o.ok && FCheck->signedUpdates)
                  Log("Update.exe not written: " + o.why);
              CopyDescriptor();
              ui::ShowMessageBox(text(u"升级完成！"), text(u"提示信息"),
                                 ui::Mb::Ok | ui::Mb::IconInformation);
              Finish();
          });
}

// data/AutoUpdate.ini over AutoUpdate.ini, both in the working directory,
// through a temporary file and a rename; a failure leaves the target as it
// was. With signed updates only the verified bytes are copied.
void UpdateRunner::CopyDescriptor()
{
    bool read = false;
    const QByteArray bytes = readWhole("data/AutoUpdate.ini", &read);
    if (!read || (FCheck->signedUpdates && bytes != FCheck->verified))
        return;
    QSaveFile target(QStringLiteral("AutoUpdate.ini"));
    if (target.open(QIODevice::WriteOnly) && target.write(bytes) == bytes.size())
        target.commit();
}

void UpdateRunner::Finish()
{
    if (!FCheck)
        return;
    const std::unique_ptr<Check> check = std::move(FCheck);
    if (check->finished)
        check->finished(check->result);
    emit Finished(check->result);
}

void UpdateRunner::Log(const QByteArray& line)
{
    QByteArray logPath;
    localfiles::WriteDayLog(line, "Update", 0, logPath);
}

} // namespace update
