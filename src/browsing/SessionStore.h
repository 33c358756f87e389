#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

namespace browsing {

// Keeps the open page tabs on disk while the program runs, so that a run
// that ends without the main window's close (killed, crashed, a power cut)
// costs the station no page: the next start opens them again. The file holds
// the tabs in order with the address of each one's page, and whether the
// run ended by the main window's close; it is written through a temporary
// file and a rename, at most once a second.
class SessionStore : public QObject
{
    Q_OBJECT
public:
    struct Contents
    {
        bool closed = false;
        QList<QByteArray> tabs;
    };
    // Nothing for a damaged or empty text.
    static std::optional<Contents> Parse(const QByteArray& text);
    static QByteArray Format(const Contents& contents);

    // The addresses of the open page tabs, in order.
    using TabSource = std::function<QList<QByteArray>()>;

    explicit SessionStore(QString path);

    // Reads what the last run left and starts this run's file, written a
    // second later: the tabs to open again when that run did not end by the
    // main window's close, else none. A damaged or empty file counts as
    // nothing and is replaced.
    QList<QByteArray> Open();
    void SetTabSource(TabSource source) { FSource = std::move(source); }
    // The tabs changed: written within a second.
    void Changed();
    // The main window closed: the next start restores nothing.
    void Close();

    const QString& path() const { return FPath; }

private:
    void Write();
    void Save(const Contents& contents);

    QString FPath;
    TabSource FSource;
    QTimer FTimer;
    QElapsedTimer FLastWrite;
    bool FOpen = false;
    // What the last run left to open again: this run's tabs until a source
    // says otherwise.
    QList<QByteArray> FOpenedTabs;
};

} // namespace browsing
