#include "shell/u_base.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

void CentreOnDesktop(QWidget* window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

Tbase_form::Tbase_form(QWidget* parent) : Tbase_form(Derived{}, parent)
{
    FormCreate();
}

Tbase_form::Tbase_form(Derived, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("base_form"));
    setWindowTitle(QStringLiteral("base_form"));
    QFont font(QStringLiteral("新宋体"));
    font.setPixelSize(12);
    setFont(font);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    resize(913, 564);
    move(294, 128);

    AdvPanel1 = new QFrame(this);
    AdvPanel1->setObjectName(QStringLiteral("AdvPanel1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(AdvPanel1);
}

void Tbase_form::FormCreate()
{
    CentreOnDesktop(this);
}
