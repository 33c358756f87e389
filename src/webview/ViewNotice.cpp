#include "webview/ViewNotice.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace webview {

ViewNotice::ViewNotice(QWidget* covered, const QString& name, const QString& text,
                       const QString& buttonText, Placement placement, const QString& buttonName)
    : QFrame(covered->parentWidget()), FCovered(covered), FPlacement(placement)
{
    setObjectName(name);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    if (FPlacement == TopLine)
        layout->setContentsMargins(6, 3, 6, 3);
    else
        layout->addStretch(1);
    auto* label = new QLabel(text, this);
    label->setObjectName(name + QStringLiteral("Text"));
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    if (!buttonText.isEmpty()) {
        FButton = new QPushButton(buttonText, this);
        FButton->setObjectName(buttonName.isEmpty() ? name + QStringLiteral("Button") : buttonName);
        layout->addWidget(FButton, 0, Qt::AlignCenter);
        connect(FButton, &QPushButton::clicked, this, &ViewNotice::ButtonClicked);
    }
    if (FPlacement == CoverView)
        layout->addStretch(1);
    FCovered->installEventFilter(this);
    hide();
}

void ViewNotice::ShowOver()
{
    FollowCovered();
    show();
    raise();
}

void ViewNotice::FollowCovered()
{
    QRect area = FCovered->geometry();
    if (FPlacement == TopLine)
        area.setHeight(qMin(area.height(), sizeHint().height()));
    setGeometry(area);
}

bool ViewNotice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FCovered && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        FollowCovered();
    return QFrame::eventFilter(watched, event);
}

} // namespace webview
