#include <QApplication>

#include <gtest/gtest.h>

// One QApplication for every test of an executable: widgets and web views need
// it, and the pure units do not mind it.
int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
