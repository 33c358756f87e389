#include "support/TempProgramFolder.h"

#include "localfiles/unt_Public.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

TempProgramFolder::TempProgramFolder() : FOldWorkingDir(QDir::currentPath())
{
    localfiles::SetAppPathForTesting(QFile::encodeName(FDir.path()));
    QDir::setCurrent(FDir.path());
}

TempProgramFolder::~TempProgramFolder()
{
    QDir::setCurrent(FOldWorkingDir);
    localfiles::SetAppPathForTesting({});
}

void TempProgramFolder::write(const QString& name, const QByteArray& bytes) const
{
    const QString path = filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray TempProgramFolder::read(const QString& name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TempProgramFolder::exists(const QString& name) const
{
    return QFileInfo::exists(filePath(name));
}

QString TempProgramFolder::DayLogName(const QString& name)
{
    return QStringLiteral("log/") + name + QLatin1Char('-') +
           QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".txt");
}
