#include "shell/TextConverterCheck.h"

#include "localfiles/Gbk.h"
#include "support/MessageBoxRecorder.h"
#include "ui/MessageBoxes.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace {

TEST(TextConverterCheck, PassesSilentlyWithTheConverterOfThisBuild)
{
    MessageBoxRecorder boxes;
    EXPECT_TRUE(shell::TextConverterReady());
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

// A Qt without the GBK converter: the client says so and ends with an error
// code before it makes any window.
TEST(TextConverterCheck, ClientWithoutTheConverterRefusesToStartLoudly)
{
    QProcess client;
    client.start(QStringLiteral(STARTUP_PROBE_PATH), {QStringLiteral("no-such-converter")});
    ASSERT_TRUE(client.waitForFinished(60000));
    const QByteArray out = client.readAllStandardOutput();
    EXPECT_EQ(client.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(client.exitCode(), shell::ExitTextConverterMissing) << out.constData();
    const QList<QByteArray> lines = out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1) << out.constData();
    EXPECT_TRUE(lines[0].startsWith("BOX " + QByteArray::number(ui::Mb::Ok | ui::Mb::IconError) +
                                    " Zantu: "))
        << lines[0].constData();
    EXPECT_TRUE(lines[0].contains("no GBK text converter")) << lines[0].constData();
}

} // namespace
