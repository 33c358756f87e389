#include "shell/Application.h"

#include "support/MessageBoxRecorder.h"
#include "ui/ErrorReport.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// An error that a handler lets out is shown with its text, the rest of that
// handler is skipped, and the program goes on handling events.
TEST(Application, UncaughtErrorOfAHandlerIsReportedAndTheProgramGoesOn)
{
    MessageBoxRecorder boxes;
    bool restOfHandlerRan = false;
    bool laterEventRan = false;
    QTimer::singleShot(0, qApp, [&] {
        throw std::runtime_error("Unable to write to /x/Config.ini");
        restOfHandlerRan = true;
    });
    QTimer::singleShot(20, qApp, [&] {
        laterEventRan = true;
        QCoreApplication::quit();
    });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(restOfHandlerRan);
    EXPECT_TRUE(laterEventRan);
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].text, "Unable to write to /x/Config.ini");
}

TEST(Application, HandlerThatReportsItsErrorsShowsTheTextAndReturns)
{
    MessageBoxRecorder boxes;
    int after = 0;
    auto handler = ui::ReportingErrors([&] {
        throw std::runtime_error("Unable to write to /y/Config.ini");
        ++after;
    });
    handler(true); // a signal's argument is ignored
    EXPECT_EQ(after, 0);
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].text, "Unable to write to /y/Config.ini");
}

} // namespace

int main(int argc, char** argv)
{
    shell::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
