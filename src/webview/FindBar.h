#pragma once

#include <QFrame>
#include <QTimer>

class QLabel;
class QLineEdit;
class QWebEngineFindTextResult;
class QWebEnginePage;

namespace webview {

// The bar of Ctrl+F: finds text in the page as it is typed; Enter goes to the
// next match, Shift+Enter to the one before, Escape closes the bar.
class FindBar : public QFrame
{
    Q_OBJECT
public:
    FindBar(QWebEnginePage* page, QWidget* parent);

    static constexpr int TypingPauseMs = 150;

    void Open();
    void Close();
    QLineEdit* edit() const { return FEdit; }
    QLabel* result() const { return FResult; }

signals:
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Find(bool backward);
    void OnFindFinished(const QWebEngineFindTextResult& result);

    QWebEnginePage* FPage;
    QLineEdit* FEdit = nullptr;
    QLabel* FResult = nullptr;
    QTimer FTyping;
};

} // namespace webview
