#include "shell/ClientProgram.h"

int main(int argc, char** argv)
{
    shell::ClientProgram client(argc, argv);
    return client.exec();
}
