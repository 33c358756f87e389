#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A program folder of its own for one test: AppPath points into it while the
// object lives, and the working directory is set to it too.
class TempProgramFolder
{
public:
    TempProgramFolder();
    ~TempProgramFolder();
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    QString path() const { return FDir.path(); }
    QString filePath(const QString& name) const { return FDir.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;
    // Today's day log `name` ("log/<name>-YYYY-MM-DD.txt"), relative to the folder.
    static QString DayLogName(const QString& name);

private:
    QTemporaryDir FDir;
    QString FOldWorkingDir;
};
