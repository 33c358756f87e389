// The client's entry with the GBK converter looked up under the name given
// (one no codec has stands for a Qt built without it). Each message box is
// written to stdout as "BOX <flags> <caption>: <text>" and answered with Ok.
//
//   startup_probe <converter name>
#include "localfiles/Gbk.h"
#include "shell/ClientProgram.h"
#include "ui/MessageBoxes.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc > 1)
        gbk::UseConverterForTesting(argv[1]);
    ui::SetMessageBoxHandler([](const QByteArray& text, const QByteArray& caption, unsigned flags,
                                QWidget*) {
        std::fputs(
            ("BOX " + QByteArray::number(flags) + " " + caption + ": " + text + "\n").constData(),
            stdout);
        std::fflush(stdout);
        return int(ui::Answer::Ok);
    });
    shell::ClientProgram client(argc, argv);
    return client.exec();
}
