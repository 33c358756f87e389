#pragma once

#include <QByteArray>
#include <QString>

#include <sys/resource.h>

#include <csignal>

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray nativeName(const QString& path);

// Caps the size of every file this process writes while it lives. Root passes
// file permissions, but not this limit: a write past it fails with EFBIG.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
};
