#pragma once

#include <QByteArray>
#include <QList>
#include <QWidget>

class QPlainTextEdit;

namespace windows {

// The site's notice to station owners, read from Notice.txt in the program
// folder at every showing. Created hidden; nothing in the client opens it.
class TFm_Notice : public QWidget
{
    Q_OBJECT

public:
    explicit TFm_Notice(QWidget* parent = nullptr);

    // The memo's lines before any file was loaded.
    static QList<QByteArray> BuiltInNotice();

    // Loads Notice.txt into the memo; when it cannot be read the memo keeps
    // what it shows.
    void FormShow();

    // The memo's lines, GBK.
    const QList<QByteArray>& noticeLines() const { return FLines; }

    QPlainTextEdit* M_Notice = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setNoticeLines(const QList<QByteArray>& lines);

    QList<QByteArray> FLines;
    bool FPlaced = false;
};

} // namespace windows
