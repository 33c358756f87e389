#pragma once

#include <QWidget>

class QFrame;

// Centres a window on the primary screen's desktop at its current size.
void CentreOnDesktop(QWidget* window);

// The base of the main window: its font, its face colour and the panel that
// fills the client area and holds all its content.
class Tbase_form : public QWidget
{
    Q_OBJECT
public:
    // A window of this class itself; its creation handler runs.
    explicit Tbase_form(QWidget* parent = nullptr);

    QFrame* AdvPanel1 = nullptr;

protected:
    // For derived windows: they bring a creation handler of their own, which
    // takes the place of this one.
    struct Derived
    {
    };
    Tbase_form(Derived, QWidget* parent);

private:
    void FormCreate();
};
