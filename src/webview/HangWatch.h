#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWebEnginePage;

namespace webview {

class ViewNotice;

// Notices a page that stops answering (a script that never returns): the
// engine has no signal for it, so a heartbeat of the program's own asks the
// page's isolated world for a value every two seconds (every ten while the
// view is not on screen, as in a background tab). A question left
// without answer for 15 s puts the notice "页面无响应" over the view, with a
// button that asks to end the page's renderer; an answer clears it. While a
// box of the program is open (a page's alert holds its renderer), or the
// program itself was held, the clock starts again.
class HangWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int HangAfterMs = 15000;
    static constexpr int ProbeEveryMs = 2000;
    static constexpr int HiddenProbeEveryMs = 10000;
    static constexpr int TickMs = 1000;
    static constexpr int HiddenTickMs = 5000;

    HangWatch(QWebEnginePage* page, QWidget* covered);

    ViewNotice* notice() const { return FNotice; }

    // Ends the page's renderer from outside; false when it has none.
    static bool EndRenderer(QWebEnginePage* page);

signals:
    // The operator asked to end the hung page.
    void EndRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Tick();
    void Answered(quint64 probe);
    void Forget();

    QWebEnginePage* FPage;
    QWidget* FCovered;
    ViewNotice* FNotice;
    QTimer FTimer;
    quint64 FLastProbe = 0;
    quint64 FOutstanding = 0; // 0: no question open
    QElapsedTimer FAsked;
    QElapsedTimer FLastTick;
};

} // namespace webview
