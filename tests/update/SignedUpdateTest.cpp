#include "UpdateRig.h"

#include "support/MessageBoxRecorder.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

#include <map>
#include <mutex>

#include <gtest/gtest.h>

namespace {

using ui::Answer::Yes;

const QByteArray kNotVerified =
    "\xC9\xFD\xBC\xB6\xB3\xCC\xD0\xF2\xD0\xA3\xD1\xE9\xCA\xA7\xB0\xDC\xA3\xAC\xB1\xBE\xB4\xCE\xCE"
    "\xB4\xD6\xB4\xD0\xD0\xC9\xFD\xBC\xB6\xA1\xA3"; // 升级程序校验失败，本次未执行升级。

QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// A key pair made by the minisign tool for one test, and signatures made
// with it by the same tool, as a vendor makes them.
class MinisignKey
{
public:
    MinisignKey() { FOk = run({"-G", "-W", "-p", pubPath(), "-s", FDir.filePath("key.sec")}); }
    bool ok() const { return FOk; }
    QByteArray publicKeyFile() const
    {
        QFile f(pubPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // "ED" (prehashed, minisign's default) or, with `legacy`, "Ed".
    QByteArray sign(const QByteArray& message, bool legacy = false) const
    {
        const QString file = FDir.filePath("message");
        QFile::remove(file + ".minisig");
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(message) != message.size())
            return {};
        out.close();
        QStringList args{"-S", "-s", FDir.filePath("key.sec"), "-m", file, "-t", "release 2.0"};
        if (legacy)
            args.append("-l");
        if (!run(args))
            return {};
        QFile sig(file + ".minisig");
        return sig.open(QIODevice::ReadOnly) ? sig.readAll() : QByteArray();
    }

private:
    QString pubPath() const { return FDir.filePath("key.pub"); }
    static bool run(const QStringList& args)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("minisign"), args);
        p.closeWriteChannel();
        if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode()) {
            ADD_FAILURE() << "minisign " << args.join(' ').toStdString() << ": "
                          << p.readAll().toStdString();
            return false;
        }
        return true;
    }

    QTemporaryDir FDir;
    bool FOk = false;
};

// The rig with the station's key installed and a release served: a
// descriptor naming the hashes of the served updater and menu file.
struct SignedRig
{
    SignedRig(const QByteArray& version = "2.0", const QByteArray& updateVer = "6")
    {
        EXPECT_TRUE(key.ok());
        rig.folder().write("UpdateKey.pub", key.publicKeyFile());
        served = descriptor(rig.server(), version, updateVer,
                            "UpdateSha256=" + sha256(kNewUpdater) +
                                "\r\nMenuSha256=" + sha256(kMenu) + "\r\n");
        for (const char* path :
             {"/AutoUpdate.ini", "/AutoUpdate.ini.minisig", "/Update.exe", "/zantu.dll"})
            rig.http().server().Get(
                path, [this](const httplib::Request& req, httplib::Response& res) {
                    std::lock_guard<std::mutex> lock(mutex);
                    const auto file = files.find(req.path);
                    if (file == files.end())
                        res.status = 404;
                    else
                        res.set_content(file->second.toStdString(), "application/octet-stream");
                });
        serve("/AutoUpdate.ini", served);
        serve("/Update.exe", kNewUpdater);
        serve("/zantu.dll", kMenu);
    }
    // What the server gives for `path` from now on.
    void serve(const std::string& path, const QByteArray& bytes)
    {
        std::lock_guard<std::mutex> lock(mutex);
        files[path] = bytes;
    }
    void serveSignature(const QByteArray& signature)
    {
        serve("/AutoUpdate.ini.minisig", signature);
    }

    MinisignKey key;
    QByteArray served;
    std::mutex mutex;
    std::map<std::string, QByteArray> files;
    UpdateRig rig; // last: its server stops before the files it serves go
};

TEST(SignedUpdate, GoodSignaturesOfBothKindsAreTrusted)
{
    for (const bool legacy : {false, true}) {
        SCOPED_TRACE(legacy ? "legacy" : "prehashed");
        SignedRig s;
        const QByteArray signature = s.key.sign(s.served, legacy);
        ASSERT_TRUE(signature.contains(legacy ? "\nRW" : "\nRU")) << signature.toStdString();
        s.serveSignature(signature);
        MessageBoxRecorder boxes(Yes);

        EXPECT_EQ(s.rig.check(), true);
        EXPECT_EQ(s.rig.steps(),
                  (QList<QByteArray>{"get /AutoUpdate.ini", "get /AutoUpdate.ini.minisig",
                                     "get /Update.exe?Ver=6 report", "quit",
                                     "start " + localfiles::AppPath() + "Update.exe"}));
        EXPECT_EQ(boxes.texts(), QList<QByteArray>{kProgramQuestion});
        EXPECT_EQ(s.rig.folder().read("Update.exe"), kNewUpdater);
        EXPECT_EQ(s.rig.folder().read("AutoUpdate.ini"), s.served);
        EXPECT_EQ(s.rig.folder().read("data/AutoUpdate.ini.minisig"), signature);
        EXPECT_TRUE(s.rig.updateLog().isEmpty()) << s.rig.updateLog().toStdString();

        // The signature is asked for with the descriptor's own random number.
        const auto requests = s.rig.http().requests();
        ASSERT_GE(requests.size(), 2);
        const auto ver = [](const LocalHttpServer::Request& r) {
            return QUrlQuery(QUrl(QString::fromStdString(r.target)).query())
                .queryItemValue(QStringLiteral("Ver"));
        };
        EXPECT_EQ(requests[1].path, "/AutoUpdate.ini.minisig");
        EXPECT_EQ(ver(requests[1]), ver(requests[0]));
    }
}

// Whatever is wrong with the signature, the check ends quietly: no question,
// nothing fetched after it, nothing copied, and the log says why.
TEST(SignedUpdate, UntrustedDescriptorEndsTheCheckQuietly)
{
    struct Case
    {
        const char* name;
        std::function<QByteArray(SignedRig&)> signature; // null: none served
        const char* logged;
    };
    const Case cases[] = {
        {"signed by another key", [](SignedRig& s) { return MinisignKey().sign(s.served); },
         "signed by another key"},
        {"descriptor changed by one byte after signing",
         [](SignedRig& s) {
             const QByteArray signature = s.key.sign(s.served);
             QByteArray changed = s.served;
             changed[changed.indexOf("2.0")] = '3';
             s.serve("/AutoUpdate.ini", changed);
             return signature;
         },
         "does not match the file"},
        {"legacy signature, descriptor changed",
         [](SignedRig& s) {
             const QByteArray signature = s.key.sign(s.served, true);
             s.serve("/AutoUpdate.ini", s.served + " ");
             return signature;
         },
         "does not match the file"},
        {"trusted comment changed",
         [](SignedRig& s) { return s.key.sign(s.served).replace("release 2.0", "release 9.9"); },
         "trusted comment"},
        {"not a signature", [](SignedRig&) { return QByteArray("<html>not found</html>"); },
         "not a minisign signature"},
        {"no signature served", nullptr, "AutoUpdate.ini.minisig not fetched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SignedRig s;
        if (c.signature)
            s.serveSignature(c.signature(s));
        MessageBoxRecorder boxes(Yes);

        EXPECT_EQ(s.rig.check(), false);
        EXPECT_TRUE(boxes.boxes().isEmpty());
        EXPECT_EQ(s.rig.steps(),
                  (QList<QByteArray>{"get /AutoUpdate.ini", "get /AutoUpdate.ini.minisig"}));
        EXPECT_EQ(s.rig.folder().read("AutoUpdate.ini"), s.rig.localDescriptor());
        EXPECT_EQ(s.rig.folder().read("Update.exe"), kOldUpdater);
        const QByteArray log = s.rig.updateLog();
        EXPECT_EQ(log.count('\n'), 1) << log.toStdString();
        EXPECT_TRUE(log.contains(c.logged)) << log.toStdString();
    }
}

TEST(SignedUpdate, AKeyFileThatIsNoKeyTrustsNothing)
{
    SignedRig s;
    s.serveSignature(s.key.sign(s.served));
    s.rig.folder().write("UpdateKey.pub", "untrusted comment: broken\nAAAA\n");
    MessageBoxRecorder boxes(Yes);
    EXPECT_EQ(s.rig.check(), false);
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_TRUE(s.rig.updateLog().contains("UpdateKey.pub")) << s.rig.updateLog().toStdString();
}

// The updater in the program folder is started only when its hash is the
// signed one: otherwise the operator is told and the program keeps running.
TEST(SignedUpdate, UpdaterWhoseHashDiffersIsNotStarted)
{
    struct Case
    {
        const char* name;
        QByteArray updateVer;
        QList<QByteArray> texts; // boxes after the question
        QList<QByteArray> steps; // after the two descriptor fetches
    };
    const Case cases[] = {
        // The folder's old updater is not the signed one.
        {"updater not fetched", kLocalUpdateVer, {kNotVerified}, {}},
        // The served updater is not the signed one: not written, reported.
        {"fetched updater differs",
         "6",
         {kWarnCaption, kNotVerified},
         {"get /Update.exe?Ver=6 report"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SignedRig s("2.0", c.updateVer);
        s.serve("/Update.exe", "#!/bin/sh\nsomeone else's program\n");
        s.serveSignature(s.key.sign(s.served));
        MessageBoxRecorder boxes(Yes);

        EXPECT_EQ(s.rig.check(), true);
        QList<QByteArray> steps{"get /AutoUpdate.ini", "get /AutoUpdate.ini.minisig"};
        steps += c.steps;
        EXPECT_EQ(s.rig.steps(), steps); // neither quit nor start
        ASSERT_EQ(boxes.boxes().size(), 1 + c.texts.size());
        const MessageBoxRecorder::Box& last = boxes.boxes().back();
        EXPECT_EQ(last.text, kNotVerified);
        EXPECT_EQ(last.caption, kWarnCaption);
        EXPECT_EQ(last.flags, 48u);
        if (c.texts.size() == 2) {
            EXPECT_EQ(boxes.boxes()[1].caption, kWarnCaption);
        }
        EXPECT_EQ(s.rig.folder().read("Update.exe"), kOldUpdater);
        EXPECT_EQ(s.rig.folder().read("AutoUpdate.ini"), s.rig.localDescriptor());
        EXPECT_TRUE(s.rig.updateLog().contains("Update.exe not started"))
            << s.rig.updateLog().toStdString();
    }
}

TEST(SignedUpdate, MissingMenuFileIsWrittenOnlyWithTheSignedHash)
{
    for (const bool matches : {true, false}) {
        SCOPED_TRACE(matches ? "hash matches" : "hash differs");
        SignedRig s("1.0", kLocalUpdateVer);
        s.serveSignature(s.key.sign(s.served));
        if (!matches)
            s.serve("/zantu.dll", "=Other:1\r\n");
        QFile::remove(s.rig.folder().filePath("zantu.dll"));
        MessageBoxRecorder boxes(Yes);

        EXPECT_EQ(s.rig.check(), false);
        EXPECT_EQ(s.rig.steps(),
                  (QList<QByteArray>{"get /AutoUpdate.ini", "get /AutoUpdate.ini.minisig",
                                     "get /zantu.dll"}));
        EXPECT_TRUE(boxes.boxes().isEmpty());
        EXPECT_EQ(s.rig.folder().exists("zantu.dll"), matches);
        if (matches) {
            EXPECT_EQ(s.rig.folder().read("zantu.dll"), kMenu);
        }
        EXPECT_EQ(s.rig.updateLog().contains("zantu.dll not written"), !matches)
            << s.rig.updateLog().toStdString();
    }
}

// The updater release of a signed descriptor: fetched, verified, written.
TEST(SignedUpdate, UpdaterReleaseWritesTheSignedUpdater)
{
    SignedRig s("1.0", "6");
    s.serveSignature(s.key.sign(s.served));
    MessageBoxRecorder boxes(Yes);
    EXPECT_EQ(s.rig.check(), false);
    EXPECT_EQ(boxes.texts(), (QList<QByteArray>{kUpdaterQuestion, kDone}));
    EXPECT_EQ(s.rig.folder().read("Update.exe"), kNewUpdater);
    EXPECT_EQ(s.rig.folder().read("AutoUpdate.ini"), s.served);
}

// Without the key the check is what it always was: not one request more.
TEST(SignedUpdate, WithoutTheKeyNothingMoreIsRequested)
{
    UpdateRig rig;
    rig.serveDescriptor("2.0", "6");
    rig.serve("/AutoUpdate.ini.minisig", "would not be asked for");
    rig.serve("/Update.exe", kNewUpdater);
    rig.serve("/zantu.dll", kMenu);
    QFile::remove(rig.folder().filePath("zantu.dll"));
    MessageBoxRecorder boxes(Yes);

    EXPECT_EQ(rig.check(), true);
    QList<std::string> paths;
    for (const LocalHttpServer::Request& r : rig.http().requests())
        paths.append(r.path);
    EXPECT_EQ(paths, (QList<std::string>{"/AutoUpdate.ini", "/zantu.dll", "/Update.exe"}));
    EXPECT_FALSE(rig.folder().exists("data/AutoUpdate.ini.minisig"));
    EXPECT_TRUE(rig.updateLog().isEmpty());
}

} // namespace
