#include "webview/FindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>

namespace webview {

FindBar::FindBar(QWebEnginePage* page, QWidget* parent) : QFrame(parent), FPage(page)
{
    setObjectName(QStringLiteral("FindBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel(QStringLiteral(u"查找："), this));
    FEdit = new QLineEdit(this);
    FEdit->setObjectName(QStringLiteral("FindText"));
    FEdit->installEventFilter(this);
    layout->addWidget(FEdit);
    auto* previous = new QToolButton(this);
    previous->setText(QStringLiteral(u"上一个"));
    layout->addWidget(previous);
    auto* next = new QToolButton(this);
    next->setText(QStringLiteral(u"下一个"));
    layout->addWidget(next);
    FResult = new QLabel(this);
    FResult->setObjectName(QStringLiteral("FindResult"));
    layout->addWidget(FResult, 1);
    auto* close = new QToolButton(this);
    close->setText(QStringLiteral("×"));
    close->setAutoRaise(true);
    layout->addWidget(close);

    // A search a letter would outrun the engine, whose answers to searches
    // it dropped can come last: search once the typing pauses.
    FTyping.setSingleShot(true);
    FTyping.setInterval(TypingPauseMs);
    connect(&FTyping, &QTimer::timeout, this, [this] { Find(false); });
    connect(FEdit, &QLineEdit::textChanged, this, [this] {
        FResult->clear();
        FTyping.start();
    });
    connect(FPage, &QWebEnginePage::findTextFinished, this, &FindBar::OnFindFinished);
    connect(previous, &QToolButton::clicked, this, [this] { Find(true); });
    connect(next, &QToolButton::clicked, this, [this] { Find(false); });
    connect(close, &QToolButton::clicked, this, &FindBar::Close);
    hide();
}

void FindBar::Open()
{
    show();
    FEdit->setFocus(Qt::ShortcutFocusReason);
    FEdit->selectAll();
    if (!FEdit->text().isEmpty())
        Find(false);
}

void FindBar::Close()
{
    if (isHidden())
        return;
    hide();
    FResult->clear();
    FTyping.stop();
    FPage->findText(QString()); // takes the highlight off the page
    emit Closed();
}

void FindBar::Find(bool backward)
{
    if (FEdit->text().isEmpty()) {
        FTyping.stop();
        FResult->clear();
        FPage->findText(QString());
        return;
    }
    FPage->findText(FEdit->text(),
                    backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}

void FindBar::OnFindFinished(const QWebEngineFindTextResult& result)
{
    if (FEdit->text().isEmpty() || FTyping.isActive())
        return;
    if (result.numberOfMatches() == 0)
        FResult->setText(QStringLiteral(u"找不到“%1”").arg(FEdit->text()));
    else
        FResult->setText(QStringLiteral(u"第 %1 项，共 %2 项")
                             .arg(result.activeMatch())
                             .arg(result.numberOfMatches()));
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FEdit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            Close();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Find(key->modifiers() & Qt::ShiftModifier);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace webview
